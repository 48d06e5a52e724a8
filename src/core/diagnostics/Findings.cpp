#include "Findings.h"

namespace diagnostics {

QString resultText(Result result) {
    switch (result) {
    case Result::Ok:
        return QStringLiteral("ok");
    case Result::Warning:
        return QStringLiteral("warning");
    case Result::Failed:
        break;
    }
    return QStringLiteral("failed");
}

TextTable findingsTable(const Findings& findings) {
    TextTable table{{QStringLiteral("Check"), QStringLiteral("Result"), QStringLiteral("Detail")},
                    {}};
    table.rows.reserve(findings.size());
    for (const Finding& f : findings)
        table.rows << QStringList{f.check, resultText(f.result), f.detail};
    return table;
}

} // namespace diagnostics
