#include "StatementLog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr qsizetype bufferBytes = 64 * 1024;
constexpr qint64 writeEveryMs = 1000;

const char header[] = "Time\tDuration (ms)\tRows\tStatement\tError\r\n";

// One field of a line: tabs and line breaks become blanks, so a record stays one line.
QByteArray field(const QString& text) {
    QByteArray bytes = StatementLog::masked(text).toUtf8();
    for (char& c : bytes)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return bytes;
}

} // namespace

QString durationText(qint64 microseconds) {
    return QString::number(double(microseconds) / 1000.0, 'f', 1);
}

QString sentAtText(qint64 sentAt) {
    return QDateTime::fromMSecsSinceEpoch(sentAt).toString(
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

StatementLog::~StatementLog() {
    flush();
}

QString StatementLog::olderFile(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(base + QStringLiteral(".old") +
                               (suffix.isEmpty() ? QString() : u'.' + suffix));
}

bool StatementLog::setFile(const QString& path, qint64 maxBytes) {
    flush();
    m_file.close();
    m_path = path;
    m_maxBytes = maxBytes;
    if (m_path.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!openFile()) {
        m_path.clear();
        return false;
    }
    return true;
}

bool StatementLog::openFile() {
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (m_file.size() == 0)
        m_file.write(header);
    m_file.flush();
    m_sinceWrite.start();
    return true;
}

QString StatementLog::masked(const QString& text) {
    // Statements never hold these; a driver's message might. The check comes first: it is the
    // cost every statement pays.
    if (!text.contains(u"PWD", Qt::CaseInsensitive) &&
        !text.contains(u"PASSWORD", Qt::CaseInsensitive) &&
        !text.contains(u"DRIVER", Qt::CaseInsensitive) &&
        !text.contains(u"DSN", Qt::CaseInsensitive))
        return text;
    static const QRegularExpression connection(
        QStringLiteral(
            R"((?:\b(?:DRIVER|DSN)\s*=\s*(?:\{[^}]*\}|[^;\s]*))(?:\s*;\s*\w+(?:\s+\w+)*\s*=\s*(?:\{[^}]*\}|[^;]*))*;?)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression password(
        QStringLiteral(R"(\b(PWD|PASSWORD)(\s*=\s*)(?:\{(?:[^}]|\}\})*\}|[^;\s]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    out.replace(connection, QStringLiteral("<connection string>"));
    out.replace(password, QStringLiteral("\\1\\2***"));
    return out;
}

QByteArray StatementLog::fileLine(const StatementRecord& r) {
    QByteArray line = sentAtText(r.sentAt).toLatin1();
    line += '\t';
    line += durationText(r.microseconds).toLatin1();
    line += '\t';
    if (r.rows >= 0)
        line += QByteArray::number(r.rows);
    line += '\t';
    line += field(r.statement);
    line += '\t';
    line += field(r.error);
    line += "\r\n";
    return line;
}

void StatementLog::record(StatementRecord r) {
    if (!m_path.isEmpty()) {
        m_buffer += fileLine(r);
        if (!r.error.isEmpty() || m_buffer.size() >= bufferBytes ||
            m_sinceWrite.elapsed() >= writeEveryMs)
            flush();
    }
    if (m_ring.size() < kept) {
        m_ring << std::move(r);
    } else {
        m_ring[m_next] = std::move(r);
        m_next = (m_next + 1) % kept;
    }
}

QList<StatementRecord> StatementLog::newestFirst() const {
    QList<StatementRecord> out;
    out.reserve(m_ring.size());
    // Before the ring is full m_next is 0: the newest is the last.
    const qsizetype n = m_ring.size();
    for (qsizetype i = 0; i < n; ++i)
        out << m_ring[(m_next - 1 - i + 2 * n) % n];
    return out;
}

void StatementLog::clear() {
    m_ring.clear();
    m_next = 0;
}

void StatementLog::flush() {
    if (m_buffer.isEmpty() || m_path.isEmpty())
        return;
    writeOut(m_buffer);
    m_buffer.clear();
    m_sinceWrite.start();
}

void StatementLog::writeOut(const QByteArray& bytes) {
    // The file never grows past its limit: what would pass it starts a new file, and the one
    // before becomes the older file (the older one before that is removed).
    if (m_file.isOpen() && m_file.size() + bytes.size() > m_maxBytes && m_file.size() > 0) {
        m_file.close();
        const QString older = olderFile(m_path);
        QFile::remove(older);
        QFile::rename(m_path, older);
        // Where the rename failed (another program of the same user holds the file on
        // Windows), the file is emptied rather than let grow.
        if (QFile::exists(m_path))
            QFile::remove(m_path);
        openFile();
    }
    if (!m_file.isOpen() && !openFile())
        return;
    m_file.write(bytes);
    m_file.flush();
}
