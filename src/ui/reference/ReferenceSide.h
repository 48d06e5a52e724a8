#pragma once

#include <QString>

struct FormContext;

// The PhilHealth side of the screen: the choice of reference table and category (with the
// revenue routing a category implies), the reference items in Grid1, and taking one of them.
class ReferenceSide {
public:
    explicit ReferenceSide(FormContext& form)
        : m_form(form) {}

    // Switches to ESOA_ITEM (0) or ESOA_ER (1) and applies the table's first category.
    void optTable_Click(int index);
    // The distinct categories of the current reference table.
    void LoadCategories();
    void GridCat_Click();
    // Applies the category of GridCat's current row: item mode, routing, items, hospital search.
    void SelectCategory();

    // Lists the items of the current reference table, filtered by the description box and the
    // category box ("-" lists the items whose category is empty).
    void LoadReferenceItems();
    void cmdSearchSOAItem_Click();
    // Takes the clicked reference item: its fields, its links, and a search of the hospital side.
    void Grid1_Click();

    // Takes the reference item of a code as a click on it would, its category chosen first and
    // the description box emptied so that the list holds it. False when the current reference
    // table does not list the code.
    bool showItem(const QString& code);

private:
    void applyRouting();

    FormContext& m_form;
};
