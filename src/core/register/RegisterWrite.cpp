#include "RegisterWrite.h"

#include "core/db/Gateway.h"
#include "core/db/OwnTables.h"
#include "core/register/RegisterStatements.h"

namespace drugregister {

bool replaceRegister(Gateway& db, const QList<Product>& products, const WriteProgress& progress) {
    const bool missing = !owntables::present(db, {QLatin1String(tableName)});
    Gateway::Transaction transaction(db);
    // Each statement that fails is skipped: the insert then says why.
    if (missing)
        for (const QString& statement : createStatements()) {
            try {
                db.execute(statement);
            } catch (const DbError&) {
            }
        }
    db.execute(deleteStatement());
    qsizetype done = 0;
    int rowsOfStatement = 0;
    QString statement;
    QList<QVariant> values;
    for (int rows : statementRows(int(products.size()))) {
        if (rows != rowsOfStatement) {
            statement = insertStatement(rows);
            rowsOfStatement = rows;
        }
        values.clear();
        values.reserve(rows * 5);
        for (qsizetype i = done; i < done + rows; ++i) {
            const Product& p = products[i];
            values << p.registrationNumber << p.genericName << p.brandName << p.dosageStrength
                   << p.dosageForm;
        }
        db.execute(statement, values);
        done += rows;
        if (progress && !progress(done))
            return false; // the transaction rolls back as it ends
    }
    transaction.commit();
    return true;
}

} // namespace drugregister
