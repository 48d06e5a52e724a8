// Times the program's row-by-row mapping operations on the real screen (offscreen) and an
// embedded database in a temporary folder, and prints one line per figure: best of three runs.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include "app/CurrentUser.h"
#include "screen/FlexGrid.h"
#include "screen/MainScreen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

// Links for `count` hospital items B0000001... under PH, every second one of them mapped.
void addLinks(Gateway& gw, int count) {
    QSqlDatabase& db = gw.backend().database();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Build_FIle.ESOA_ER_LINK (Code, ItemID, RevenueID) "
                             "VALUES (?, ?, 'PH')"));
    for (int i = 1; i <= count; i += 2) {
        q.addBindValue(QStringLiteral("ER%1").arg(i % 90 + 1, 4, 10, QChar(u'0')));
        q.addBindValue(QStringLiteral("B%1").arg(i, 7, 10, QChar(u'0')));
        q.exec();
    }
    db.commit();
}

TextTable hospitalItems(int count) {
    TextTable t;
    t.columns = QStringList{"ItemID", "Description", "GenericName", "ListCost"};
    t.rows.reserve(count);
    for (int i = 1; i <= count; ++i)
        t.rows << QStringList{QStringLiteral("B%1").arg(i, 7, 10, QChar(u'0')),
                              QStringLiteral("ITEM %1 - TABLET").arg(i), "GENERIC", "1.00"};
    return t;
}

// An ER list of `count` lines as PhilHealth sends it.
QByteArray erList(int count) {
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "ERB" + QByteArray::number(100000 + i) + "|Category " + QByteArray::number(i % 40) +
                "|Procedure or item number " + QByteArray::number(i) +
                " with a description of usual length|" + QByteArray::number(i % 5000) +
                ".00|per unit\r\n";
    return text;
}

double bestOf3(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    TestDatabase database;
    CurrentUser user;
    user.setDataFolder(database.folder());
    user.setLogin(embeddedLogin);
    user.showmain();
    ScriptedPrompter prompter;
    MainScreen screen(user, prompter);
    screen.show();
    Controls& c = screen.controls();
    Gateway& gw = user.sqlconnection();
    addLinks(gw, 30000);

    const TextTable thirtyThousand = hospitalItems(30000);
    const double check =
        bestOf3([&] { c.Grid2->bind(thirtyThousand); }, [&] { c.cmdCheckIfMapped2->click(); });
    c.lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c.txtRevID->setText(QStringLiteral("PH"));
    std::printf("hospital check  30000 rows  %9.1f ms\n", check);

    const TextTable fiveHundred = hospitalItems(500);
    int run = 0;
    const double mapAll = bestOf3(
        [&] {
            c.Grid2->bind(fiveHundred);
            c.txtESOACode->setText(QStringLiteral("ER0%1").arg(100 + run++));
            c.txtESOADesc->setText(QStringLiteral("Ketorolac 30 mg/mL ampule"));
            c.txtFixedFee->setText(QStringLiteral("95.00"));
            c.txtType->setText(QStringLiteral("INV"));
            c.txtRevID->setText(QStringLiteral("MA%1").arg(run));
        },
        [&] { c.cmdMapAll->click(); });
    std::printf("map all           500 rows  %9.1f ms\n", mapAll);

    QTemporaryDir files;
    {
        QFile f(QDir(files.path()).filePath(QStringLiteral("ESOA_ER.csv")));
        f.open(QIODevice::WriteOnly);
        f.write(erList(20000));
    }
    screen.referenceImport().setFolder(files.path());
    c.optTable[1]->setChecked(true);
    const double importNew = bestOf3(
        [&] {
            gw.execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER WHERE Code LIKE 'ERB%'"));
        },
        [&] { c.cmdScan->click(); });
    std::printf("import, new     20000 lines %9.1f ms\n", importNew);
    const double importAgain = bestOf3([] {}, [&] { c.cmdScan->click(); });
    std::printf("import, again   20000 lines %9.1f ms\n", importAgain);
    if (prompter.shown.size() != 3 + 6)
        std::printf("unexpected messages: %s\n", qPrintable(prompter.texts().join(" | ")));
    return 0;
}
