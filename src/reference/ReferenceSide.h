#pragma once

struct FormContext;

// The PhilHealth side of the screen: the reference items of the current table in Grid1.
class ReferenceSide {
public:
    explicit ReferenceSide(FormContext& form)
        : m_form(form) {}

    // Lists the items of the current reference table, filtered by the description box and the
    // category box ("-" lists the items whose category is empty).
    void LoadReferenceItems();
    void cmdSearchSOAItem_Click();

private:
    FormContext& m_form;
};
