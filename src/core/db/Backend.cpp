#include "Backend.h"

#include "core/db/DbError.h"
#include "core/platform/Platform.h"
#include "core/tsql/SqliteDialect.h"

#include <QAtomicInteger>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>

#include <cmath>

Backend::Backend(QSqlDatabase db, Dialect dialect, QString description)
    : m_db(std::move(db))
    , m_dialect(dialect)
    , m_description(std::move(description)) {
    if (m_dialect == Dialect::Sqlite)
        m_session = tsql::Session{platform::userName(), QSysInfo::machineHostName()};
}

Backend::~Backend() {
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QString Backend::native(const QString& tsql) const {
    return m_dialect == Dialect::Sqlite ? tsql::toSqlite(tsql, m_session) : tsql;
}

QString Backend::declaredType(const QString& database, const QString& table,
                              const QString& column) {
    // A row's columns are set one after another: the table's types are found once for them.
    if (m_lastTypes && database == m_lastDatabase && table == m_lastTable)
        return m_lastTypes->value(column.toLower());
    const QString key = (database + u'.' + table).toLower();
    auto it = m_columnTypes.find(key);
    if (it == m_columnTypes.end()) {
        QHash<QString, QString> types;
        QSqlQuery q(m_db);
        QString pragma = database.isEmpty()
                             ? QStringLiteral("PRAGMA table_info([%1])").arg(table)
                             : QStringLiteral("PRAGMA [%1].table_info([%2])").arg(database, table);
        if (q.exec(pragma))
            while (q.next())
                types.insert(q.value(1).toString().toLower(), q.value(2).toString().toUpper());
        it = m_columnTypes.insert(key, types);
    }
    m_lastDatabase = database;
    m_lastTable = table;
    m_lastTypes = &*it;
    return it->value(column.toLower());
}

QVariant Backend::columnValue(const QString& database, const QString& table, const QString& column,
                              const QVariant& value) {
    if (m_dialect != Dialect::Sqlite || value.isNull() ||
        value.metaType().id() != QMetaType::QString)
        return value;
    return convertForColumn(declaredType(database, table, column), value.toString());
}

QVariant convertForColumn(const QString& type, const QString& value) {
    const bool money = type.contains(u"MONEY");
    const bool integer = type.contains(u"INT") || type == u"BIT";
    const bool number = money || type.startsWith(u"DECIMAL") || type.startsWith(u"NUMERIC") ||
                        type.startsWith(u"FLOAT") || type == u"REAL";
    if (!integer && !number)
        return value;
    const QString text = value.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    if (integer) {
        qlonglong n = QLocale::c().toLongLong(text, &ok);
        if (ok)
            return n;
        throw DbError(QStringLiteral("Conversion failed when converting the varchar value '%1' "
                                     "to data type %2.")
                          .arg(value, type.toLower()));
    }
    const double d = QLocale::c().toDouble(text, &ok);
    // "inf" and "nan" read as numbers here; SQL Server takes neither.
    ok = ok && std::isfinite(d);
    if (ok && money && std::fabs(d) > 922337203685477.5807)
        throw DbError(
            QStringLiteral("Arithmetic overflow error converting expression to data type money."));
    if (ok)
        return d;
    if (money)
        throw DbError(QStringLiteral(
            "Cannot convert a char value to money. The char value has incorrect syntax."));
    throw DbError(QStringLiteral("Error converting data type varchar to numeric."));
}

QString uniqueConnectionName(const QString& prefix) {
    static QAtomicInteger<int> counter;
    return prefix + QString::number(++counter);
}

QString driverText(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}
