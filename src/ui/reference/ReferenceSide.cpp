#include "ReferenceSide.h"

#include "core/maintenance/ImportFile.h"
#include "core/text/NextField.h"
#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"

#include <QCheckBox>
#include <QLineEdit>

#include <span>

namespace {

// Where a category routes the hospital side. An empty exam field keeps the three routing
// labels as they are.
struct Route {
    const char* category;
    bool inventory;
    const char* revenueId;
    const char* sectionId;
    const char* examField;
};

const Route itemRoutes[] = {
    {"Medicine", true, "PH", "", ""},
    {"LaboratoryAndDiagnostic", false, "LB", "", "LabExam"},
    {"MedicalSupplies", true, "PH", "", ""},
    {"OperatingRoomFees", false, "", "OR", "OtherRevenue"},
    {"RoomAndBoard", false, "", "RA", "OtherRevenue"},
};
const Route itemDefault = {"", false, "", "", ""};

const Route erRoutes[] = {
    {"Therapeutics", true, "PH", "", ""},
    {"Imaging", false, "XR", "", "XRayExam"},
    {"Laboratory", false, "LB", "", "LabExam"},
    {"ED Service", false, "", "ER", "OtherRevenue"},
    {"ED Consultation", false, "", "ER", "OtherRevenue"},
};
const Route erDefault = {"", false, "", "", "OtherRevenue"};

} // namespace

void ReferenceSide::optTable_Click(int index) {
    Controls& c = m_form.c;
    if (index == 0)
        c.lblESOATableName->setText(QStringLiteral("ESOA_ITEM"));
    else if (index == 1)
        c.lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c.txtAreaCat->setText(QString());
    LoadCategories();
    m_form.screen.SetItemMode(false);
    LoadReferenceItems();
    // From here on failures are passed over: the switch is done, the first category is a help.
    try {
        c.GridCat->setRow(1);
    } catch (const std::exception&) {
    }
    try {
        SelectCategory();
    } catch (const std::exception&) {
    }
}

void ReferenceSide::LoadCategories() {
    Controls& c = m_form.c;
    c.GridCat->resetForLoad();
    try {
        const QString sql = QStringLiteral("SELECT DISTINCT(Category) FROM ") +
                            sql::buildFileTable(c.lblESOATableName->text()) +
                            QStringLiteral(" WITH (NOLOCK) WHERE 1=1 ");
        c.GridCat->bind(m_form.db().query(sql, Rowset::ForwardReadOnly));
    } catch (const DbError& e) {
        m_form.reportLoadFailure(e.description());
    }
}

void ReferenceSide::GridCat_Click() {
    try {
        SelectCategory();
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    } catch (const std::exception& e) {
        m_form.prompter.message(QString::fromLocal8Bit(e.what()));
        return;
    }
    m_form.steps.ShowStepHint(1);
}

void ReferenceSide::SelectCategory() {
    Controls& c = m_form.c;
    m_form.screen.ResetWorkArea();
    c.txtAreaCat->setText(c.GridCat->textMatrix(c.GridCat->row(), 0));
    m_form.screen.SetItemMode(false);
    applyRouting();
    LoadReferenceItems();
    m_form.screen.SearchHospitalItems();
}

void ReferenceSide::applyRouting() {
    Controls& c = m_form.c;
    const bool itemTable = c.lblESOATableName->text() == u"ESOA_ITEM";
    const QString category = c.txtAreaCat->text();
    // The ER table's routes serve any table other than ESOA_ITEM; the first match wins.
    const std::span<const Route> routes =
        itemTable ? std::span<const Route>(itemRoutes) : std::span<const Route>(erRoutes);
    const Route* route = itemTable ? &itemDefault : &erDefault;
    for (const Route& r : routes)
        if (category == QLatin1String(r.category)) {
            route = &r;
            break;
        }
    if (route->inventory)
        m_form.screen.SetItemMode(true);
    if (*route->revenueId)
        c.txtRevID->setText(QLatin1String(route->revenueId));
    if (*route->sectionId)
        c.txtSectionID->setText(QLatin1String(route->sectionId));
    if (*route->examField)
        m_form.screen.SetExamTable(QLatin1String(route->examField));
}

void ReferenceSide::LoadReferenceItems() {
    Controls& c = m_form.c;
    c.Grid1->resetForLoad();
    try {
        QString sql = QStringLiteral("SELECT * FROM ") +
                      sql::buildFileTable(c.lblESOATableName->text()) +
                      QStringLiteral(" WITH (NOLOCK) WHERE 1=1 ");
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

void ReferenceSide::Grid1_Click() {
    Controls& c = m_form.c;
    FlexGrid* grid = c.Grid1;
    const auto cells = grid->rowTexts(grid->row(), {1, 3, 4, 5});
    if (!cells)
        return; // no list of reference items yet: nothing to take
    const QString &code = cells->at(0), &description = cells->at(1), &fee = cells->at(2),
                  &unit = cells->at(3);
    grid->setToolTipText(description);
    c.txtESOACode->setText(code);
    c.txtESOADesc->setText(description);
    c.txtFixedFee->setText(fee);
    c.txtChargingUnit->setText(unit);
    c.txtVALTORItemID->setText(QString());
    c.txtVALTORitemDesc->setText(QString());
    const bool autoSearch = c.chkAutoSearch->checkState() == Qt::Checked;
    if (autoSearch && c.txtType->text() == u"INV") {
        QString words = description;
        c.txtGeneric->setText(modBrevant::NextField(words, QStringLiteral(" ")));
    }
    m_form.screen.LoadMappings();
    if (c.txtType->text() != u"INV" && autoSearch)
        m_form.screen.cmdUse_Click();
    m_form.screen.SearchHospitalItems();
    m_form.steps.ShowStepHint(2);
}

namespace {

// Whether two codes are the same as SQL Server compares them: case and trailing blanks aside.
bool sameCode(const QString& a, const QString& b) {
    return importfile::codeKey(a) == importfile::codeKey(b);
}

// The first data row of a grid whose cell in `col` passes `match`; -1 when none does.
template <typename Match> int rowWhere(const FlexGrid* grid, int col, Match match) {
    for (int r = grid->fixedRows(); r < grid->rows(); ++r)
        if (match(grid->textMatrix(r, col)))
            return r;
    return -1;
}

} // namespace

bool ReferenceSide::showItem(const QString& code) {
    Controls& c = m_form.c;
    QString category;
    bool listed = false;
    try {
        Lookup found = m_form.db().lookup(QStringLiteral("SELECT TOP 1 Category FROM ") +
                                          sql::buildFileTable(c.lblESOATableName->text()) +
                                          QStringLiteral(" WITH (NOLOCK) WHERE Code=") +
                                          sql::quoted(code) + QStringLiteral(" "));
        listed = !found.atEnd();
        if (listed)
            category = found.field(QStringLiteral("Category")).toString();
        found.close();
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return false;
    }
    if (!listed)
        return false;
    c.txtSOADesc->setText(QString());
    const int categoryRow = rowWhere(c.GridCat, 0, [&](const QString& text) {
        return sameCode(text, category) || (category.trimmed().isEmpty() && text == u"-");
    });
    if (categoryRow >= 0) {
        c.GridCat->setRow(categoryRow);
        GridCat_Click();
    } else {
        LoadReferenceItems();
    }
    const int itemRow =
        rowWhere(c.Grid1, 1, [&](const QString& text) { return sameCode(text, code); });
    if (itemRow < 0)
        return false;
    c.Grid1->setRow(itemRow);
    c.Grid1->setTopRow(itemRow);
    Grid1_Click();
    return true;
}
