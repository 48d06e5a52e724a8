#include "CurrentUser.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/maintenance/SampleData.h"

#include <QDir>

CurrentUser::CurrentUser()
    : m_dataFolder(embedded::defaultDataFolder()) {}

QString CurrentUser::statementFile(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("statements.log"));
}

void CurrentUser::flushStatements() {
    if (m_gateway)
        m_gateway->statements().flush();
}

void CurrentUser::startStatementFile() {
    // On SQL Server nothing else may have made the data folder yet. Where the file cannot be
    // written the log is kept in memory only: the window still lists it.
    QDir().mkpath(m_dataFolder);
    m_gateway->statements().setFile(statementFile(m_dataFolder));
}

std::unique_ptr<Backend> CurrentUser::connectTo(const LoginChoice& choice) {
    if (!choice.embedded)
        return sqlserver::open(choice.server);
    // The embedded database is this computer's own: when it cannot be opened or made, no
    // other try will do better.
    try {
        if (embedded::isEmpty(m_dataFolder))
            sample::create(m_dataFolder);
        return embedded::open(m_dataFolder);
    } catch (const StartupError&) {
        throw;
    } catch (const DbError& e) {
        throw StartupError(e.description());
    }
}

void CurrentUser::showmain() {
    LoginDialog::Connector connector = [this](const LoginChoice& c) { return connectTo(c); };
    std::unique_ptr<Backend> backend;
    if (m_login) {
        backend = m_login(connector);
    } else {
        LoginDialog dialog(connector);
        if (dialog.exec() == QDialog::Accepted)
            backend = dialog.takeBackend();
        if (dialog.startupError())
            std::rethrow_exception(dialog.startupError());
    }
    m_gateway.reset();
    if (backend) {
        m_gateway = std::make_unique<Gateway>(std::move(backend));
        startStatementFile();
    }
    m_connected = static_cast<bool>(m_gateway);
}

Gateway& CurrentUser::sqlconnection() {
    if (!m_gateway)
        throw DbError(QStringLiteral("Not connected to a database."));
    return *m_gateway;
}
