#include "SqlText.h"

#include <QMetaType>

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

QString displayText(const QVariant& value) {
    if (value.isNull())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        double d = value.toDouble();
        QString s = QString::number(d, 'f', 6);
        while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
            s.chop(1);
        return s == u"-0" ? QStringLiteral("0") : s;
    }
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

} // namespace sql
