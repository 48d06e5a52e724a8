#include "StatementLog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <charconv>

namespace {

constexpr qsizetype pendingRecords = 4096;
constexpr qint64 writeEveryMs = 1000;

const char header[] = "Time\tDuration (ms)\tRows\tStatement\tError\r\n";

// One field of a line, in UTF-8: tabs and line breaks become blanks, so a record stays one line.
void appendField(QByteArray& out, const QString& text) {
    // Most statements are plain ASCII: their characters go in one by one, with no conversion.
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            out.truncate(start);
            QByteArray bytes = text.toUtf8();
            for (char& c : bytes)
                if (c == '\t' || c == '\r' || c == '\n')
                    c = ' ';
            out += bytes;
            return;
        }
        *to++ = (u == u'\t' || u == u'\r' || u == u'\n') ? ' ' : char(u);
    }
}

// Whether the text holds "pwd", "pas", "dri" or "dsn" in any case: one pass, where most
// statements end.
bool mayHoldSecret(QStringView text) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i + 2 < n; ++i) {
        const char16_t a = p[i] | 0x20;
        if (a != u'p' && a != u'd')
            continue;
        const char16_t b = p[i + 1] | 0x20, c = p[i + 2] | 0x20;
        if ((a == u'p' && ((b == u'w' && c == u'd') || (b == u'a' && c == u's'))) ||
            (a == u'd' && ((b == u'r' && c == u'i') || (b == u's' && c == u'n'))))
            return true;
    }
    return false;
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
    stopWriter();
}

QString StatementLog::olderFile(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(base + QStringLiteral(".old") +
                               (suffix.isEmpty() ? QString() : u'.' + suffix));
}

bool StatementLog::setFile(const QString& path, qint64 maxBytes) {
    stopWriter();
    m_path = path;
    m_maxBytes = maxBytes;
    if (m_path.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!openFile()) {
        m_path.clear();
        return false;
    }
    m_stop = false;
    m_writer = std::thread([this] { writeLoop(); });
    return true;
}

void StatementLog::stopWriter() {
    if (!m_writer.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_writer.join();
    m_file.close();
}

bool StatementLog::openFile() {
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (m_file.size() == 0)
        m_file.write(header);
    m_file.flush();
    return true;
}

QString StatementLog::masked(const QString& text) {
    // Statements never hold these; a driver's message might. The check comes first: it is the
    // cost every statement pays.
    if (!mayHoldSecret(text))
        return text;
    // An ODBC value is either in braces, a "}" inside doubled, or runs to the next ";", blanks
    // and all.
    static const QString value = QStringLiteral(R"((?:\{(?:[^}]|\}\})*\}|[^;]*))");
    static const QRegularExpression connection(
        QStringLiteral(R"(\b(?:DRIVER|DSN)\s*=\s*)") + value +
            QStringLiteral(R"((?:\s*;\s*\w+(?:\s+\w+)*\s*=\s*)") + value + QStringLiteral(")*;?"),
        QRegularExpression::CaseInsensitiveOption);
    // A password alone: its value to the next ";" or the end of the line (a quoted one to its
    // closing quote), so that no part of it stays.
    static const QRegularExpression password(
        QStringLiteral(
            R"(\b(PWD|PASSWORD)(\s*[=:]\s*)(?:\{(?:[^}]|\}\})*\}|N?'(?:[^']|'')*'?|[^;\r\n]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    out.replace(connection, QStringLiteral("<connection string>"));
    out.replace(password, QStringLiteral("\\1\\2***"));
    return out;
}

StatementRecord StatementLog::maskedRecord(StatementRecord r) {
    r.statement = masked(r.statement);
    r.error = masked(r.error);
    return r;
}

QByteArray StatementLog::fileLine(const StatementRecord& r) {
    QByteArray line;
    appendLine(line, maskedRecord(r), sentAtText(r.sentAt).toLatin1());
    return line;
}

void StatementLog::appendLine(QByteArray& out, const StatementRecord& r, QByteArrayView time) {
    // Written straight into the buffer: a line costs the work next to nothing.
    char number[24];
    out += time;
    out += '\t';
    const qint64 tenths = (r.microseconds + 50) / 100;
    out.append(number, std::to_chars(number, number + sizeof number, tenths / 10).ptr - number);
    out += '.';
    out += char('0' + tenths % 10);
    out += '\t';
    if (r.rows >= 0)
        out.append(number, std::to_chars(number, number + sizeof number, r.rows).ptr - number);
    out += '\t';
    appendField(out, r.statement);
    out += '\t';
    appendField(out, r.error);
    out += "\r\n";
}

void StatementLog::appendTime(QByteArray& out, qint64 sentAt) {
    // The local time is worked out once a second: it is the dearest part of a line.
    const qint64 second = sentAt / 1000;
    if (second != m_second || m_secondText.isEmpty()) {
        m_second = second;
        m_secondText = QDateTime::fromMSecsSinceEpoch(second * 1000)
                           .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                           .toLatin1();
    }
    const int ms = int(sentAt - second * 1000);
    out += m_secondText;
    const char tail[4] = {'.', char('0' + ms / 100), char('0' + ms / 10 % 10), char('0' + ms % 10)};
    out.append(tail, 4);
}

void StatementLog::record(StatementRecord r) {
    // Masked here, so that nothing kept holds a password: a quick scan, and the regular
    // expressions only for a text that may hold one. They stay on this thread: Qt keeps a
    // per-thread stack for them, which the MinGW runtime fails to free when the writer ends.
    r = maskedRecord(std::move(r));
    // The sending thread then only queues the record: formatting and writing are the writer's,
    // on its own thread, so the log costs a statement next to nothing.
    if (m_writer.joinable()) {
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_pending << r;
            ++m_queued;
            wake = !r.error.isEmpty() || m_pending.size() >= pendingRecords;
            m_urgent = m_urgent || wake;
        }
        if (wake)
            m_wake.notify_one();
        // A failed statement is in the file when the failure is reported.
        if (!r.error.isEmpty())
            flush();
    }
    if (m_ring.size() < kept) {
        m_ring << std::move(r);
    } else {
        m_ring[m_next] = std::move(r);
        m_next = (m_next + 1) % kept;
    }
}

void StatementLog::writeLoop() {
    QByteArray lines;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait_for(lock, std::chrono::milliseconds(writeEveryMs),
                        [this] { return m_stop || m_urgent; });
        QList<StatementRecord> records;
        records.swap(m_pending);
        const quint64 upTo = m_queued;
        const bool stop = m_stop;
        m_urgent = false;
        lock.unlock();
        for (const StatementRecord& r : std::as_const(records)) {
            appendTime(lines, r.sentAt);
            appendLine(lines, r, {});
        }
        if (!lines.isEmpty())
            writeOut(lines);
        lines.clear();
        records.clear();
        lock.lock();
        m_written = upTo;
        m_done.notify_all();
        if (stop && m_pending.isEmpty())
            return;
    }
}

QList<StatementRecord> StatementLog::newestFirst() const {
    QList<StatementRecord> out;
    out.reserve(m_ring.size());
    // Before the ring is full m_next is 0: the newest is the last.
    const qsizetype n = m_ring.size();
    for (qsizetype i = 0; i < n; ++i) {
        out << m_ring[(m_next - 1 - i + 2 * n) % n];
    }
    return out;
}

void StatementLog::clear() {
    m_ring.clear();
    m_next = 0;
}

void StatementLog::flush() {
    if (!m_writer.joinable())
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    const quint64 upTo = m_queued;
    if (m_written >= upTo)
        return;
    m_urgent = true;
    m_wake.notify_one();
    m_done.wait(lock, [&] { return m_written >= upTo; });
}

void StatementLog::writeOut(const QByteArray& bytes) {
    if (!m_file.isOpen() && !openFile())
        return;
    // The file never grows past its limit: a line that would pass it starts a new file, and the
    // one before becomes the older file. A file that holds only its header takes the line all
    // the same (a line longer than the limit has nowhere else to go).
    const qint64 headerBytes = qint64(sizeof(header) - 1);
    qsizetype start = 0, from = 0;
    qint64 size = m_file.size();
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        end = end < 0 ? bytes.size() : end + 1;
        const qint64 line = end - from;
        if (size + line > m_maxBytes && size > headerBytes) {
            m_file.write(bytes.constData() + start, from - start);
            roll();
            if (!m_file.isOpen())
                return;
            start = from;
            size = m_file.size();
        }
        size += line;
        from = end;
    }
    m_file.write(bytes.constData() + start, bytes.size() - start);
    m_file.flush();
}

void StatementLog::roll() {
    m_file.close();
    const QString older = olderFile(m_path);
    QFile::remove(older);
    if (!QFile::rename(m_path, older)) {
        // Where the older file or this one is held open (another copy of the program on
        // Windows), this one starts again empty rather than grow past its limit.
        QFile emptied(m_path);
        if (emptied.open(QIODevice::WriteOnly | QIODevice::Truncate))
            emptied.close();
    }
    openFile();
}
