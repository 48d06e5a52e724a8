#include "Percent.h"

#include <QtMath>

namespace text {

QString percent(qlonglong part, qlonglong whole) {
    if (whole <= 0)
        return QStringLiteral("-");
    return QString::number(qRound64(100.0 * double(part) / double(whole))) + u'%';
}

} // namespace text
