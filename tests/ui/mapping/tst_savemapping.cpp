// The save of a mapping on the real screen and an embedded database: the guards, the look-up
// statement, one link row per hospital item added or rewritten, the columns written, the
// numbered failure messages and the optimistic rewrite.
#include "ScreenFixture.h"

#include "core/db/EmbeddedDatabase.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The link columns a test compares, in this order.
const char* const linkColumns = "Code, Category, Description, FixedFee, ChargingUnit, ItemID, "
                                "ItemDesc, InvOrProc, RevenueID, SectionID";

QString lookupOf(const QString& table, const QString& revenue, const QString& item) {
    return QStringLiteral("SELECT * FROM [Build_FIle].[dbo].") + table +
           QStringLiteral("_LINK  WHERE      RevenueID ='") + revenue +
           QStringLiteral("' AND ItemID    ='") + item + u'\'';
}

QString listOf(const QString& table, const QString& code) {
    return QStringLiteral(" SELECT TOP 1000 [ID]       ,[Code]       ,[Category]       "
                          ",[Description]       ,[RevenueID]       ,[SectionID]       ,[ItemID]  "
                          "     ,[ItemDesc]       ,[FixedFee]       ,[ChargingUnit]       "
                          ",[InvOrProc]       ,[SortOrder]   FROM [Build_FIle].[dbo].[") +
           table + QStringLiteral("_LINK] WITH (NOLOCK) WHERE Code='") + code +
           QStringLiteral("' ");
}

QString failure(const QString& description, int line) {
    return description + QStringLiteral("\r\nin Brevant.frmESOA_Items.cmdEdit_Click at line ") +
           QString::number(line);
}

} // namespace

class TestSaveMapping : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noPhilHealthItemSavesNothing();
    void noHospitalItemSavesNothing();
    void aNewLinkHoldsTheScreensValues();
    void savingAgainRewritesTheSameRow();
    void anotherPhilHealthItemMovesTheLink();
    void anotherRevenueCodeIsAnotherHospitalItem();
    void feeTextsAsTheyAreStored();
    void blanksPassTheGuardsAndAreKept();
    void aMissingLinkTableGivesTheWholeCascade();
    void aRowChangedSinceTheLookupIsNotOverwritten();
    void aRowRemovedSinceTheLookupIsNotWrittenBack();
    void apostrophesAreFoundAndSaved();

private:
    // The working fields as the clerk leaves them before "5. Sa&ve Mapping".
    void fill(const QString& table, const QString& code, const QString& item,
              const QString& revenue = QStringLiteral("PH")) {
        choosePhilHealthItem(code, QStringLiteral("Ketorolac 30 mg/mL ampule"), table, revenue);
        c().txtVALTORItemID->setText(item);
        c().txtVALTORitemDesc->setText(QStringLiteral("KETOROLAC 30mg/mL - AMPULE 1mL"));
        c().txtSectionID->setText(QString());
    }
    QList<QStringList> links(const QString& where, const QString& table = "ESOA_ER") {
        return gw()
            .query(QStringLiteral("SELECT %1 FROM Build_FIle..%2_LINK WHERE %3 ORDER BY ID")
                       .arg(QLatin1String(linkColumns), table, where))
            .rows;
    }
    int linkCount(const QString& table = "ESOA_ER") {
        return countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..%1_LINK").arg(table));
    }
    void save() {
        gw().clearLog();
        m_prompter.shown.clear();
        c().cmdEdit->click();
    }
    void verifySavedAndPointed() {
        QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Done. Mapped items displayed here"));
        QCOMPARE(twips::left(c().cmdInst), 6120);
        QCOMPARE(twips::top(c().cmdInst), twips::top(c().fraMap));
    }
};

void TestSaveMapping::init() {
    openScreen();
}

void TestSaveMapping::cleanup() {
    m_screen.reset();
}

void TestSaveMapping::noPhilHealthItemSavesNothing() {
    const int before = linkCount();
    TextTable shown;
    shown.columns << QStringLiteral("ID") << QStringLiteral("Code");
    shown.rows << QStringList{"1", "ER0001"};
    for (const QString& item : {QStringLiteral("10020"), QString()}) {
        fill(QStringLiteral("ESOA_ER"), QString(), item);
        c().GridMap->bind(shown);
        save();
        QCOMPARE(m_prompter.texts(), QStringList{"Select ESOA item."});
        QCOMPARE(m_prompter.shown[0].title, QStringLiteral("Brevant"));
        QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
        QCOMPARE(m_prompter.shown[0].buttons, Prompter::Buttons::Ok);
        QVERIFY(builtStatements(gw().log()).isEmpty());
        QCOMPARE(c().GridMap->textMatrix(1, 1), QStringLiteral("ER0001")); // not refreshed
    }
    QCOMPARE(linkCount(), before);
    QVERIFY(c().cmdInst->text() != QStringLiteral("<-Done. Mapped items displayed here"));
}

void TestSaveMapping::noHospitalItemSavesNothing() {
    const int before = linkCount();
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QString());
    save();
    QCOMPARE(m_prompter.texts(), QStringList{"Select VALTOR item."});
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
    QVERIFY(builtStatements(gw().log()).isEmpty());
    QCOMPARE(linkCount(), before);
}

void TestSaveMapping::aNewLinkHoldsTheScreensValues() {
    const int before = linkCount();
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10020"));
    save();
    QVERIFY2(m_prompter.shown.isEmpty(), qPrintable(m_prompter.texts().join(" | ")));
    QCOMPARE(builtStatements(gw().log()),
             (QStringList{lookupOf("ESOA_ER", "PH", "10020"), listOf("ESOA_ER", "ER0002")}));
    QCOMPARE(linkCount(), before + 1);
    QCOMPARE(links(QStringLiteral("ItemID='10020'")),
             (QList<QStringList>{{"ER0002", "Therapeutics", "Ketorolac 30 mg/mL ampule", "95",
                                  "per ampule", "10020", "KETOROLAC 30mg/mL - AMPULE 1mL", "INV",
                                  "PH", ""}}));
    // Empty boxes write empty strings; SortOrder is never written.
    QCOMPARE(gw().query(QStringLiteral("SELECT SectionID IS NULL, SortOrder IS NULL FROM "
                                       "Build_FIle..ESOA_ER_LINK WHERE ItemID='10020'"))
                 .rows[0],
             (QStringList{"0", "1"}));
    // Another workstation (a second connection) sees the link as soon as the click returns.
    Gateway other(embedded::open(m_db->folder()));
    QCOMPARE(countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE "
                                             "ItemID='10020' AND Code='ER0002'")),
             1);
    QCOMPARE(c().GridMap->rows(), 2);
    QCOMPARE(c().GridMap->textMatrix(1, 6), QStringLiteral("10020"));
    QCOMPARE(c().GridMap->textMatrix(0, 11), QStringLiteral("SortOrder"));
    verifySavedAndPointed();
}

void TestSaveMapping::savingAgainRewritesTheSameRow() {
    // 10018 under PH is linked to ER0001 in the sample.
    const QList<QStringList> old = links(QStringLiteral("ItemID='10018'"));
    QCOMPARE(old.size(), 1);
    const int before = linkCount();
    fill(QStringLiteral("ESOA_ER"), old[0][0], QStringLiteral("10018"));
    c().txtESOADesc->setText(old[0][2]);
    c().txtFixedFee->setText(old[0][3]);
    c().txtChargingUnit->setText(old[0][4]);
    c().txtVALTORitemDesc->setText(old[0][6]);
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(linkCount(), before);
    QCOMPARE(links(QStringLiteral("ItemID='10018'")), old);
    save(); // and once more: still one row
    QCOMPARE(linkCount(), before);
}

void TestSaveMapping::anotherPhilHealthItemMovesTheLink() {
    const int before = linkCount();
    // Revenue code in other letters: the same hospital item, whose RevenueID is not rewritten.
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10018"),
         QStringLiteral("ph"));
    c().txtAreaCat->setText(QStringLiteral("-"));
    c().txtSectionID->setText(QStringLiteral("S1"));
    c().txtType->setText(QStringLiteral("PROC"));
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(linkCount(), before);
    QCOMPARE(links(QStringLiteral("ItemID='10018'")),
             (QList<QStringList>{{"ER0002", "-", "Ketorolac 30 mg/mL ampule", "95", "per ampule",
                                  "10018", "KETOROLAC 30mg/mL - AMPULE 1mL", "PROC", "PH", "S1"}}));
    QCOMPARE(links(QStringLiteral("Code='ER0001'")).size(), 0);
    QCOMPARE(c().GridMap->textMatrix(1, 1), QStringLiteral("ER0002"));
}

void TestSaveMapping::anotherRevenueCodeIsAnotherHospitalItem() {
    const int before = linkCount();
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10018"),
         QStringLiteral("CS"));
    save();
    QCOMPARE(linkCount(), before + 1);
    QCOMPARE(links(QStringLiteral("ItemID='10018' AND RevenueID='PH'"))[0][0],
             QStringLiteral("ER0001"));
    QCOMPARE(links(QStringLiteral("ItemID='10018' AND RevenueID='CS'"))[0][0],
             QStringLiteral("ER0002"));
    // An empty revenue code is no error either: one more hospital item.
    c().txtRevID->setText(QString());
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(builtStatements(gw().log())[0], lookupOf("ESOA_ER", "", "10018"));
    QCOMPARE(links(QStringLiteral("ItemID='10018' AND RevenueID=''")).size(), 1);
}

void TestSaveMapping::feeTextsAsTheyAreStored() {
    const struct {
        const char* text;
        const char* stored;
    } cases[] = {{"", "0"},         {"1,250.00", "1"}, {"1250.50", "1250.5"}, {" 12 5.5", "125.5"},
                 {"-3e2x", "-300"}, {".5", "0.5"}};
    for (const auto& fee : cases) {
        fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10020"));
        c().txtFixedFee->setText(QLatin1String(fee.text));
        save();
        QVERIFY(m_prompter.shown.isEmpty());
        QCOMPARE(links(QStringLiteral("ItemID='10020'"))[0][3], QLatin1String(fee.stored));
    }
    // A fee SQL Server's smallmoney cannot hold is refused by the write, at its line.
    c().txtFixedFee->setText(QStringLiteral("1e9"));
    save();
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY(m_prompter.shown[0].text.endsWith(QStringLiteral(" at line 144")));
    QCOMPARE(links(QStringLiteral("ItemID='10020'"))[0][3], QStringLiteral("0.5"));
}

void TestSaveMapping::blanksPassTheGuardsAndAreKept() {
    fill(QStringLiteral("ESOA_ER"), QStringLiteral(" "), QStringLiteral("  "));
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(links(QStringLiteral("ItemID='  '"))[0][0], QStringLiteral(" "));
}

void TestSaveMapping::aMissingLinkTableGivesTheWholeCascade() {
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER_LINK"));
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10020"));
    save();
    const QString missing = QStringLiteral("no such table: Build_FIle.ESOA_ER_LINK");
    const QString closed = QStringLiteral("Operation is not allowed when the object is closed.");
    QStringList expected{failure(missing, 118)};
    for (int line = 120; line <= 146; line += 2)
        expected << failure(closed, line);
    expected << missing << QStringLiteral("Create tables under Maintenance tab.");
    QCOMPARE(m_prompter.texts(), expected);
    for (int i = 0; i < 15; ++i) {
        QCOMPARE(m_prompter.shown[i].title, QStringLiteral("Application Error"));
        QCOMPARE(m_prompter.shown[i].icon, Prompter::Icon::Warning);
        QCOMPARE(m_prompter.shown[i].buttons, Prompter::Buttons::Ok);
    }
    QCOMPARE(m_prompter.shown[15].title, QStringLiteral("Brevant"));
    QCOMPARE(m_prompter.shown[15].icon, Prompter::Icon::None);
    QCOMPARE(builtStatements(gw().log()),
             (QStringList{lookupOf("ESOA_ER", "PH", "10020"), listOf("ESOA_ER", "ER0002")}));
    verifySavedAndPointed();
    // Nothing went to the other link table.
    QCOMPARE(links(QStringLiteral("ItemID='10020'"), QStringLiteral("ESOA_ITEM")).size(), 0);
}

void TestSaveMapping::aRowChangedSinceTheLookupIsNotOverwritten() {
    // While the clerk reads a message of the save (a fee too large to read, at line 140),
    // another workstation maps the same hospital item elsewhere.
    Gateway other(embedded::open(m_db->folder()));
    m_prompter.whileShown = [&](const ScriptedPrompter::Shown&) {
        other.execute(QStringLiteral(
            "UPDATE Build_FIle..ESOA_ER_LINK SET Code='ER0009' WHERE ItemID='10018'"));
    };
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10018"));
    c().txtFixedFee->setText(QStringLiteral("1e999"));
    save();
    QCOMPARE(m_prompter.texts().size(), 2);
    QCOMPARE(m_prompter.texts()[0], failure(QStringLiteral("Overflow"), 140));
    QCOMPARE(m_prompter.texts()[1],
             failure(QStringLiteral("Row cannot be located for updating. Some values may have "
                                    "been changed since it was last read."),
                     144));
    QCOMPARE(links(QStringLiteral("ItemID='10018'"))[0][0], QStringLiteral("ER0009"));
    verifySavedAndPointed();
}

void TestSaveMapping::aRowRemovedSinceTheLookupIsNotWrittenBack() {
    Gateway other(embedded::open(m_db->folder()));
    m_prompter.whileShown = [&](const ScriptedPrompter::Shown&) {
        other.execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK WHERE ItemID='10018'"));
    };
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("10018"));
    c().txtFixedFee->setText(QStringLiteral("1e999"));
    const int before = linkCount();
    save();
    QCOMPARE(m_prompter.texts().size(), 2);
    QVERIFY(m_prompter.texts()[1].endsWith(QStringLiteral(" at line 144")));
    QCOMPARE(linkCount(), before - 1); // the removal stands; nothing was added back
}

void TestSaveMapping::apostrophesAreFoundAndSaved() {
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER'1"), QStringLiteral("O'Brien"),
         QStringLiteral("P'H"));
    c().txtESOADesc->setText(QStringLiteral("Children's dose"));
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(builtStatements(gw().log())[0], lookupOf("ESOA_ER", "P''H", "O''Brien"));
    QCOMPARE(builtStatements(gw().log())[1], listOf("ESOA_ER", "ER''1"));
    const QList<QStringList> saved = links(QStringLiteral("ItemID='O''Brien'"));
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved[0][0], QStringLiteral("ER'1"));
    QCOMPARE(saved[0][2], QStringLiteral("Children's dose"));
    QCOMPARE(saved[0][8], QStringLiteral("P'H"));
    QCOMPARE(c().GridMap->textMatrix(1, 6), QStringLiteral("O'Brien"));
    save(); // found again: rewritten, not added
    QCOMPARE(links(QStringLiteral("ItemID='O''Brien'")).size(), 1);
    // A value made to end its literal is only a value.
    const int before = linkCount();
    fill(QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), QStringLiteral("x' OR '1'='1"));
    save();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(linkCount(), before + 1);
    QCOMPARE(links(QStringLiteral("ItemID='x'' OR ''1''=''1'")).size(), 1);
    QCOMPARE(links(QStringLiteral("ItemID='10018'"))[0][0], QStringLiteral("ER0001"));
}

QTEST_MAIN(TestSaveMapping)
#include "tst_savemapping.moc"
