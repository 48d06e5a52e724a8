// What the check makes of SQL Server's answers, read from result tables shaped as SQL Server
// returns them (no server runs here): collations that compare case or not, columns of another
// type, triggers, rights, the encryption of the connection; the tables expected as the program's
// own CREATE statements make them; the statement file's shapes made compilable.
#include "core/diagnostics/Catalogue.h"
#include "core/diagnostics/Expected.h"
#include "core/diagnostics/ServerAnswers.h"
#include "core/diagnostics/ServerStatements.h"

#include <QTest>

using namespace diagnostics;

namespace {

ValueTable table(const QStringList& columns, const QList<QList<QVariant>>& rows) {
    return ValueTable{columns, rows};
}

// INFORMATION_SCHEMA.COLUMNS as SQL Server lists the tables when they are as the program makes
// them.
ValueTable columnsAsMade(const QList<ExpectedTable>& tables) {
    ValueTable t{{"TABLE_NAME", "COLUMN_NAME", "DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH",
                  "IS_NULLABLE", "COLLATION_NAME"},
                 {}};
    for (const ExpectedTable& e : tables)
        for (const ExpectedColumn& c : e.columns)
            t.rows << QList<QVariant>{e.name,
                                      c.name,
                                      c.type,
                                      c.length ? QVariant(c.length) : QVariant(),
                                      c.nullable ? "YES" : "NO",
                                      c.length ? QVariant("SQL_Latin1_General_CP1_CI_AS")
                                               : QVariant()};
    return t;
}

QList<QList<QVariant>>& rowsOf(ValueTable& t) {
    return t.rows;
}

// The row of a table's column in an INFORMATION_SCHEMA answer.
QList<QVariant>& columnRow(ValueTable& t, const QString& table, const QString& column) {
    for (QList<QVariant>& row : rowsOf(t))
        if (row[0] == table && row[1] == column)
            return row;
    qFatal("no such column");
}

QStringList described(const Findings& findings) {
    QStringList out;
    for (const Finding& f : findings)
        out << f.check + QStringLiteral(" | ") + resultText(f.result) + QStringLiteral(" | ") +
                   f.detail;
    return out;
}

} // namespace

class TestServerAnswers : public QObject {
    Q_OBJECT
private slots:
    void theTablesAreReadFromTheProgramsOwnStatements();
    void collationsThatCompareCase_data();
    void collationsThatCompareCase();
    void eachDatabasesCollation();
    void columnsOfAnotherTypeMissingOrRefusingNull();
    void missingTablesFailOrWaitForTheirFirstUse();
    void indexesMissingOrDifferent();
    void eachTriggerIsNamed();
    void rightsTheClerksNeedAndThoseOfMaintenance();
    void theRightsAskedForEachTable();
    void theServerTheLoginAndTheEncryption();
    void theFilesShapesMadeCompilable();
    void theStatementFilesEntries();
    void theQuestionsAsTheyAreSent();
};

void TestServerAnswers::theTablesAreReadFromTheProgramsOwnStatements() {
    const QList<ExpectedTable> tables = expectedTables(Dialect::TSql);
    QStringList names;
    for (const ExpectedTable& t : tables)
        names << t.name;
    QCOMPARE(names, (QStringList{"ESOA_ITEM", "ESOA_ITEM_LINK", "ESOA_ER", "ESOA_ER_LINK",
                                 "ESOA_LINK_HISTORY", "ESOA_DRUG_REGISTER", "ESOA_LIST_VERSION",
                                 "ESOA_LIST_RETIRED", "ESOA_LIST_CHANGE", "ESOA_LINK_REVIEW"}));
    const ExpectedTable& link = tables[1];
    QStringList columns;
    for (const ExpectedColumn& c : link.columns)
        columns << c.name + u' ' + typeText(c.type, c.length) + (c.nullable ? "" : " NOT NULL");
    QCOMPARE(
        columns,
        (QStringList{"ID bigint NOT NULL", "Code varchar(50)", "Category varchar(50)",
                     "Description varchar(250)", "FixedFee smallmoney", "ChargingUnit varchar(50)",
                     "ItemID varchar(50)", "ItemDesc varchar(250)", "InvOrProc varchar(20)",
                     "RevenueID varchar(20)", "SectionID varchar(20)", "SortOrder smallint"}));
    QStringList indexes;
    for (const ExpectedIndex& i : link.indexes)
        indexes << i.name + (i.clustered ? " clustered (" : " (") + i.columns.join(", ") + u')';
    QCOMPARE(indexes,
             (QStringList{"by_ID clustered (ID)", "by_Category_Description (Category, Description)",
                          "by_ItemID (RevenueID, ItemID)", "by_Code (Code)"}));
    QVERIFY(link.whenMissing.isEmpty());
    QCOMPARE(tables[4].columns[2].name, QStringLiteral("ChangedBy"));
    QCOMPARE(typeText(tables[4].columns[2].type, tables[4].columns[2].length),
             QStringLiteral("nvarchar(128)"));
    QVERIFY(!tables[4].whenMissing.isEmpty() && !tables[5].whenMissing.isEmpty());
    // On the embedded database, as the rewriting declares them.
    const ExpectedTable embedded = expectedTables(Dialect::Sqlite)[1];
    QCOMPARE(embedded.columns[0].type, QStringLiteral("integer"));
    QCOMPARE(typeText(embedded.columns[1].type, embedded.columns[1].length),
             QStringLiteral("varchar(50)"));
    QCOMPARE(embedded.columns[4].type, QStringLiteral("smallmoney"));
    QCOMPARE(embedded.columns.size(), 12);
}

void TestServerAnswers::collationsThatCompareCase_data() {
    QTest::addColumn<QString>("collation");
    QTest::addColumn<bool>("comparesCase");
    QTest::newRow("the server's default") << "SQL_Latin1_General_CP1_CI_AS" << false;
    QTest::newRow("accent-blind") << "Latin1_General_CI_AI" << false;
    QTest::newRow("UTF-8, case-blind") << "Latin1_General_100_CI_AS_SC_UTF8" << false;
    QTest::newRow("case-sensitive") << "Latin1_General_CS_AS" << true;
    QTest::newRow("case-sensitive, lower case") << "latin1_general_cs_as" << true;
    QTest::newRow("case-sensitive, kana and width") << "Japanese_CS_AS_KS_WS" << true;
    QTest::newRow("binary") << "Latin1_General_BIN" << true;
    QTest::newRow("binary code points") << "Latin1_General_100_BIN2" << true;
    QTest::newRow("a name with CS inside a word") << "Latin1_General_CSX_CI_AS" << false;
}

void TestServerAnswers::collationsThatCompareCase() {
    QFETCH(QString, collation);
    QFETCH(bool, comparesCase);
    QCOMPARE(diagnostics::comparesCase(collation), comparesCase);
}

void TestServerAnswers::eachDatabasesCollation() {
    const Findings f = collationFindings(table(
        {"Build_FIle", "Inventory"}, {{"SQL_Latin1_General_CP1_CI_AS", "Latin1_General_CS_AS"}}));
    QCOMPARE(described(f),
             (QStringList{"Collation of Build_FIle | ok | SQL_Latin1_General_CP1_CI_AS compares "
                          "without regard to case.",
                          "Collation of Inventory | warning | Latin1_General_CS_AS compares case: "
                          "the program compares codes, categories and names as SQL Server's "
                          "default collations do, without regard to case, so \"abc\" and \"ABC\" "
                          "are different items here."}));
    // DATABASEPROPERTYEX gives NULL for a database that is not there.
    const Findings none =
        collationFindings(table({"Build_FIle", "Inventory"}, {{"Latin1_General_CI_AS", {}}}));
    QCOMPARE(none[1].result, Result::Failed);
    QCOMPARE(none[1].detail, QStringLiteral("The server gave no collation: the database "
                                            "Inventory is not there, or this login cannot reach "
                                            "it."));
}

void TestServerAnswers::columnsOfAnotherTypeMissingOrRefusingNull() {
    const QList<ExpectedTable> tables = expectedTables(Dialect::TSql);
    ValueTable answer = columnsAsMade(tables);
    Findings f = tableFindings(tables, answer);
    QCOMPARE(f.size(), 10);
    for (const Finding& one : f)
        QVERIFY2(one.result == Result::Ok, qPrintable(one.check + ": " + one.detail));
    QCOMPARE(f[0].detail, QStringLiteral("6 columns as the program makes them."));

    columnRow(answer, "ESOA_ITEM_LINK", "Code")[2] = "nvarchar";
    columnRow(answer, "ESOA_ITEM_LINK", "ItemID")[3] = 20;
    columnRow(answer, "ESOA_ITEM_LINK", "ItemDesc")[4] = "NO";
    columnRow(answer, "ESOA_ITEM_LINK", "Category")[5] = "Latin1_General_CS_AS";
    columnRow(answer, "ESOA_ER", "FixedFee")[2] = "money";
    answer.rows.removeOne(columnRow(answer, "ESOA_ER_LINK", "RevenueID"));
    f = tableFindings(tables, answer);
    QCOMPARE(described(f),
             (QStringList{
                 "Table ESOA_ITEM | ok | 6 columns as the program makes them.",
                 "Table ESOA_ITEM_LINK | warning | The column Code is nvarchar(50); the program "
                 "makes it varchar(50).",
                 "Table ESOA_ITEM_LINK | warning | The column Category compares case "
                 "(Latin1_General_CS_AS): the program compares it without regard to case.",
                 "Table ESOA_ITEM_LINK | warning | The column ItemID is varchar(20); the program "
                 "makes it varchar(50).",
                 "Table ESOA_ITEM_LINK | warning | The column ItemDesc refuses NULL; the program "
                 "makes it NULL, and a row that leaves it empty is refused.",
                 "Table ESOA_ER | warning | The column FixedFee is money; the program makes it "
                 "smallmoney.",
                 "Table ESOA_ER_LINK | failed | The column RevenueID is missing: every statement "
                 "that names it fails.",
                 "Table ESOA_LINK_HISTORY | ok | 27 columns as the program makes them.",
                 "Table ESOA_DRUG_REGISTER | ok | 8 columns as the program makes them.",
                 "Table ESOA_LIST_VERSION | ok | 12 columns as the program makes them.",
                 "Table ESOA_LIST_RETIRED | ok | 8 columns as the program makes them.",
                 "Table ESOA_LIST_CHANGE | ok | 8 columns as the program makes them.",
                 "Table ESOA_LINK_REVIEW | ok | 9 columns as the program makes them."}));
    // A history made before its column How: the program adds it at the first save.
    ValueTable older = columnsAsMade(tables);
    older.rows.removeOne(columnRow(older, "ESOA_LINK_HISTORY", "How"));
    QCOMPARE(described(tableFindings(tables, older))[4],
             QStringLiteral("Table ESOA_LINK_HISTORY | warning | The column How is missing: the "
                            "first save of a run adds it where the login may alter the table; "
                            "until then the history does not say what made each change."));
    // Names compare as SQL Server's do, without regard to case; a column of its own is no fault.
    ValueTable other = columnsAsMade(tables);
    for (QList<QVariant>& row : rowsOf(other))
        row[1] = row[1].toString().toUpper();
    other.rows << QList<QVariant>{"ESOA_ITEM", "Remarks", "varchar", 500, "YES", {}};
    for (const Finding& one : tableFindings(tables, other))
        QVERIFY2(one.result == Result::Ok, qPrintable(one.detail));
}

void TestServerAnswers::missingTablesFailOrWaitForTheirFirstUse() {
    const QList<ExpectedTable> tables = expectedTables(Dialect::TSql);
    ValueTable answer = columnsAsMade(tables);
    answer.rows.removeIf([](const QList<QVariant>& row) {
        return row[0] == "ESOA_ER" || row[0] == "ESOA_LINK_HISTORY";
    });
    const Findings f = tableFindings(tables, answer);
    QCOMPARE(described(f)[2], QStringLiteral("Table ESOA_ER | failed | The table is missing from "
                                             "Build_FIle (or this login may not see it): \"a. "
                                             "Create Tables\" makes it."));
    QCOMPARE(described(f)[4],
             QStringLiteral("Table ESOA_LINK_HISTORY | warning | The table is missing from "
                            "Build_FIle (or this login may not see it): the first save makes it "
                            "where the login may create tables; until then links are saved "
                            "without their history."));
    QCOMPARE(presentTables(answer),
             (QStringList{"ESOA_ITEM", "ESOA_ITEM_LINK", "ESOA_ER_LINK", "ESOA_DRUG_REGISTER",
                          "ESOA_LIST_VERSION", "ESOA_LIST_RETIRED", "ESOA_LIST_CHANGE",
                          "ESOA_LINK_REVIEW"}));
}

void TestServerAnswers::indexesMissingOrDifferent() {
    const QList<ExpectedTable> tables = expectedTables(Dialect::TSql);
    ValueTable answer{{"TableName", "IndexName", "IndexType", "ColumnName"}, {}};
    for (const ExpectedTable& t : tables)
        for (const ExpectedIndex& i : t.indexes)
            for (const QString& c : i.columns)
                answer.rows << QList<QVariant>{t.name, i.name,
                                               i.clustered ? "CLUSTERED" : "NONCLUSTERED", c};
    const QStringList all = {"ESOA_ITEM", "ESOA_ITEM_LINK", "ESOA_ER", "ESOA_ER_LINK",
                             "ESOA_LINK_HISTORY"};
    Findings f = indexFindings(tables, all, answer);
    QCOMPARE(f.size(), 5); // none for the register, which is not there
    for (const Finding& one : f)
        QVERIFY2(one.result == Result::Ok, qPrintable(one.detail));
    QCOMPARE(f[0].detail,
             QStringLiteral("by_ID, by_Category_Description and by_Code as the program makes "
                            "them."));

    // by_ItemID gone from one link table, its columns swapped in the other, by_ID a heap's.
    answer.rows.removeIf([](const QList<QVariant>& row) {
        return row[0] == "ESOA_ITEM_LINK" && row[1] == "by_ItemID";
    });
    for (QList<QVariant>& row : rowsOf(answer)) {
        if (row[0] == "ESOA_ER_LINK" && row[1] == "by_ItemID")
            row[3] = row[3] == "ItemID" ? "RevenueID" : "ItemID";
        if (row[0] == "ESOA_ER" && row[1] == "by_ID")
            row[2] = "NONCLUSTERED";
    }
    f = indexFindings(tables, all, answer);
    QCOMPARE(described(f),
             (QStringList{
                 "Indexes of ESOA_ITEM | ok | by_ID, by_Category_Description and by_Code as the "
                 "program makes them.",
                 "Indexes of ESOA_ITEM_LINK | warning | The index by_ItemID on (RevenueID, "
                 "ItemID) is missing: what looks rows up by RevenueID, ItemID reads the whole "
                 "table instead.",
                 "Indexes of ESOA_ER | warning | The index by_ID is nonclustered; the program "
                 "makes it clustered.",
                 "Indexes of ESOA_ER_LINK | warning | The index by_ItemID is on (ItemID, "
                 "RevenueID); the program makes it on (RevenueID, ItemID).",
                 "Indexes of ESOA_LINK_HISTORY | ok | by_ID, by_Item, by_Link and by_BatchNo as "
                 "the program makes them."}));
}

void TestServerAnswers::eachTriggerIsNamed() {
    const QStringList tables = statements::triggerTables();
    QCOMPARE(described(triggerFindings(
                 tables, table({"TableName", "TriggerName", "IsDisabled", "IsInsteadOf"}, {}))),
             QStringList{"Triggers | ok | No trigger on ESOA_ITEM_LINK, ESOA_ER_LINK and "
                         "ESOA_LINK_HISTORY."});
    const Findings f =
        triggerFindings(tables, table({"TableName", "TriggerName", "IsDisabled", "IsInsteadOf"},
                                      {{"ESOA_ER_LINK", "trgAudit", false, false},
                                       {"ESOA_LINK_HISTORY", "trgNoDelete", true, true}}));
    QCOMPARE(described(f),
             (QStringList{"Triggers on ESOA_ER_LINK | warning | ESOA_ER_LINK has the trigger "
                          "trgAudit (AFTER, enabled): the program's adds take the new ID from "
                          "OUTPUT ... INTO, which the trigger cannot change, but what the trigger "
                          "itself does to a save, a delete or an undo is for the DBA to say.",
                          "Triggers on ESOA_LINK_HISTORY | warning | ESOA_LINK_HISTORY has the "
                          "trigger trgNoDelete (INSTEAD OF, disabled): the program's adds take "
                          "the new ID from OUTPUT ... INTO, which the trigger cannot change, but "
                          "what the trigger itself does to a save, a delete or an undo is for "
                          "the DBA to say."}));
}

void TestServerAnswers::rightsTheClerksNeedAndThoseOfMaintenance() {
    const QList<TableRights> rights = neededRights({});
    const TableRights& link = rights[5];
    QCOMPARE(link.table, QStringLiteral("ESOA_ITEM_LINK"));
    const QStringList columns = {"SELECT", "INSERT", "UPDATE", "DELETE", "ALTER"};
    auto answer = [&](const QList<QVariant>& row) { return table(columns, {row}); };
    QCOMPARE(described({rightsFinding(link, answer({1, 1, 1, 1, 1}))}),
             QStringList{"Rights on ESOA_ITEM_LINK | ok | Build_FIle.ESOA_ITEM_LINK: SELECT, "
                         "INSERT, UPDATE, DELETE and ALTER granted."});
    QCOMPARE(described({rightsFinding(link, answer({1, 1, 1, 1, 0}))}),
             QStringList{"Rights on ESOA_ITEM_LINK | warning | Build_FIle.ESOA_ITEM_LINK: "
                         "SELECT, INSERT, UPDATE and DELETE granted; ALTER not granted: only the "
                         "maintenance commands need it; run them with a login that has it."});
    QCOMPARE(described({rightsFinding(link, answer({1, 1, 1, 0, 0}))}),
             QStringList{"Rights on ESOA_ITEM_LINK | failed | Build_FIle.ESOA_ITEM_LINK: SELECT, "
                         "INSERT and UPDATE granted; DELETE not granted: the clerks' work that "
                         "needs it fails; ALTER not granted: only the maintenance commands need "
                         "it; run them with a login that has it."});
    QCOMPARE(rightsFinding(link, answer({1, {}, 1, 1, 1})).result, Result::Failed);
    QVERIFY(rightsFinding(link, answer({1, {}, 1, 1, 1}))
                .detail.contains(QStringLiteral("the server could not tell about INSERT")));
    QCOMPARE(described({rightsFinding(rights[2], table(columns, {}))}),
             QStringList{"Rights on tbInvMaster | failed | tbInvMaster is not in Inventory, or "
                         "this login holds no right on it at all."});
    // The history is never deleted from; the clerks need no right to change the register.
    QCOMPARE(rights[8].needed, (QStringList{"SELECT", "INSERT", "UPDATE"}));
    QCOMPARE(rightsFinding(rights[9], answer({1, 0, 0, 0, 0})).result, Result::Warning);
    QCOMPARE(createTableFinding(table({"CREATE TABLE"}, {{1}})).result, Result::Ok);
    QCOMPARE(createTableFinding(table({"CREATE TABLE"}, {{0}})).result, Result::Warning);
}

void TestServerAnswers::theRightsAskedForEachTable() {
    QStringList asked;
    for (const TableRights& r :
         neededRights({"tbcoLabExam", "tbcoXRayExam", "Inventory..InvMaster", "tbcoLabExam"}))
        asked << r.database + u'.' + r.table + u' ' + r.needed.join(u'+') + u'/' +
                     r.maintenance.join(u'+');
    QCOMPARE(
        asked,
        (QStringList{"Build_FIle.tbRevenues SELECT/", "Build_FIle.tbcorevenuecode SELECT/",
                     "Inventory.tbInvMaster SELECT/ALTER", "Inventory.tbForGeneric SELECT/",
                     "Build_FIle.ESOA_ITEM SELECT/INSERT+UPDATE+DELETE+ALTER",
                     "Build_FIle.ESOA_ITEM_LINK SELECT+INSERT+UPDATE+DELETE/ALTER",
                     "Build_FIle.ESOA_ER SELECT/INSERT+UPDATE+DELETE+ALTER",
                     "Build_FIle.ESOA_ER_LINK SELECT+INSERT+UPDATE+DELETE/ALTER",
                     "Build_FIle.ESOA_LINK_HISTORY SELECT+INSERT+UPDATE/ALTER",
                     "Build_FIle.ESOA_DRUG_REGISTER SELECT/INSERT+DELETE",
                     "Build_FIle.ESOA_LIST_VERSION SELECT/INSERT",
                     "Build_FIle.ESOA_LIST_RETIRED /INSERT", "Build_FIle.ESOA_LIST_CHANGE /INSERT",
                     "Build_FIle.ESOA_LINK_REVIEW SELECT+INSERT/", "Build_FIle.tbcoLabExam SELECT/",
                     "Build_FIle.tbcoXRayExam SELECT/ALTER", "Inventory.InvMaster SELECT/",
                     "Build_FIle.tbcoUltraExam /ALTER", "Build_FIle.tbcoCTExam /ALTER"}));
}

void TestServerAnswers::theServerTheLoginAndTheEncryption() {
    const QStringList server = {"ProductVersion", "ProductLevel", "Edition"};
    QCOMPARE(described({serverFinding(
                 table(server, {{"15.0.2000.5", "RTM", "Developer Edition (64-bit)"}}))}),
             QStringList{"Server version and edition | ok | SQL Server 15.0.2000.5 RTM, "
                         "Developer Edition (64-bit)"});
    QCOMPARE(serverFinding(table(server, {{"8.00.2039", "SP4", "Standard Edition"}})).result,
             Result::Failed);
    QCOMPARE(loginFinding(table({"Login", "UserName", "CurrentDatabase"},
                                {{"HOSPITAL\\billing1", "billing1", "master"}}))
                 .detail,
             QStringLiteral("Login HOSPITAL\\billing1, database user billing1 in master (the "
                            "connection's current database; every statement names Build_FIle or "
                            "Inventory itself)."));
    const QStringList column = {"encrypt_option"};
    QCOMPARE(described({encryptionFinding(table(column, {{"TRUE"}}))}),
             QStringList{"Encrypted connection | ok | The connection is encrypted."});
    QCOMPARE(described({encryptionFinding(table(column, {{"FALSE"}}))}),
             QStringList{"Encrypted connection | warning | The connection is not encrypted: the "
                         "login and every row cross the network as they are."});
    QCOMPARE(encryptionFinding(table(column, {})).result, Result::Failed);
}

void TestServerAnswers::theFilesShapesMadeCompilable() {
    QString why;
    QCOMPARE(compilable("SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE "
                        "Description like ? AND Category=? AND Code <> 'a?b'",
                        {}, &why),
             QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE "
                            "Description like NULL AND Category=NULL AND Code <> 'a?b'"));
    const QList<ExamNames> exams = {
        {"Inventory..InvMaster", "ItemID", "ItemName", "Section"},
        {"tbcoLabExam", "LabExamID", "LabExam", ""},
        {"tbcoOtherRevenue", "OtherRevenueID", "OtherRevenue", "OtherSectionID"}};
    QCOMPARE(compilable("SELECT <IDFieldName>,<ExamFieldName> FROM BUILD_FILE..<ExamTableName> "
                        "WITH (NOLOCK) WHERE Status=?",
                        exams, &why),
             QStringLiteral("SELECT LabExamID,LabExam FROM BUILD_FILE..tbcoLabExam WITH (NOLOCK) "
                            "WHERE Status=NULL"));
    QCOMPARE(compilable("SELECT <IDFieldName> FROM BUILD_FILE..<ExamTableName> WHERE "
                        "<SectionIDFieldName> = ?",
                        exams, &why),
             QStringLiteral("SELECT OtherRevenueID FROM BUILD_FILE..tbcoOtherRevenue WHERE "
                            "OtherSectionID = NULL"));
    QVERIFY(!compilable("SELECT <SectionIDFieldName> FROM BUILD_FILE..<ExamTableName>",
                        exams.mid(0, 2), &why));
    QCOMPARE(why, QStringLiteral("No row of tbRevenues gives <ExamTableName>, "
                                 "<SectionIDFieldName> (with an exam table of Build_FIle)."));
}

void TestServerAnswers::theStatementFilesEntries() {
    const QList<CatalogueEntry> entries = catalogueEntries(
        "-- A header, for the reader.\n--\n-- More of it.\n\n"
        "-- First operation: reads A\nSELECT 1 FROM A;\n\n"
        "-- Second operation: writes B\n-- A note on it.\n-- not checked by the parser: why\n"
        "INSERT INTO B VALUES\n(?, ?),\n  (?, ?);\n");
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].operation, QStringLiteral("First operation: reads A"));
    QVERIFY(entries[0].notes.isEmpty());
    QCOMPARE(entries[0].statement, QStringLiteral("SELECT 1 FROM A"));
    QCOMPARE(entries[1].operation, QStringLiteral("Second operation: writes B"));
    QCOMPARE(entries[1].notes, (QStringList{"A note on it.", "not checked by the parser: why"}));
    QCOMPARE(entries[1].statement, QStringLiteral("INSERT INTO B VALUES (?, ?), (?, ?)"));
    // The file the program carries: every entry has its operation.
    const QList<CatalogueEntry> file = catalogue();
    QVERIFY(file.size() > 100);
    for (const CatalogueEntry& e : file)
        QVERIFY2(!e.operation.isEmpty() && !e.statement.isEmpty(), qPrintable(e.statement));
}

void TestServerAnswers::theQuestionsAsTheyAreSent() {
    QCOMPARE(statements::rights("Inventory", "tbInvMaster"),
             QStringLiteral(
                 "SELECT HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', "
                 "'SELECT') AS [SELECT], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + "
                 "QUOTENAME(o.name), 'OBJECT', 'INSERT') AS [INSERT], "
                 "HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'UPDATE') "
                 "AS [UPDATE], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), "
                 "'OBJECT', 'DELETE') AS [DELETE], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + "
                 "QUOTENAME(o.name), 'OBJECT', 'ALTER') AS [ALTER] FROM [Inventory].sys.objects o "
                 "JOIN [Inventory].sys.schemas s ON s.schema_id = o.schema_id WHERE s.name = "
                 "'dbo' AND o.name = 'tbInvMaster'"));
    // A name the catalogue gives cannot end its literal.
    QVERIFY(
        statements::rights("Build_FIle", "x' OR '1'='1").endsWith("o.name = 'x'' OR ''1''=''1'"));
    QCOMPARE(statements::columns(),
             QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, "
                            "IS_NULLABLE, COLLATION_NAME FROM [Build_FIle].INFORMATION_SCHEMA."
                            "COLUMNS WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME IN ('ESOA_ITEM', "
                            "'ESOA_ITEM_LINK', 'ESOA_ER', 'ESOA_ER_LINK', 'ESOA_LINK_HISTORY', "
                            "'ESOA_DRUG_REGISTER', 'ESOA_LIST_VERSION', 'ESOA_LIST_RETIRED', "
                            "'ESOA_LIST_CHANGE', 'ESOA_LINK_REVIEW') ORDER BY TABLE_NAME, "
                            "ORDINAL_POSITION"));
    QCOMPARE(statements::encryption(),
             QStringLiteral("SELECT encrypt_option FROM sys.dm_exec_connections WHERE session_id "
                            "= @@SPID"));
    QCOMPARE(statements::noexecOn(), QStringLiteral("SET NOEXEC ON"));
    QCOMPARE(statements::noexecOff(), QStringLiteral("SET NOEXEC OFF"));
}

QTEST_APPLESS_MAIN(TestServerAnswers)
#include "tst_serveranswers.moc"
