#include "SuggestCodes.h"

#include "core/db/DbError.h"
#include "core/history/LinkHistory.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

SuggestCodes::SuggestCodes(FormContext& form, suggest::Suggestions& engine,
                           std::function<void()> beforeUse)
    : m_form(form)
    , m_engine(engine)
    , m_beforeUse(std::move(beforeUse)) {}

SuggestCodes::~SuggestCodes() {
    delete m_dialog;
}

void SuggestCodes::makeDialog() {
    m_dialog = new QDialog(m_form.c.Grid2->window());
    m_dialog->setObjectName(QStringLiteral("dlgSuggestCodes"));
    m_dialog->setWindowTitle(QStringLiteral("Suggest PhilHealth codes"));
    m_dialog->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(m_dialog);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Tick the rows scoring at least"), m_dialog);
    label->setObjectName(QStringLiteral("lblSuggestMin"));
    m_minimum = new QSpinBox(m_dialog);
    m_minimum->setObjectName(QStringLiteral("spnSuggestMin"));
    m_minimum->setRange(0, 100);
    m_minimum->setValue(defaultMinimum);
    label->setBuddy(m_minimum);
    top->addWidget(label);
    top->addWidget(m_minimum);
    top->addStretch();
    layout->addLayout(top);
    m_list = new ProposalGrid(m_dialog, QStringLiteral("GridSuggestCodes"),
                              QStringLiteral("cboSuggestCode"), {{"ItemID", 1000}, {"Item", 4400}},
                              {{"Now mapped to", 1700}});
    m_grid = m_list->grid();
    m_form.screen.addListMenu(m_grid);
    layout->addWidget(m_grid);
    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save checked"), m_dialog);
    save->setObjectName(QStringLiteral("cmdSuggestSave"));
    auto* close = new QPushButton(QStringLiteral("Close"), m_dialog);
    close->setObjectName(QStringLiteral("cmdSuggestCodesClose"));
    for (QPushButton* button : {save, close})
        button->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_minimum, &QSpinBox::valueChanged, this, [this] { applyMinimum(); });
    connect(save, &QPushButton::clicked, this, [this] { cmdSuggestSave_Click(); });
    connect(close, &QPushButton::clicked, m_dialog, &QDialog::close);
    // Closed, the dialog keeps its place and size for the next time.
    connect(m_dialog, &QDialog::finished, this,
            [this] { m_form.user.VALTORClasses().Savewinsettings(m_dialog); });
    m_dialog->resize(twips::toPixels(m_list->width() + 700), twips::toPixels(7200));
    // Beside the screen, or over its revenue lists: never over the steps or the mappings.
    placement::placeFirstTime(m_dialog, m_form.c.Grid2->window(),
                              {m_form.c.GridRev, m_form.c.GridRevCode},
                              m_form.user.VALTORClasses());
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
    // The working fields the save reads, put back afterwards.
    QLineEdit* const boxes[] = {c.txtESOACode,     c.txtESOADesc,     c.txtFixedFee,
                                c.txtChargingUnit, c.txtVALTORItemID, c.txtVALTORitemDesc};
    QStringList kept;
    for (QLineEdit* box : boxes)
        kept << box->text();
    int saved = 0;
    {
        WaitCursor wait(m_dialog);
        // One batch of the history: the mapping list's undo offers to undo the whole run.
        history::LinkHistory::Batch batch(m_form.history);
        for (int i : ticked) {
            ProposalGrid::Row& r = m_list->row(i);
            const suggest::ReferenceItem& code = r.choices[r.chosen].item;
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
    for (int k = 0; k < int(std::size(boxes)); ++k)
        boxes[k]->setText(kept[k]);
    m_form.screen.LoadMappings();
    m_form.prompter.message(QStringLiteral("%1 links saved.").arg(saved));
}

void SuggestCodes::close() {
    if (m_dialog)
        m_dialog->close();
}
