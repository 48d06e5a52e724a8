#include "Bench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {
QList<Figure> reported;
}

bool passed(const Figure& f) {
    if (f.atLeast > 0)
        return f.time >= f.atLeast;
    if (f.limit > 0)
        return f.time <= f.limit;
    if (f.raw > 0 && f.rawGoal > 0 && f.time / f.raw > f.rawGoal)
        return false;
    return f.time / f.floor <= f.goal;
}

void report(const Figure& f) {
    const double ratio = f.time / f.floor;
    const char* verdict = passed(f) ? "ok" : "MISSED";
    if (f.atLeast > 0)
        std::printf("%-18s %-14s %10.1f %s  goal >= %.0f %s  %s\n", f.name, qPrintable(f.size),
                    f.time, f.unit, f.atLeast, f.unit, verdict);
    else if (f.limit > 0)
        std::printf("%-18s %-14s %10.1f %s  floor %9.1f %s  %6.2fx  goal <= %.0f %s  %s\n", f.name,
                    qPrintable(f.size), f.time, f.unit, f.floor, f.unit, ratio, f.limit, f.unit,
                    verdict);
    else if (f.raw <= 0)
        std::printf("%-18s %-14s %10.1f %s  floor %9.1f %s  %6.2fx  goal <= %4.1fx  %s\n", f.name,
                    qPrintable(f.size), f.time, f.unit, f.floor, f.unit, ratio, f.goal, verdict);
    else if (f.rawGoal <= 0)
        std::printf("%-18s %-14s %10.1f %s  floor %9.1f %s  %6.2fx  goal <= %4.1fx  raw floor "
                    "%7.1f %s %6.2fx  %s\n",
                    f.name, qPrintable(f.size), f.time, f.unit, f.floor, f.unit, ratio, f.goal,
                    f.raw, f.unit, f.time / f.raw, verdict);
    else
        std::printf("%-18s %-14s %10.1f %s  floor %9.1f %s  %6.2fx  goal <= %4.1fx  raw floor "
                    "%7.1f %s %6.2fx  goal <= %4.1fx  %s\n",
                    f.name, qPrintable(f.size), f.time, f.unit, f.floor, f.unit, ratio, f.goal,
                    f.raw, f.unit, f.time / f.raw, f.rawGoal, verdict);
    std::fflush(stdout);
    reported << f;
}

void note(const char* name, const QString& size, double ms) {
    std::printf("%-18s %-14s %10.1f ms  (no goal)\n", name, qPrintable(size), ms);
    std::fflush(stdout);
}

const QList<Figure>& figures() {
    return reported;
}

void require(bool ok, const QSqlQuery& q) {
    if (!ok) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(q.lastError().text()));
        std::exit(2);
    }
}

double timeOnce(const std::function<void()>& prepare, const std::function<void()>& work) {
    if (prepare)
        prepare();
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double bestOf3(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run)
        best = std::min(best, timeOnce(prepare, work));
    return best;
}

void processUntilExposed(QWidget& window) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
}

QVariant VectorModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    return rows[size_t(index.row())][size_t(index.column())];
}

Program::Program(const QString& folder) {
    openScreenOn(folder, true, false);
    processUntilExposed(screen());
}

} // namespace bench
