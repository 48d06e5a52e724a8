#include "ReferenceAdds.h"

#include "core/db/DbError.h"
#include "core/db/Gateway.h"
#include "core/maintenance/ImportFile.h"
#include "core/tsql/SqlText.h"

ReferenceAdds::ReferenceAdds(Gateway& gateway, QString table, QStringList columns, Failed failed)
    : m_gateway(gateway)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_failed(std::move(failed)) {}

ReferenceAdds::~ReferenceAdds() {
    flush();
}

QString ReferenceAdds::statement(const QString& table, const QStringList& columns, int rows) {
    QString names, marks, named;
    for (int i = 0; i < columns.size(); ++i) {
        const QString column = sql::bracketed(columns[i]);
        names += (i ? QStringLiteral(", ") : QString()) + column;
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
        named += (i ? QStringLiteral(", ? AS ") : QStringLiteral("? AS ")) + column;
    }
    const QString target = sql::buildFileName(table);
    QString text = QStringLiteral("INSERT INTO ") + target + QStringLiteral(" (") + names +
                   QStringLiteral(") SELECT ") + names + QStringLiteral(" FROM (SELECT ") + named;
    for (int row = 1; row < rows; ++row)
        text += QStringLiteral(" UNION ALL SELECT ") + marks;
    const QString code = sql::bracketed(columns.value(0));
    return text + QStringLiteral(") AS [adds] WHERE NOT EXISTS (SELECT 1 FROM ") + target +
           QStringLiteral(" AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].") + code +
           QStringLiteral(" = [adds].") + code + u')';
}

bool ReferenceAdds::mayHold(const QString& code) const {
    return !m_codes.isEmpty() && m_codes.contains(importfile::codeKey(code));
}

void ReferenceAdds::add(QList<QVariant> values) {
    m_codes.insert(importfile::codeKey(values.value(0).toString()));
    m_rows << std::move(values);
    if (m_rows.size() >= rowsPerStatement)
        flush();
}

void ReferenceAdds::flush() {
    if (m_rows.isEmpty())
        return;
    int first = 0;
    for (; first + rowsPerStatement <= m_rows.size(); first += rowsPerStatement)
        write(first, rowsPerStatement);
    for (; first < m_rows.size(); ++first)
        write(first, 1);
    m_rows.clear();
    m_codes.clear();
}

void ReferenceAdds::write(int first, int count) {
    QString& text = count == 1 ? m_single : m_whole;
    if (text.isEmpty())
        text = statement(m_table, m_columns, count);
    QList<QVariant> values;
    values.reserve(count * m_columns.size());
    for (int row = first; row < first + count; ++row)
        values << m_rows[row];
    try {
        m_gateway.execute(text, values);
    } catch (const DbError& e) {
        if (count == 1) {
            m_failed(e.description());
            return;
        }
        // The statement changed nothing: each row again on its own, to tell which it refused.
        for (int row = first; row < first + count; ++row)
            write(row, 1);
    }
}
