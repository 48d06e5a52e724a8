#pragma once

#include <QString>

struct FormContext;

// "a. Create Tables": creates the current reference table and its link table, and the history of
// the links and the FDA's register of drug products when they are missing (never emptied).
class Tables {
public:
    explicit Tables(FormContext& form)
        : m_form(form) {}

    // Runs the creation for the chosen table, then says "Done." — or, when the reference table
    // or its link table is missing afterwards, the database's text of the statement that
    // failed to create it, so that a failure never reads as success.
    void cmdCreateTable_Click();

    // Runs the twelve statements in order, each failing one skipped. Returns the error text
    // that keeps a table from existing afterwards, or an empty text.
    QString CreateReferenceTables();

private:
    FormContext& m_form;
};
