#pragma once

#include "core/suggest/Suggestions.h"
#include "ui/screen/FormContext.h"

#include <QObject>
#include <QPointer>

#include <functional>

class FlexGrid;
class ProposalGrid;
class QDialog;
class QPushButton;
class QSpinBox;

// The proposed PhilHealth codes for the hospital items listed in Grid2: one row an item, in the
// list's order, with the best code of the current reference table within the current category and
// its four runners-up to choose from. The ticked rows are saved as "5. Sa&ve Mapping" saves, all
// in one batch of the history, which the mapping list's undo offers to undo.
class SuggestCodes : public QObject {
    Q_OBJECT
public:
    // The score from which rows are ticked when the dialog opens: on the evaluation set of the
    // benchmark, the proposals of every band of five points from this score up were right at
    // least 95 times in 100 (the benchmark prints the score it finds).
    static constexpr int defaultMinimum = 70;
    // The columns of GridSuggestCodes.
    enum Column { Save, ItemID, Item, Code, Description, Score, NowMappedTo, Why, Columns };

    SuggestCodes(FormContext& form, suggest::Suggestions& engine, std::function<void()> beforeUse);
    ~SuggestCodes() override;

    // Proposes codes for the listed hospital items and opens the dialog (window-modal; this
    // returns while it is open). A failure of the database is told in a message and opens
    // nothing.
    void open();
    // Ticks the rows whose proposal scores at least the spin box's value, but for the items
    // mapped already.
    void applyMinimum();
    // Makes the proposal of a row its `choice`-th best code.
    void choose(int row, int choice);
    // Saves each ticked row as the save does, in one history batch; says how many were saved.
    void cmdSuggestSave_Click();
    void close();

    QDialog* dialog() const { return m_dialog; }
    FlexGrid* grid() const { return m_grid; }
    QSpinBox* minimum() const { return m_minimum; }
    // The codes a row may take, best first.
    QList<suggest::CodeProposal> choices(int row) const;

private:
    void makeDialog();

    FormContext& m_form;
    suggest::Suggestions& m_engine;
    std::function<void()> m_beforeUse;
    QPointer<QDialog> m_dialog;
    ProposalGrid* m_list = nullptr;
    FlexGrid* m_grid = nullptr;
    QSpinBox* m_minimum = nullptr;
    bool m_saving = false;
};
