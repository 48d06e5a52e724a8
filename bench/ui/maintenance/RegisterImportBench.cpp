#include "Scenarios.h"
#include "support/GeneratedDatabase.h"

#include "core/db/Gateway.h"
#include "core/maintenance/ImportFile.h"
#include "core/register/RegisterFile.h"
#include "core/register/RegisterStatements.h"
#include "ui/maintenance/RegisterImport.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace bench {

namespace {

constexpr int registerRows = 25000;

// A register as the FDA's portal exports it, of products made up from syllables: its seventeen
// columns, a byte-order mark, CR LF, quoted fields with commas and line breaks, "&amp;", "?"
// for what the export could not write, the no-brand spellings, now and then a blank line and a
// row without names.
QByteArray generatedRegister() {
    std::mt19937 random{generated::seed};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* stems[] = {"Zor", "Lum", "Cefa", "Amlo", "Dexa", "Quin", "Vel", "Tor",
                           "Mer", "Sal", "Ribo", "Kal",  "Oxa",  "Pran", "Nev", "Ulti"};
    const char* endings[] = {"vafen", "idrel",  "lotrix", "odine",  "amab",   "oxin",
                             "azole", "tadine", "pril",   "sartan", "cillin", "mycin"};
    const char* salts[] = {"", "", "", " (as hydrochloride)", " (as sodium)", " (as besilate)"};
    const char* forms[] = {"Tablet",
                           "Capsule",
                           "\"Film-coated tablet, scored\"",
                           "\"Powder for\r\ninjection (IM/IV)\"",
                           "Syrup",
                           "Oral suspension"};
    const char* noBrand[] = {"None", "Unbranded", "N/A", "NA", "-", "--", ""};
    QByteArray out = "\xEF\xBB\xBF"
                     "Product Information,Registration Number,Generic Name,Brand Name,Dosage "
                     "Strength,Dosage Form,Classification,Packaging,Pharmacologic "
                     "Category,Manufacturer,Country of Origin,Trader,Importer,Distributor,"
                     "Application Type,Issuance Date,Expiry Date\r\n";
    out.reserve(registerRows * 330);
    for (int i = 1; i <= registerRows; ++i) {
        if (i % 997 == 0)
            out += "\r\n";
        QByteArray generic = QByteArray(stems[pick(16)]) + endings[pick(12)] + salts[pick(6)];
        QByteArray brand =
            QByteArray(stems[pick(16)]) + endings[pick(12)] + " " + QByteArray::number(pick(200));
        if (i % 8 == 0)
            brand = noBrand[pick(7)];
        if (i % 23 == 0)
            brand += " &amp; Co.";
        if (i % 51 == 0)
            generic += " Ni?o";
        if (i % 500 == 0)
            generic.clear(), brand = "None";
        const QByteArray strength = QByteArray::number(5 * (1 + pick(200))) + " mg";
        const char* form = forms[pick(6)];
        out += "\"" + brand + " " + strength + ", box of 10's\",XR-" +
               QByteArray::number(100000 + i) + "-" + QByteArray::number(10 + pick(15)) + "," +
               generic + "," + brand + "," + strength + "," + form +
               ",Prescription Drug (RX),\"Alu/PVC blister x 10's (Box of 100's)\",Analgesic,"
               "\"Halcyon Laboratories, Inc.\",Philippines,,,Halcyon Laboratories,Initial,"
               "04 March 2021,04 March 2026\r\n";
    }
    return out;
}

// The floor: the file read and its rows inserted in one transaction with a prepared statement.
class RegisterFloor {
public:
    explicit RegisterFloor(QSqlDatabase db)
        : m_db(db)
        , m_insert(db) {
        require(m_insert.prepare(QStringLiteral(
                    "INSERT INTO Build_FIle.ESOA_DRUG_REGISTER (RegistrationNumber, GenericName, "
                    "BrandName, DosageStrength, DosageForm, ImportedAt, ImportedBy) VALUES (?, ?, "
                    "?, ?, ?, DATETIME('now', 'localtime'), 'bench')")),
                m_insert);
    }

    void run(const QString& path) {
        const drugregister::Register read = drugregister::readRegister(contents(path));
        m_db.transaction();
        QSqlQuery empty(m_db);
        require(empty.exec(QStringLiteral("DELETE FROM Build_FIle.ESOA_DRUG_REGISTER")), empty);
        for (const drugregister::Product& p : read.products) {
            m_insert.bindValue(0, p.registrationNumber);
            m_insert.bindValue(1, p.genericName);
            m_insert.bindValue(2, p.brandName);
            m_insert.bindValue(3, p.dosageStrength);
            m_insert.bindValue(4, p.dosageForm);
            require(m_insert.exec(), m_insert);
        }
        m_db.commit();
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(2);
        return file.readAll();
    }

private:
    QSqlDatabase m_db;
    QSqlQuery m_insert;
};

} // namespace

void registerImportScenario(Run& run) {
    const QByteArray bytes = generatedRegister();
    const QString path = QDir(run.filesFolder).filePath(QStringLiteral("register.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::exit(2);
    file.close();
    const QString rows = QStringLiteral("%1 rows").arg(registerRows);

    // Reading and parsing alone, against reading the bytes and decoding them to text.
    const double decode = bestOf3({}, [&] {
        if (importfile::decodeText(RegisterFloor::contents(path)).isEmpty())
            std::exit(2);
    });
    drugregister::Register read;
    const double parse =
        bestOf3({}, [&] { read = drugregister::readRegister(RegisterFloor::contents(path)); });
    report({"register read", rows, parse, decode, 0, "ms", 500});

    // The table made as "a. Create Tables" makes it, then the import through the screen's command
    // (its file dialog and progress answered by the script) against the floor, in turns.
    for (const QString& statement : drugregister::createStatements()) {
        try {
            run.gw().execute(statement);
        } catch (const DbError&) {
        }
    }
    ScriptedPrompter& prompter = run.program.prompter();
    const qsizetype messagesBefore = prompter.shown.size();
    RegisterImport& command = run.program.screen().registerImport();
    RegisterFloor floor(run.db());
    const QString table =
        QStringLiteral("SELECT ID FROM Build_FIle..") + QLatin1String(drugregister::tableName);
    double program = 1e300, floorTime = 1e300;
    int kept = 0;
    for (int turn = 0; turn < 3; ++turn) {
        program = std::min(program, timeOnce([&] { prompter.openPaths = {path}; },
                                             [&] { command.cmdImportRegister_Click(); }));
        kept = countRows(run.gw(), table);
        floorTime = std::min(floorTime, timeOnce({}, [&] { floor.run(path); }));
    }
    const QString expected = QStringLiteral("%1 products, %2 brand names imported.")
                                 .arg(read.products.size())
                                 .arg(read.brandNames);
    const QStringList said = prompter.texts().mid(messagesBefore);
    if (said != QStringList{expected, expected, expected} || kept != read.products.size())
        std::printf("unexpected register import: %s (%d rows)\n", qPrintable(said.join(" | ")),
                    kept);
    // The closing count of the benchmark's messages leaves these out.
    prompter.shown.resize(messagesBefore);
    prompter.progressSteps.clear();
    report({"register import", rows, program, floorTime, 0, "ms", 3000});
}

} // namespace bench
