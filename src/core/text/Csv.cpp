#include "Csv.h"

#include <QSaveFile>

namespace csv {

QString field(const QString& text) {
    bool quote = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (QChar c : text)
        if (c == u',' || c == u'"' || c == u'\n' || c == u'\r') {
            quote = true;
            break;
        }
    if (!quote)
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString record(const QStringList& fields) {
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += u',';
        out += field(fields[i]);
    }
    return out + QStringLiteral("\r\n");
}

QByteArray document(const QStringList& header, const QList<QStringList>& rows) {
    QString text = record(header);
    for (const QStringList& row : rows)
        text += record(row);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString writeFile(const QString& path, const QStringList& header, const QList<QStringList>& rows) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = document(header, rows);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace csv
