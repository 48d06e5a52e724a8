#pragma once

#include "core/suggest/Suggestions.h"

#include <QList>
#include <QObject>
#include <QStringList>

class FlexGrid;
class QWidget;

// The list of proposed PhilHealth codes that the proposals dialog and the re-mapping of links to
// dropped codes show: one row an item, a "Save" tick first, the texts that name the item, then the
// chosen code ("Code", a drop-down of the row's best codes with their descriptions and scores),
// its "Description" and "Score", the texts that follow them, and "Why" last. Rows are numbered as
// the grid numbers them: the first item is row 1.
class ProposalGrid : public QObject {
public:
    struct Row {
        QStringList before; // the texts between "Save" and "Code"
        QStringList after;  // the texts between "Score" and "Why"
        QList<suggest::CodeProposal> choices;
        int chosen = 0;
        bool mayTick = true; // false: never ticked by the threshold (mapped already, saved)
        bool proposed() const { return chosen < choices.size(); }
    };
    // A named column and its width in twips.
    struct Column {
        const char* name;
        int width;
    };

    // The grid `gridName` in `parent`, its code drop-down named `choiceName`.
    ProposalGrid(QWidget* parent, const QString& gridName, const QString& choiceName,
                 QList<Column> before, QList<Column> after);

    FlexGrid* grid() const { return m_grid; }
    int codeColumn() const { return 1 + int(m_before.size()); }
    // The sum of the columns' widths, in twips.
    int width() const;
    const QString& choiceName() const { return m_choiceName; }

    // Lists the rows, none ticked.
    void setRows(QList<Row> rows);
    Row& row(int row) { return m_rows[row - 1]; }
    int count() const { return int(m_rows.size()); }
    QList<suggest::CodeProposal> choices(int row) const;
    // Makes the proposal of a row its `choice`-th best code, ticked unless it may not be.
    void choose(int row, int choice);
    // Writes a row's texts again after a change of it.
    void showRow(int row);
    // Ticks the rows whose proposal scores at least `least`, but those that may not be ticked.
    void tickFrom(int least);
    // The ticked rows that have a proposal, first to last.
    QList<int> ticked() const;

private:
    FlexGrid* m_grid;
    QString m_choiceName;
    QList<Column> m_before, m_after;
    QList<Row> m_rows;
};
