// FlexGridModel: the cells of a FlexGrid, texts addressed by grid row and column, with their
// colours, the ticks of the check column and the column the user may edit.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringList>

// The cells of a FlexGrid: a table of texts addressed by grid row and column from 0. The view
// shows the fixed rows as its header and the rows after them as data.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    friend class FlexGrid;
    // The key of a cell's colour: the row in the high 32 bits, the column in the low ones.
    static quint64 cellKey(int row, int col) {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(col);
    }

    // A column of check boxes (the grid rows ticked), and a column the user may edit; -1: none.
    int m_checkColumn = -1;
    int m_editColumn = -1;
    QSet<int> m_checked;
    QList<QStringList> m_cells = {QStringList(2), QStringList(2)};
    int m_cols = 2;
    int m_fixedRows = 1;
    QHash<quint64, QColor> m_backgrounds;
};
