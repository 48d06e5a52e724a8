#pragma once

struct FormContext;
class HospitalSide;
class Mappings;

// The PhilHealth side of the screen: the choice of reference table and category (with the
// revenue routing a category implies), the reference items in Grid1, and taking one of them.
class ReferenceSide {
public:
    ReferenceSide(FormContext& form, HospitalSide& hospital, Mappings& mappings)
        : m_form(form)
        , m_hospital(hospital)
        , m_mappings(mappings) {}

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

private:
    void applyRouting();

    FormContext& m_form;
    HospitalSide& m_hospital;
    Mappings& m_mappings;
};
