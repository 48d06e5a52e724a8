// The statement log on the real screen: the button under the maintenance frame, covering no
// control; the window with the connection's statements newest first and the database's error
// text, one window at a time that does not block the screen; its CSV file; no password shown.
#include "CsvReadBack.h"
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList rowOf(const FlexGrid* grid, int row) {
    QStringList out;
    for (int col = 0; col < grid->cols(); ++col)
        out << grid->textMatrix(row, col);
    return out;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStatementLogScreen : public QObject, public ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { closeScreen(); }
    void theButtonCoversNoControl_data();
    void theButtonCoversNoControl();
    void theWindowListsTheStatementsNewestFirst();
    void noPasswordIsShownOrSaved();

private:
    QPushButton* button() {
        return m_screen->findChild<QPushButton*>(QStringLiteral("cmdStatementLog"));
    }
    // "Maintenance...", then "Statement log...": the window's list, found by their names.
    FlexGrid* openList() {
        if (c().fraMaint->isHidden())
            QTest::mouseClick(c().lblMaint, Qt::LeftButton);
        QTest::mouseClick(button(), Qt::LeftButton);
        auto* window = m_screen->findChild<QDialog*>(QStringLiteral("dlgStatementLog"));
        return window ? window->findChild<FlexGrid*>(QStringLiteral("GridStatementLog")) : nullptr;
    }
    QString failingQuery(const QString& sql) {
        try {
            gw().query(sql);
        } catch (const DbError& e) {
            return e.description();
        }
        return QString();
    }
    QString exported(FlexGrid* grid) {
        const QString path = QDir(m_files.path()).filePath(QStringLiteral("log.csv"));
        m_prompter.savePaths << path;
        m_screen->listExports().menuFor(grid)->actions().value(1)->trigger();
        return path;
    }
    QTemporaryDir m_files;
};

void TestStatementLogScreen::init() {
    openScreen(true);
    gw().statements().clear();
}

void TestStatementLogScreen::theButtonCoversNoControl_data() {
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("design size") << QSize(1344, 729);
    QTest::newRow("large") << QSize(1900, 1020);
}

void TestStatementLogScreen::theButtonCoversNoControl() {
    QFETCH(QSize, pixels);
    m_screen->resize(pixels);
    QTRY_COMPARE(m_screen->size(), pixels);
    QPushButton* b = button();
    QVERIFY(b->isHidden());
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isVisible());
    QCOMPARE(b->text(), QStringLiteral("Statement log..."));
    QCOMPARE(QRect(twips::left(b), twips::top(b), twips::width(b), twips::height(b)),
             QRect(13920, 1800, 1455, 495));
    int checked = 0;
    for (QWidget* w : m_screen->findChildren<QWidget*>()) {
        if (w != b && w->isVisible() && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(u"qt_")) {
            const QRect other(w->mapTo(m_screen.get(), QPoint(0, 0)), w->size());
            QVERIFY2(!b->geometry().intersects(other), qPrintable(w->objectName()));
            ++checked;
        }
    }
    QVERIFY(checked > 50);
    // Wherever the frame goes, the button follows.
    twips::place(c().fraMaint, 12000, 600, 1935, 1455);
    QCOMPARE(twips::left(b) + twips::width(b), 12000 + 375);
    QCOMPARE(twips::top(b), 600 + 1455 + 105);
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isHidden());
}

void TestStatementLogScreen::theWindowListsTheStatementsNewestFirst() {
    const QString listed =
        QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ER WHERE Code < 'ER0004'");
    const int rows = int(gw().query(listed).rows.size());
    QVERIFY(rows > 1);
    const QString failed = QStringLiteral("SELECT Code FROM Build_FIle..ESOA_NOWHERE");
    const QString error = failingQuery(failed);
    QCOMPARE(error, QStringLiteral("no such table: Build_FIle.ESOA_NOWHERE"));

    FlexGrid* grid = openList();
    QVERIFY(grid);
    QDialog* window = static_cast<QDialog*>(grid->window());
    QCOMPARE(window->windowTitle(), QStringLiteral("Statement log"));
    QVERIFY(window->isVisible());
    QCOMPARE(rowOf(grid, 0), QStringList({"Time", "Duration (ms)", "Rows", "Statement", "Error"}));
    QCOMPARE(grid->rows(), 3);
    QCOMPARE(rowOf(grid, 1).mid(2), QStringList({"", failed, error}));
    QCOMPARE(rowOf(grid, 2).mid(2), QStringList({QString::number(rows), listed, ""}));
    QVERIFY(grid->textMatrix(1, 0) >= grid->textMatrix(2, 0));
    QVERIFY(grid->textMatrix(2, 1).contains(u'.'));

    // The screen works on while the window is up; a second click brings the same window.
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(c().fraMaint->isHidden());
    gw().query(QStringLiteral("SELECT 2 AS N"));
    QCOMPARE(openList(), grid);
    QCOMPARE(m_screen->findChildren<QDialog*>(QStringLiteral("dlgStatementLog")).size(), 1);
    window->findChild<QPushButton*>(QStringLiteral("cmdStatementLogRefresh"))->click();
    QCOMPARE(grid->textMatrix(1, 3), QStringLiteral("SELECT 2 AS N"));

    // The list as a CSV file, as every list saves it.
    QList<QStringList> shown;
    for (int row = 0; row < grid->rows(); ++row)
        shown << rowOf(grid, row);
    QCOMPARE(readCsvBack(exported(grid)), shown);
    QCOMPARE(m_prompter.saveDialogs, QStringList{"Export list to CSV: GridStatementLog.csv"});

    // The data folder's file holds them too: the failed one at once, the others once written.
    const QString file = QDir(m_db->folder()).filePath(QStringLiteral("statements.log"));
    QVERIFY(contents(file).contains(("\t" + failed + "\t" + error + "\r\n").toUtf8()));
    m_user.flushStatements();
    QVERIFY(contents(file).contains(("\t" + listed + "\t\r\n").toUtf8()));

    // Close and Esc close the window; it goes with the screen.
    window->findChild<QPushButton*>(QStringLiteral("cmdStatementLogClose"))->click();
    QVERIFY(!window->isVisible());
    openList();
    // Esc in the window, the window in front: the window closes, the screen behind it stays.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QVERIFY(screen().isVisible());
    QPointer<QDialog> gone = window;
    closeScreen();
    QVERIFY(gone.isNull());
}

void TestStatementLogScreen::noPasswordIsShownOrSaved() {
    // A database's message that quotes a connection string, as a driver's might.
    const QString error = failingQuery(QStringLiteral(
        "SELECT 1 FROM [DRIVER={ODBC Driver 18 for SQL Server};SERVER=h;UID=sa;PWD=secret]"));
    QVERIFY(error.contains(u"PWD=secret"));
    FlexGrid* grid = openList();
    QCOMPARE(grid->textMatrix(1, 3), QStringLiteral("SELECT 1 FROM [<connection string>"));
    QVERIFY(grid->textMatrix(1, 4).endsWith(u"<connection string>"));
    const QByteArray saved = contents(exported(grid));
    QVERIFY(saved.contains("<connection string>") && !saved.contains("secret"));
    m_user.flushStatements();
    QVERIFY(!contents(QDir(m_db->folder()).filePath(QStringLiteral("statements.log")))
                 .contains("secret"));
}

QTEST_MAIN(TestStatementLogScreen)
#include "tst_statementlogscreen.moc"
