#include "RetiredLinks.h"

#include "core/db/DbError.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/suggest/ProposalWindow.h"
#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace {

constexpr int choicesPerLink = 5;

} // namespace

RetiredLinks::RetiredLinks(FormContext& form, suggest::Suggestions& engine,
                           std::function<void()> beforeUse)
    : m_form(form)
    , m_engine(engine)
    , m_beforeUse(std::move(beforeUse)) {}

RetiredLinks::~RetiredLinks() {
    delete m_dialog;
}

void RetiredLinks::makeDialog() {
    const ProposalWindow w = ProposalWindow::make(
        m_form,
        {"dlgRetiredLinks", "Links to codes no longer listed", "lblRetiredMin", "spnRetiredMin",
         "GridRetiredLinks", "cboRetiredCode", "cmdRetiredSave", "cmdRetiredClose"},
        SuggestCodes::defaultMinimum,
        {{"ItemID", 1000}, {"Item", 3600}, {"Old code", 1300}, {"Old description", 3600}}, {});
    m_dialog = w.dialog;
    m_minimum = w.minimum;
    m_list = w.list;
    connect(w.save, &QPushButton::clicked, this, [this] { cmdRetiredSave_Click(); });
}

QList<suggest::CodeProposal> RetiredLinks::merged(const QList<suggest::CodeProposal>& byDescription,
                                                  const QList<suggest::CodeProposal>& byItem) {
    QList<suggest::CodeProposal> out;
    auto take = [&out](const QList<suggest::CodeProposal>& proposals, const QString& by) {
        for (suggest::CodeProposal p : proposals) {
            p.why = by + p.why;
            auto same = std::find_if(out.begin(), out.end(), [&](const suggest::CodeProposal& o) {
                return o.item.code == p.item.code;
            });
            if (same == out.end())
                out << p;
            else if (p.score > same->score)
                *same = p;
        }
    };
    take(byDescription, QStringLiteral("old description: "));
    take(byItem, QStringLiteral("item: "));
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.score > b.score; });
    return out.mid(0, choicesPerLink);
}

void RetiredLinks::open(bool sayWhenNone) {
    const QString table = m_form.c.lblESOATableName->text();
    QList<ProposalGrid::Row> rows;
    try {
        WaitCursor wait(m_form.c.GridMap->window());
        m_links = listupdate::linksToMissingCodes(m_form.db(), table);
        if (m_links.isEmpty()) {
            if (sayWhenNone)
                m_form.prompter.message(
                    QStringLiteral("Every link of %1 points at a code the list holds.").arg(table));
            return;
        }
        if (m_beforeUse)
            m_beforeUse();
        QList<suggest::ListedItem> byDescription, byItem;
        for (const listupdate::LinkToMissingCode& link : m_links) {
            byDescription.append({link.itemId, link.description, QString()});
            byItem.append({link.itemId, link.itemDesc, QString()});
        }
        const auto first = m_engine.codesFor(m_form.db(), table, QString(), byDescription);
        const auto second = m_engine.codesFor(m_form.db(), table, QString(), byItem);
        for (qsizetype i = 0; i < m_links.size(); ++i) {
            const listupdate::LinkToMissingCode& link = m_links[i];
            rows.append({{link.itemId, link.itemDesc, link.code, link.description},
                         {},
                         merged(first.value(i), second.value(i)),
                         0,
                         true});
        }
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    if (!m_dialog)
        makeDialog();
    m_list->setRows(rows);
    m_list->tickFrom(m_minimum->value());
    m_dialog->open();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_list->grid()->setFocus();
}

void RetiredLinks::cmdRetiredSave_Click() {
    if (m_saving || !m_list)
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
        // The working fields the save reads, each link's own, put back afterwards.
        const QList<QLineEdit*> boxes = {c.txtESOACode,     c.txtESOADesc,     c.txtFixedFee,
                                         c.txtChargingUnit, c.txtVALTORItemID, c.txtVALTORitemDesc,
                                         c.txtRevID,        c.txtSectionID,    c.txtType,
                                         c.txtAreaCat};
        KeptTexts kept(boxes);
        WaitCursor wait(m_dialog);
        // One batch of the history: the mapping list's undo offers to undo the whole run.
        history::LinkHistory::Batch batch(m_form.history, QStringLiteral("re-map"));
        for (int row : ticked) {
            ProposalGrid::Row& r = m_list->row(row);
            const listupdate::LinkToMissingCode& link = m_links[row - 1];
            const suggest::ReferenceItem& code = r.choices[r.chosen].item;
            const QStringList texts = {
                code.code,     code.description, code.fixedFee,  code.chargingUnit, link.itemId,
                link.itemDesc, link.revenueId,   link.sectionId, link.invOrProc,    link.category};
            for (qsizetype k = 0; k < boxes.size(); ++k)
                boxes[k]->setText(texts[k]);
            if (!m_form.screen.SaveMapping())
                continue;
            ++saved;
            r.mayTick = false;
            m_list->grid()->setChecked(row, false);
        }
    }
    m_form.screen.LoadMappings();
    m_form.prompter.message(QStringLiteral("%1 links saved.").arg(saved));
}

void RetiredLinks::close() {
    if (m_dialog)
        m_dialog->close();
}
