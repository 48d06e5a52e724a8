#pragma once

#include "core/maintenance/ListCompare.h"
#include "core/suggest/Suggestions.h"
#include "ui/screen/FormContext.h"

#include <QObject>
#include <QPointer>

#include <functional>

class FlexGrid;
class ProposalGrid;
class QDialog;
class QSpinBox;

// "Links to codes no longer listed": every link of the current table whose code the table lacks
// (a list update dropped it, an earlier one did, or it went missing otherwise), one row a link,
// with the best five codes of the current list for its old description and its item. The ticked
// rows are rewritten through "5. Sa&ve Mapping", each under its own revenue code, section, item
// mode and category, all in one batch of the history, which the mapping list's undo offers.
class RetiredLinks : public QObject {
    Q_OBJECT
public:
    // The columns of GridRetiredLinks.
    enum Column { Save, ItemID, Item, OldCode, OldDescription, Code, Description, Score, Why };

    RetiredLinks(FormContext& form, suggest::Suggestions& engine, std::function<void()> beforeUse);
    ~RetiredLinks() override;

    // Lists the links and opens the window (window-modal; this returns while it is open). With no
    // such link it opens nothing, and says so when `sayWhenNone`; a failure of the database is
    // told in a message.
    void open(bool sayWhenNone = true);
    // Rewrites each ticked row's link to its chosen code; says how many were saved.
    void cmdRetiredSave_Click();
    void close();

    QDialog* dialog() const { return m_dialog; }
    ProposalGrid* list() const { return m_list; }
    QSpinBox* minimum() const { return m_minimum; }

private:
    void makeDialog();
    // The best codes for a link: those for its old description and those for its item, each
    // code at the better of its two scores.
    static QList<suggest::CodeProposal> merged(const QList<suggest::CodeProposal>& byDescription,
                                               const QList<suggest::CodeProposal>& byItem);

    FormContext& m_form;
    suggest::Suggestions& m_engine;
    std::function<void()> m_beforeUse;
    QPointer<QDialog> m_dialog;
    ProposalGrid* m_list = nullptr;
    QSpinBox* m_minimum = nullptr;
    QList<listupdate::LinkToMissingCode> m_links;
    bool m_saving = false;
};
