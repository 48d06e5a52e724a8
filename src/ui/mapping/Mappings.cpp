#include "Mappings.h"

#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>

void Mappings::LoadMappings() {
    Controls& c = m_form.c;
    c.GridMap->resetForLoad();
    m_listedTable = c.lblESOATableName->text();
    try {
        const QString sql = QStringLiteral(" SELECT TOP 1000 [ID]"
                                           "       ,[Code]"
                                           "       ,[Category]"
                                           "       ,[Description]"
                                           "       ,[RevenueID]"
                                           "       ,[SectionID]"
                                           "       ,[ItemID]"
                                           "       ,[ItemDesc]"
                                           "       ,[FixedFee]"
                                           "       ,[ChargingUnit]"
                                           "       ,[InvOrProc]"
                                           "       ,[SortOrder]"
                                           "   FROM ") +
                            sql::buildFileTable(m_listedTable + QStringLiteral("_LINK")) +
                            QStringLiteral(" WITH (NOLOCK) WHERE Code=") +
                            sql::quoted(c.txtESOACode->text()) + QStringLiteral(" ");
        c.GridMap->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

QString Mappings::listedTable() const {
    return m_listedTable.isNull() ? m_form.c.lblESOATableName->text() : m_listedTable;
}

bool Mappings::selectLink(qint64 id) {
    FlexGrid* grid = m_form.c.GridMap;
    for (int r = grid->fixedRows(); r < grid->rows(); ++r)
        if (grid->textMatrix(r, 0) == QString::number(id)) {
            grid->setRow(r);
            grid->setTopRow(r);
            return true;
        }
    return false;
}

void Mappings::GridMap_Click() {
    m_form.steps.ShowStepHint(7);
}

void Mappings::cmdDelete_Click() {
    Controls& c = m_form.c;
    // The list may still show the links of the table chosen before a switch: the delete goes
    // to the table the user sees the link of, never to a row of the newly chosen table.
    const QString table = listedTable();
    // A list that holds no links has no data row to take an ID from: the header row holds the
    // column names, not a link, so the ID is empty and nothing is removed.
    const int row = c.GridMap->row();
    const auto cells = c.GridMap->rowTexts(row, {0});
    const QString id = cells && row >= c.GridMap->fixedRows() ? cells->at(0) : QString();
    try {
        // The delete and its history row go together.
        m_form.history.deleteRow(m_form.db(), table + QStringLiteral("_LINK"), id, [&] {
            m_form.db().execute(QStringLiteral("DELETE FROM ") +
                                sql::buildFileTable(table + QStringLiteral("_LINK")) +
                                QStringLiteral(" WHERE ID=") + sql::quoted(id) +
                                QStringLiteral(" "));
        });
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
    }
    LoadMappings();
}
