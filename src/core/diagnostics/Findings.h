#pragma once

#include "core/db/ResultTables.h"

#include <QList>
#include <QString>

// The database check's findings: one row each, what was checked, how it came out and why, as
// hospital IT reads them in the window "Database check" and sends them on.
namespace diagnostics {

enum class Result { Ok, Warning, Failed };

// "ok", "warning" or "failed".
QString resultText(Result result);

struct Finding {
    QString check;
    Result result = Result::Ok;
    QString detail;

    bool operator==(const Finding&) const = default;
};

using Findings = QList<Finding>;

// The findings as the window lists them: the columns "Check", "Result" and "Detail".
TextTable findingsTable(const Findings& findings);

} // namespace diagnostics
