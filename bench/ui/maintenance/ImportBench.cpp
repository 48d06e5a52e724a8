#include "Scenarios.h"
#include "support/GeneratedDatabase.h"
#include "support/RawSqlite.h"

#include "ui/maintenance/Import.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>

#include <cstdlib>
#include <optional>

namespace bench {

namespace {

// The floor: a prepared look-up by Code, and an insert for each new code, in one transaction.
class ImportFloor {
public:
    explicit ImportFloor(QSqlDatabase db)
        : m_db(db)
        , m_find(db)
        , m_add(db) {
        require(m_find.prepare(QStringLiteral("SELECT * FROM Build_FIle.ESOA_ER WHERE Code = ?")),
                m_find);
        require(m_add.prepare(QStringLiteral("INSERT INTO Build_FIle.ESOA_ER (Code, Category, "
                                             "Description, FixedFee, ChargingUnit) VALUES (?, ?, "
                                             "?, ?, ?)")),
                m_add);
    }

    void run(const std::vector<ErRecord>& records, bool insert) {
        m_db.transaction();
        for (const ErRecord& r : records) {
            m_find.bindValue(0, r.code);
            require(m_find.exec(), m_find);
            if (!m_find.next() && insert) {
                m_add.bindValue(0, r.code);
                m_add.bindValue(1, r.category);
                m_add.bindValue(2, r.description);
                m_add.bindValue(3, r.fee.toDouble());
                m_add.bindValue(4, r.unit);
                require(m_add.exec(), m_add);
            }
            m_find.finish();
        }
        m_db.commit();
    }

private:
    QSqlDatabase m_db;
    QSqlQuery m_find, m_add;
};

// The same floor through SQLite's own C interface, on a connection of its own.
class RawImportFloor {
public:
    explicit RawImportFloor(const QString& folder)
        : m_db(folder)
        , m_find(m_db.handle(), "SELECT * FROM Build_FIle.ESOA_ER WHERE Code = ?")
        , m_add(m_db.handle(), "INSERT INTO Build_FIle.ESOA_ER (Code, Category, Description, "
                               "FixedFee, ChargingUnit) VALUES (?, ?, ?, ?, ?)") {}

    void run(const std::vector<ErRecord>& records, bool insert) {
        m_db.execute("BEGIN");
        for (const ErRecord& r : records) {
            m_find.bind(1, r.code);
            const bool found = m_find.step();
            m_find.reset();
            if (!found && insert) {
                m_add.bind(1, r.code);
                m_add.bind(2, r.category);
                m_add.bind(3, r.description);
                m_add.bind(4, r.fee.toDouble());
                m_add.bind(5, r.unit);
                m_add.run();
            }
        }
        m_db.execute("COMMIT");
    }

private:
    raw::Connection m_db;
    raw::Statement m_find, m_add;
};

} // namespace

void importScenario(Run& run) {
    const QByteArray list = generated::erList();
    run.records = erRecords(list);
    QFile file(QDir(run.filesFolder).filePath(QStringLiteral("ESOA_ER.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size())
        std::exit(2);
    file.close();
    run.program.screen().referenceImport().setFolder(run.filesFolder);
    Controls& c = run.c();
    c.optTable[1]->setChecked(true);
    QSqlQuery q(run.db());
    auto emptyEr = [&] { require(q.exec(QStringLiteral("DELETE FROM Build_FIle.ESOA_ER")), q); };
    ImportFloor floor(run.db());
    const QString lines = QStringLiteral("%1 lines").arg(generated::erLines);
    const double importFloor = bestOf3(emptyEr, [&] { floor.run(run.records, true); });
    double rawNew = 0, rawAgain = 0;
    std::optional<RawImportFloor> rawFloor;
    if (raw::available()) {
        rawFloor.emplace(run.databaseFolder);
        rawNew = bestOf3(emptyEr, [&] { rawFloor->run(run.records, true); });
    }
    const double importNew = bestOf3(emptyEr, [&] { c.cmdScan->click(); });
    Figure added{"import, new codes", lines, importNew, importFloor, 5};
    added.raw = rawNew;
    added.rawGoal = 3.5;
    report(added);
    const double againFloor = bestOf3({}, [&] { floor.run(run.records, false); });
    if (rawFloor)
        rawAgain = bestOf3({}, [&] { rawFloor->run(run.records, false); });
    const double importAgain = bestOf3({}, [&] { c.cmdScan->click(); });
    Figure again{"import, again", lines, importAgain, againFloor, 5};
    again.raw = rawAgain;
    report(again);
}

} // namespace bench
