#include "ResultTables.h"

#include <QMetaType>

int ValueTable::column(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

namespace sql {

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
