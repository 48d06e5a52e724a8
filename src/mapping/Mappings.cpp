#include "Mappings.h"

#include "app/SqlText.h"
#include "screen/FlexGrid.h"
#include "screen/FormContext.h"

#include <QLineEdit>

void Mappings::LoadMappings() {
    Controls& c = m_form.c;
    c.GridMap->resetForLoad();
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
                                           "   FROM [Build_FIle].[dbo].[") +
                            c.lblESOATableName->text() +
                            QStringLiteral("_LINK] WITH (NOLOCK) WHERE Code=") +
                            sql::quoted(c.txtESOACode->text()) + QStringLiteral(" ");
        c.GridMap->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

void Mappings::GridMap_Click() {
    m_form.steps.ShowStepHint(7);
}
