// The grid contract every list relies on.
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <functional>

class TestFlexGrid : public QObject {
    Q_OBJECT
private slots:
    void bindShowsHeaderAndRecords();
    void theFiveStepResetLeavesAnEmptyHeaderAndOneRow();
    void widthsApplyToColumnsThatComeLater();
    void cellsOutsideTheGridAreRefused();
    void clickSetsTheCurrentCellThenRaisesTheEvent();
    void colsTruncatesAndExtends();
    void backgroundOfTheCurrentCell();
    void aLargeBindIsOneReset();
    void aRowSetByTheProgramKeepsTheView();
    void theListVersionFollowsRowsNotCells();
};

static TextTable table(int rows, int cols) {
    TextTable t;
    for (int c = 0; c < cols; ++c)
        t.columns << QStringLiteral("C%1").arg(c);
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < cols; ++c)
            row << QStringLiteral("r%1c%2").arg(r + 1).arg(c);
        t.rows << row;
    }
    return t;
}

void TestFlexGrid::bindShowsHeaderAndRecords() {
    FlexGrid grid;
    grid.bind(table(3, 4));
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.cols(), 4);
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.textMatrix(0, 2), QStringLiteral("C2"));
    QCOMPARE(grid.textMatrix(3, 1), QStringLiteral("r3c1"));
    QCOMPARE(grid.row(), 1);
    QCOMPARE(grid.model()->rowCount(), 3);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("C1"));
    QCOMPARE(grid.model()->index(0, 0).data().toString(), QStringLiteral("r1c0"));
    grid.bind(table(0, 2));
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(grid.model()->rowCount(), 0);
}

void TestFlexGrid::theFiveStepResetLeavesAnEmptyHeaderAndOneRow() {
    FlexGrid grid;
    grid.bind(table(5, 3));
    grid.setRows(1);
    grid.clear();
    grid.setFixedRows(0);
    grid.addItem(QString());
    grid.setFixedRows(1);
    QCOMPARE(grid.rows(), 2);
    QCOMPARE(grid.cols(), 3);
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(grid.textMatrix(0, c), QString());
        QCOMPARE(grid.textMatrix(1, c), QString());
    }
    QCOMPARE(grid.model()->rowCount(), 1);
    // The work-area reset: Clear, then Rows := 1 leaves the header row alone.
    grid.clear();
    grid.setRows(1);
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(grid.model()->rowCount(), 0);
    grid.addItem(QStringLiteral("a\tb"));
    QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("b"));
}

void TestFlexGrid::widthsApplyToColumnsThatComeLater() {
    FlexGrid grid;
    grid.setColWidth(0, 0);
    grid.setColWidth(7, 3000);
    QCOMPARE(grid.cols(), 2);
    grid.bind(table(2, 12));
    QVERIFY(grid.isColumnHidden(0));
    QVERIFY(!grid.isColumnHidden(1));
    QCOMPARE(grid.columnWidth(7), twips::toPixels(3000));
    QCOMPARE(grid.colWidth(7), 3000);
    grid.bind(table(1, 3));
    QVERIFY(grid.isColumnHidden(0));
    grid.bind(table(1, 9));
    QCOMPARE(grid.columnWidth(7), twips::toPixels(3000));
}

void TestFlexGrid::cellsOutsideTheGridAreRefused() {
    FlexGrid grid;
    grid.bind(table(1, 2));
    QVERIFY_THROWS_EXCEPTION(GridError, grid.textMatrix(1, 2));
    QVERIFY_THROWS_EXCEPTION(GridError, grid.textMatrix(2, 0));
    QVERIFY_THROWS_EXCEPTION(GridError, grid.setRow(5));
    QVERIFY_THROWS_EXCEPTION(GridError, grid.setTopRow(7));
    QVERIFY_THROWS_EXCEPTION(GridError, grid.setFixedRows(3));
}

void TestFlexGrid::clickSetsTheCurrentCellThenRaisesTheEvent() {
    FlexGrid grid;
    grid.resize(400, 300);
    grid.bind(table(3, 2));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int rowAtClick = -1, colAtClick = -1;
    connect(&grid, &FlexGrid::gridClicked, &grid, [&] {
        rowAtClick = grid.row();
        colAtClick = grid.col();
    });
    QSignalSpy clicks(&grid, &FlexGrid::gridClicked);
    const QRect cell = grid.visualRect(grid.model()->index(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(rowAtClick, 2);
    QCOMPARE(colAtClick, 1);
    // Below the last row, and on the header: no click on a data row.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint(5, grid.viewport()->height() - 3));
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
}

void TestFlexGrid::colsTruncatesAndExtends() {
    FlexGrid grid;
    grid.bind(table(2, 4));
    grid.setCols(3);
    QCOMPARE(grid.cols(), 3);
    QVERIFY_THROWS_EXCEPTION(GridError, grid.textMatrix(1, 3));
    grid.bind(table(2, 2));
    grid.setCols(3);
    QCOMPARE(grid.textMatrix(1, 2), QString());
    grid.setTextMatrix(1, 2, QStringLiteral("ER0001"));
    QCOMPARE(grid.model()->index(0, 2).data().toString(), QStringLiteral("ER0001"));
}

void TestFlexGrid::backgroundOfTheCurrentCell() {
    FlexGrid grid;
    grid.bind(table(2, 4));
    grid.setRow(2);
    grid.setCol(3);
    grid.setCellBackColor(QColor(0, 255, 0));
    QCOMPARE(grid.cellBackColor(2, 3), QColor(0, 255, 0));
    QCOMPARE(grid.model()->index(1, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 0));
    grid.clear();
    QVERIFY(!grid.cellBackColor(2, 3).isValid());
}

void TestFlexGrid::aLargeBindIsOneReset() {
    FlexGrid grid;
    grid.resize(600, 400);
    grid.show();
    const TextTable big = table(30000, 6);
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(grid.model(), &QAbstractItemModel::rowsInserted);
    QElapsedTimer timer;
    timer.start();
    grid.bind(big);
    QCoreApplication::processEvents();
    qInfo("bind of 30,000 rows x 6 columns: %lld ms", timer.elapsed());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(grid.rows(), 30001);
    QCOMPARE(grid.textMatrix(30000, 5), QStringLiteral("r30000c5"));
}

void TestFlexGrid::aRowSetByTheProgramKeepsTheView() {
    FlexGrid grid;
    grid.resize(600, 300);
    grid.show();
    grid.bind(table(1000, 3));
    grid.setRow(900);
    QCOMPARE(grid.row(), 900);
    QCOMPARE(grid.topRow(), 1);
    grid.setTopRow(500); // keeping the user's place still moves the view
    QCOMPARE(grid.topRow(), 500);
    QVERIFY(grid.hasAutoScroll());
}

void TestFlexGrid::theListVersionFollowsRowsNotCells() {
    FlexGrid grid;
    grid.bind(table(3, 3));
    quint64 version = grid.listVersion();
    grid.setTextMatrix(1, 1, QStringLiteral("x"));
    grid.setRow(2);
    grid.setCol(1);
    grid.setCellBackColor(QColor(255, 255, 0));
    QCOMPARE(grid.listVersion(), version);
    const std::function<void()> changes[] = {
        [&] { grid.bind(table(3, 3)); },  [&] { grid.setRows(2); },
        [&] { grid.setCols(4); },         [&] { grid.clear(); },
        [&] { grid.addItem(QString()); }, [&] { grid.setFixedRows(0); },
        [&] { grid.resetForLoad(); }};
    for (const auto& change : changes) {
        change();
        QVERIFY(grid.listVersion() != version);
        version = grid.listVersion();
    }
}

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
