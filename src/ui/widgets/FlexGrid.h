// FlexGrid: the grid control of the screen's lists, and GridError, what its operations throw
// outside the grid. Its cells are a FlexGridModel.
#pragma once

#include "core/db/ResultTables.h"
#include "ui/widgets/FlexGridModel.h"

#include <QMap>
#include <QTableView>

#include <initializer_list>
#include <optional>
#include <stdexcept>

// A grid operation outside the grid's rows or columns ("Subscript out of range").
class GridError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The grid control of every list of the screen: a plain table of text cells, row 0 the fixed
// header row. It offers what the screen's operations use and nothing more.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Takes every row and column of a result: row 0 holds the column names, each record
    // follows in its own row, column i holds the result's i-th column. One model reset.
    void bind(const TextTable& table);

    int rows() const { return static_cast<int>(m_model.m_cells.size()); }
    void setRows(int rows);
    int cols() const { return m_model.m_cols; }
    void setCols(int cols);
    int fixedRows() const { return m_model.m_fixedRows; }
    void setFixedRows(int fixedRows);
    // Adds a row; tabs in the text separate the texts of its cells.
    void addItem(const QString& text);
    // Empties every cell (texts and colours); the rows and columns stay.
    void clear();
    // Empties the grid before a load, in five steps: one row, cells cleared, no fixed row, one
    // empty row added, the first row fixed again. An empty header and one empty row remain.
    void resetForLoad();

    // A number that changes whenever the grid's rows or columns are replaced, added, removed or
    // emptied (not when a cell's text or colour is set): work that runs row by row over a list
    // tells by it that the list is no longer the one it started on.
    quint64 listVersion() const { return m_listVersion; }

    QString textMatrix(int row, int col) const;
    // The texts of a row's cells in the columns asked for, or nothing when the grid lacks the
    // row or any of those columns.
    std::optional<QStringList> rowTexts(int row, std::initializer_list<int> cols) const;
    void setTextMatrix(int row, int col, const QString& text);

    int row() const { return m_row; }
    void setRow(int row);
    int col() const { return m_col; }
    void setCol(int col);
    // The first data row in view.
    int topRow() const;
    void setTopRow(int row);
    // Selects from the current column to `col` in the current row.
    void setColSel(int col);
    // The background of the current cell.
    void setCellBackColor(const QColor& color);
    QColor cellBackColor(int row, int col) const;

    // A width in twips for a column position, kept for whatever column later takes that
    // position; 0 hides the column.
    void setColWidth(int col, int twips);
    int colWidth(int col) const;

    // The list as shown, for a file: the fixed rows' texts as the header (one row, the last
    // fixed one), then every other row; hidden columns left out.
    TextTable shownTable() const;
    // The selected cells as spreadsheets paste them: cells separated by tabs, rows by line ends,
    // a cell holding a tab, a line break or a quote between quotes. Hidden columns left out.
    QString selectedText() const;

    void setToolTipText(const QString& text) { setToolTip(text); }

    // A column whose cells are check boxes (a click or Space ticks and unticks them), and the
    // ticks of its rows. Any change of the list's rows clears the ticks.
    void setCheckColumn(int col);
    bool isChecked(int row) const { return m_model.m_checked.contains(row); }
    void setChecked(int row, bool checked);
    // A column whose cells the user edits in place (through the view's item delegate).
    void setEditColumn(int col);

signals:
    // A click on a data row, after the row and column it hit became current; Enter or Space on
    // the current row is such a click.
    void gridClicked();
    // Enter or Space chose the current row (after gridClicked).
    void rowChosen();
    // The user ticked or unticked a row's check box.
    void checkToggled(int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void checkCell(int row, int col) const;
    void structureChanged();
    void applyWidths();
    QModelIndex viewIndex(int row, int col) const;

    FlexGridModel m_model;
    QMap<int, int> m_widths;
    int m_row = 1;
    int m_col = 0;
    bool m_settingCurrent = false;
    quint64 m_listVersion = 0;
};
