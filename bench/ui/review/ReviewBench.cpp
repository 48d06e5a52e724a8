#include "Scenarios.h"

#include "core/history/LinkHistory.h"
#include "core/review/LinkReview.h"
#include "core/review/ReviewStatements.h"
#include "ui/review/ReviewScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

constexpr int approvals = 1000;
// The state filter's "All".
constexpr int allStates = 3;

// Who saves the links of the generated database and who reviews them: the billing clerks and
// their supervisor, none of them the login the benchmark works as.
const QStringList clerks{QStringLiteral("billing01"), QStringLiteral("billing02"),
                         QStringLiteral("billing03"), QStringLiteral("billing04")};
const QString supervisor = QStringLiteral("supervisor01");

// What the history and the reviews hold once the clerks and the supervisor have worked on the
// links, and the states the window should list.
struct Generated {
    int links = 0, historyRows = 0, reviewRows = 0;
    int approved = 0, flagged = 0;
};

// The links' history and reviews as months of work leave them: nine links in ten saved with the
// history kept (the others were saved before it was), by one clerk at a time, every third run of
// 250 links a map all; one link in seven rewritten later by another clerk; one saved link in five
// reviewed by the supervisor between the save and any rewrite, one review in ten of them a flag.
// The rows the earlier scenarios wrote for these links stay, as saved by the first clerk.
Generated writeHistory(QSqlDatabase db) {
    QSqlQuery q(db);
    require(q.exec(QStringLiteral("UPDATE Build_FIle.ESOA_LINK_HISTORY SET ChangedBy = '%1' "
                                  "WHERE LinkTable = 'ESOA_ER_LINK'")
                       .arg(clerks[0])),
            q);
    require(q.exec(QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM "
                                  "Build_FIle.ESOA_LINK_HISTORY")) &&
                q.next(),
            q);
    qint64 nextId = q.value(0).toLongLong() + 1;
    struct Link {
        QList<QVariant> values; // ID, RevenueID, ItemID, then the columns the history keeps
        qint64 saved = 0;       // its history row's ID (0: none)
    };
    std::vector<Link> links;
    require(q.exec(QStringLiteral("SELECT ID, RevenueID, ItemID, Code, Category, Description, "
                                  "FixedFee, ChargingUnit, ItemDesc, InvOrProc, SectionID FROM "
                                  "Build_FIle.ESOA_ER_LINK ORDER BY ID")),
            q);
    while (q.next()) {
        Link link;
        for (int i = 0; i < 11; ++i)
            link.values << q.value(i);
        links.push_back(std::move(link));
    }
    q.finish();

    QSqlQuery history(db), reviewRow(db);
    require(history.prepare(QStringLiteral(
                "INSERT INTO Build_FIle.ESOA_LINK_HISTORY (ID, ChangedAt, ChangedBy, Workstation, "
                "LinkTable, LinkID, Action, RevenueID, ItemID, OldCode, OldCategory, "
                "OldDescription, OldFixedFee, OldChargingUnit, OldItemDesc, OldInvOrProc, "
                "OldSectionID, NewCode, NewCategory, NewDescription, NewFixedFee, "
                "NewChargingUnit, NewItemDesc, NewInvOrProc, NewSectionID, BatchNo, How) VALUES "
                "(?, ?, ?, ?, 'ESOA_ER_LINK', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?)")),
            history);
    require(reviewRow.prepare(QStringLiteral(
                "INSERT INTO Build_FIle.ESOA_LINK_REVIEW (TableName, LinkID, State, ReviewedBy, "
                "ReviewedAt, Workstation, Note, HistoryID) VALUES ('ESOA_ER_LINK', ?, ?, ?, ?, "
                "'BILLING-SUP', ?, ?)")),
            reviewRow);
    const QDateTime start(QDate(2026, 1, 5), QTime(8, 0));
    auto when = [](const QDateTime& at) {
        return at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    };
    auto write = [&](const Link& link, const QDateTime& at, const QString& by,
                     const QString& action, const QVariant& batch, const QString& how) {
        QList<QVariant> values{nextId,
                               when(at),
                               by,
                               QStringLiteral("BILLING-%1").arg(by.right(2)),
                               link.values[0],
                               action,
                               link.values[1],
                               link.values[2]};
        for (int i = 3; i < 11; ++i)
            values << (action == u"add" ? QVariant(QMetaType::fromType<QString>())
                                        : link.values[i]);
        values << link.values.mid(3) << batch << how;
        for (int i = 0; i < values.size(); ++i)
            history.bindValue(i, values[i]);
        require(history.exec(), history);
        return nextId++;
    };

    Generated g;
    g.links = int(links.size());
    require(db.transaction(), q);
    // The saves, a few minutes apart.
    QVariant batch;
    for (size_t i = 0; i < links.size(); ++i) {
        const int run = int(i / 250);
        if (i % 250 == 0)
            batch = run % 3 == 0 ? QVariant(nextId) : QVariant(QMetaType::fromType<qint64>());
        if (i % 10 == 9)
            continue;
        links[i].saved =
            write(links[i], start.addSecs(qint64(i) * 180), clerks[run % 4], QStringLiteral("add"),
                  batch, batch.isNull() ? QStringLiteral("save") : QStringLiteral("map all"));
    }
    // The supervisor's reviews, a day or two after each save.
    for (size_t i = 0; i < links.size(); ++i) {
        if (!links[i].saved || i % 5 != 2)
            continue;
        const bool flag = i % 50 == 7;
        reviewRow.bindValue(0, links[i].values[0]);
        reviewRow.bindValue(1, flag ? QLatin1String(review::flagged)
                                    : QLatin1String(review::approved));
        reviewRow.bindValue(2, supervisor);
        reviewRow.bindValue(3, when(start.addSecs(qint64(i) * 180 + 86400 + qint64(i % 7) * 3600)));
        reviewRow.bindValue(4, flag ? QVariant(QStringLiteral("Check the strength"))
                                    : QVariant(QMetaType::fromType<QString>()));
        reviewRow.bindValue(5, links[i].saved);
        require(reviewRow.exec(), reviewRow);
        ++g.reviewRows;
        const bool rewritten = i % 7 == 3; // after the review: to review again
        g.approved += !flag && !rewritten;
        g.flagged += flag && !rewritten;
    }
    // The rewrites, after the reviews.
    const QDateTime later = start.addSecs(qint64(links.size()) * 180 + 7 * 86400);
    for (size_t i = 0; i < links.size(); ++i)
        if (links[i].saved && i % 7 == 3)
            write(links[i], later.addSecs(qint64(i) * 60), clerks[(i / 250 + 1) % 4],
                  QStringLiteral("rewrite"), QVariant(QMetaType::fromType<qint64>()),
                  QStringLiteral("save"));
    require(db.commit(), q);
    require(q.exec(QStringLiteral("SELECT COUNT(*) FROM Build_FIle.ESOA_LINK_HISTORY WHERE "
                                  "LinkTable = 'ESOA_ER_LINK'")) &&
                q.next(),
            q);
    g.historyRows = q.value(0).toInt();
    return g;
}

} // namespace

void reviewScenarios(Run& run) {
    MainScreen& screen = run.program.screen();
    ScriptedPrompter& prompter = run.program.prompter();
    const qsizetype messagesBefore = prompter.shown.size();
    Gateway& gw = run.gw();
    QSqlDatabase db = run.db();
    QSqlQuery q(db);
    run.c().optTable[1]->setChecked(true);
    if (!screen.linkHistory().available(gw) || run.c().lblESOATableName->text() != u"ESOA_ER")
        std::exit(2);
    review::makeTable(gw);
    // The history as it was, put back at the end.
    for (const char* sql : {"DROP TABLE IF EXISTS Build_FIle.bench_history",
                            "CREATE TABLE Build_FIle.bench_history AS SELECT * FROM "
                            "Build_FIle.ESOA_LINK_HISTORY",
                            "DELETE FROM Build_FIle.ESOA_LINK_REVIEW"})
        require(q.exec(QLatin1String(sql)), q);
    const Generated generated = writeHistory(db);

    // The list: the window's reading of every link with "All" states, its grid filled and
    // painted; the floor reads the same statement's rows.
    ReviewScreen& review = screen.review();
    review.open();
    auto* states = review.window()->findChild<QComboBox*>(QStringLiteral("cboReviewState"));
    auto* grid = review.window()->findChild<FlexGrid*>(QStringLiteral("GridReview"));
    states->setCurrentIndex(allStates);
    const QString statement = gw.backend().native(
        review::linksStatement(QStringLiteral("ESOA_ER_LINK"), screen.linkHistory().keepsHow()));
    int read = 0;
    const double listFloor = bestOf3({}, [&] {
        QSqlQuery links(db);
        links.setForwardOnly(true);
        require(links.exec(statement), links);
        const int columns = links.record().count();
        read = 0;
        while (links.next()) {
            for (int i = 0; i < columns; ++i)
                links.value(i);
            ++read;
        }
    });
    const double listed = bestOf3({}, [&] {
        review.open();
        QCoreApplication::processEvents();
    });
    int approved = 0, flagged = 0;
    QList<int> toReview;
    for (int row = 1; row <= review.listedCount(); ++row) {
        const QString& state = review.listed(row).state;
        approved += state == QLatin1String(review::approved);
        flagged += state == QLatin1String(review::flagged);
        if (state == QLatin1String(review::toReview))
            toReview << row;
    }
    if (read != generated.links || review.listedCount() != generated.links ||
        grid->rows() - grid->fixedRows() != generated.links || approved != generated.approved ||
        flagged != generated.flagged || toReview.size() < approvals) {
        std::fprintf(stderr,
                     "bench: the review listed %d of %d links (%d read), %d approved and %d "
                     "flagged of %d and %d\n",
                     review.listedCount(), generated.links, read, approved, flagged,
                     generated.approved, generated.flagged);
        std::exit(2);
    }
    Figure list{"review list",
                QStringLiteral("%1 links").arg(generated.links),
                listed,
                listFloor,
                0,
                "ms",
                500};
    report(list);

    // The approval of 1,000 rows to review, ticked across the list; each run starts from the
    // reviews as they were generated and the list read again. The floor inserts the same review
    // rows with a prepared statement in one transaction, rolled back.
    QList<int> ticked;
    for (int k = 0; k < approvals; ++k)
        ticked << toReview[qsizetype(k) * toReview.size() / approvals];
    require(
        q.exec(QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM Build_FIle.ESOA_LINK_REVIEW")) &&
            q.next(),
        q);
    const qint64 reviewsBefore = q.value(0).toLongLong();
    q.finish();
    auto countNew = [&] {
        require(q.exec(QStringLiteral("SELECT COUNT(*) FROM Build_FIle.ESOA_LINK_REVIEW WHERE ID > "
                                      "%1 AND State = 'approved'")
                           .arg(reviewsBefore)) &&
                    q.next(),
                q);
        const int n = q.value(0).toInt();
        q.finish();
        return n;
    };
    const QString login = review::login(gw);
    QSqlQuery insert(db);
    require(insert.prepare(QStringLiteral(
                "INSERT INTO Build_FIle.ESOA_LINK_REVIEW (TableName, LinkID, State, ReviewedBy, "
                "ReviewedAt, Workstation, Note, HistoryID) VALUES ('ESOA_ER_LINK', ?, 'approved', "
                "?, DATETIME('now', 'localtime'), ?, NULL, ?)")),
            insert);
    const double approveFloor = bestOf3({}, [&] {
        require(db.transaction(), insert);
        for (int row : ticked) {
            const review::LinkState& link = review.listed(row);
            insert.bindValue(0, link.linkId);
            insert.bindValue(1, login);
            insert.bindValue(2, gw.backend().session().host);
            insert.bindValue(3, link.historyId ? QVariant(link.historyId)
                                               : QVariant(QMetaType::fromType<qint64>()));
            require(insert.exec(), insert);
        }
        require(db.rollback(), insert);
    });
    const QString said = QStringLiteral("%1 links approved.").arg(approvals);
    const double approveTime = bestOf3(
        [&] {
            require(q.exec(QStringLiteral("DELETE FROM Build_FIle.ESOA_LINK_REVIEW WHERE ID > %1")
                               .arg(reviewsBefore)),
                    q);
            review.refresh();
            for (int row : ticked)
                review.toggleTick(row);
        },
        [&] {
            review.approveChecked();
            QCoreApplication::processEvents();
        });
    int shownApproved = 0;
    for (int row : ticked)
        shownApproved +=
            review.listed(row).state == QLatin1String(review::approved) && !grid->isChecked(row);
    const int recorded = countNew();
    const QString last =
        prompter.shown.size() > messagesBefore ? prompter.shown.last().text : QString();
    if (recorded != approvals || shownApproved != approvals || last != said) {
        std::fprintf(stderr, "bench: %d of %d approvals recorded, %d shown; the window said: %s\n",
                     recorded, approvals, shownApproved, qPrintable(last));
        std::exit(2);
    }
    Figure approve{"review approve",
                   QStringLiteral("%1 of %2").arg(approvals).arg(generated.links),
                   approveTime,
                   approveFloor,
                   0,
                   "ms",
                   1000};
    report(approve);
    std::printf("%-18s %d history rows, %d review rows generated\n", "review data",
                generated.historyRows, generated.reviewRows);

    // The history and the reviews as they were; the closing count of the benchmark's messages
    // leaves the window's out.
    review.window()->close();
    for (const char* sql :
         {"DELETE FROM Build_FIle.ESOA_LINK_REVIEW", "DELETE FROM Build_FIle.ESOA_LINK_HISTORY",
          "INSERT INTO Build_FIle.ESOA_LINK_HISTORY SELECT * FROM Build_FIle.bench_history",
          "DROP TABLE Build_FIle.bench_history"})
        require(q.exec(QLatin1String(sql)), q);
    prompter.shown.resize(messagesBefore);
}

} // namespace bench
