#pragma once

#include "ScreenFixture.h"
#include "support/GeneratedDatabase.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <vector>

class QSqlQuery;

// What every scenario of the benchmark uses: its figures and their report, the timing, the floors'
// helpers, and the program on the generated database.
namespace bench {

// One figure: the program's time against its floor, measured in the same run, and the goal for
// their ratio. A figure with a limit must stay within that time, its ratio to the floor told
// beside it; a figure with a least value (a share of right answers) must reach it.
struct Figure {
    const char* name;
    QString size;
    double time;
    double floor;
    double goal;
    const char* unit = "ms";
    double limit = 0;
    double atLeast = 0;
    // The second floor, the same statements through SQLite's own C interface (0 where it was
    // not measured), and the goal for the ratio to it (0: none).
    double raw = 0;
    double rawGoal = 0;
};

// Prints the figure's line and keeps it for the closing count.
void report(const Figure& f);
// Whether the figure meets its goal.
bool passed(const Figure& f);
// A time printed beside the figures, without a goal.
void note(const char* name, const QString& size, double ms);
// The figures reported so far.
const QList<Figure>& figures();

// Ends the benchmark (status 2) when a statement of a floor failed.
void require(bool ok, const QSqlQuery& q);

// The time of one run of the work, after its preparation; and the best of three such runs.
double timeOnce(const std::function<void()>& prepare, const std::function<void()>& work);
double bestOf3(const std::function<void()>& prepare, const std::function<void()>& work);

// Shows the window and waits until the platform says it is exposed.
void processUntilExposed(QWidget& window);

// A table model over plain vectors, the floor of a grid bind and of an empty window.
class VectorModel : public QAbstractTableModel {
public:
    std::vector<std::vector<QString>> rows;
    int columns = 0;
    int rowCount(const QModelIndex& = {}) const override { return int(rows.size()); }
    int columnCount(const QModelIndex& = {}) const override { return columns; }
    QVariant data(const QModelIndex& index, int role) const override;
};

// The program on the embedded database of a folder: logged in as the user who presses Enter, the
// screen loaded and shown, message boxes answered by the tests' script.
class Program : public ScreenFixture {
public:
    explicit Program(const QString& folder);
};

// What the scenarios run on: the program and its connection, the generated database's folder, a
// folder for the files they write, the ER list the import reads, and how many map alls ran (each
// maps under a revenue code of its own).
struct Run {
    Program& program;
    QString databaseFolder;
    QString filesFolder;
    std::vector<ErRecord> records;
    int mapAllRuns = 0;

    Controls& c() { return program.c(); }
    Gateway& gw() { return program.gw(); }
    QSqlDatabase db() { return program.gw().backend().database(); }
};

} // namespace bench
