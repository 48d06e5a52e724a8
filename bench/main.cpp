// Times the program's real operations at hospital scale on the real screen (offscreen) and an
// embedded database generated from a seed, each against its floor: the same SQL work done
// directly with prepared statements on the same connection, measured in the same run. Prints one
// line per figure (best of three runs) and exits non-zero when a figure misses its goal.
//
// Usage: brevant-bench            the whole benchmark
//        brevant-bench --import      the import and the two checks alone
//        brevant-bench --review      the review of links alone
//        brevant-bench --startup FOLDER | --empty-window | --memory FOLDER   (its child processes)
#include "Scenarios.h"

#include "core/maintenance/SampleData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The messages the scenarios should have met: "Done." after each import; a question per map all
// (3 timed with the history, 3 without, 6 before an undo); a question and "500 restored." per
// undo; the list update's result of its Apply click.
void checkMessages(const ScriptedPrompter& prompter) {
    const QStringList texts = prompter.texts();
    if (texts.filter(QStringLiteral("Done.")).size() != 6 ||
        texts.filter(QStringLiteral("500 restored.")).size() != 3 ||
        prompter.shown.size() != 6 + 12 + 6 + 1)
        std::printf("unexpected messages: %s\n", qPrintable(texts.join(" | ")));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    // BREVANT_BENCH_STATEMENT_LOG=off measures the program without its statement log.
    if (qEnvironmentVariable("BREVANT_BENCH_STATEMENT_LOG") == u"off")
        Gateway::setRecordingByDefault(false);
    const QStringList args = QCoreApplication::arguments();
    // --quality [--misses]: the suggestions' evaluation alone, with what they got wrong.
    if (args.size() >= 2 && args[1] == u"--quality")
        return bench::qualityScenario(args.value(2) == u"--misses");
    // --why TEXT: what the suggestions make of a wording on the evaluation set, both ways.
    if (args.size() >= 3 && args[1] == u"--why")
        return bench::qualityExplained(args[2]);
    // --import: the import and the two checks alone (they read the list it imports).
    const bool importOnly = args.size() >= 2 && args[1] == u"--import";
    // --review: the review of links alone, on the generated links.
    const bool reviewOnly = args.size() >= 2 && args[1] == u"--review";
    if (args.size() >= 2 && args[1].startsWith(u"--") && !importOnly && !reviewOnly)
        return bench::child(args[1], args.value(2));

    QTemporaryDir folder, files;
    QElapsedTimer total;
    total.start();
    sample::create(folder.path());
    bench::Program program(folder.path());
    bench::Run run{program, folder.path(), files.path(), {}};
    generated::fill(run.db());
    std::printf("generated in %.1f s: %d inventory items, %d procedures in each of 4 tables, %d "
                "links, %d ER lines\n",
                total.elapsed() / 1000.0, generated::inventoryItems, generated::proceduresPerTable,
                generated::links, generated::erLines);

    if (reviewOnly) {
        bench::reviewScenarios(run);
        return 0;
    }
    bench::importScenario(run);
    if (importOnly) {
        bench::checkScenarios(run);
        return 0;
    }
    bench::registerImportScenario(run);
    bench::checkScenarios(run);
    bench::mapAllScenario(run);
    bench::undoScenario(run);
    bench::gridBindScenario(run);
    bench::reportsScenario(run);
    bench::searchScenario(run);
    bench::databaseCheckScenario(run);
    bench::listUpdateScenario(run);
    bench::reviewScenarios(run);
    bench::suggestScenarios(run);
    bench::startupScenarios(run);
    bench::qualityScenario(false);

    checkMessages(program.prompter());
    int within = 0;
    for (const bench::Figure& f : bench::figures())
        within += bench::passed(f) ? 1 : 0;
    std::printf("bench: %d of %d within goals (%.0f s)\n", within, int(bench::figures().size()),
                total.elapsed() / 1000.0);
    return within == bench::figures().size() ? 0 : 1;
}
