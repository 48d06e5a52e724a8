#pragma once

#include "core/db/Gateway.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fresh embedded database in a temporary folder: a copy of the sample database (made once per
// test program), so each test starts from the same rows and changes nothing of another's.
class TestDatabase {
public:
    TestDatabase();
    const QString& folder() const { return m_folder; }
    // The connection, opened on first use.
    Gateway& gateway();
    // Closes the connection (a later gateway() opens a new one).
    void close() { m_gateway.reset(); }

    // The folder of the one sample database of this test program.
    static QString sampleFolder();

private:
    QTemporaryDir m_dir;
    QString m_folder;
    std::unique_ptr<Gateway> m_gateway;
};

// The statements of a log as the operations built them: without those of the history of the links
// (its table, its transaction, the link row read before a delete) and without the write cursor's
// own (its add, its locked check, rewrite and re-read by ID), which the gateway builds.
QStringList builtStatements(const QStringList& log);

// Counts the rows a query returns; raises DbError like any operation.
int countRows(Gateway& gateway, const QString& sql);
