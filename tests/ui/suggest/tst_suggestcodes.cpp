// The dialog of proposed PhilHealth codes for the listed hospital items, on the real screen and
// the sample database: its rows and ticks, the threshold, a changed proposal, saving through the
// save with its summary, a failing row, and the undo of a bulk save.
#include "ScreenFixture.h"

#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTest>

class TestSuggestCodes : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_screen.reset(); }

    void oneRowPerListedItemWithItsBestCode();
    void theThresholdTicksAndMappedItemsNeverAre();
    void aChangedProposal();
    void savingTheTickedRowsAndItsUndo();
    void aFailingRowIsReportedAndTheRunGoesOn();
    void anEmptyListOpensNothing();

private:
    SuggestCodes& codes() { return m_screen->suggestions().codes(); }
    FlexGrid* grid() { return codes().grid(); }
    // The ER table's Therapeutics, with the hospital items listed in this order.
    void listItems(const QList<QStringList>& rows) {
        QTest::mouseClick(c().optTable[1], Qt::LeftButton);
        for (int r = 1; r < c().GridCat->rows(); ++r)
            if (c().GridCat->textMatrix(r, 0) == u"Therapeutics") {
                c().GridCat->setRow(r);
                emit c().GridCat->gridClicked();
            }
        QCOMPARE(c().txtAreaCat->text(), QStringLiteral("Therapeutics"));
        c().Grid2->bind(itemList(rows));
    }
    void openFromTheMenu() {
        std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().Grid2));
        for (QAction* a : menu->actions())
            if (a->text() == u"Suggest PhilHealth codes for the listed items...")
                a->trigger();
    }
    QStringList column(int col) {
        QStringList out;
        for (int r = 1; r < grid()->rows(); ++r)
            out << grid()->textMatrix(r, col);
        return out;
    }
    QList<bool> ticks() {
        QList<bool> out;
        for (int r = 1; r < grid()->rows(); ++r)
            out << grid()->isChecked(r);
        return out;
    }
    QList<QStringList> links(const QString& where) {
        return gw()
            .query(QStringLiteral("SELECT Code, ItemID, RevenueID, ItemDesc, Category, FixedFee, "
                                  "ChargingUnit FROM Build_FIle..ESOA_ER_LINK WHERE %1 ORDER BY "
                                  "ItemID")
                       .arg(where))
            .rows;
    }
    const QList<QStringList> m_items{
        {"10045", "TRAMADOL 50mg/mL - AMPULE 2mL", "TRAMADOL", "299.45"},
        {"10018", "PARACETAMOL 150mg/mL - AMPULE 2mL", "PARACETAMOL", "655.88"}, // linked
        {"10132", "AMPICILLIN 500mg - VIAL", "AMPICILLIN", "2007.37"},
        {"10041", "KETOROLAC 10mg - TABLET", "KETOROLAC", "17.99"},
        {"99999", "ZZQX WIDGET - PC", "", "1.00"},
    };
};

void TestSuggestCodes::init() {
    openScreen(true);
    m_prompter.shown.clear();
}

void TestSuggestCodes::oneRowPerListedItemWithItsBestCode() {
    listItems(m_items);
    openFromTheMenu();
    QDialog* dialog = m_screen->findChild<QDialog*>(QStringLiteral("dlgSuggestCodes"));
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->findChild<FlexGrid*>(QStringLiteral("GridSuggestCodes")), grid());
    QVERIFY(dialog->findChild<QSpinBox*>(QStringLiteral("spnSuggestMin")));
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("cmdSuggestSave"))->text(),
             QStringLiteral("Save checked"));
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("cmdSuggestCodesClose"))->text(),
             QStringLiteral("Close"));
    QCOMPARE(column(0).size(), 5);
    QStringList header;
    for (int col = 0; col < grid()->cols(); ++col)
        header << grid()->textMatrix(0, col);
    QCOMPARE(header, QStringList({"Save", "ItemID", "Item", "Code", "Description", "Score",
                                  "Now mapped to", "Why"}));
    QCOMPARE(column(1), QStringList({"10045", "10018", "10132", "10041", "99999"}));
    QCOMPARE(column(3).mid(0, 3), QStringList({"ER0003", "ER0001", "ER0005"}));
    QCOMPARE(column(4).value(0), QStringLiteral("Tramadol 50 mg/mL ampule"));
    QCOMPARE(column(6), QStringList({"", "ER0001", "", "", ""}));
    // Within the category: every proposal is a Therapeutics item, up to five a row.
    for (int r = 1; r < grid()->rows(); ++r) {
        QVERIFY(codes().choices(r).size() <= 5);
        for (const auto& p : codes().choices(r))
            QCOMPARE(p.item.category, QStringLiteral("Therapeutics"));
    }
    // BREVANT_SCREENSHOTS=<folder> keeps a picture of the dialog for the README.
    if (const QString folder = qEnvironmentVariable("BREVANT_SCREENSHOTS"); !folder.isEmpty()) {
        dialog->resize(1300, 300); // wide enough for every column, as beside a screen
        QVERIFY(dialog->grab().save(folder + QStringLiteral("/suggest-codes.png")));
    }
    // The unknown item gets nothing it shares no word with.
    QVERIFY(column(5).value(4).isEmpty() || column(5).value(4).toInt() < 30);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdSuggestCodesClose"))->click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSuggestCodes::theThresholdTicksAndMappedItemsNeverAre() {
    listItems(m_items);
    openFromTheMenu();
    QSpinBox* minimum = codes().minimum();
    QCOMPARE(minimum->value(), SuggestCodes::defaultMinimum);
    QCOMPARE(ticks(), QList<bool>({true, false, true, false, false}));
    minimum->setValue(100);
    QCOMPARE(ticks(), QList<bool>({false, false, false, false, false}));
    minimum->setValue(0);
    // Everything with a proposal, but the item mapped already.
    QCOMPARE(ticks().value(1), false);
    QCOMPARE(ticks().value(3), true);
    // The clerk ticks and unticks any row (Space on its check box).
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(1, 0));
    QTest::keyClick(grid(), Qt::Key_Space);
    QCOMPARE(ticks().value(1), true);
    QTest::keyClick(grid(), Qt::Key_Space);
    QCOMPARE(ticks().value(1), false);
}

void TestSuggestCodes::aChangedProposal() {
    // A salbutamol nebule: the plain one and the combination both propose themselves.
    listItems(m_items + QList<QStringList>{{"77001", "SALBUTAMOL 2.5mg - NEB", "SALBUTAMOL", "9"}});
    openFromTheMenu();
    codes().minimum()->setValue(100);
    int row = 1;
    while (row < grid()->rows() && codes().choices(row).size() < 2)
        ++row;
    QVERIFY(row < grid()->rows());
    const auto choices = codes().choices(row);
    // The drop-down of the "Code" cell offers the row's choices; choosing one takes it.
    const QModelIndex cell = grid()->model()->index(row - 1, SuggestCodes::Code);
    grid()->edit(cell);
    auto* box = grid()->findChild<QComboBox*>(QStringLiteral("cboSuggestCode"));
    QVERIFY(box);
    QCOMPARE(box->count(), int(choices.size()));
    QCOMPARE(box->currentIndex(), 0);
    box->setCurrentIndex(1);
    emit box->activated(1);
    QCOMPARE(grid()->textMatrix(row, SuggestCodes::Code), choices[1].item.code);
    QCOMPARE(grid()->textMatrix(row, SuggestCodes::Description), choices[1].item.description);
    QCOMPARE(grid()->textMatrix(row, SuggestCodes::Score), QString::number(choices[1].score));
    // A code the clerk chose is ticked to be saved (unless the item is mapped already).
    QCOMPARE(ticks().value(row - 1), grid()->textMatrix(row, SuggestCodes::NowMappedTo).isEmpty());
    QCOMPARE(ticks().count(true), ticks().value(row - 1) ? 1 : 0);
}

void TestSuggestCodes::savingTheTickedRowsAndItsUndo() {
    listItems(m_items);
    const QString before = c().txtESOACode->text();
    openFromTheMenu();
    QCOMPARE(ticks(), QList<bool>({true, false, true, false, false}));
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_LINK_HISTORY"));
    codes().cmdSuggestSave_Click();
    QCOMPARE(m_prompter.texts(), QStringList({"2 links saved."}));
    // As the save writes them: the code's fee and unit, the category, the routing's revenue code.
    QCOMPARE(links(QStringLiteral("ItemID IN ('10045', '10132')")),
             QList<QStringList>({{"ER0003", "10045", "PH", "TRAMADOL 50mg/mL - AMPULE 2mL",
                                  "Therapeutics", "65", "per ampule"},
                                 {"ER0005", "10132", "PH", "AMPICILLIN 500mg - VIAL",
                                  "Therapeutics", "90", "per vial"}}));
    QCOMPARE(column(6), QStringList({"ER0003", "ER0001", "ER0005", "", ""}));
    QCOMPARE(ticks(), QList<bool>({false, false, false, false, false}));
    // The working fields are as they were.
    QCOMPARE(c().txtESOACode->text(), before);
    QCOMPARE(c().txtVALTORItemID->text(), QString());
    // One batch of the history: the mapping list's undo offers it, and takes both back.
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT DISTINCT BatchNo FROM "
                                            "Build_FIle..ESOA_LINK_HISTORY WHERE BatchNo IS NOT "
                                            "NULL")),
             1);
    std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().GridMap));
    QAction* undo = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().startsWith(u"Undo last Map ALL"))
            undo = a;
    QVERIFY(undo);
    QCOMPARE(undo->text(), QStringLiteral("Undo last Map ALL (2 links)"));
    m_prompter.shown.clear();
    undo->trigger();
    // The question names how many codes the run saved, not one of them.
    QVERIFY2(m_prompter.texts().value(0).startsWith(
                 u"Undo the last Map ALL Listed to 2 codes (2 links)?"),
             qPrintable(m_prompter.texts().value(0)));
    QCOMPARE(m_prompter.texts().value(1), QStringLiteral("2 restored."));
    QVERIFY(links(QStringLiteral("ItemID IN ('10045', '10132')")).isEmpty());
}

void TestSuggestCodes::aFailingRowIsReportedAndTheRunGoesOn() {
    listItems(m_items);
    openFromTheMenu();
    QSqlQuery q(gw().backend().database());
    QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER Build_FIle.refuse BEFORE INSERT ON ESOA_ER_LINK "
                                  "WHEN NEW.ItemID = '10045' BEGIN SELECT RAISE(ABORT, 'refused "
                                  "by the test'); END")));
    codes().cmdSuggestSave_Click();
    const QStringList texts = m_prompter.texts();
    QCOMPARE(texts.size(), 2);
    QVERIFY2(texts[0].contains(u"refused by the test") && texts[0].endsWith(u"at line 144"),
             qPrintable(texts[0]));
    QCOMPARE(m_prompter.shown[0].title, QStringLiteral("Application Error"));
    QCOMPARE(texts[1], QStringLiteral("1 links saved."));
    QCOMPARE(links(QStringLiteral("ItemID = '10132'")).value(0).value(0), QStringLiteral("ER0005"));
    QVERIFY(links(QStringLiteral("ItemID = '10045'")).isEmpty());
    // The failed row stays ticked, to be saved again.
    QCOMPARE(ticks(), QList<bool>({true, false, false, false, false}));
}

void TestSuggestCodes::anEmptyListOpensNothing() {
    c().Grid2->resetForLoad();
    openFromTheMenu();
    QCOMPARE(m_prompter.texts(), QStringList({"List the hospital items first (4. Search)."}));
    QVERIFY(!m_screen->findChild<QDialog*>(QStringLiteral("dlgSuggestCodes")));
}

QTEST_MAIN(TestSuggestCodes)
#include "tst_suggestcodes.moc"
