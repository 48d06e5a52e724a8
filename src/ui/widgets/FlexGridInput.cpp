// FlexGrid: what the user does to it beyond reading: the check column and its ticks, the edit
// column, Enter and Space on the current row, and the current cell following the user.
#include "ui/widgets/FlexGrid.h"

#include <QKeyEvent>

void FlexGrid::setCheckColumn(int col) {
    m_model.beginResetModel();
    m_model.m_checkColumn = col;
    m_model.m_checked.clear();
    m_model.endResetModel();
}

void FlexGrid::setChecked(int row, bool checked) {
    checkCell(row, m_model.m_checkColumn < 0 ? -1 : m_model.m_checkColumn);
    if (row < m_model.m_fixedRows || checked == isChecked(row))
        return;
    if (checked)
        m_model.m_checked.insert(row);
    else
        m_model.m_checked.remove(row);
    const QModelIndex index = viewIndex(row, m_model.m_checkColumn);
    emit m_model.dataChanged(index, index, {Qt::DisplayRole});
}

void FlexGrid::setEditColumn(int col) {
    m_model.m_editColumn = col;
    setEditTriggers(col < 0
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed);
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    // Enter or Space on the current row does what a click on it does (Space on a check box ticks
    // it).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool space = event->key() == Qt::Key_Space;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((enter || space) && plain && state() != QAbstractItemView::EditingState) {
        QModelIndex current = currentIndex();
        if (!current.isValid() && m_row >= m_model.m_fixedRows && m_row < rows())
            current = viewIndex(m_row, m_col);
        if (current.isValid()) {
            event->accept();
            if (space && current.column() == m_model.m_checkColumn) {
                const int row = current.row() + m_model.m_fixedRows;
                m_model.setData(current, isChecked(row) ? Qt::Unchecked : Qt::Checked,
                                Qt::CheckStateRole);
                return;
            }
            m_row = current.row() + m_model.m_fixedRows;
            m_col = current.column();
            emit gridClicked();
            emit rowChosen();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!m_settingCurrent && current.isValid()) {
        m_row = current.row() + m_model.m_fixedRows;
        m_col = current.column();
    }
}
