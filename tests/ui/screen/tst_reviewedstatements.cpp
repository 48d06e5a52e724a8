// Every statement the program can send to SQL Server is on file in docs/statements.sql, where the
// DBA reviews it. The test takes the real screen through every operation on the sample data (both
// tables, every category, both item modes, every revenue list row, the suggestions and the proposed
// codes, the save added and rewritten, the delete, both checks, map all and its undo, the history,
// the exports, "a. Create Tables", "b. Scan && Import", "Import drug register...", "Check this
// database...") and adds the statements of the builders it calls directly for what the screen
// reaches only on other data (the history's table when it is missing). The database check's SQL
// Server steps run over ODBC (the SQLite ODBC driver) in the T-SQL dialect, where each is sent and
// refused; the probe of NOEXEC, which only a server that took SET NOEXEC ON reaches, is added from
// its builder. The embedded check's PRAGMAs reach the embedded database only and are not on file.
// Each statement is reduced to its shape (see shapeOf), and the test fails when a shape is missing
// from the file or the file holds a shape that nothing sends.
//
// BREVANT_WRITE_STATEMENTS=<file> writes the shapes found, each with the operation that first
// sent it and the tables it reads and writes, for a reviewer to merge into the file.
#include "NewList.h"
#include "ScreenFixture.h"
#include "Wine.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"
#include "core/diagnostics/Catalogue.h"
#include "core/diagnostics/DatabaseCheck.h"
#include "core/diagnostics/ServerStatements.h"
#include "core/review/LinkReview.h"
#include "core/review/ReviewStatements.h"

#include "core/history/HistoryStatements.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/ListCompare.h"
#include "core/maintenance/ListStatements.h"
#include "core/maintenance/ReferenceAdds.h"
#include "core/maintenance/TableStatements.h"
#include "core/reports/MappingReports.h"
#include "core/tsql/Lexer.h"
#include "ui/hospital/HospitalSide.h"
#include "ui/maintenance/Import.h"
#include "ui/maintenance/ListUpdate.h"
#include "ui/maintenance/RegisterImport.h"
#include "ui/maintenance/Tables.h"
#include "ui/mapping/Mappings.h"
#include "ui/reference/ReferenceSide.h"
#include "ui/review/ReviewScreen.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/suggest/RetiredLinks.h"
#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// A statement as the DBA reviews it: blanks collapsed, value literals made ? (number literals
// after a WHERE, string literals there too and anywhere in an INSERT, UPDATE or DELETE, as the
// program puts its values there), and the names the revenue catalogue gives (exam tables and
// their columns) made <ExamTableName>, <IDFieldName>, <ExamFieldName> and <SectionIDFieldName>.
QString shapeOf(const QString& statement, const QMap<QString, QString>& dataNames) {
    const tsql::Tokens t = tsql::tokenize(statement);
    const qsizetype first = tsql::nextSig(t, -1);
    if (first >= t.size())
        return {};
    const bool ddl = tsql::is(t[first], u"CREATE") || tsql::is(t[first], u"ALTER") ||
                     tsql::is(t[first], u"DROP");
    bool lifting = !ddl && !tsql::is(t[first], u"SELECT");
    bool afterWhere = false;
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const tsql::Token& token = t[i];
        if (tsql::is(token, u"WHERE") && !ddl)
            lifting = afterWhere = true;
        if (tsql::isSpace(token)) {
            out += u' ';
        } else if (lifting && token.kind == tsql::TokenKind::String) {
            out += u'?';
        } else if (afterWhere && token.kind == tsql::TokenKind::Number) {
            // "1=1" is the program's own, not a value.
            const qsizetype before = tsql::prevSig(t, i), after = tsql::nextSig(t, i);
            const bool constant =
                (after < t.size() && tsql::isPunct(t[after], u"=") &&
                 tsql::nextSig(t, after) < t.size() &&
                 t[tsql::nextSig(t, after)].kind == tsql::TokenKind::Number) ||
                (before >= 0 && tsql::isPunct(t[before], u"=") && tsql::prevSig(t, before) >= 0 &&
                 t[tsql::prevSig(t, before)].kind == tsql::TokenKind::Number);
            out += constant ? token.text : QStringLiteral("?");
        } else if (!ddl && tsql::isName(token) && dataNames.contains(tsql::bare(token))) {
            out += dataNames.value(tsql::bare(token));
        } else {
            out += token.text;
        }
    }
    return out.simplified();
}

// The tables a statement names after FROM, JOIN, INTO, UPDATE, TABLE, or ON for an index.
QStringList tablesOf(const QString& shape) {
    static const QRegularExpression name(
        QStringLiteral(R"((?:FROM|JOIN|INTO|UPDATE|TABLE)\s+((?:\[?\w+\]?\.)*\.?\[?[\w<>]+\]?))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(
        QStringLiteral(R"(^CREATE \w* ?INDEX \S+ ON ((?:\[?\w+\]?\.)*\[?\w+\]?))"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = index.match(shape); m.hasMatch())
        return {m.captured(1).remove(u'[').remove(u']').section(u'.', -1)};
    QStringList out;
    auto it = name.globalMatch(shape);
    while (it.hasNext()) {
        QString table = it.next().captured(1);
        if (table.startsWith(u'@') || table.compare(u"@added", Qt::CaseInsensitive) == 0)
            continue;
        table.remove(u'[').remove(u']');
        table = table.section(u'.', -1);
        if (!table.isEmpty() && !out.contains(table, Qt::CaseInsensitive) && table != u"SELECT")
            out << table;
    }
    return out;
}

// The file's entries: the statements (each ended by ";" at the end of a line), without comments.
QStringList entriesOf(const QString& file) {
    QStringList entries;
    QString current;
    for (const QString& line : file.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QStringLiteral("--")) || trimmed.isEmpty())
            continue;
        current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + trimmed;
        if (trimmed.endsWith(u';')) {
            current.chop(1);
            entries << current.simplified();
            current.clear();
        }
    }
    return entries;
}

} // namespace

class TestReviewedStatements : public QObject, public ScreenFixture {
    Q_OBJECT
private slots:
    void everyStatementSentIsOnFileAndNothingElse();

private:
    void step(const QString& operation, const std::function<void()>& act);
    void sent(const QString& operation, const QString& statement);
    void clickEveryRow(FlexGrid* grid, const std::function<void()>& click);
    // Clicks the row when the list has it.
    static void clickRow(FlexGrid* grid, int row, const std::function<void()>& click) {
        if (row < grid->rows()) {
            grid->setRow(row);
            click();
        }
    }
    QMap<QString, QString> m_dataNames;
    QMap<QString, QString> m_operationOf; // shape -> the operation that sent it first
    QStringList m_order;
};

void TestReviewedStatements::sent(const QString& operation, const QString& statement) {
    const QString shape = shapeOf(statement, m_dataNames);
    if (shape.isEmpty() || m_operationOf.contains(shape))
        return;
    m_operationOf.insert(shape, operation);
    m_order << shape;
}

void TestReviewedStatements::step(const QString& operation, const std::function<void()>& act) {
    gw().clearLog();
    try {
        act();
    } catch (const std::exception& e) {
        QFAIL(qPrintable(operation + QStringLiteral(": ") + QString::fromUtf8(e.what())));
    }
    for (const QString& statement : gw().log())
        if (!statement.startsWith(QStringLiteral("PRAGMA ")))
            sent(operation, statement);
    gw().clearLog();
}

void TestReviewedStatements::clickEveryRow(FlexGrid* grid, const std::function<void()>& click) {
    for (int r = 1; r < grid->rows(); ++r) {
        grid->setRow(r);
        click();
    }
}

void TestReviewedStatements::everyStatementSentIsOnFileAndNothingElse() {
    openScreen(false);
    Controls& c = this->c();
    // The names the revenue catalogue gives.
    for (const QStringList& row :
         gw().query(QStringLiteral("SELECT ExamTableName, IDFieldName, ExamFieldName, "
                                   "SectionIDFieldName FROM Build_FIle..tbRevenues"))
             .rows) {
        const char* kinds[] = {"<ExamTableName>", "<IDFieldName>", "<ExamFieldName>",
                               "<SectionIDFieldName>"};
        for (int i = 0; i < 4; ++i)
            if (const QString name = row.value(i).trimmed(); !name.isEmpty())
                // A table may be named with its database ("Inventory..InvMaster").
                m_dataNames.insert(name.section(u'.', -1), QLatin1String(kinds[i]));
    }
    MainScreen& s = screen();
    step(QStringLiteral("Start of the screen (its load)"), [&] { s.Form_Load(); });
    for (int table : {0, 1}) {
        step(QStringLiteral("Choice of the PhilHealth table"),
             [&] { s.reference().optTable_Click(table); });
        step(QStringLiteral("Click on a category (routing, reference items, hospital search)"),
             [&] { clickEveryRow(c.GridCat, [&] { s.reference().GridCat_Click(); }); });
        step(QStringLiteral("Search of PhilHealth items"), [&] {
            c.txtSOADesc->setText(QStringLiteral("a"));
            s.reference().cmdSearchSOAItem_Click();
        });
        step(QStringLiteral("Click on a PhilHealth item (its links)"),
             [&] { clickRow(c.Grid1, 1, [&] { s.reference().Grid1_Click(); }); });
        for (int mode : {0, 1}) {
            step(QStringLiteral("Choice of inventory or procedures"),
                 [&] { s.hospital().optInventory_Click(mode); });
            step(QStringLiteral("Revenue lists and their clicks"), [&] {
                s.hospital().LoadRevenues();
                s.hospital().LoadRevenueCodes();
                clickEveryRow(c.GridRev, [&] { s.hospital().GridRev_Click(); });
                clickEveryRow(c.GridRevCode, [&] { s.hospital().GridRevCode_Click(); });
            });
            step(QStringLiteral("Search of hospital items"), [&] {
                c.txtDesc->setText(QStringLiteral("a"));
                s.hospital().SearchHospitalItems();
                c.txtGeneric->setText(QStringLiteral("a"));
                s.hospital().SearchHospitalItems();
                c.txtGeneric->clear();
                s.hospital().cmdPreview_Click();
                s.hospital().cmdUse_Click();
            });
        }
        step(QStringLiteral("Click on a hospital item"), [&] {
            c.txtDesc->clear();
            s.hospital().optInventory_Click(0);
            s.hospital().SearchHospitalItems();
            clickRow(c.Grid2, 1, [&] { s.hospital().Grid2_Click(); });
        });
        // The first inventory item a search finds, taken as a click takes it.
        auto takeItem = [&] {
            s.hospital().optInventory_Click(0);
            c.txtGeneric->clear();
            c.txtDesc->setText(QStringLiteral("a"));
            s.hospital().SearchHospitalItems();
            clickRow(c.Grid2, 1, [&] { s.hospital().Grid2_Click(); });
        };
        auto takeReference = [&](int row) {
            clickRow(c.Grid1, row, [&] { s.reference().Grid1_Click(); });
        };
        step(QStringLiteral("Suggestions (F3) for a PhilHealth item, in both item modes"), [&] {
            takeReference(1);
            for (int mode : {0, 1}) {
                s.hospital().optInventory_Click(mode);
                s.suggestions().showSuggestions();
            }
            s.suggestions().closeWindow();
        });
        step(QStringLiteral("Suggest PhilHealth codes for the listed items, Save checked"), [&] {
            takeItem();
            SuggestCodes& codes = s.suggestions().codes();
            codes.open();
            codes.minimum()->setValue(0);
            codes.cmdSuggestSave_Click();
            codes.close();
        });
        step(QStringLiteral("5. Save Mapping (a new link, then the same link rewritten)"), [&] {
            takeReference(1);
            takeItem();
            s.mappings().cmdEdit_Click();
            takeReference(2);
            takeItem();
            s.mappings().cmdEdit_Click();
        });
        step(QStringLiteral("Click on a link, then Delete map"), [&] {
            clickRow(c.GridMap, 1, [&] {
                s.mappings().GridMap_Click();
                s.mappings().cmdDelete_Click();
            });
        });
        step(QStringLiteral("Check Listed if Mapped (both lists)"), [&] {
            s.mappings().cmdCheckIfMapped_Click();
            s.mappings().cmdCheckIfMapped2_Click();
        });
        // Two map alls of the same list: the second rewrites what the first added, and its undo
        // puts those links back before the first's undo removes them.
        step(QStringLiteral("Map ALL Listed"), [&] {
            takeReference(1);
            takeItem();
            s.mappings().cmdMapAll_Click();
            takeReference(2);
            takeItem();
            s.mappings().cmdMapAll_Click();
        });
        step(QStringLiteral("The Mapping list's menu: history, undo of a map all"), [&] {
            const QString link = c.lblESOATableName->text() + QStringLiteral("_LINK");
            s.linkHistory().itemHistory(gw(), link, c.txtRevID->text(), c.txtVALTORItemID->text());
            for (int i = 0; i < 2; ++i)
                if (const auto offer = s.linkHistory().newestBatch(gw(), link))
                    s.linkHistory().undo(gw(), *offer);
        });
        // The links saved by another login, which this one may review.
        gw().execute(
            QStringLiteral("UPDATE Build_FIle..ESOA_LINK_HISTORY SET ChangedBy = 'clerk'"));
        step(QStringLiteral("Review links: approve, flag, approve checked"), [&] {
            ReviewScreen& review = s.review();
            review.open();
            QVERIFY(review.listedCount() >= 2);
            review.approveRow(1);
            m_prompter.textAnswers << QStringLiteral("wrong strength");
            review.flagRow(2);
            // Enough ticked rows for a whole statement of review rows, where the table has them.
            for (int row = 3; row <= std::min(review.listedCount(), 3 + review::rowsPerInsert);
                 ++row)
                review.toggleTick(row);
            review.approveChecked();
            // Shown on the screen, with the description box the steps after this one typed.
            const QString description = c.txtSOADesc->text();
            review.showOnScreen(1);
            c.txtSOADesc->setText(description);
            review.window()->close();
            const QString link = c.lblESOATableName->text() + QStringLiteral("_LINK");
            gw().query(review::itemReviewsStatement(link, review.listed(1).revenueId,
                                                    review.listed(1).itemId));
            // A history made before its column How, which the login may not alter.
            review::readLinks(gw(), link, false);
        });
        step(QStringLiteral("Export all mappings; coverage by category"), [&] {
            // Without the tables of the history and the reviews, and with them.
            for (bool withReview : {false, true}) {
                gw().query(reports::allMappingsStatement(c.lblESOATableName->text(), withReview));
                reports::coverage(gw(), c.lblESOATableName->text(), withReview);
            }
        });
        // Some codes gone from the table, so that the import adds rows.
        gw().execute(QStringLiteral("DELETE FROM Build_FIle..") + c.lblESOATableName->text() +
                     QStringLiteral(" WHERE ID IN (SELECT ID FROM Build_FIle..") +
                     c.lblESOATableName->text() + QStringLiteral(" ORDER BY ID DESC LIMIT 3)"));
        step(QStringLiteral("b. Scan && Import"), [&] {
            s.referenceImport().setFolder(QCoreApplication::applicationDirPath());
            s.referenceImport().cmdScan_Click();
        });
        if (c.lblESOATableName->text() == u"ESOA_ER") {
            // A line whose fee the money column refuses is added on its own, without the fee.
            QTemporaryDir lines;
            QFile f(QDir(lines.path()).filePath(QStringLiteral("ESOA_ER.csv")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("ERFEE|Laboratory|A fee that is no amount|abc|per test\r\n");
            f.close();
            step(QStringLiteral("b. Scan && Import"), [&] {
                s.referenceImport().setFolder(lines.path());
                s.referenceImport().cmdScan_Click();
            });
        }
        // A new edition: a linked code dropped, another changed in every field it has, a new code
        // and a code twice; applied, its dropped links re-mapped, both batches undone.
        QTemporaryDir edition;
        const QString listed = c.lblESOATableName->text();
        const TextTable linked =
            gw().query(QStringLiteral("SELECT DISTINCT Code FROM Build_FIle..") + listed +
                       QStringLiteral("_LINK"));
        QVERIFY(linked.rows.size() >= 2);
        const QString dropped = linked.rows[0].value(0), changed = linked.rows[1].value(0);
        QList<newlist::Edit> edits;
        for (int field = 1; field < (listed == u"ESOA_ER" ? 5 : 3); ++field)
            edits.append(
                {changed, field, field == 3 ? QStringLiteral("999") : QStringLiteral("New")});
        for (const QString& name : listupdate::fileNames(listed)) {
            QStringList lines = newlist::edited(newlist::sampleLines(name), edits, {dropped});
            if (name == listupdate::fileNames(listed).first())
                lines << QStringLiteral("NEW0001|New|A new item|1|each") << lines.first();
            QVERIFY(newlist::write(edition.path(), name, lines));
        }
        step(QStringLiteral("c. Update from new list..., Apply, re-map, undo, List versions..."),
             [&] {
                 s.referenceImport().setFolder(edition.path());
                 ListUpdate& update = s.listUpdate();
                 update.cmdListUpdate_Click();
                 QCOMPARE(update.comparison().changedCodes, 1);
                 update.cmdListUpdateApply_Click();
                 RetiredLinks& retired = s.suggestions().retiredLinks();
                 QVERIFY2(retired.dialog() && retired.dialog()->isVisible(),
                          qPrintable(m_prompter.texts().join(u"\n")));
                 retired.minimum()->setValue(0);
                 retired.cmdRetiredSave_Click();
                 retired.close();
                 const QString link = listed + QStringLiteral("_LINK");
                 for (int i = 0; i < 2; ++i)
                     if (const auto offer = s.linkHistory().newestBatch(gw(), link))
                         s.linkHistory().undo(gw(), *offer);
                 update.cmdListVersions_Click();
                 update.versionsWindow()->close();
             });
    }
    // The FDA's register: its table made at the first import (the sample data has none), then
    // replaced whole by a second; 101 products are a statement of 100 rows and one of one.
    QTemporaryDir files;
    const QString registerFile = QDir(files.path()).filePath(QStringLiteral("register.csv"));
    {
        QFile f(registerFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\r\n");
        for (int i = 0; i < 101; ++i)
            f.write("XR-" + QByteArray::number(i) + ",Generic,Brand,1 mg,Tablet\r\n");
    }
    step(QStringLiteral("Import drug register... (twice)"), [&] {
        m_prompter.openPaths << registerFile << registerFile;
        s.registerImport().cmdImportRegister_Click();
        s.registerImport().cmdImportRegister_Click();
    });
    step(QStringLiteral("Suggestions (F3) with the drug register imported"), [&] {
        s.hospital().optInventory_Click(0);
        s.suggestions().showSuggestions();
        s.suggestions().closeWindow();
    });
    for (int table : {0, 1}) {
        step(QStringLiteral("Choice of the PhilHealth table"),
             [&] { s.reference().optTable_Click(table); });
        step(QStringLiteral("a. Create Tables"), [&] { s.tables().cmdCreateTable_Click(); });
    }
    step(QStringLiteral("Check this database... (on the embedded database)"), [&] {
        s.databaseCheck().cmdCheckDatabase_Click();
        s.databaseCheck().closeWindow();
    });
    {
        // The SQL Server check, each of its statements sent and refused by SQLite.
        QTemporaryDir scratch;
        std::unique_ptr<Backend> backend =
            odbc::open(QStringLiteral("DRIVER={SQLite3};Database=") +
                           wine::pathForDrivers(scratch.filePath(QStringLiteral("main.db"))),
                       Dialect::TSql, QStringLiteral("test"));
        embedded::attach(backend->database(), wine::pathForDrivers(m_db->folder()));
        Gateway server(std::move(backend));
        server.keepTrace(true);
        diagnostics::checkDatabase(server);
        for (const QString& statement : server.log())
            sent(QStringLiteral("Check this database... (on SQL Server)"), statement);
        sent(QStringLiteral("Check this database... (on SQL Server)"),
             diagnostics::statements::noexecProbe());
    }
    // The history's table and indexes, made at the first save where they are missing.
    for (const QString& statement : history::createStatements())
        sent(QStringLiteral("First save without the history table (made then)"), statement);

    // A hundred new codes of an import to a statement (the sample lists add fewer at a time).
    for (const QString& table : {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")})
        sent(QStringLiteral("b. Scan && Import (a hundred new codes)"),
             ReferenceAdds::statement(table, importfile::referenceColumns(table),
                                      ReferenceAdds::rowsPerStatement));

    // A list update's rows a hundred to a statement, and its links' history rows fifty.
    for (const QString& table : {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")}) {
        const QString update = QStringLiteral("c. Update from new list... (a hundred rows)");
        sent(update, listupdate::insertRowsStatement(table,
                                                     QStringList{QStringLiteral("Code")}
                                                         << listupdate::listedColumns(table),
                                                     100));
        sent(update, history::insertRowsStatement(history::rowsPerInsert));
    }
    for (const char* table : {listupdate::retiredTable, listupdate::changeTable})
        sent(QStringLiteral("c. Update from new list... (a hundred rows)"),
             listupdate::insertRowsStatement(QLatin1String(table),
                                             QLatin1String(table) == u"ESOA_LIST_RETIRED"
                                                 ? listupdate::retiredColumns()
                                                 : listupdate::changeColumns(),
                                             100));

    // The shapes found, for a reviewer to merge into the file.
    const QString out = qEnvironmentVariable("BREVANT_WRITE_STATEMENTS");
    if (!out.isEmpty()) {
        QFile f(out);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QString& shape : std::as_const(m_order)) {
            const QString verb = shape.section(u' ', 0, 0).toUpper();
            const QString tables = tablesOf(shape).join(QStringLiteral(", "));
            const QString what = verb == u"SELECT"  ? QStringLiteral("reads ") + tables
                                 : tables.isEmpty() ? QString()
                                                    : QStringLiteral("writes ") + tables;
            f.write(("-- " + m_operationOf.value(shape) + (what.isEmpty() ? "" : ": " + what) +
                     "\n" + shape + ";\n\n")
                        .toUtf8());
        }
    }

    QFile file(QStringLiteral(BREVANT_SOURCE_DIR "/docs/statements.sql"));
    QVERIFY2(file.open(QIODevice::ReadOnly), "docs/statements.sql is missing");
    QStringList entries = entriesOf(QString::fromUtf8(file.readAll()));
    // The file the program carries for the check to compile is this one.
    QStringList carried;
    for (const diagnostics::CatalogueEntry& entry : diagnostics::catalogue())
        carried << entry.statement;
    QCOMPARE(carried, entries);
    QStringList missing, unsent;
    for (const QString& shape : std::as_const(m_order))
        if (!entries.contains(shape))
            missing << shape;
    for (const QString& entry : entries)
        if (!m_operationOf.contains(entry))
            unsent << entry;
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("sent but not on file:\n") + missing.join(u'\n')));
    QVERIFY2(unsent.isEmpty(),
             qPrintable(QStringLiteral("on file but sent by nothing:\n") + unsent.join(u'\n')));
    // Each shape once.
    const qsizetype all = entries.size();
    QCOMPARE(entries.removeDuplicates(), 0);
    Q_UNUSED(all);
}

QTEST_MAIN(TestReviewedStatements)
#include "tst_reviewedstatements.moc"
