#include "HospitalSide.h"

#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QRadioButton>

void HospitalSide::SearchHospitalItems() {
    Controls& c = m_form.c;
    FlexGrid* grid = c.Grid2;
    const int row = grid->row();
    const int top = grid->topRow();
    grid->resetForLoad();
    const QString type = c.txtType->text();
    if (type == u"INV") {
        SearchInventory();
        c.lblTable->setText(QStringLiteral("Inventory..InvMaster"));
    } else if (type == u"PROC") {
        SearchProcedures();
    }
    // Keep the user's place as far as the new result reaches; each step may fail on its own.
    try {
        grid->setRow(row);
    } catch (const GridError&) {
    }
    try {
        grid->setColSel(grid->cols() - 1);
    } catch (const GridError&) {
    }
    try {
        grid->setTopRow(top);
    } catch (const GridError&) {
    }
}

QString HospitalSide::inventoryStatement(const QString& name, const QString& generic) {
    QString sql = QStringLiteral(" SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc "
                                 "AS Description,B.GenericName,   "
                                 "CONVERT(DECIMAL(15,2),ListCost) AS ListCost   ");
    sql += QStringLiteral("  FROM Inventory..tbInvMaster A  WITH (NOLOCK)   ");
    sql += QStringLiteral(" LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID ");
    sql += QStringLiteral(" WHERE  a.itemstatus = 0 ");
    if (!name.isEmpty())
        sql += QStringLiteral(" AND ItemName like ") + sql::quoted(u'%' + name + u'%') +
               QStringLiteral("  ");
    if (!generic.isEmpty())
        sql += QStringLiteral(" AND GenericName like ") + sql::quoted(u'%' + generic + u'%') +
               QStringLiteral("  ");
    sql += QStringLiteral(" order by a.ItemName");
    return sql;
}

void HospitalSide::SearchInventory() {
    Controls& c = m_form.c;
    try {
        const QString sql = inventoryStatement(c.txtDesc->text(), c.txtGeneric->text());
        c.Grid2->bind(m_form.db().query(sql, Rowset::DynamicOptimistic));
    } catch (const DbError& e) {
        m_form.prompter.message(QStringLiteral("LoadInventory ") + e.description());
    }
}

void HospitalSide::SearchProcedures() {
    Controls& c = m_form.c;
    const QString nameColumn = c.lblExamFieldName->text();
    if (nameColumn.isEmpty()) {
        m_form.prompter.message(QStringLiteral("Search & Select VALTOR Item."));
        return;
    }
    QString sql = QStringLiteral("SELECT ") + c.lblIDFieldName->text() + u',' + nameColumn +
                  QStringLiteral(" FROM  ") + c.lblTable->text() +
                  QStringLiteral(" WITH (NOLOCK) WHERE Status='A' ");
    if (!c.txtDesc->text().isEmpty())
        sql += QStringLiteral(" AND ") + nameColumn + QStringLiteral("  like ") +
               sql::quoted(u'%' + c.txtDesc->text() + u'%') + QStringLiteral("  ");
    if (!c.txtSectionID->text().isEmpty())
        sql += QStringLiteral(" AND OtherSectionID  = ") + sql::quoted(c.txtSectionID->text()) +
               QStringLiteral("  ");
    try {
        c.Grid2->bind(m_form.db().query(sql, Rowset::DynamicOptimistic));
    } catch (const DbError& e) {
        m_form.prompter.message(e.description() + u' ' + sql);
    }
}

void HospitalSide::cmdPreview_Click() {
    SearchHospitalItems();
    m_form.steps.ShowStepHint(4);
}

void HospitalSide::LoadRevenues() {
    m_form.c.GridRev->resetForLoad();
    try {
        const QString sql =
            QStringLiteral("SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],"
                           "[SectionIDFieldName],LocationID  FROM ") +
            sql::buildFileTable(QStringLiteral("tbRevenues")) +
            QStringLiteral(" WITH (NOLOCK) WHERE 1=1 ");
        m_form.c.GridRev->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

void HospitalSide::LoadRevenueCodes() {
    Controls& c = m_form.c;
    c.GridRevCode->resetForLoad();
    try {
        QString sql =
            QStringLiteral("select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH "
                           "(NOLOCK)  where Recordstatus='A' ");
        if (c.txtType->text() == u"INV")
            sql += QStringLiteral(" AND (LocationID IS NOT NULL AND LocationID <> '')");
        else
            sql += QStringLiteral(" AND (LocationID IS NULL OR LocationID = '')");
        sql += QStringLiteral("ORDER BY itemname");
        c.GridRevCode->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

void HospitalSide::GridRev_Click() {
    Controls& c = m_form.c;
    const auto cells = c.GridRev->rowTexts(c.GridRev->row(), {0, 1, 2, 3});
    if (!cells)
        return; // a list without the columns it should have: nothing to take
    const QString &revenue = cells->at(0), &table = cells->at(1), &idField = cells->at(2),
                  &nameField = cells->at(3);
    c.txtRevID->setText(revenue);
    c.lblTable->setText(QStringLiteral("BUILD_FILE..") + table);
    c.lblIDFieldName->setText(idField);
    c.lblExamFieldName->setText(nameField);
    c.txtSectionID->setText(QString());
    SearchHospitalItems();
    m_form.steps.ShowStepHint(3);
}

void HospitalSide::GridRevCode_Click() {
    Controls& c = m_form.c;
    const auto cells = c.GridRevCode->rowTexts(c.GridRevCode->row(), {0});
    if (!cells)
        return;
    const QString& revenue = cells->at(0);
    c.txtRevID->setText(QString());
    c.txtRevID->setText(revenue);
    if (c.txtType->text() != u"INV") {
        c.txtSectionID->setText(revenue);
        SetExamTable(QStringLiteral("OtherRevenue"));
    }
    SearchHospitalItems();
    m_form.steps.ShowStepHint(3);
}

void HospitalSide::SetItemMode(bool inventory) {
    Controls& c = m_form.c;
    // The generic name filters inventory items; the section filters procedures.
    c.txtType->setText(inventory ? QStringLiteral("INV") : QStringLiteral("PROC"));
    c.lblG->setVisible(inventory);
    c.txtGeneric->setVisible(inventory);
    c.txtSectionID->setVisible(!inventory);
    c.lblS->setVisible(!inventory);
    c.optInventory[inventory ? 0 : 1]->setChecked(true);
    if (inventory)
        c.txtRevID->setText(QStringLiteral("PH"));
    LoadRevenueCodes();
}

void HospitalSide::optInventory_Click(int index) {
    if (index == 0) {
        m_form.c.txtType->setText(QStringLiteral("INV"));
        SetItemMode(true);
    } else if (index == 1) {
        m_form.c.txtType->setText(QStringLiteral("PROC"));
        SetItemMode(false);
    }
}

void HospitalSide::ResetWorkArea() {
    Controls& c = m_form.c;
    c.Grid1->clear();
    c.Grid1->setRows(1);
    c.Grid2->clear();
    c.Grid2->setRows(1);
    c.txtType->setText(QString());
    c.txtRevID->setText(QString());
    c.lblTableName->setText(QString());
    for (QLineEdit* box : {c.txtESOACode, c.txtESOADesc, c.txtVALTORItemID, c.txtVALTORitemDesc,
                           c.txtAreaCat, c.txtSectionID, c.txtGeneric, c.txtDesc})
        box->setText(QString());
    c.txtType->setText(QStringLiteral("INV"));
}

void HospitalSide::Grid2_Click() {
    Controls& c = m_form.c;
    const int r = c.Grid2->row();
    if (r == 0)
        return;
    // A list without the two columns of an item raises GridError before anything is taken.
    const QString id = c.Grid2->textMatrix(r, 0);
    if (id == u"OtherRevenueID")
        return;
    const QString description = c.Grid2->textMatrix(r, 1);
    c.txtVALTORItemID->setText(id);
    c.txtVALTORitemDesc->setText(description);
    m_form.steps.ShowStepHint(5);
}

void HospitalSide::SetExamTable(const QString& examField) {
    Controls& c = m_form.c;
    c.lblExamFieldName->setText(examField);
    c.lblTable->setText(QStringLiteral("BUILD_FILE..tbco") + c.lblExamFieldName->text());
    c.lblIDFieldName->setText(c.lblExamFieldName->text() + QStringLiteral("ID"));
}

void HospitalSide::cmdUse_Click() {
    m_form.c.txtDesc->setText(m_form.c.txtESOADesc->text());
}
