#include "Scenarios.h"

#include "core/platform/Platform.h"
#include "ui/suggest/SuggestScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

[[noreturn]] void childDone(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    std::_Exit(0); // what the benchmark measures is over: no teardown
}

QByteArray runChild(const QStringList& arguments, double* elapsed) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray out;
    while (!out.endsWith('\n') && process.waitForReadyRead(60000))
        out += process.readAllStandardOutput();
    if (elapsed)
        *elapsed = timer.nsecsElapsed() / 1e6;
    process.waitForFinished(60000);
    if (!out.endsWith('\n')) {
        std::fprintf(stderr, "bench: %s gave no answer\n", qPrintable(arguments.join(' ')));
        std::exit(2);
    }
    return out.trimmed();
}

} // namespace

int child(const QString& mode, const QString& folder) {
    if (mode == u"--empty-window") {
        QTableView view;
        VectorModel model;
        view.setModel(&model);
        processUntilExposed(view);
        childDone("ready\n");
    }
    Program program(folder);
    if (mode == u"--startup")
        childDone("ready\n");
    if (mode == u"--suggest-memory") {
        // The window Suggestions for an ER item, in inventory mode: the index of every inventory
        // item, the ER list's and the links' learning.
        Controls& c = program.c();
        c.optTable[1]->setChecked(true);
        c.txtType->setText(QStringLiteral("INV"));
        c.txtRevID->setText(QStringLiteral("PH"));
        c.txtESOACode->setText(QStringLiteral("ERB100001"));
        c.txtESOADesc->setText(QStringLiteral("PARACETAMOL 500 mg tablet"));
        const long long before = platform::residentMemory().now;
        program.screen().suggestions().showSuggestions();
        childDone(QByteArray::number(before) + ' ' +
                  QByteArray::number(platform::residentMemory().now) + '\n');
    }
    const long long atStart = platform::residentMemory().now;
    Controls& c = program.c();
    c.Grid2->bind(generated::hospitalItems(program.gw(), generated::listedItems));
    c.txtRevID->setText(QStringLiteral("PH"));
    c.cmdCheckIfMapped2->click();
    childDone(QByteArray::number(atStart) + ' ' +
              QByteArray::number(platform::residentMemory().peak) + '\n');
}

void startupScenarios(Run& run) {
    // Start-up against a process showing an empty window with a table view.
    double startup = 1e300, emptyWindow = 1e300;
    for (int i = 0; i < 3; ++i) {
        double t = 0;
        runChild({QStringLiteral("--startup"), run.databaseFolder}, &t);
        startup = std::min(startup, t);
        runChild({QStringLiteral("--empty-window")}, &t);
        emptyWindow = std::min(emptyWindow, t);
    }
    report({"start-up", QStringLiteral("to the screen"), startup, emptyWindow, 15});
    // The peak after the hospital check against the same process right after start-up.
    double atStart = 0, peak = 1e300;
    for (int i = 0; i < 3; ++i) {
        const QList<QByteArray> kb =
            runChild({QStringLiteral("--memory"), run.databaseFolder}, nullptr).split(' ');
        if (kb.value(1).toDouble() < peak) {
            atStart = kb.value(0).toDouble() / 1024;
            peak = kb.value(1).toDouble() / 1024;
        }
    }
    report(
        {"memory", QStringLiteral("%1 rows").arg(generated::listedItems), peak, atStart, 2, "MB"});

    // What the suggestions' index adds to the program, in a process of its own.
    double grown = 1e300, without = 0;
    for (int i = 0; i < 3; ++i) {
        const QList<QByteArray> kb =
            runChild({QStringLiteral("--suggest-memory"), run.databaseFolder}, nullptr).split(' ');
        const double added = (kb.value(1).toDouble() - kb.value(0).toDouble()) / 1024;
        if (added < grown) {
            grown = added;
            without = kb.value(0).toDouble() / 1024;
        }
    }
    report({"suggest memory", QStringLiteral("%1 items").arg(generated::inventoryItems), grown,
            without, 0, "MB", 100});
}

} // namespace bench
