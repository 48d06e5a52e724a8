// The step pointer: its place and caption at every step, and that it stays away once dismissed.
#include "ScreenFixture.h"

#include "ui/widgets/Twips.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

class TestStepGuide : public QObject, ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void eachStepPlacesAndCaptionsThePointer_data();
    void eachStepPlacesAndCaptionsThePointer();
    void stepsFollowTheFramesWhereTheyAre();
    void otherStepsChangeNothing();
    void onceDismissedThePointerStaysHidden();
    void stepSevenHidesThePointerWhereverItPoints();

private:
    QPoint placeOf() const {
        QPushButton* p = m_screen->controls().cmdInst;
        return QPoint(twips::left(p), twips::top(p));
    }
};

void TestStepGuide::init() {
    openScreen();
}

void TestStepGuide::cleanup() {
    closeScreen();
}

void TestStepGuide::eachStepPlacesAndCaptionsThePointer_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("caption");
    QTest::newRow("0") << 0 << QPoint(6240, 1080) << "<-Click Category.";
    QTest::newRow("1") << 1 << QPoint(5760, 3000) << "<-Search and Select PhilHealth Item.";
    QTest::newRow("2") << 2 << QPoint(13945, 120) << "Select Revenue->";
    QTest::newRow("3") << 3 << QPoint(14400, 2760) << "<-Search VALTOR Item";
    QTest::newRow("4") << 4 << QPoint(14400, 3760) << "<-Select VALTOR Item";
    QTest::newRow("5") << 5 << QPoint(13960, 1800) << "<-Verify and Save Mapping";
    QTest::newRow("6") << 6 << QPoint(6120, 11280) << "<-Done. Mapped items displayed here";
}

void TestStepGuide::eachStepPlacesAndCaptionsThePointer() {
    QFETCH(int, step);
    QFETCH(QPoint, place);
    QFETCH(QString, caption);
    // The frames at their design places: the window's stretch moves them.
    twips::setLeft(m_screen->controls().fraR, 16680);
    twips::setTop(m_screen->controls().fraMap, 11280);
    m_screen->steps().ShowStepHint(step);
    QCOMPARE(placeOf(), place);
    QCOMPARE(m_screen->controls().cmdInst->text(), caption);
    QVERIFY(m_screen->controls().cmdInst->isVisible());
    QCOMPARE(m_screen->controls().cmdInst->size(), twips::toPixels(0, 0, 2535, 495).size());
}

void TestStepGuide::stepsFollowTheFramesWhereTheyAre() {
    Controls& c = m_screen->controls();
    twips::setLeft(c.fraR, 15000);
    twips::setTop(c.fraMap, 9000);
    m_screen->steps().ShowStepHint(2);
    QCOMPARE(placeOf(), QPoint(15000 - 2535 - 200, 120));
    m_screen->steps().ShowStepHint(6);
    QCOMPARE(placeOf(), QPoint(6120, 9000));
}

void TestStepGuide::otherStepsChangeNothing() {
    m_screen->steps().ShowStepHint(3);
    for (int step : {-1, 8, 99})
        m_screen->steps().ShowStepHint(step);
    QCOMPARE(placeOf(), QPoint(14400, 2760));
    QCOMPARE(m_screen->controls().cmdInst->text(), QStringLiteral("<-Search VALTOR Item"));
    QVERIFY(m_screen->controls().cmdInst->isVisible());
}

void TestStepGuide::onceDismissedThePointerStaysHidden() {
    QPushButton* pointer = m_screen->controls().cmdInst;
    m_screen->steps().ShowStepHint(0);
    QTest::mouseClick(pointer, Qt::LeftButton);
    QVERIFY(pointer->isHidden());
    for (int step = 0; step <= 6; ++step) {
        m_screen->steps().ShowStepHint(step);
        QVERIFY(pointer->isHidden());
    }
    // It still moves and changes its caption, unseen.
    QCOMPARE(pointer->text(), QStringLiteral("<-Done. Mapped items displayed here"));
}

void TestStepGuide::stepSevenHidesThePointerWhereverItPoints() {
    m_screen->steps().ShowStepHint(4);
    m_screen->steps().ShowStepHint(7);
    QVERIFY(m_screen->controls().cmdInst->isHidden());
    QCOMPARE(placeOf(), QPoint(14400, 3760));
    QCOMPARE(m_screen->controls().cmdInst->text(), QStringLiteral("<-Select VALTOR Item"));
}

QTEST_MAIN(TestStepGuide)
#include "tst_stepguide.moc"
