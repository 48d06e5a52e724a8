#pragma once

#include "ui/screen/FormContext.h"

#include <QObject>

#include <functional>

class FlexGrid;
class QDialog;
class QMenu;

// What the lists offer beside the mapping steps, on a right-click: copy the selected cells, save
// the list as a CSV file; the mapping list also saves every mapping of the table with its status,
// and the category list shows the coverage of the table by category. Ctrl+C copies too.
class ListExports : public QObject {
    Q_OBJECT
public:
    explicit ListExports(FormContext& form);

    // Gives each of the six lists its menu and its copy key.
    void install();
    // Gives another list (one of a window of the screen's) the menu every list has, "Copy" and
    // "Export list to CSV...", and its copy key.
    void installOn(FlexGrid* grid);

    void copySelection(FlexGrid* grid);
    void exportList(FlexGrid* grid);
    void exportAllMappings();
    void showCoverage();

    // The menu a right-click on the grid opens (for tests: its actions by text); `clickedRow` is
    // the grid row under the pointer, or -1 for the current row.
    QMenu* menuFor(FlexGrid* grid, int clickedRow = -1);

signals:
    // The coverage dialog is up (it runs modal until closed): tests and screenshots act on it.
    void coverageShown(QDialog* dialog);

private:
    // Whether the links' history and reviews are kept, so that the reports give their states.
    bool reviewKept();
    // Asks for a file, then makes the table (which may fail with the database's text) and writes
    // it, under the hourglass; says what failed. True when the file was written.
    bool saveTable(const QString& title, const QString& suggested,
                   const std::function<TextTable()>& table);

    FormContext& m_form;
};
