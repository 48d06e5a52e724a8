// The screen's stretch to its window: the lists follow the window's outer size at any size,
// steps a control refuses are skipped, and nothing else moves.
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QGroupBox>
#include <QSettings>
#include <QTest>

namespace {

QRect place(const QWidget* w) {
    return QRect(twips::left(w), twips::top(w), twips::width(w), twips::height(w));
}

// Every control's place, but for the six the stretch moves.
QMap<QString, QRect> unmovedPlaces(const QWidget& screen) {
    static const QStringList moved = {"fraMap", "GridMap", "Grid1", "Grid2", "fraR", "GridRevCode"};
    QMap<QString, QRect> places;
    for (const QWidget* w : screen.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !moved.contains(w->objectName()) &&
            !w->objectName().startsWith(QLatin1String("qt_")))
            places.insert(w->objectName(), place(w));
    }
    return places;
}

} // namespace

class TestLayout : public QObject, ScreenFixture {
    Q_OBJECT
private slots:
    void init() {
        QSettings().clear();
        openScreen();
    }
    void cleanup() { closeScreen(); }
    void listsFollowTheWindow_data();
    void listsFollowTheWindow();
    void aRefusedStepKeepsTheLastAcceptedPlace();
    void minimisingChangesNothingAndRestoringLaysOutAgain();
    void theScreenOpensWithEveryFrameInsideTheWindow();
    void restoredSettingsAreLaidOutAtLoad();

private:
    void resizeTo(QSize pixels) {
        m_screen->resize(pixels);
        QTRY_COMPARE(m_screen->size(), pixels);
        QCoreApplication::processEvents();
    }
    float outerWidth() const { return twips::fromPixels(m_screen->frameGeometry().width()); }
    float outerHeight() const { return twips::fromPixels(m_screen->frameGeometry().height()); }
};

void TestLayout::listsFollowTheWindow_data() {
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("design size") << QSize(1344, 729);
    QTest::newRow("large") << QSize(1900, 1020);
    QTest::newRow("odd pixels") << QSize(1601, 877);
    QTest::newRow("wide and low") << QSize(1800, 560);
}

void TestLayout::listsFollowTheWindow() {
    QFETCH(QSize, pixels);
    const QMap<QString, QRect> before = unmovedPlaces(*m_screen);
    resizeTo(pixels);
    const int W = outerWidth();
    const int H = outerHeight();
    // The outer size holds the border and title bar, where the platform draws them.
    QVERIFY(W >= twips::fromPixels(pixels.width()));

    QCOMPARE(place(c().fraMap), QRect(120, H - 3015 - 800, W - 600, 3015));
    QCOMPARE(place(c().GridMap), QRect(120, 360, W - 800, 2595));
    QCOMPARE(twips::height(c().Grid1), H - 3480 - 4000);
    QCOMPARE(place(c().Grid1).topLeft(), QPoint(120, 3480));
    QCOMPARE(twips::width(c().Grid1), 7215);
    QCOMPARE(twips::height(c().Grid2), twips::height(c().Grid1));
    // The revenue frame ends 400 twips inside the outer width, the hospital list 100 twips before
    // the revenue frame, and the item grids 4000 twips above the window's bottom edge.
    QCOMPARE(twips::left(c().fraR) + twips::width(c().fraR), W - 400);
    QCOMPARE(twips::left(c().Grid2) + twips::width(c().Grid2), twips::left(c().fraR) - 100);
    QCOMPARE(twips::top(c().Grid1) + twips::height(c().Grid1), H - 4000);
    QCOMPARE(place(c().fraR), QRect(W - 4335 - 400, 0, 4335, H - 4000));
    QCOMPARE(place(c().GridRevCode), QRect(120, 3480, 4095, H - 4000 - 3480));
    QCOMPARE(twips::top(c().GridRevCode) + twips::height(c().GridRevCode), twips::height(c().fraR));
    QCOMPARE(place(c().GridRev), QRect(120, 240, 4095, 3195));
    QCOMPARE(unmovedPlaces(*m_screen), before);
}

void TestLayout::aRefusedStepKeepsTheLastAcceptedPlace() {
    resizeTo(QSize(1500, 900));
    const int grid2Width = twips::width(c().Grid2);
    const int grid1Height = twips::height(c().Grid1);
    const int revCodeHeight = twips::height(c().GridRevCode);
    const int fraRHeight = twips::height(c().fraR);

    // Narrower than the revenue frame and the left grids, and lower than the grids' top plus the
    // room kept below them: those sizes would be negative.
    resizeTo(QSize(250, 260));
    const int W = outerWidth();
    const int H = outerHeight();
    QVERIFY(W - 4335 - 7440 - 500 < 0);
    QVERIFY(H - 3480 - 4000 < 0);
    QCOMPARE(twips::width(c().Grid2), grid2Width);
    QCOMPARE(twips::height(c().Grid1), grid1Height);
    QCOMPARE(twips::height(c().Grid2), grid1Height);
    QCOMPARE(twips::height(c().GridRevCode), revCodeHeight);
    QCOMPARE(twips::height(c().fraR), fraRHeight);
    // The steps after a refused one still run; places may go negative.
    QCOMPARE(twips::left(c().fraR), W - 4335 - 400);
    QVERIFY(twips::left(c().fraR) < 0);
    QCOMPARE(twips::top(c().fraMap), H - 3015 - 800);
    QCOMPARE(twips::width(c().fraMap), W - 600);
    QCOMPARE(twips::width(c().GridMap), W - 800);

    // Grown again, every step is taken once more.
    resizeTo(QSize(1500, 900));
    QCOMPARE(twips::width(c().Grid2), grid2Width);
    QCOMPARE(twips::height(c().Grid1), grid1Height);
    QCOMPARE(twips::left(c().fraR) + twips::width(c().fraR), int(outerWidth()) - 400);
}

void TestLayout::minimisingChangesNothingAndRestoringLaysOutAgain() {
    resizeTo(QSize(1500, 900));
    QMap<QString, QRect> before = unmovedPlaces(*m_screen);
    for (const char* name : {"fraMap", "GridMap", "Grid1", "Grid2", "fraR", "GridRevCode"})
        before.insert(QString::fromLatin1(name), place(m_screen->findChild<QWidget*>(name)));
    const auto allPlaces = [this] {
        QMap<QString, QRect> places = unmovedPlaces(*m_screen);
        for (const char* name : {"fraMap", "GridMap", "Grid1", "Grid2", "fraR", "GridRevCode"})
            places.insert(QString::fromLatin1(name), place(m_screen->findChild<QWidget*>(name)));
        return places;
    };
    m_screen->showMinimized();
    QCoreApplication::processEvents();
    m_screen->showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(allPlaces(), before);

    // Restoring runs the layout: a place moved by hand while minimised is put back.
    m_screen->showMinimized();
    QCoreApplication::processEvents();
    twips::setLeft(c().fraR, 100);
    m_screen->showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(allPlaces(), before);
}

void TestLayout::theScreenOpensWithEveryFrameInsideTheWindow() {
    m_screen->Form_Load();
    QCoreApplication::processEvents();
    const QRect client = m_screen->rect();
    for (QWidget* w : {static_cast<QWidget*>(c().fraMap), static_cast<QWidget*>(c().fraR),
                       static_cast<QWidget*>(c().Grid1), static_cast<QWidget*>(c().Grid2),
                       static_cast<QWidget*>(c().Frame2), static_cast<QWidget*>(c().Frame3),
                       static_cast<QWidget*>(c().GridCat)})
        QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
    // The frames and lists do not lie over one another.
    QVERIFY(!c().fraMap->geometry().intersects(c().fraR->geometry()));
    QVERIFY(!c().fraMap->geometry().intersects(c().Grid1->geometry()));
    QVERIFY(!c().Grid2->geometry().intersects(c().fraR->geometry()));
    QVERIFY(!c().Grid1->geometry().intersects(c().Grid2->geometry()));
    // The maintenance link stays reachable where the revenue frame has moved over it.
    QWidget* atLink = m_screen->childAt(c().lblMaint->geometry().center());
    QCOMPARE(atLink, static_cast<QWidget*>(c().lblMaint));
}

void TestLayout::restoredSettingsAreLaidOutAtLoad() {
    resizeTo(QSize(1100, 640));
    m_screen->close();
    closeScreen();
    auto screen = std::make_unique<MainScreen>(m_user, m_prompter);
    screen->Form_Load();
    // Laid out for the restored size before it is shown.
    QCOMPARE(screen->size(), QSize(1100, 640));
    const int W = twips::fromPixels(screen->frameGeometry().width());
    QCOMPARE(twips::left(screen->controls().fraR) + twips::width(screen->controls().fraR), W - 400);
    screen->show();
    QCoreApplication::processEvents();
    const int shownW = twips::fromPixels(screen->frameGeometry().width());
    QCOMPARE(twips::left(screen->controls().fraR) + twips::width(screen->controls().fraR),
             shownW - 400);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
