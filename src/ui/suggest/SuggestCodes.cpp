#include "SuggestCodes.h"

#include "core/db/DbError.h"
#include "core/history/LinkHistory.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const char* const columnNames[] = {"Save",        "ItemID", "Item",          "Code",
                                   "Description", "Score",  "Now mapped to", "Why"};
constexpr int columnWidths[] = {600, 1000, 4400, 1300, 4400, 700, 1700, 4800};

// The drop-down of a row's "Code" cell: the row's five best codes, each with its description and
// score.
class CodeChoice : public QStyledItemDelegate {
public:
    explicit CodeChoice(SuggestCodes& owner, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_owner(owner) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("cboSuggestCode"));
        for (const suggest::CodeProposal& p : m_owner.choices(rowOf(index)))
            box->addItem(
                QStringLiteral("%1  %2 (%3)").arg(p.item.code, p.item.description).arg(p.score));
        // The choice is taken as soon as it is made.
        connect(box, &QComboBox::activated, this, [this, box] {
            emit const_cast<CodeChoice*>(this)->commitData(box);
            emit const_cast<CodeChoice*>(this)->closeEditor(box);
        });
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        const QString code = index.data().toString();
        const auto choices = m_owner.choices(rowOf(index));
        for (int i = 0; i < choices.size(); ++i)
            if (choices[i].item.code == code)
                box->setCurrentIndex(i);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const int choice = static_cast<QComboBox*>(editor)->currentIndex();
        if (choice >= 0)
            m_owner.choose(rowOf(index), choice);
    }

private:
    static int rowOf(const QModelIndex& index) { return index.row() + 1; }
    SuggestCodes& m_owner;
};

} // namespace

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
    m_grid = new FlexGrid(m_dialog);
    m_grid->setObjectName(QStringLiteral("GridSuggestCodes"));
    for (int col = 0; col < Columns; ++col)
        m_grid->setColWidth(col, columnWidths[col]);
    m_grid->setCheckColumn(Save);
    m_grid->setEditColumn(Code);
    m_grid->setItemDelegateForColumn(Code, new CodeChoice(*this, m_grid));
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
    int width = 0;
    for (int w : columnWidths)
        width += w;
    m_dialog->resize(twips::toPixels(width + 700), twips::toPixels(7200));
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
    QList<Row> rows;
    try {
        WaitCursor wait(list->window());
        if (m_beforeUse)
            m_beforeUse();
        const auto proposals = m_engine.codesFor(m_form.db(), table, c.txtAreaCat->text(), items);
        for (int i = 0; i < items.size(); ++i) {
            Row row{items[i].itemId, items[i].item, proposals.value(i), 0, QString()};
            row.nowMapped = suggest::Suggestions::linkedCode(m_form.db(), table, c.txtRevID->text(),
                                                             row.itemId);
            rows.append(row);
        }
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    if (!m_dialog)
        makeDialog();
    m_rows = rows;
    TextTable shown;
    for (const char* name : columnNames)
        shown.columns << QLatin1String(name);
    for (int i = 0; i < m_rows.size(); ++i)
        shown.rows << QStringList(Columns);
    m_grid->bind(shown);
    for (int i = 0; i < m_rows.size(); ++i)
        showRow(i + 1);
    applyMinimum();
    m_dialog->open();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_grid->setFocus();
}

QList<suggest::CodeProposal> SuggestCodes::choices(int row) const {
    return row >= 1 && row <= m_rows.size() ? m_rows[row - 1].choices
                                            : QList<suggest::CodeProposal>();
}

void SuggestCodes::showRow(int row) {
    const Row& r = m_rows[row - 1];
    m_grid->setTextMatrix(row, ItemID, r.itemId);
    m_grid->setTextMatrix(row, Item, r.item);
    const bool proposed = r.chosen < r.choices.size();
    const suggest::CodeProposal chosen = proposed ? r.choices[r.chosen] : suggest::CodeProposal();
    m_grid->setTextMatrix(row, Code, proposed ? chosen.item.code : QString());
    m_grid->setTextMatrix(row, Description, proposed ? chosen.item.description : QString());
    m_grid->setTextMatrix(row, Score, proposed ? QString::number(chosen.score) : QString());
    m_grid->setTextMatrix(row, NowMappedTo, r.nowMapped);
    m_grid->setTextMatrix(row, Why, proposed ? chosen.why : QString());
}

void SuggestCodes::applyMinimum() {
    if (!m_grid)
        return;
    const int least = m_minimum->value();
    for (int i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        const bool tick = r.nowMapped.isEmpty() && r.chosen < r.choices.size() &&
                          r.choices[r.chosen].score >= least;
        m_grid->setChecked(i + 1, tick);
    }
}

void SuggestCodes::choose(int row, int choice) {
    if (row < 1 || row > m_rows.size() || choice < 0 || choice >= m_rows[row - 1].choices.size())
        return;
    m_rows[row - 1].chosen = choice;
    showRow(row);
    // A code the clerk chose is meant to be saved.
    m_grid->setChecked(row, m_rows[row - 1].nowMapped.isEmpty());
}

void SuggestCodes::cmdSuggestSave_Click() {
    if (m_saving || !m_grid)
        return;
    RunningFlag running(m_saving);
    Controls& c = m_form.c;
    QList<int> ticked;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_grid->isChecked(i + 1) && m_rows[i].chosen < m_rows[i].choices.size())
            ticked << i;
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
            Row& r = m_rows[i];
            const suggest::ReferenceItem& code = r.choices[r.chosen].item;
            c.txtESOACode->setText(code.code);
            c.txtESOADesc->setText(code.description);
            c.txtFixedFee->setText(code.fixedFee);
            c.txtChargingUnit->setText(code.chargingUnit);
            c.txtVALTORItemID->setText(r.itemId);
            c.txtVALTORitemDesc->setText(r.item);
            if (!m_form.screen.SaveMapping())
                continue;
            ++saved;
            r.nowMapped = code.code;
            showRow(i + 1);
            m_grid->setChecked(i + 1, false);
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
