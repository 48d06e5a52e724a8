// The database check on the real screen, offscreen, on the embedded database: the button under
// the maintenance frame beside "Import drug register...", the window with its findings, the list's
// menu and CSV file, "Run again" after the database changed, and nothing changed by the check.
#include "CsvReadBack.h"
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QRect place(const QWidget* w) {
    return QRect(twips::left(w), twips::top(w), twips::width(w), twips::height(w));
}

} // namespace

class TestDatabaseCheckScreen : public QObject, public ScreenFixture {
    Q_OBJECT
private slots:
    void init() { openScreen(true); }
    void cleanup() { closeScreen(); }
    void theButtonSitsUnderTheFrameBesideTheRegisterImport();
    void theWindowListsTheFindingsAndChangesNothing();
    void aDamagedDatabaseShowsOnRunAgain();

private:
    QPushButton* button() {
        return m_screen->findChild<QPushButton*>(QStringLiteral("cmdCheckDatabase"));
    }
    QDialog* window() { return m_screen->findChild<QDialog*>(QStringLiteral("dlgDatabaseCheck")); }
    // "Maintenance...", then "Check this database...": the window's list.
    FlexGrid* runCheck() {
        if (c().fraMaint->isHidden())
            QTest::mouseClick(c().lblMaint, Qt::LeftButton);
        QTest::mouseClick(button(), Qt::LeftButton);
        return window() ? window()->findChild<FlexGrid*>(QStringLiteral("GridDatabaseCheck"))
                        : nullptr;
    }
    // "check | result" of each row of the list.
    static QStringList rows(const FlexGrid* grid) {
        QStringList out;
        for (int row = 1; row < grid->rows(); ++row)
            out << grid->textMatrix(row, 0) + QStringLiteral(" | ") + grid->textMatrix(row, 1);
        return out;
    }
    // The rows of the link and history tables (a table that is not there has none).
    QStringList links() {
        QStringList out;
        for (const char* table : {"ESOA_ITEM_LINK", "ESOA_ER_LINK", "ESOA_LINK_HISTORY"}) {
            try {
                for (const QStringList& row :
                     gw().query(
                             QStringLiteral("SELECT * FROM Build_FIle..%1 ORDER BY ID").arg(table))
                         .rows)
                    out << QLatin1String(table) + u':' + row.join(u'|');
            } catch (const DbError&) {
            }
        }
        return out;
    }
    QTemporaryDir m_files;
};

void TestDatabaseCheckScreen::theButtonSitsUnderTheFrameBesideTheRegisterImport() {
    m_screen->resize(1344, 729); // the design size: the revenue frame lies under the button
    QTRY_COMPARE(m_screen->size(), QSize(1344, 729));
    QPushButton* b = button();
    QVERIFY(b);
    QVERIFY(b->isHidden());
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isVisible());
    QCOMPARE(b->text(), QStringLiteral("Check this database..."));
    QCOMPARE(place(b), QRect(17685, 1800, 2100, 495));
    QVERIFY2(b->sizeHint().width() <= b->width(),
             qPrintable(QString::number(b->sizeHint().width())));
    auto* registerImport = m_screen->findChild<QPushButton*>(QStringLiteral("cmdImportRegister"));
    QCOMPARE(twips::left(b) - (twips::left(registerImport) + twips::width(registerImport)), 105);
    QCOMPARE(twips::top(b), twips::top(registerImport));
    // Inside the window at the design size.
    QVERIFY(m_screen->rect().contains(b->geometry()));
    // It covers nothing but the revenue frame and its first list, and lies above them: a click
    // there reaches the button.
    int checked = 0;
    for (QWidget* w : m_screen->findChildren<QWidget*>()) {
        if (w == b || !w->isVisible() || w->objectName().isEmpty() ||
            w->objectName().startsWith(u"qt_"))
            continue;
        const QRect other(w->mapTo(m_screen.get(), QPoint(0, 0)), w->size());
        if (w != c().fraR && w != c().GridRev)
            QVERIFY2(!b->geometry().intersects(other), qPrintable(w->objectName()));
        ++checked;
    }
    QVERIFY(checked > 50);
    QCOMPARE(m_screen->childAt(b->geometry().center()), b);
    // The Tab key reaches it right after "Import drug register...".
    QCOMPARE(registerImport->nextInFocusChain(), b);
    // Wherever the frame goes, the button follows; it hides with the frame.
    twips::place(c().fraMaint, 12000, 600, 1935, 1455);
    QCOMPARE(place(b), QRect(12000 + 2685, 600 + 1455 + 105, 2100, 495));
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isHidden());
}

void TestDatabaseCheckScreen::theWindowListsTheFindingsAndChangesNothing() {
    const QStringList before = links();
    gw().clearLog();
    FlexGrid* grid = runCheck();
    QVERIFY(grid);
    QDialog* dialog = window();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Database check"));
    QCOMPARE(dialog->parentWidget(), m_screen.get());
    QCOMPARE((QStringList{grid->textMatrix(0, 0), grid->textMatrix(0, 1), grid->textMatrix(0, 2)}),
             (QStringList{"Check", "Result", "Detail"}));
    const QStringList listed = rows(grid);
    QCOMPARE(listed.first(), QStringLiteral("Integrity of main | ok"));
    for (const char* expected :
         {"Integrity of Build_FIle | ok", "Table ESOA_ITEM_LINK | ok",
          "Table ESOA_DRUG_REGISTER | warning", "Indexes of ESOA_ER_LINK | ok",
          "Round trip on ESOA_ITEM_LINK: add | ok", "Round trip on ESOA_ER_LINK: rollback | ok"})
        QVERIFY2(listed.contains(QLatin1String(expected)), expected);
    for (int row = 1; row < grid->rows(); ++row)
        QVERIFY(QStringList({"ok", "warning", "failed"}).contains(grid->textMatrix(row, 1)));
    // It changed nothing, and it sent its statements on the connection of the login.
    QCOMPARE(links(), before);
    QVERIFY(gw().log().contains(QStringLiteral("ROLLBACK TRANSACTION")));
    QVERIFY(!gw().log().contains(QStringLiteral("COMMIT TRANSACTION")));

    // The menu every list has, and its CSV file.
    const QList<QAction*> actions = m_screen->listExports().menuFor(grid)->actions();
    QCOMPARE(actions.value(0)->text(), QStringLiteral("Copy"));
    QCOMPARE(actions.value(1)->text(), QStringLiteral("Export list to CSV..."));
    const QString path = QDir(m_files.path()).filePath(QStringLiteral("check.csv"));
    m_prompter.savePaths << path;
    actions.value(1)->trigger();
    QList<QStringList> shown;
    for (int row = 0; row < grid->rows(); ++row)
        shown << QStringList{grid->textMatrix(row, 0), grid->textMatrix(row, 1),
                             grid->textMatrix(row, 2)};
    QCOMPARE(readCsvBack(path), shown);
    QCOMPARE(m_prompter.saveDialogs, QStringList{"Export list to CSV: GridDatabaseCheck.csv"});

    // A second click runs it again in the same window; Close hides it; it goes with the screen.
    QCOMPARE(runCheck(), grid);
    QCOMPARE(m_screen->findChildren<QDialog*>(QStringLiteral("dlgDatabaseCheck")).size(), 1);
    QCOMPARE(rows(grid), listed);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdDatabaseCheckClose"))->click();
    QVERIFY(!dialog->isVisible());
    QPointer<QDialog> gone = dialog;
    closeScreen();
    QVERIFY(gone.isNull());
}

void TestDatabaseCheckScreen::aDamagedDatabaseShowsOnRunAgain() {
    FlexGrid* grid = runCheck();
    QVERIFY(!rows(grid).contains(QStringLiteral("Table ESOA_ER_LINK | failed")));
    // A DBA's change meanwhile: a link table gone, a history table that refuses its rows.
    QSqlQuery q(gw().backend().database());
    QVERIFY(q.exec(QStringLiteral("DROP TABLE Build_FIle.ESOA_ER_LINK")));
    QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER Build_FIle.refuse BEFORE INSERT ON "
                                  "ESOA_LINK_HISTORY BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const QStringList before = links();
    window()->findChild<QPushButton*>(QStringLiteral("cmdDatabaseCheckAgain"))->click();
    const QStringList listed = rows(grid);
    for (const char* expected :
         {"Table ESOA_ER_LINK | failed", "Round trip on ESOA_ER_LINK: add | failed",
          "Round trip on ESOA_ER_LINK: rollback | failed",
          "Round trip on ESOA_ITEM_LINK: history row | failed",
          "Round trip on ESOA_ITEM_LINK: delete | ok",
          "Round trip on ESOA_ITEM_LINK: rollback | ok", "Table ESOA_ITEM | ok",
          "Integrity of Inventory | ok"})
        QVERIFY2(listed.contains(QLatin1String(expected)), expected);
    QCOMPARE(links(), before);
}

QTEST_MAIN(TestDatabaseCheckScreen)
#include "tst_databasecheckscreen.moc"
