#include "ReferenceSide.h"

#include "app/SqlText.h"
#include "screen/FlexGrid.h"
#include "screen/FormContext.h"

#include <QLineEdit>

void ReferenceSide::LoadReferenceItems() {
    Controls& c = m_form.c;
    c.Grid1->resetForLoad();
    try {
        QString sql = QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[") +
                      c.lblESOATableName->text() + QStringLiteral("] WITH (NOLOCK) WHERE 1=1 ");
        const QString description = c.txtSOADesc->text();
        if (!description.isEmpty())
            sql += QStringLiteral(" AND Description like ") +
                   sql::quoted(u'%' + description + u'%') + QStringLiteral("  ");
        const QString category = c.txtAreaCat->text();
        if (!category.isEmpty()) {
            if (category == u"-")
                sql += QStringLiteral(" AND Category=''  ");
            else
                sql +=
                    QStringLiteral(" AND Category=") + sql::quoted(category) + QStringLiteral("  ");
        }
        c.Grid1->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

void ReferenceSide::cmdSearchSOAItem_Click() {
    LoadReferenceItems();
}
