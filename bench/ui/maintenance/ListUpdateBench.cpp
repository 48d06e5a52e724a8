#include "Scenarios.h"

#include "core/maintenance/ImportFile.h"
#include "core/maintenance/ListApply.h"
#include "core/maintenance/ListCompare.h"
#include "ui/maintenance/ListUpdate.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/suggest/RetiredLinks.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>

#include <cstdlib>

namespace bench {

namespace {

constexpr int changedCodes = 1200, newCodes = 400, droppedCodes = 400;

// The next edition of the imported ER list: the first codes with a new fee and description, the
// last ones dropped, new codes added.
QByteArray nextEdition(const std::vector<ErRecord>& records) {
    QByteArray text;
    const int kept = int(records.size()) - droppedCodes;
    for (int i = 0; i < kept; ++i) {
        const ErRecord& r = records[size_t(i)];
        const bool changed = i < changedCodes;
        text += (r.code + u'|' + r.category + u'|' + r.description +
                 (changed ? QStringLiteral(" (revised)") : QString()) + u'|' +
                 (changed ? QString::number(r.fee.toDouble() + 5, 'f', 2) : r.fee) + u'|' + r.unit +
                 QStringLiteral("\r\n"))
                    .toLatin1();
    }
    for (int i = 1; i <= newCodes; ++i)
        text += "ERN" + QByteArray::number(100000 + i) + "|Category 1|A new item " +
                QByteArray::number(i) + "|100.00|per unit\r\n";
    return text;
}

// What Apply writes, as plain prepared statements in one transaction (rolled back): each
// changed row, each new row, each dropped row kept and removed, each refreshed link and its
// history row.
class ApplyFloor {
public:
    ApplyFloor(QSqlDatabase db, const listupdate::Comparison& c)
        : m_db(db)
        , m_c(c) {
        QSqlQuery links(db);
        require(links.exec(QStringLiteral("SELECT ID, Code FROM Build_FIle.ESOA_ER_LINK")), links);
        QHash<QString, int> changed;
        for (int i = 0; i < c.changed.size(); ++i)
            changed.insert(importfile::codeKey(c.changed[i].code), i);
        while (links.next())
            if (const auto it = changed.constFind(importfile::codeKey(links.value(1).toString()));
                it != changed.cend())
                m_links.push_back({links.value(0).toLongLong(), *it});
    }
    size_t links() const { return m_links.size(); }

    void run() {
        QSqlQuery update(m_db), add(m_db), keep(m_db), remove(m_db), refresh(m_db), history(m_db);
        require(update.prepare(QStringLiteral("UPDATE Build_FIle.ESOA_ER SET Category = ?, "
                                              "Description = ?, FixedFee = ?, ChargingUnit = ? "
                                              "WHERE ID = ?")),
                update);
        require(add.prepare(QStringLiteral("INSERT INTO Build_FIle.ESOA_ER (Code, Category, "
                                           "Description, FixedFee, ChargingUnit) VALUES (?, ?, ?, "
                                           "?, ?)")),
                add);
        require(keep.prepare(QStringLiteral("INSERT INTO Build_FIle.ESOA_LIST_RETIRED (TableName, "
                                            "Code, Category, Description, FixedFee, ChargingUnit, "
                                            "VersionID) VALUES ('ESOA_ER', ?, ?, ?, ?, ?, 0)")),
                keep);
        require(remove.prepare(QStringLiteral("DELETE FROM Build_FIle.ESOA_ER WHERE ID = ?")),
                remove);
        require(refresh.prepare(QStringLiteral("UPDATE Build_FIle.ESOA_ER_LINK SET Description = "
                                               "?, FixedFee = ?, ChargingUnit = ? WHERE ID = ?")),
                refresh);
        require(history.prepare(QStringLiteral(
                    "INSERT INTO Build_FIle.ESOA_LINK_HISTORY (ChangedAt, ChangedBy, Workstation, "
                    "LinkTable, LinkID, Action, NewDescription, NewFixedFee, NewChargingUnit) "
                    "VALUES (DATETIME('now', 'localtime'), 'bench', 'bench', 'ESOA_ER_LINK', ?, "
                    "'refresh', ?, ?, ?)")),
                history);
        m_db.transaction();
        auto bindAll = [](QSqlQuery& q, const QList<QVariant>& values) {
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values[i]);
            require(q.exec(), q);
        };
        for (const auto& code : m_c.changed)
            for (qint64 id : code.ids)
                bindAll(update, QList<QVariant>(code.next) << id);
        for (const auto& code : m_c.added)
            bindAll(add, QList<QVariant>{code.code} << code.values);
        for (const auto& code : m_c.retired) {
            bindAll(keep, QList<QVariant>{code.code} << code.values);
            bindAll(remove, {code.id});
        }
        for (const auto& [id, code] : m_links) {
            const QList<QVariant>& next = m_c.changed[code].next;
            bindAll(refresh, {next[1], next[2], next[3], id});
            bindAll(history, {id, next[1], next[2], next[3]});
        }
        m_db.rollback();
    }

private:
    QSqlDatabase m_db;
    const listupdate::Comparison& m_c;
    std::vector<std::pair<qint64, int>> m_links;
};

} // namespace

void listUpdateScenario(Run& run) {
    Controls& c = run.c();
    c.optTable[1]->setChecked(true);
    // The ER list as the import left it, the program's record of editions made.
    listupdate::makeTables(run.gw());
    const QByteArray edition = nextEdition(run.records);
    QFile file(QDir(run.filesFolder).filePath(QStringLiteral("ESOA_ER.csv")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(edition) != edition.size())
        std::exit(2);
    file.close();
    run.program.screen().referenceImport().setFolder(run.filesFolder);
    ListUpdate& update = run.program.screen().listUpdate();
    QSqlQuery q(run.db());

    // The comparison: through the screen's button, its window shown; the floor reads the file and
    // the two tables' rows.
    const double compareFloor = bestOf3({}, [&] {
        QFile f(file.fileName());
        if (!f.open(QIODevice::ReadOnly) || f.readAll().size() != edition.size())
            std::exit(2);
        for (const char* sql : {"SELECT ID, Code, Category, Description, FixedFee, ChargingUnit "
                                "FROM Build_FIle.ESOA_ER ORDER BY ID",
                                "SELECT * FROM Build_FIle.ESOA_ER_LINK ORDER BY ID"}) {
            require(q.exec(QLatin1String(sql)), q);
            while (q.next())
                for (int i = 0; i < 6; ++i)
                    q.value(i);
            q.finish();
        }
    });
    const double compared =
        bestOf3([&] { update.cmdListUpdateClose_Click(); }, [&] { update.cmdListUpdate_Click(); });
    const listupdate::Comparison comparison = update.comparison();
    update.cmdListUpdateClose_Click();
    if (comparison.changedCodes != changedCodes || comparison.retiredCodes != droppedCodes)
        std::exit(2);
    Figure compare{"list update, compare",
                   QStringLiteral("%1 x %2").arg(run.records.size()).arg(run.records.size()),
                   compared, compareFloor, 6};
    compare.limit = 1000;
    report(compare);

    // The apply: the transaction that writes it all. Each run starts from the table and the
    // links as they were compared.
    for (const char* sql : {"DROP TABLE IF EXISTS Build_FIle.bench_er",
                            "DROP TABLE IF EXISTS Build_FIle.bench_er_link",
                            "CREATE TABLE Build_FIle.bench_er AS SELECT * FROM Build_FIle.ESOA_ER",
                            "CREATE TABLE Build_FIle.bench_er_link AS SELECT * FROM "
                            "Build_FIle.ESOA_ER_LINK"})
        require(q.exec(QLatin1String(sql)), q);
    QSqlQuery last(run.db());
    require(last.exec(QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM "
                                     "Build_FIle.ESOA_LINK_HISTORY")) &&
                last.next(),
            last);
    const qint64 historyBefore = last.value(0).toLongLong();
    last.finish();
    auto restore = [&] {
        for (const QString& sql :
             {QStringLiteral("DELETE FROM Build_FIle.ESOA_ER"),
              QStringLiteral("INSERT INTO Build_FIle.ESOA_ER SELECT * FROM Build_FIle.bench_er"),
              QStringLiteral("DELETE FROM Build_FIle.ESOA_ER_LINK"),
              QStringLiteral(
                  "INSERT INTO Build_FIle.ESOA_ER_LINK SELECT * FROM Build_FIle.bench_er_link"),
              QStringLiteral("DELETE FROM Build_FIle.ESOA_LINK_HISTORY WHERE ID > %1")
                  .arg(historyBefore),
              QStringLiteral("DELETE FROM Build_FIle.ESOA_LIST_RETIRED"),
              QStringLiteral("DELETE FROM Build_FIle.ESOA_LIST_CHANGE"),
              QStringLiteral("DELETE FROM Build_FIle.ESOA_LIST_VERSION")})
            require(q.exec(sql), q);
    };
    ApplyFloor floor(run.db(), comparison);
    const double applyFloor = bestOf3({}, [&] { floor.run(); });
    int refreshed = 0;
    const double applied = bestOf3(restore, [&] {
        refreshed = listupdate::apply(run.gw(), run.program.screen().linkHistory(), comparison)
                        .linksRefreshed;
    });
    if (size_t(refreshed) != floor.links())
        std::exit(2);
    Figure apply{"list update, apply",
                 QStringLiteral("%1 changes, %2 links")
                     .arg(changedCodes + newCodes + droppedCodes)
                     .arg(generated::links),
                 applied, applyFloor, 4};
    apply.limit = 3000;
    report(apply);

    // The whole click: the apply, the lists read again, the re-mapping window with its proposals
    // for every link to a dropped code.
    restore();
    update.cmdListUpdate_Click();
    const double clicked = timeOnce({}, [&] { update.cmdListUpdateApply_Click(); });
    note("list update, click",
         QStringLiteral("%1 to re-map")
             .arg(run.program.screen().suggestions().retiredLinks().list()
                      ? run.program.screen().suggestions().retiredLinks().list()->count()
                      : 0),
         clicked);
    run.program.screen().suggestions().retiredLinks().close();
    restore();
    for (const char* sql :
         {"DROP TABLE Build_FIle.bench_er", "DROP TABLE Build_FIle.bench_er_link"})
        require(q.exec(QLatin1String(sql)), q);
}

} // namespace bench
