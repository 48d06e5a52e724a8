// FlexGrid: the view and its grid operations: the rows, columns and fixed rows, the cells'
// texts and colours, the current cell and the top row, the column widths, and the list as text
// for a file or the clipboard. The check and edit columns and the keys are in FlexGridInput.cpp.
#include "FlexGrid.h"

#include "ui/widgets/Twips.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace {
// The header row. Its sections are not highlighted, so a change of the selected cells leaves it
// as it is; Qt's header would repaint the selected columns' sections on every change, which for
// a check that walks 30,000 rows is most of its time.
class FlexGridHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override {
        if (highlightSections())
            QHeaderView::selectionChanged(selected, deselected);
    }
};
} // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent) {
    setHorizontalHeader(new FlexGridHeader(Qt::Horizontal, this));
    setModel(&m_model);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(twips::toPixels(255));
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Tab leaves the list for the next control, as in every other control of the screen.
    setTabKeyNavigation(false);
    connect(&m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex&, const QList<int>& roles) {
                if (roles.contains(Qt::CheckStateRole))
                    emit checkToggled(from.row() + m_model.m_fixedRows);
            });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        m_row = index.row() + m_model.m_fixedRows;
        m_col = index.column();
        emit gridClicked();
    });
}

void FlexGrid::checkCell(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        throw GridError("Subscript out of range");
}

QModelIndex FlexGrid::viewIndex(int row, int col) const {
    return m_model.index(row - m_model.m_fixedRows, col);
}

void FlexGrid::structureChanged() {
    ++m_listVersion;
    m_model.m_checked.clear();
    if (m_row >= rows())
        m_row = qMax(0, rows() - 1);
    if (m_col >= cols())
        m_col = qMax(0, cols() - 1);
    applyWidths();
}

void FlexGrid::bind(const TextTable& table) {
    m_model.beginResetModel();
    QList<QStringList> cells;
    cells.reserve(table.rows.size() + 1);
    cells << table.columns;
    cells << table.rows;
    m_model.m_cells = std::move(cells);
    m_model.m_cols = static_cast<int>(table.columns.size());
    m_model.m_fixedRows = 1;
    m_model.m_backgrounds.clear();
    m_model.endResetModel();
    m_row = rows() > 1 ? 1 : 0;
    m_col = 0;
    structureChanged();
}

void FlexGrid::setRows(int n) {
    if (n < 0)
        throw GridError("Invalid Row value");
    m_model.beginResetModel();
    if (n < m_model.m_fixedRows)
        m_model.m_fixedRows = n;
    while (rows() > n)
        m_model.m_cells.removeLast();
    while (rows() < n)
        m_model.m_cells << QStringList(m_model.m_cols);
    m_model.m_backgrounds.removeIf(
        [n](const auto& it) { return static_cast<int>(it.key() >> 32) >= n; });
    m_model.endResetModel();
    structureChanged();
}

void FlexGrid::setCols(int n) {
    if (n < 0)
        throw GridError("Invalid Col value");
    m_model.beginResetModel();
    for (QStringList& row : m_model.m_cells) {
        while (row.size() > n)
            row.removeLast();
        while (row.size() < n)
            row << QString();
    }
    m_model.m_cols = n;
    m_model.m_backgrounds.removeIf(
        [n](const auto& it) { return static_cast<int>(it.key() & 0xffffffffu) >= n; });
    m_model.endResetModel();
    structureChanged();
}

void FlexGrid::setFixedRows(int n) {
    if (n < 0 || n > rows())
        throw GridError("Invalid FixedRows value");
    m_model.beginResetModel();
    m_model.m_fixedRows = n;
    m_model.endResetModel();
    structureChanged();
}

void FlexGrid::addItem(const QString& text) {
    QStringList row = text.split(u'\t');
    while (row.size() < m_model.m_cols)
        row << QString();
    while (row.size() > m_model.m_cols)
        row.removeLast();
    const int at = m_model.rowCount();
    if (rows() >= m_model.m_fixedRows && at >= 0) {
        m_model.beginInsertRows({}, at, at);
        m_model.m_cells << row;
        m_model.endInsertRows();
    } else {
        m_model.beginResetModel();
        m_model.m_cells << row;
        m_model.endResetModel();
    }
    ++m_listVersion;
    applyWidths();
}

void FlexGrid::clear() {
    m_model.beginResetModel();
    for (QStringList& row : m_model.m_cells)
        for (QString& cell : row)
            cell.clear();
    m_model.m_backgrounds.clear();
    m_model.m_checked.clear();
    m_model.endResetModel();
    ++m_listVersion;
    applyWidths();
}

void FlexGrid::resetForLoad() {
    setRows(1);
    clear();
    setFixedRows(0);
    addItem(QString());
    setFixedRows(1);
}

QString FlexGrid::textMatrix(int row, int col) const {
    checkCell(row, col);
    return m_model.m_cells[row].value(col);
}

std::optional<QStringList> FlexGrid::rowTexts(int row, std::initializer_list<int> cols) const {
    QStringList texts;
    for (int col : cols) {
        if (row < 0 || row >= rows() || col < 0 || col >= this->cols())
            return std::nullopt;
        texts << m_model.m_cells[row].value(col);
    }
    return texts;
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    checkCell(row, col);
    m_model.m_cells[row][col] = text;
    if (row < m_model.m_fixedRows) {
        emit m_model.headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex index = viewIndex(row, col);
        emit m_model.dataChanged(index, index);
    }
}

void FlexGrid::setRow(int row) {
    if (row < 0 || row >= rows())
        throw GridError("Invalid Row value");
    m_row = row;
    const QModelIndex index = viewIndex(m_row, m_col);
    if (index.isValid()) {
        // A row made current by the program does not scroll the list: the user's view stays
        // where it is (a check that walks 30,000 rows would otherwise repaint every row).
        m_settingCurrent = true;
        const bool scroll = hasAutoScroll();
        setAutoScroll(false);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        setAutoScroll(scroll);
        m_settingCurrent = false;
    }
}

void FlexGrid::setCol(int col) {
    if (col < 0 || col >= cols())
        throw GridError("Invalid Col value");
    m_col = col;
}

int FlexGrid::topRow() const {
    const int first = rowAt(0);
    return (first < 0 ? 0 : first) + m_model.m_fixedRows;
}

void FlexGrid::setTopRow(int row) {
    const QModelIndex index = viewIndex(row, 0);
    if (!index.isValid())
        throw GridError("Invalid Row value");
    verticalScrollBar()->setValue(index.row());
}

void FlexGrid::setColSel(int col) {
    if (col < 0 || col >= cols())
        throw GridError("Invalid Col value");
    const QModelIndex from = viewIndex(m_row, qMin(m_col, col));
    const QModelIndex to = viewIndex(m_row, qMax(m_col, col));
    if (from.isValid() && to.isValid())
        selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
}

void FlexGrid::setCellBackColor(const QColor& color) {
    checkCell(m_row, m_col);
    m_model.m_backgrounds.insert(FlexGridModel::cellKey(m_row, m_col), color);
    const QModelIndex index = viewIndex(m_row, m_col);
    if (index.isValid())
        emit m_model.dataChanged(index, index, {Qt::BackgroundRole});
}

QColor FlexGrid::cellBackColor(int row, int col) const {
    return m_model.m_backgrounds.value(FlexGridModel::cellKey(row, col));
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0)
        throw GridError("Invalid Col value");
    m_widths.insert(col, twips);
    applyWidths();
}

int FlexGrid::colWidth(int col) const {
    auto it = m_widths.find(col);
    if (it != m_widths.end())
        return *it;
    return twips::fromPixels(horizontalHeader()->defaultSectionSize());
}

void FlexGrid::applyWidths() {
    for (int c = 0; c < m_model.m_cols; ++c) {
        auto it = m_widths.find(c);
        if (it == m_widths.end()) {
            setColumnHidden(c, false);
            continue;
        }
        setColumnHidden(c, *it == 0);
        if (*it > 0)
            setColumnWidth(c, twips::toPixels(*it));
    }
}

TextTable FlexGrid::shownTable() const {
    TextTable t;
    QList<int> shown;
    for (int c = 0; c < cols(); ++c)
        if (!isColumnHidden(c))
            shown << c;
    const int fixed = fixedRows();
    for (int c : shown)
        t.columns << (fixed > 0 ? m_model.m_cells[fixed - 1].value(c) : QString());
    for (int r = fixed; r < rows(); ++r) {
        QStringList row;
        row.reserve(shown.size());
        for (int c : shown)
            row << m_model.m_cells[r].value(c);
        t.rows << std::move(row);
    }
    return t;
}

QString FlexGrid::selectedText() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return QString();
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QModelIndex& i : selected) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    auto cell = [](QString text) {
        if (text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r') ||
            text.contains(u'"'))
            return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
        return text;
    };
    QString out;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c)
            if (!isColumnHidden(c))
                cells << (selectionModel()->isSelected(m_model.index(r, c))
                              ? cell(m_model.m_cells[r + m_model.m_fixedRows].value(c))
                              : QString());
        out += cells.join(u'\t') + QStringLiteral("\r\n");
    }
    return out;
}
