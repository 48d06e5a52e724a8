#include "SuggestCodes.h"

#include "core/db/DbError.h"
#include "core/history/LinkHistory.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/suggest/ProposalWindow.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

SuggestCodes::SuggestCodes(FormContext& form, suggest::Suggestions& engine,
                           std::function<void()> beforeUse)
    : m_form(form)
    , m_engine(engine)
    , m_beforeUse(std::move(beforeUse)) {}

SuggestCodes::~SuggestCodes() {
    delete m_dialog;
}

void SuggestCodes::makeDialog() {
    const ProposalWindow w = ProposalWindow::make(
        m_form,
        {"dlgSuggestCodes", "Suggest PhilHealth codes", "lblSuggestMin", "spnSuggestMin",
         "GridSuggestCodes", "cboSuggestCode", "cmdSuggestSave", "cmdSuggestCodesClose"},
        defaultMinimum, {{"ItemID", 1000}, {"Item", 4400}}, {{"Now mapped to", 1700}});
    m_dialog = w.dialog;
    m_minimum = w.minimum;
    m_list = w.list;
    m_grid = m_list->grid();
    connect(w.save, &QPushButton::clicked, this, [this] { cmdSuggestSave_Click(); });
}

void SuggestCodes::open() {
    Controls& c = m_form.c;
    FlexGrid* list = c.Grid2;
    // The generic name is the list's third column while it holds the generic names.
    const bool hasGeneric = list->cols() > 2 && list->textMatrix(0, 2).compare(
                                                    u"GenericName", Qt::CaseInsensitive) == 0;
    QList<suggest::ListedItem> items;
    for (int r = list->fixedRows(); r < list->rows() && list->cols() > 1; ++r) {
        const QString id = list->textMatrix(r, 0);
        if (id.isEmpty())
            continue;
        items.append({id, list->textMatrix(r, 1), hasGeneric ? list->textMatrix(r, 2) : QString()});
    }
    if (items.isEmpty()) {
        m_form.prompter.message(QStringLiteral("List the hospital items first (4. Search)."));
        return;
    }
    const QString table = c.lblESOATableName->text();
    QList<ProposalGrid::Row> rows;
    try {
        WaitCursor wait(list->window());
        if (m_beforeUse)
            m_beforeUse();
        const auto proposals = m_engine.codesFor(m_form.db(), table, c.txtAreaCat->text(), items);
        for (int i = 0; i < items.size(); ++i) {
            const QString mapped = suggest::Suggestions::linkedCode(
                m_form.db(), table, c.txtRevID->text(), items[i].itemId);
            rows.append({{items[i].itemId, items[i].item},
                         {mapped},
                         proposals.value(i),
                         0,
                         mapped.isEmpty()});
        }
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    if (!m_dialog)
        makeDialog();
    m_list->setRows(rows);
    applyMinimum();
    m_dialog->open();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_grid->setFocus();
}

QList<suggest::CodeProposal> SuggestCodes::choices(int row) const {
    return m_list ? m_list->choices(row) : QList<suggest::CodeProposal>();
}

void SuggestCodes::applyMinimum() {
    if (m_list)
        m_list->tickFrom(m_minimum->value());
}

void SuggestCodes::choose(int row, int choice) {
    if (m_list)
        m_list->choose(row, choice);
}

void SuggestCodes::cmdSuggestSave_Click() {
    if (m_saving || !m_grid)
        return;
    RunningFlag running(m_saving);
    Controls& c = m_form.c;
    const QList<int> ticked = m_list->ticked();
    if (ticked.isEmpty()) {
        m_form.prompter.message(QStringLiteral("Tick the rows to save first."));
        return;
    }
    int saved = 0;
    {
        // The working fields the save reads, put back afterwards.
        KeptTexts kept({c.txtESOACode, c.txtESOADesc, c.txtFixedFee, c.txtChargingUnit,
                        c.txtVALTORItemID, c.txtVALTORitemDesc});
        WaitCursor wait(m_dialog);
        // One batch of the history: the mapping list's undo offers to undo the whole run.
        history::LinkHistory::Batch batch(m_form.history, QStringLiteral("proposal"));
        for (int i : ticked) {
            ProposalGrid::Row& r = m_list->row(i);
            const suggest::ReferenceItem& code = r.choices[r.chosen].item;
            m_form.history.setHow(
                QStringLiteral("proposal, score %1").arg(r.choices[r.chosen].score));
            c.txtESOACode->setText(code.code);
            c.txtESOADesc->setText(code.description);
            c.txtFixedFee->setText(code.fixedFee);
            c.txtChargingUnit->setText(code.chargingUnit);
            c.txtVALTORItemID->setText(r.before.value(0));
            c.txtVALTORitemDesc->setText(r.before.value(1));
            if (!m_form.screen.SaveMapping())
                continue;
            ++saved;
            r.after = QStringList{code.code};
            r.mayTick = false;
            m_list->showRow(i);
            m_grid->setChecked(i, false);
        }
    }
    m_form.screen.LoadMappings();
    m_form.prompter.message(QStringLiteral("%1 links saved.").arg(saved));
}

void SuggestCodes::close() {
    if (m_dialog)
        m_dialog->close();
}
