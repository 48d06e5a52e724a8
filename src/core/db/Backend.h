#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include "core/tsql/SqliteDialect.h"

#include <memory>

// Which SQL the connection speaks. The program builds T-SQL; for SQLite it is rewritten.
enum class Dialect { TSql, Sqlite };

// One open database connection (embedded SQLite or SQL Server over ODBC) and its dialect.
class Backend {
public:
    Backend(QSqlDatabase db, Dialect dialect, QString description);
    ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    QSqlDatabase& database() { return m_db; }
    Dialect dialect() const { return m_dialect; }
    // Where the data lives, in words for a message ("SQL Server dbhost,1433").
    const QString& description() const { return m_description; }

    // The program's T-SQL in the connection's own dialect.
    QString native(const QString& tsql) const;
    // Who works on the embedded database, and where: the operating-system user and the machine's
    // name (SQL Server knows its own login and workstation).
    const tsql::Session& session() const { return m_session; }

    // A value bound to a column the way SQL Server converts it on the way in: on SQLite a text
    // bound to a number column is read as a number (blank text as 0), and a text that is not
    // a number raises the error SQL Server would raise. Elsewhere the value is left as it is.
    QVariant columnValue(const QString& database, const QString& table, const QString& column,
                         const QVariant& value);

private:
    QString declaredType(const QString& database, const QString& table, const QString& column);

    QSqlDatabase m_db;
    Dialect m_dialect;
    QString m_description;
    tsql::Session m_session;
    QHash<QString, QHash<QString, QString>> m_columnTypes;
    QString m_lastDatabase, m_lastTable;
    const QHash<QString, QString>* m_lastTypes = nullptr;
};

// A text bound to a column of the declared SQLite type, converted as SQL Server converts it:
// blank text is 0 for a number column, a text that is no number raises SQL Server's message, and
// so does an amount no money column holds (beyond +-922,337,203,685,477.5807, infinity, NaN).
// A column of another type takes the text as it is.
QVariant convertForColumn(const QString& declaredType, const QString& text);

// A connection name no other open connection uses.
QString uniqueConnectionName(const QString& prefix);

// The error text of a failed driver call: the database's own text where it gave one.
QString driverText(const class QSqlError& error);
