// The review of links on two connections of two logins, a clerk's and a reviewer's, interleaved by
// the test: the state a link's newest review row gives it until its next change, the refusal of a
// review of one's own link, an approval of a link changed since it was read, what the history
// says made each change, the states in the export and the coverage, and the order of the reviews
// among a link's changes.
#include "TestDatabase.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/history/HistoryStatements.h"
#include "core/history/LinkHistory.h"
#include "core/reports/MappingReports.h"
#include "core/review/LinkReview.h"
#include "core/review/ReviewStatements.h"
#include "core/tsql/SqlText.h"

#include <QTest>

class TestLinkReview : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aReviewStandsUntilTheLinksNextChange();
    void noLoginReviewsALinkItSavedLast();
    void anApprovalOfALinkChangedSinceItWasReadIsRefusedTheOthersGoOn();
    void theHistorySaysWhatMadeEachChange();
    void aHistoryMadeBeforeItsColumnHowIsGivenIt();
    void theExportAndTheCoverageCarryTheStates();
    void reviewsStandAmongTheChangesTheyFollow();
    void idListsComeInAFewSizes();

private:
    // A connection of its own login (the embedded database takes the user from the environment).
    std::unique_ptr<Gateway> openAs(const char* login) {
        const QByteArray before = qgetenv("USER");
        qputenv("USER", login);
        auto g = std::make_unique<Gateway>(embedded::open(m_db->folder()));
        qputenv("USER", before);
        return g;
    }
    // The clerk's save of a hospital item's link to a code, with its history row.
    qint64 save(const QString& item, const QString& code) {
        WriteCursor row = clerk().openForWrite(
            QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WHERE RevenueID ='PH' "
                           "AND ItemID =") +
            sql::quoted(item));
        if (row.atEnd()) {
            row.addNew();
            row.setField(QStringLiteral("ItemID"), item);
            row.setField(QStringLiteral("RevenueID"), QStringLiteral("PH"));
            row.setField(QStringLiteral("ItemDesc"), QStringLiteral("ITEM ") + item);
        }
        row.setField(QStringLiteral("Code"), code);
        row.setField(QStringLiteral("Category"), QStringLiteral("Therapeutics"));
        row.setField(QStringLiteral("Description"), QStringLiteral("Item ") + code);
        m_clerkHistory.saveRow(clerk(), row);
        return idOf(item);
    }
    qint64 idOf(const QString& item) {
        return clerk()
            .query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE ItemID=") +
                   sql::quoted(item))
            .rows.value(0)
            .value(0)
            .toLongLong();
    }
    // The reviewer's list, and one link of it.
    QList<review::LinkState> links() {
        return review::readLinks(reviewer(), QStringLiteral("ESOA_ER_LINK"), true);
    }
    static review::LinkState linkOf(const QList<review::LinkState>& all, qint64 id) {
        for (const review::LinkState& l : all)
            if (l.linkId == id)
                return l;
        return {};
    }
    review::Outcome approve(Gateway& g, QList<review::LinkState>& seen, const QString& note = {},
                            const char* state = review::approved) {
        QList<review::LinkState*> pointers;
        for (review::LinkState& l : seen)
            pointers << &l;
        return review::record(g, QStringLiteral("ESOA_ER_LINK"), pointers, QLatin1String(state),
                              note, review::login(g));
    }
    int reviewRows() {
        return countRows(clerk(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_LINK_REVIEW"));
    }
    Gateway& clerk() { return *m_clerk; }
    Gateway& reviewer() { return *m_reviewer; }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Gateway> m_clerk, m_reviewer;
    history::LinkHistory m_clerkHistory;
};

void TestLinkReview::init() {
    m_db = std::make_unique<TestDatabase>();
    m_clerk = openAs("clerk");
    m_reviewer = openAs("reviewer");
    m_clerkHistory.recheck();
    QVERIFY(m_clerkHistory.available(clerk()));
    QVERIFY(!review::present(clerk()));
    review::makeTable(clerk());
    QVERIFY(review::present(reviewer()));
}

void TestLinkReview::cleanup() {
    m_reviewer.reset();
    m_clerk.reset();
    m_db.reset();
}

void TestLinkReview::aReviewStandsUntilTheLinksNextChange() {
    const qint64 id = save(QStringLiteral("20001"), QStringLiteral("ER0002"));
    QList<review::LinkState> seen{linkOf(links(), id)};
    QCOMPARE(seen[0].state, QStringLiteral("to review"));
    QCOMPARE(seen[0].savedBy, QStringLiteral("clerk"));
    QCOMPARE(seen[0].how, QStringLiteral("save"));
    QCOMPARE(seen[0].code, QStringLiteral("ER0002"));
    QCOMPARE(approve(reviewer(), seen).refused, QStringList{QString()});
    // The window's row shows its new state at once; the list read again says the same.
    QCOMPARE(seen[0].state, QStringLiteral("approved"));
    review::LinkState now = linkOf(links(), id);
    QCOMPARE(now.state, QStringLiteral("approved"));
    QCOMPARE(now.reviewedBy, QStringLiteral("reviewer"));
    QCOMPARE(reviewer()
                 .query(QStringLiteral("SELECT TableName, LinkID, State, ReviewedBy, Workstation, "
                                       "Note FROM Build_FIle..ESOA_LINK_REVIEW"))
                 .rows,
             (QList<QStringList>{{"ESOA_ER_LINK", QString::number(id), "approved", "reviewer",
                                  QSysInfo::machineHostName(), ""}}));
    // A rewrite after the approval makes the link "to review" again, without a row of its own.
    save(QStringLiteral("20001"), QStringLiteral("ER0001"));
    QCOMPARE(linkOf(links(), id).state, QStringLiteral("to review"));
    QCOMPARE(reviewRows(), 1);
    // A flag with its note; the newest row is the state.
    seen = {linkOf(links(), id)};
    QCOMPARE(
        approve(reviewer(), seen, QStringLiteral("wrong strength"), review::flagged).reviewed(), 1);
    now = linkOf(links(), id);
    QCOMPARE(now.state, QStringLiteral("flagged"));
    QCOMPARE(now.note, QStringLiteral("wrong strength"));
    seen = {now};
    approve(reviewer(), seen);
    QCOMPARE(linkOf(links(), id).state, QStringLiteral("approved"));
    // A link no history row knows (saved before the history) is "to review", and anyone's.
    const QList<review::LinkState> all = links();
    QVERIFY(all.size() > 1);
    for (const review::LinkState& l : all)
        if (l.linkId != id) {
            QCOMPARE(l.state, QStringLiteral("to review"));
            QVERIFY(l.savedBy.isEmpty() && l.how.isEmpty());
        }
}

void TestLinkReview::noLoginReviewsALinkItSavedLast() {
    const qint64 mine = save(QStringLiteral("20001"), QStringLiteral("ER0002"));
    QList<review::LinkState> seen = {linkOf(links(), mine)};
    const review::Outcome own = approve(clerk(), seen);
    QCOMPARE(own.refused,
             QStringList{"A link is reviewed by someone other than the one who saved it."});
    QCOMPARE(seen[0].state, QStringLiteral("to review"));
    QCOMPARE(approve(clerk(), seen, QStringLiteral("mine"), review::flagged).reviewed(), 0);
    QCOMPARE(reviewRows(), 0);
    // Logins compare as Windows compares them; a link nobody's history names is anyone's.
    auto shouting = openAs("CLERK");
    QCOMPARE(approve(*shouting, seen).reviewed(), 0);
    QList<review::LinkState> older;
    for (const review::LinkState& l : links())
        if (l.savedBy.isEmpty() && older.isEmpty())
            older << l;
    QCOMPARE(approve(clerk(), older).reviewed(), 1);
    // Once the reviewer saved the link, the clerk may review it.
    QCOMPARE(approve(reviewer(), seen).reviewed(), 1);
}

void TestLinkReview::anApprovalOfALinkChangedSinceItWasReadIsRefusedTheOthersGoOn() {
    const qint64 a = save(QStringLiteral("20001"), QStringLiteral("ER0002"));
    const qint64 b = save(QStringLiteral("20002"), QStringLiteral("ER0002"));
    const qint64 c = save(QStringLiteral("20003"), QStringLiteral("ER0002"));
    const QList<review::LinkState> all = links();
    QList<review::LinkState> seen = {linkOf(all, a), linkOf(all, b), linkOf(all, c)};
    // After the list was read: the clerk rewrites one link, and another workstation changes a
    // second without any history; the third is removed.
    save(QStringLiteral("20001"), QStringLiteral("ER0001"));
    clerk().execute(QStringLiteral("UPDATE Build_FIle..ESOA_ER_LINK SET Description = 'edited' "
                                   "WHERE ID = %1")
                        .arg(b));
    clerk().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK WHERE ID = %1").arg(c));
    const review::Outcome outcome = approve(reviewer(), seen);
    QCOMPARE(outcome.refused.mid(0, 3),
             (QStringList{"The link was changed since the list was read: read the list again to "
                          "review it as it is now.",
                          "The link was changed since the list was read: read the list again to "
                          "review it as it is now.",
                          "The link was removed since the list was read."}));
    QCOMPARE(outcome.reviewed(), 0);
    QCOMPARE(reviewRows(), 0);
    // Interleaved just before the approval's transaction (the links it locks stay locked until it
    // ends): the other rows go on when one changed.
    const qint64 d = save(QStringLiteral("20004"), QStringLiteral("ER0002"));
    const qint64 e = save(QStringLiteral("20005"), QStringLiteral("ER0002"));
    const QList<review::LinkState> again = links();
    QList<review::LinkState> two = {linkOf(again, d), linkOf(again, e)};
    bool changed = false;
    reviewer().setBeforeSend([&](const QString& statement) {
        if (!changed && statement == u"BEGIN TRANSACTION") {
            changed = true;
            save(QStringLiteral("20004"), QStringLiteral("ER0001"));
        }
    });
    const review::Outcome mixed = approve(reviewer(), two);
    reviewer().setBeforeSend(nullptr);
    QVERIFY(changed);
    QCOMPARE(mixed.reviewed(), 1);
    QVERIFY(mixed.refused[0].startsWith(QStringLiteral("The link was changed")));
    QCOMPARE(linkOf(links(), d).state, QStringLiteral("to review"));
    QCOMPARE(linkOf(links(), e).state, QStringLiteral("approved"));
}

void TestLinkReview::theHistorySaysWhatMadeEachChange() {
    const qint64 saved = save(QStringLiteral("20001"), QStringLiteral("ER0002"));
    qint64 mapped = 0, proposed = 0;
    {
        history::LinkHistory::Batch batch(m_clerkHistory, QStringLiteral("map all"));
        mapped = save(QStringLiteral("20002"), QStringLiteral("ER0002"));
        m_clerkHistory.setHow(QStringLiteral("proposal, score 87"));
        proposed = save(QStringLiteral("20003"), QStringLiteral("ER0001"));
    }
    // After the batch, a save is a save again.
    const qint64 again = save(QStringLiteral("20004"), QStringLiteral("ER0002"));
    const QList<review::LinkState> all = links();
    QCOMPARE(linkOf(all, saved).how, QStringLiteral("save"));
    QCOMPARE(linkOf(all, mapped).how, QStringLiteral("map all"));
    QCOMPARE(linkOf(all, proposed).how, QStringLiteral("proposal, score 87"));
    QCOMPARE(linkOf(all, again).how, QStringLiteral("save"));
    // A list update's refresh, and the undo of it.
    const review::LinkState s = linkOf(all, saved);
    QList<QVariant> after = s.values;
    after[history::linkColumns().indexOf(u"Description")] = QStringLiteral("Renamed");
    {
        Gateway::Transaction t(clerk());
        m_clerkHistory.recordRefreshes(clerk(), QStringLiteral("ESOA_ER_LINK"),
                                       {{s.linkId, s.revenueId, s.itemId, s.values, after}});
        t.commit();
    }
    QCOMPARE(linkOf(links(), saved).how, QStringLiteral("list update"));
    // Rows written before the column How are told by their action and batch.
    QCOMPARE(review::howOf({}, QStringLiteral("refresh"), true), QStringLiteral("list update"));
    QCOMPARE(review::howOf({}, QStringLiteral("rewrite"), true), QStringLiteral("map all"));
    QCOMPARE(review::howOf({}, QStringLiteral("add"), false), QStringLiteral("save"));
    QCOMPARE(review::howOf({}, QStringLiteral("undo"), true), QStringLiteral("undo"));
    QCOMPARE(review::howOf({}, {}, false), QString());
}

void TestLinkReview::aHistoryMadeBeforeItsColumnHowIsGivenIt() {
    clerk().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_LINK_HISTORY"));
    QString create = history::createStatements().first();
    create.replace(QStringLiteral(",    [How]               [varchar](40)   NULL)"),
                   QStringLiteral(")"));
    QVERIFY(!create.contains(QStringLiteral("[How]")));
    clerk().execute(create);
    history::LinkHistory fresh;
    QVERIFY(fresh.present(clerk()));
    QVERIFY(!fresh.keepsHow());
    // The list reads without the column while it is missing.
    QVERIFY(!review::readLinks(clerk(), QStringLiteral("ESOA_ER_LINK"), false).isEmpty());
    QVERIFY(fresh.available(clerk()));
    QVERIFY(fresh.keepsHow());
    m_clerkHistory.recheck();
    const qint64 id = save(QStringLiteral("20001"), QStringLiteral("ER0002"));
    QCOMPARE(linkOf(links(), id).how, QStringLiteral("save"));
}

void TestLinkReview::theExportAndTheCoverageCarryTheStates() {
    clerk().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK"));
    const QStringList codes = [&] {
        QStringList out;
        for (const QStringList& r :
             clerk()
                 .query(QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ER WHERE Category = "
                                       "'Laboratory' ORDER BY ID"))
                 .rows)
            out << r[0];
        return out;
    }();
    QVERIFY(codes.size() >= 3);
    // The first code has two links, one approved; the second one link, approved; the third one
    // link, flagged.
    const qint64 a1 = save(QStringLiteral("30001"), codes[0]);
    save(QStringLiteral("30002"), codes[0]);
    const qint64 b = save(QStringLiteral("30003"), codes[1]);
    const qint64 c = save(QStringLiteral("30004"), codes[2]);
    QList<review::LinkState> all = links();
    QList<review::LinkState> ok = {linkOf(all, a1), linkOf(all, b)};
    QList<review::LinkState> bad = {linkOf(all, c)};
    approve(reviewer(), ok);
    approve(reviewer(), bad, QStringLiteral("not a lab item"), review::flagged);
    const TextTable exported =
        clerk().query(reports::allMappingsStatement(QStringLiteral("ESOA_ER"), true));
    const int item = int(exported.columns.indexOf(QStringLiteral("ItemID")));
    QCOMPARE(exported.columns.mid(exported.columns.size() - 3),
             (QStringList{"Review", "Reviewed by", "Reviewed at"}));
    QHash<QString, QStringList> byItem;
    for (const QStringList& r : exported.rows)
        byItem.insert(r[item], r.mid(r.size() - 3));
    QCOMPARE(byItem.value(QStringLiteral("30001")).mid(0, 2),
             (QStringList{"approved", "reviewer"}));
    QCOMPARE(byItem.value(QStringLiteral("30001"))[2].size(), 19); // yyyy-mm-dd hh:mm:ss
    QCOMPARE(byItem.value(QStringLiteral("30002")), (QStringList{"to review", "", ""}));
    QCOMPARE(byItem.value(QStringLiteral("30004")).mid(0, 2), (QStringList{"flagged", "reviewer"}));
    // Approved: the items whose links are all approved; one of the category's items.
    const auto laboratory = [&] {
        for (const reports::CoverageRow& r :
             reports::coverage(clerk(), QStringLiteral("ESOA_ER"), true))
            if (r.category == u"Laboratory")
                return r;
        return reports::CoverageRow{};
    };
    reports::CoverageRow lab = laboratory();
    QCOMPARE(lab.mapped, 3);
    QCOMPARE(lab.approved, 1);
    // The rewrite of an approved link takes its item out of the approved ones.
    save(QStringLiteral("30003"), codes[1]);
    QCOMPARE(laboratory().approved, 0);
    QCOMPARE(byItem.size(), 4);
}

void TestLinkReview::reviewsStandAmongTheChangesTheyFollow() {
    const TextTable changes{
        {"When", "Who", "Workstation", "Action", "Old code", "Old description", "New code",
         "New description", "Map ALL", "ID"},
        {{"2026-12-10 08:00:05", "clerk", "PC1", "rewrite", "A", "a", "B", "b", "", "12"},
         {"2026-12-10 08:00:00", "clerk", "PC1", "add", "", "", "A", "a", "", "10"}}};
    const TextTable reviews{{"When", "Who", "Workstation", "State", "Note", "HistoryID"},
                            {{"2026-12-10 08:00:05", "boss", "PC2", "flagged", "why B?", "12"},
                             {"2026-12-10 08:00:05", "boss", "PC2", "approved", "", "10"}}};
    const TextTable merged = review::withReviews(changes, reviews);
    QCOMPARE(merged.columns.last(), QStringLiteral("Note"));
    QCOMPARE(merged.columns.size(), 10);
    QStringList order;
    for (const QStringList& r : merged.rows)
        order << r[3] + u'|' + r[9];
    // In the same second: the approval of the add, then the rewrite, then the flag of it.
    QCOMPARE(order, (QStringList{"flagged|why B?", "rewrite|", "approved|", "add|"}));
    QCOMPARE(merged.rows[0].mid(0, 3), (QStringList{"2026-12-10 08:00:05", "boss", "PC2"}));
}

void TestLinkReview::idListsComeInAFewSizes() {
    QList<qint64> ids;
    for (qint64 i = 1; i <= 1003; ++i)
        ids << i;
    const QList<QList<qint64>> lists = review::idLists(ids);
    QCOMPARE(lists.size(), 3);
    QCOMPARE(lists[0].size(), 500);
    QCOMPARE(lists[1].size(), 500);
    QCOMPARE(lists[2], (QList<qint64>{1001, 1002, 1003, 1003, 1003, 1003, 1003, 1003}));
    QCOMPARE(review::idLists({7}), QList<QList<qint64>>{{7}});
    QCOMPARE(review::lockedLinksStatement(QStringLiteral("ESOA_ER_LINK"), {7, 8}),
             QStringLiteral("SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], "
                            "L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], "
                            "L.[InvOrProc], L.[SectionID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L "
                            "WITH (UPDLOCK, HOLDLOCK) WHERE L.[ID] IN (7, 8)"));
    QCOMPARE(review::insertRowsStatement(2),
             QStringLiteral("INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_REVIEW] ([TableName], "
                            "[LinkID], [State], [ReviewedBy], [ReviewedAt], [Workstation], [Note], "
                            "[HistoryID]) VALUES (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), "
                            "?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?)"));
}

QTEST_MAIN(TestLinkReview)
#include "tst_linkreview.moc"
