#include "Tables.h"

#include "core/history/HistoryStatements.h"
#include "core/maintenance/ListStatements.h"
#include "core/maintenance/TableStatements.h"
#include "core/register/RegisterStatements.h"
#include "core/review/ReviewStatements.h"
#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"

#include <QRadioButton>

void Tables::cmdCreateTable_Click() {
    QString failure;
    if (m_form.c.optTable[0]->isChecked())
        failure = CreateReferenceTables();
    if (m_form.c.optTable[1]->isChecked())
        failure = CreateReferenceTables();
    m_form.prompter.message(failure.isEmpty() ? QStringLiteral("Done.") : failure);
}

QString Tables::CreateReferenceTables() {
    const QString table = m_form.c.lblESOATableName->text();
    const QStringList statements = tables::referenceTableStatements(table);
    QString referenceError, linkError;
    for (int i = 0; i < statements.size(); ++i) {
        try {
            m_form.db().execute(statements[i]);
        } catch (const DbError& e) {
            if (i == tables::createReferenceTable)
                referenceError = e.description();
            else if (i == tables::createLinkTable)
                linkError = e.description();
        }
    }
    for (const QString& index : tables::codeIndexStatements(table)) {
        try {
            m_form.db().execute(index);
        } catch (const DbError&) {
        }
    }
    // The history of the links is made when it is missing (or given its column How when made
    // before it); it is never dropped or emptied.
    const QStringList historyStatements = history::createStatements() << history::addHowStatement();
    for (const QString& statement : historyStatements) {
        try {
            m_form.db().execute(statement);
        } catch (const DbError&) {
        }
    }
    // So are the FDA's register of drug products, which "Import drug register..." fills, the
    // record of the lists' editions, which "c. Update from new list..." writes, and the reviews of
    // the links.
    for (const QString& statement : drugregister::createStatements() +
                                        listupdate::createStatements() +
                                        review::createStatements()) {
        try {
            m_form.db().execute(statement);
        } catch (const DbError&) {
        }
    }
    m_form.history.recheck();
    if (!referenceError.isEmpty())
        return referenceError;
    if (linkError.isEmpty())
        return QString();
    // The link table is usually there already, with the user's mappings: then all is well.
    try {
        m_form.db().lookup(QStringLiteral("SELECT TOP 1 1 FROM ") +
                           sql::buildFileTable(table + QStringLiteral("_LINK")) +
                           QStringLiteral(" WITH (NOLOCK)"));
        return QString();
    } catch (const DbError&) {
        return linkError;
    }
}
