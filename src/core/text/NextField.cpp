#include "NextField.h"

namespace modBrevant {

QString NextField(QString& text, const QString& delimiter) {
    const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter, 0, Qt::CaseSensitive);
    if (at < 0) {
        QString whole;
        whole.swap(text);
        return whole;
    }
    QString field = text.left(at);
    text.remove(0, at + delimiter.size());
    return field;
}

} // namespace modBrevant
