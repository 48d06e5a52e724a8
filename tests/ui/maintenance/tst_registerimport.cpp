// "Import drug register..." on the real screen and an embedded database: the button under the
// maintenance frame, the file dialog, an import and a second one that replaces it whole, what a
// cancel, a refused file and a database failure leave (the register as it was), what another
// workstation sees meanwhile, and "a. Create Tables" making the table and keeping its rows.
#include "ScreenFixture.h"

#include "core/db/EmbeddedDatabase.h"
#include "ui/maintenance/RegisterImport.h"
#include "ui/widgets/Twips.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString table = QStringLiteral("[Build_FIle].[dbo].[ESOA_DRUG_REGISTER]");
const QByteArray header =
    "Product Information,Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
    "Form,Classification,Packaging,Pharmacologic Category,Manufacturer,Country of "
    "Origin,Trader,Importer,Distributor,Application Type,Issuance Date,Expiry Date\r\n";

// The first register: three products (one sold under its generic name), and a row without names.
const QByteArray firstRegister =
    "\xEF\xBB\xBF" + header +
    "\"Zorvex 500 mg tablet\",XR-A-0001,Zorvafen,Zorvex,500 mg,Tablet,RX,Box of 100's,,"
    "Halcyon Labs,Philippines,,,,Initial,2021-03-04,2026-03-04\r\n"
    "\"Amlodrel 5 mg\",XR-A-0002,Amlodrelin (as besilate),None,5 mg,\"Tablet,\r\nscored\",RX\r\n"
    "\"Kalm & Co.\",XR-A-0003,Diazemol,\"Kalm &amp; Co.\",2 mg,Capsule\r\n"
    "\"nothing\",XR-A-0004,,N/A,1 mg,Tablet\r\n";
const QStringList firstRows = {
    "XR-A-0001 | Zorvafen | Zorvex | 500 mg | Tablet",
    "XR-A-0002 | Amlodrelin (as besilate) |  | 5 mg | Tablet, scored",
    "XR-A-0003 | Diazemol | Kalm & Co. | 2 mg | Capsule",
};

// A register of `count` products XR-B-0001...: every fifth sold under its generic name, the
// others under 20 brands.
QByteArray secondRegister(int count) {
    QByteArray out = header;
    for (int i = 1; i <= count; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(4, '0');
        const QByteArray brand = i % 5 == 0 ? "Unbranded" : "Brand " + QByteArray::number(i % 25);
        out += "\"info\",XR-B-" + n + ",Generic " + QByteArray::number(i % 10) + "," + brand +
               ",10 mg,Tablet,RX\r\n";
    }
    return out;
}

} // namespace

class TestRegisterImport : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { closeScreen(); }

    void theButtonSitsUnderTheFrameBesideTheStatementLog();
    void aCancelledFileDialogDoesNothing();
    void importsTheRegisterThenReplacesItWhole();
    void longFieldsAreCutToTheirColumns();
    void aCancelledImportLeavesTheRegisterAsItWas();
    void aRefusedFileLeavesTheRegisterAsItWas();
    void aDatabaseFailureRollsTheImportBack();
    void anotherWorkstationSeesTheOldRegisterUntilTheCommit();
    void createTablesMakesTheRegisterAndKeepsItsRows();

private:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(m_files.path()).filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // "Maintenance...", then "Import drug register..." answered with the file at `path`.
    void importFile(const QString& path) {
        m_prompter.shown.clear();
        m_prompter.progressSteps.clear();
        gw().clearLog();
        m_prompter.openPaths << path;
        if (c().fraMaint->isHidden())
            QTest::mouseClick(c().lblMaint, Qt::LeftButton);
        QTest::mouseClick(button(), Qt::LeftButton);
    }
    QPushButton* button() {
        return m_screen->findChild<QPushButton*>(QStringLiteral("cmdImportRegister"));
    }
    // The register as "registration | generic | brand | strength | form", in the file's order.
    static QStringList rowsOf(Gateway& db) {
        QStringList out;
        for (const QStringList& row :
             db.query(QStringLiteral("SELECT RegistrationNumber, GenericName, BrandName, "
                                     "DosageStrength, DosageForm FROM ") +
                      table + QStringLiteral(" ORDER BY ID"))
                 .rows)
            out << row.join(QStringLiteral(" | "));
        return out;
    }
    QStringList rows() { return rowsOf(gw()); }
    // The statements of the last import that wrote or began to write.
    QStringList written() {
        QStringList out;
        for (const QString& s : gw().log())
            if (!s.startsWith(QStringLiteral("SELECT")))
                out << s;
        return out;
    }

    QTemporaryDir m_files;
};

void TestRegisterImport::init() {
    openScreen(true);
    m_prompter.openPaths.clear();
    m_prompter.openDialogs.clear();
    m_prompter.progressDialogs.clear();
    m_prompter.cancelProgressAt = -1;
    m_prompter.whileProgress = nullptr;
}

void TestRegisterImport::theButtonSitsUnderTheFrameBesideTheStatementLog() {
    m_screen->resize(1344, 729); // the design size: the revenue frame lies under the button
    QTRY_COMPARE(m_screen->size(), QSize(1344, 729));
    QPushButton* b = button();
    QVERIFY(b);
    QVERIFY(b->isHidden());
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isVisible());
    QCOMPARE(b->text(), QStringLiteral("Import drug register..."));
    QCOMPARE(QRect(twips::left(b), twips::top(b), twips::width(b), twips::height(b)),
             QRect(15480, 1800, 2100, 495));
    // Its caption fits in the screen's font.
    QVERIFY2(b->sizeHint().width() <= b->width(),
             qPrintable(QString::number(b->sizeHint().width())));
    auto* log = m_screen->findChild<QPushButton*>(QStringLiteral("cmdStatementLog"));
    QCOMPARE(twips::left(b) - (twips::left(log) + twips::width(log)), 105);
    QCOMPARE(twips::top(b), twips::top(log));
    // Over the revenue frame and its list, which it covers: a click there reaches the button.
    QVERIFY(b->geometry().intersects(c().fraR->geometry()));
    QCOMPARE(m_screen->childAt(b->geometry().center()), b);
    // The Tab key reaches it right after "Statement log...".
    QCOMPARE(log->nextInFocusChain(), b);
    // Wherever the frame goes, the button follows; it hides with the frame.
    twips::place(c().fraMaint, 12000, 600, 1935, 1455);
    QCOMPARE(QRect(twips::left(b), twips::top(b), twips::width(b), twips::height(b)),
             QRect(12000 + 480, 600 + 1455 + 105, 2100, 495));
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isHidden());
    QVERIFY(log->isHidden());
}

void TestRegisterImport::aCancelledFileDialogDoesNothing() {
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    gw().clearLog();
    QTest::mouseClick(button(), Qt::LeftButton);
    QCOMPARE(m_prompter.openDialogs,
             QStringList{"Import drug register: CSV files (*.csv);;All files (*)"});
    QVERIFY(m_prompter.shown.isEmpty());
    QVERIFY(m_prompter.progressDialogs.isEmpty());
    QVERIFY(gw().log().isEmpty());
}

void TestRegisterImport::importsTheRegisterThenReplacesItWhole() {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    const QStringList first = gw().log();
    QCOMPARE(m_prompter.texts(), QStringList{"3 products, 2 brand names imported."});
    QCOMPARE(m_prompter.progressDialogs,
             QStringList{"Import drug register: Importing register.csv... (1000)"});
    QCOMPARE(m_prompter.progressSteps, (QList<int>{100, 400, 700, 1000}));
    QCOMPARE(rows(), firstRows);
    // Sold under its generic name: an empty brand, not NULL.
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM ") + table +
                                 QStringLiteral(" WHERE BrandName = ''")),
             1);
    // Who imported it and when, from the database's session.
    const TextTable who =
        gw().query(QStringLiteral("SELECT DISTINCT ImportedBy, ImportedAt FROM ") + table);
    QCOMPARE(who.rows.size(), 1);
    QCOMPARE(who.rows[0][0], gw().query(QStringLiteral("SELECT SUSER_SNAME()")).rows[0][0]);
    QVERIFY(!who.rows[0][0].isEmpty());
    const QDateTime at =
        QDateTime::fromString(who.rows[0][1], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(at >= before && at <= QDateTime::currentDateTime().addSecs(1),
             qPrintable(who.rows[0][1]));
    // The table was missing: made in the import's transaction, then the rows, one a statement.
    const QString one = QStringLiteral(
        "INSERT INTO [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] ([RegistrationNumber], "
        "[GenericName], [BrandName], [DosageStrength], [DosageForm], [ImportedAt], [ImportedBy]) "
        "VALUES (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME())");
    QCOMPARE(first,
             (QStringList{
                 "SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] WITH (NOLOCK)",
                 "BEGIN TRANSACTION",
                 "CREATE TABLE [Build_FIle].[dbo].[ESOA_DRUG_REGISTER](    [ID]                 "
                 "[bigint] IDENTITY(1,1) NOT NULL,    [RegistrationNumber] [varchar](50)   NULL,  "
                 "  [GenericName]        [varchar](1000) NULL,    [BrandName]          "
                 "[varchar](250)  NULL,    [DosageStrength]     [varchar](250)  NULL,    "
                 "[DosageForm]         [varchar](250)  NULL,    [ImportedAt]         [datetime]  "
                 "    NOT NULL,    [ImportedBy]         [nvarchar](128) NULL)",
                 "CREATE CLUSTERED INDEX [by_ID] ON "
                 "[Build_File].[dbo].[ESOA_DRUG_REGISTER](    [ID] Asc)",
                 "CREATE NONCLUSTERED INDEX [by_BrandName] ON "
                 "[Build_File].[dbo].[ESOA_DRUG_REGISTER](    [BrandName] Asc)",
                 "DELETE FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER]",
                 one,
                 one,
                 one,
                 "COMMIT TRANSACTION",
             }));

    // The second replaces the first whole: 250 products in two statements of 100 rows, then 50
    // of one.
    importFile(write(QStringLiteral("newer.csv"), secondRegister(250)));
    const QStringList sent = gw().log();
    QCOMPARE(m_prompter.texts(), QStringList{"250 products, 20 brand names imported."});
    const QStringList after = rows();
    QCOMPARE(after.size(), 250);
    QCOMPARE(after.first(), QStringLiteral("XR-B-0001 | Generic 1 | Brand 1 | 10 mg | Tablet"));
    QCOMPARE(after[4], QStringLiteral("XR-B-0005 | Generic 5 |  | 10 mg | Tablet"));
    QCOMPARE(after.last(), QStringLiteral("XR-B-0250 | Generic 0 |  | 10 mg | Tablet"));
    QCOMPARE(
        sent.mid(0, 3),
        (QStringList{"SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] WITH (NOLOCK)",
                     "BEGIN TRANSACTION", "DELETE FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER]"}));
    QString hundred = one;
    for (int i = 1; i < 100; ++i)
        hundred += QStringLiteral(", (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME())");
    QCOMPARE(sent.mid(3, 2), (QStringList{hundred, hundred}));
    QCOMPARE(sent.mid(5, 50), QList<QString>(50, one));
    QCOMPARE(sent.mid(55), QStringList{"COMMIT TRANSACTION"});
}

void TestRegisterImport::longFieldsAreCutToTheirColumns() {
    // The database refuses a text longer than its column: each is cut to it.
    importFile(write(QStringLiteral("long.csv"),
                     "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\n" +
                         QByteArray(60, 'R') + "," + QByteArray(1100, 'g') + "," +
                         QByteArray(300, 'b') + "," + QByteArray(300, 's') + "," +
                         QByteArray(300, 'f') + "\n"));
    QCOMPARE(m_prompter.texts(), QStringList{"1 products, 1 brand names imported."});
    const QStringList cut = {QString(50, u'R'), QString(1000, u'g'), QString(250, u'b'),
                             QString(250, u's'), QString(250, u'f')};
    QCOMPARE(rows(), QStringList{cut.join(QStringLiteral(" | "))});
}

void TestRegisterImport::aCancelledImportLeavesTheRegisterAsItWas() {
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    const QString newer = write(QStringLiteral("newer.csv"), secondRegister(300));
    // Cancelled while the file is read: nothing is written.
    m_prompter.cancelProgressAt = 50;
    importFile(newer);
    QCOMPARE(m_prompter.texts(), QStringList{"Nothing was imported."});
    QVERIFY(m_prompter.progressSteps.last() >= 50 && m_prompter.progressSteps.last() <= 100);
    QCOMPARE(written(), QStringList{});
    QCOMPARE(rows(), firstRows);
    // Cancelled after the first statements were written: they are rolled back.
    m_prompter.cancelProgressAt = 500;
    importFile(newer);
    QCOMPARE(m_prompter.texts(), QStringList{"Nothing was imported."});
    const QList<int>& steps = m_prompter.progressSteps;
    QCOMPARE(steps.mid(steps.indexOf(100)), (QList<int>{100, 400, 700}));
    QCOMPARE(written().size(), 5); // BEGIN, DELETE, two INSERTs, ROLLBACK
    QCOMPARE(written().last(), QStringLiteral("ROLLBACK TRANSACTION"));
    QCOMPARE(rows(), firstRows);
}

void TestRegisterImport::aRefusedFileLeavesTheRegisterAsItWas() {
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    const auto refused = [&](const QString& name, const QByteArray& bytes) {
        importFile(write(name, bytes));
        if (!written().isEmpty() || rows() != firstRows)
            qWarning("%s changed the register", qPrintable(name));
        return m_prompter.texts();
    };
    QCOMPARE(refused(QStringLiteral("products.csv"),
                     "Registration Number,Generic Name,Dosage Strength\nXR-1,G,1 mg\n"),
             QStringList{"products.csv is not the FDA's list of drug products: it has no column "
                         "Brand Name, Dosage Form."});
    QCOMPARE(refused(QStringLiteral("register.xlsx"), QByteArray("PK\x03\x04\x14\x00\x06\x00", 8)),
             QStringList{"register.xlsx is not the FDA's list of drug products: it is not a text "
                         "file (export the list as CSV)."});
    QCOMPARE(refused(QStringLiteral("empty.csv"), header),
             QStringList{"empty.csv lists no drug products. Nothing was imported."});
    QCOMPARE(refused(QStringLiteral("nothing.csv"), QByteArray()),
             QStringList{"nothing.csv is not the FDA's list of drug products: it has no column "
                         "Registration Number, Generic Name, Brand Name, Dosage Strength, Dosage "
                         "Form."});
    // A file that cannot be read: the file system's reason and the file.
    const QString gone = QDir(m_files.path()).filePath(QStringLiteral("gone.csv"));
    importFile(gone);
    QCOMPARE(m_prompter.texts(), QStringList{"File not found: " + QDir::toNativeSeparators(gone)});
    importFile(m_files.path());
    QCOMPARE(m_prompter.texts().size(), 1);
    QVERIFY2(m_prompter.texts()[0].endsWith(": " + QDir::toNativeSeparators(m_files.path())),
             qPrintable(m_prompter.texts()[0]));
    QCOMPARE(rows(), firstRows);
}

void TestRegisterImport::aDatabaseFailureRollsTheImportBack() {
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    // The database refuses a row of the second statement of 100.
    QSqlQuery trigger(gw().backend().database());
    QVERIFY(trigger.exec(QStringLiteral(
        "CREATE TRIGGER Build_FIle.refuse_one BEFORE INSERT ON ESOA_DRUG_REGISTER WHEN "
        "NEW.RegistrationNumber = 'XR-B-0150' BEGIN SELECT RAISE(ABORT, 'XR-B-0150 is refused'); "
        "END")));
    gw().statements().clear();
    importFile(write(QStringLiteral("newer.csv"), secondRegister(250)));
    QCOMPARE(m_prompter.texts(), QStringList{"XR-B-0150 is refused"});
    QCOMPARE(written().size(), 5); // BEGIN, DELETE, the INSERT that went in, the one refused
    QCOMPARE(written().last(), QStringLiteral("ROLLBACK TRANSACTION"));
    QCOMPARE(rows(), firstRows);
    // The statement log window shows the refused statement with the database's text.
    QStringList errors;
    for (const StatementRecord& r : gw().statements().newestFirst())
        if (!r.error.isEmpty())
            errors << r.error;
    QCOMPARE(errors, QStringList{"XR-B-0150 is refused"});
}

void TestRegisterImport::anotherWorkstationSeesTheOldRegisterUntilTheCommit() {
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    Gateway other(embedded::open(m_db->folder()));
    QCOMPARE(rowsOf(other), firstRows);
    // Between the statements of the import, the other workstation reads the register as it was.
    QStringList seen;
    gw().setBeforeSend([&](const QString& statement) {
        if (statement.startsWith(QStringLiteral("INSERT")) ||
            statement.startsWith(QStringLiteral("COMMIT")))
            seen << QString::number(rowsOf(other).size()) + u' ' +
                        rowsOf(other).value(0).section(u' ', 0, 0);
    });
    importFile(write(QStringLiteral("newer.csv"), secondRegister(201)));
    gw().setBeforeSend(nullptr);
    QCOMPARE(m_prompter.texts(), QStringList{"201 products, 20 brand names imported."});
    QCOMPARE(seen, (QStringList{"3 XR-A-0001", "3 XR-A-0001", "3 XR-A-0001", "3 XR-A-0001"}));
    // Once committed, the new register whole.
    QCOMPARE(rowsOf(other), rows());
    QCOMPARE(rowsOf(other).size(), 201);
}

void TestRegisterImport::createTablesMakesTheRegisterAndKeepsItsRows() {
    auto indexes = [&] {
        QSqlQuery q(gw().backend().database());
        q.exec(QStringLiteral("SELECT name FROM Build_FIle.sqlite_master WHERE type = 'index' AND "
                              "tbl_name = 'ESOA_DRUG_REGISTER' ORDER BY name"));
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    };
    QVERIFY_THROWS_EXCEPTION(DbError, rows());
    c().optTable[1]->setChecked(true);
    c().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    QCOMPARE(rows(), QStringList{});
    QCOMPARE(indexes(),
             (QStringList{"ESOA_DRUG_REGISTER__by_BrandName", "ESOA_DRUG_REGISTER__by_ID"}));
    const QStringList columns =
        gw().query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1=0")).columns;
    QCOMPARE(columns, (QStringList{"ID", "RegistrationNumber", "GenericName", "BrandName",
                                   "DosageStrength", "DosageForm", "ImportedAt", "ImportedBy"}));
    // An import into the table made so, then "a. Create Tables" again, for either PhilHealth
    // table: the register keeps its rows.
    importFile(write(QStringLiteral("register.csv"), firstRegister));
    QCOMPARE(written().first(), QStringLiteral("BEGIN TRANSACTION")); // nothing to make
    for (int option : {0, 1}) {
        m_prompter.shown.clear();
        c().optTable[option]->setChecked(true);
        c().cmdCreateTable->click();
        QCOMPARE(m_prompter.texts(), QStringList{"Done."});
        QCOMPARE(rows(), firstRows);
    }
}

QTEST_MAIN(TestRegisterImport)
#include "tst_registerimport.moc"
