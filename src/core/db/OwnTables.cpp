#include "OwnTables.h"

#include "core/db/Gateway.h"
#include "core/tsql/SqlText.h"

namespace owntables {

QString probeStatement(const QString& table) {
    return QStringLiteral("SELECT TOP 1 1 FROM ") + sql::buildFileTable(table) +
           QStringLiteral(" WITH (NOLOCK)");
}

bool present(Gateway& db, const QStringList& tables) {
    for (const QString& table : tables) {
        try {
            Lookup probe = db.lookup(probeStatement(table));
            probe.close();
        } catch (const DbError&) {
            return false;
        }
    }
    return true;
}

void make(Gateway& db, const QStringList& tables, const QStringList& statements,
          const QString& missing) {
    if (present(db, tables))
        return;
    QString failure;
    for (const QString& statement : statements) {
        try {
            db.execute(statement);
        } catch (const DbError& e) {
            if (statement.startsWith(u"CREATE TABLE") && failure.isEmpty())
                failure = e.description();
        }
    }
    if (!present(db, tables))
        throw DbError(missing + QStringLiteral(": ") + failure);
}

} // namespace owntables
