#pragma once

struct FormContext;

// The mapping operations: the links of the selected PhilHealth item in GridMap.
class Mappings {
public:
    explicit Mappings(FormContext& form)
        : m_form(form) {}

    // Lists the first 1,000 link rows of the code in txtESOACode, from the link table of the
    // current reference table.
    void LoadMappings();
    void GridMap_Click();

private:
    FormContext& m_form;
};
