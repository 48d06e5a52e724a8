#pragma once

#include <QString>

#include <functional>

struct FormContext;
class FlexGrid;
class QWidget;

// The mapping operations: the links of the selected PhilHealth item in GridMap, saving and
// deleting a link, the mapped-or-not checks of both item lists, and mapping a whole list.
class Mappings {
public:
    explicit Mappings(FormContext& form)
        : m_form(form) {}

    // Lists the first 1,000 link rows of the code in txtESOACode, from the link table of the
    // current reference table.
    void LoadMappings();
    void GridMap_Click();

    // Links the hospital item of the working fields to the selected PhilHealth item: one link
    // row per hospital item (revenue code and item id), added or rewritten. Reports every
    // failing step with its line number and goes on with the next; never raises. True when the
    // link row was written.
    bool cmdEdit_Click();
    // Removes the link row of GridMap's current row, from the link table the list was loaded
    // from, then reloads the list.
    void cmdDelete_Click();

    // Marks each listed PhilHealth item green when any hospital item is linked to it, yellow
    // when none is.
    void cmdCheckIfMapped_Click();
    // Marks each listed hospital item green when it has a link row under the revenue code in
    // txtRevID (and writes that link's code into its third column), yellow when it has none.
    void cmdCheckIfMapped2_Click();
    // Saves every listed hospital item as a link to the selected PhilHealth item, after a
    // question.
    void cmdMapAll_Click();

    // The reference table whose links GridMap lists.
    QString listedTable() const;
    // Makes the listed link of that ID GridMap's current row, in view; false when it is not listed.
    bool selectLink(qint64 id);

    // Ends a check that is running (the screen is closing).
    void stopRunningCheck() { m_stopCheck = true; }

private:
    // Runs checkRow (true: the row is mapped) over rows 1 to the end of a list, letting the
    // screen handle its events after each row; ends when the list or the reference table changes
    // under it, or at a failure, which it reports. The button's tooltip then tells how many of
    // the rows checked were mapped.
    void checkRows(FlexGrid* grid, const QString& table, QWidget* button,
                   const std::function<bool(int row)>& checkRow);
    void reportSaveFailure(const QString& description, int line);

    FormContext& m_form;
    // The reference table whose link table GridMap lists: after a switch of the reference
    // table the list still shows the links of the table it was loaded from.
    QString m_listedTable;
    bool m_checkRunning = false;
    bool m_stopCheck = false;
};
