#include "SqlText.h"

namespace sql {

QString quoted(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += u'\'';
    for (QChar c : value) {
        out += c;
        if (c == u'\'')
            out += u'\'';
    }
    out += u'\'';
    return out;
}

QString bracketed(const QString& name) {
    return u'[' + QString(name).replace(QStringLiteral("]"), QStringLiteral("]]")) + u']';
}

bool isDatabase(QStringView name) {
    for (const char* database : databases)
        if (name.compare(QLatin1String(database), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString buildFileTable(const QString& table) {
    return QStringLiteral("[Build_FIle].[dbo].[") + table + u']';
}

QString buildFileName(const QString& table) {
    return QStringLiteral("[Build_FIle].[dbo].") + table;
}

QString indexedTable(const QString& table) {
    return QStringLiteral("[Build_File].[dbo].[") + table + u']';
}

QList<int> statementRows(int count, int perStatement) {
    QList<int> rows;
    const int full = count / perStatement;
    rows.reserve(full + count % perStatement);
    for (int i = 0; i < full; ++i)
        rows << perStatement;
    for (int i = full * perStatement; i < count; ++i)
        rows << 1;
    return rows;
}

} // namespace sql
