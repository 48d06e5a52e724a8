#pragma once

#include <QString>

struct FormContext;

// The hospital side of the screen: the revenue lists that route a mapping, the search of
// inventory items or procedures in Grid2, the item mode, and taking over a hospital item.
class HospitalSide {
public:
    explicit HospitalSide(FormContext& form)
        : m_form(form) {}

    // Searches in the current item mode and keeps the user's place in the list.
    void SearchHospitalItems();
    // The first 500 active inventory items by name, filtered by name and generic name.
    void SearchInventory();
    // Its statement, for the name and generic name filters (an empty one filters nothing).
    static QString inventoryStatement(const QString& name, const QString& generic);
    // The active procedures of the exam table the routing names, filtered by name and section.
    void SearchProcedures();
    void cmdPreview_Click();

    void LoadRevenues();
    // The active revenue codes of inventory locations (inventory mode) or of none.
    void LoadRevenueCodes();
    void GridRev_Click();
    void GridRevCode_Click();
    // Routes the procedure search to the exam table of a name field ("LabExam"): the table
    // BUILD_FILE..tbcoLabExam, its ID field LabExamID.
    void SetExamTable(const QString& examField);

    // true: inventory mode; false: procedure mode. Reloads the revenue codes.
    void SetItemMode(bool inventory);
    void optInventory_Click(int index);
    void ResetWorkArea();
    // Takes the hospital item of Grid2's current row into the working fields. Raises GridError
    // when the list lacks the item's columns.
    void Grid2_Click();
    void cmdUse_Click();

private:
    FormContext& m_form;
};
