// FlexGridModel: what the view reads of the cells (texts, ticks, colours, the header row) and
// the two things it may write, a tick and the text of the edit column.
#include "FlexGridModel.h"

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_cells.size()) - m_fixedRows;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_cols;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row() + m_fixedRows;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_cells[row].value(index.column());
    if (role == Qt::CheckStateRole && index.column() == m_checkColumn)
        return m_checked.contains(row) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::BackgroundRole) {
        auto it = m_backgrounds.find(cellKey(row, index.column()));
        if (it != m_backgrounds.end())
            return *it;
    }
    return {};
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == m_checkColumn)
        f |= Qt::ItemIsUserCheckable;
    if (index.isValid() && index.column() == m_editColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

bool FlexGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid())
        return false;
    const int row = index.row() + m_fixedRows;
    if (role == Qt::CheckStateRole && index.column() == m_checkColumn) {
        if (value.toInt() == Qt::Checked)
            m_checked.insert(row);
        else
            m_checked.remove(row);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    if (role == Qt::EditRole && index.column() == m_editColumn) {
        m_cells[row][index.column()] = value.toString();
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        return true;
    }
    return false;
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_fixedRows > 0 ? m_cells[0].value(section) : QString();
}
