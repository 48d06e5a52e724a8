#include "ProposalGrid.h"

#include "ui/widgets/FlexGrid.h"

#include <QComboBox>
#include <QStyledItemDelegate>

namespace {

// The drop-down of a row's "Code" cell: the row's best codes, each with its description and
// score.
class CodeChoice : public QStyledItemDelegate {
public:
    explicit CodeChoice(ProposalGrid& owner, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_owner(owner) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* box = new QComboBox(parent);
        box->setObjectName(m_owner.choiceName());
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
    ProposalGrid& m_owner;
};

} // namespace

ProposalGrid::ProposalGrid(QWidget* parent, const QString& gridName, const QString& choiceName,
                           QList<Column> before, QList<Column> after)
    : QObject(parent)
    , m_grid(new FlexGrid(parent))
    , m_choiceName(choiceName)
    , m_before(std::move(before))
    , m_after(std::move(after)) {
    m_grid->setObjectName(gridName);
    int col = 0;
    for (const Column& column :
         QList<Column>{{"Save", 600}} + m_before +
             QList<Column>{{"Code", 1300}, {"Description", 4400}, {"Score", 700}} + m_after +
             QList<Column>{{"Why", 4800}})
        m_grid->setColWidth(col++, column.width);
    m_grid->setCheckColumn(0);
    m_grid->setEditColumn(codeColumn());
    m_grid->setItemDelegateForColumn(codeColumn(), new CodeChoice(*this, m_grid));
}

int ProposalGrid::width() const {
    int width = 600 + 1300 + 4400 + 700 + 4800;
    for (const QList<Column>* side : {&m_before, &m_after})
        for (const Column& column : *side)
            width += column.width;
    return width;
}

void ProposalGrid::setRows(QList<Row> rows) {
    m_rows = std::move(rows);
    TextTable shown;
    shown.columns << QStringLiteral("Save");
    for (const Column& column : m_before)
        shown.columns << QLatin1String(column.name);
    shown.columns << QStringLiteral("Code") << QStringLiteral("Description")
                  << QStringLiteral("Score");
    for (const Column& column : m_after)
        shown.columns << QLatin1String(column.name);
    shown.columns << QStringLiteral("Why");
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        shown.rows << QStringList(shown.columns.size());
    m_grid->bind(shown);
    for (int i = 1; i <= count(); ++i)
        showRow(i);
}

QList<suggest::CodeProposal> ProposalGrid::choices(int row) const {
    return row >= 1 && row <= count() ? m_rows[row - 1].choices : QList<suggest::CodeProposal>();
}

void ProposalGrid::showRow(int row) {
    const Row& r = m_rows[row - 1];
    int col = 1;
    for (int i = 0; i < m_before.size(); ++i)
        m_grid->setTextMatrix(row, col++, r.before.value(i));
    const bool proposed = r.proposed();
    const suggest::CodeProposal chosen = proposed ? r.choices[r.chosen] : suggest::CodeProposal();
    m_grid->setTextMatrix(row, col++, proposed ? chosen.item.code : QString());
    m_grid->setTextMatrix(row, col++, proposed ? chosen.item.description : QString());
    m_grid->setTextMatrix(row, col++, proposed ? QString::number(chosen.score) : QString());
    for (int i = 0; i < m_after.size(); ++i)
        m_grid->setTextMatrix(row, col++, r.after.value(i));
    m_grid->setTextMatrix(row, col, proposed ? chosen.why : QString());
}

void ProposalGrid::tickFrom(int least) {
    for (int i = 0; i < count(); ++i) {
        const Row& r = m_rows[i];
        m_grid->setChecked(i + 1, r.mayTick && r.proposed() && r.choices[r.chosen].score >= least);
    }
}

void ProposalGrid::choose(int row, int choice) {
    if (row < 1 || row > count() || choice < 0 || choice >= m_rows[row - 1].choices.size())
        return;
    m_rows[row - 1].chosen = choice;
    showRow(row);
    // A code the clerk chose is meant to be saved.
    m_grid->setChecked(row, m_rows[row - 1].mayTick);
}

QList<int> ProposalGrid::ticked() const {
    QList<int> rows;
    for (int i = 1; i <= count(); ++i)
        if (m_grid->isChecked(i) && m_rows[i - 1].proposed())
            rows << i;
    return rows;
}
