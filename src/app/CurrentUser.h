#pragma once

#include "app/LoginDialog.h"
#include "core/db/Gateway.h"
#include "ui/screen/UserServices.h"
#include "ui/widgets/WindowSettings.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// The current-user component: the login, the open database connection that every operation
// takes, and the window-settings service.
class CurrentUser : public UserServices {
public:
    // How showmain() asks the user: by default the login dialog. Tests put a script here.
    using Login = std::function<std::unique_ptr<Backend>(const LoginDialog::Connector&)>;

    CurrentUser();

    QString PasswordDeptCode;

    // Shows the login and returns when it is closed; Connected() then tells the outcome.
    void showmain();
    // True after a successful login; null before any login, false after one that failed.
    QVariant Connected() const { return m_connected; }
    // The open connection. Only valid while Connected() is true.
    Gateway& sqlconnection() override;
    WindowSettings& VALTORClasses() override { return m_windowSettings; }

    // The folder of the embedded database (the platform's application data location). The
    // connection's statement log is written there too, whichever database the user logged in to.
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // The statement log's file in a data folder: statements.log (the older one beside it,
    // statements.old.log).
    static QString statementFile(const QString& dataFolder);
    // Returns once the statement log's file holds every statement so far (its writer writes
    // about once a second by itself): at the program's end.
    void flushStatements();
    void setLogin(Login login) { m_login = std::move(login); }

    // Connects as the login dialog asks: the embedded database (made with the sample data on
    // first use) or SQL Server. Raises DbError when it cannot.
    std::unique_ptr<Backend> connectTo(const LoginChoice& choice);

private:
    // Writes the new connection's statement log to the data folder from now on.
    void startStatementFile();

    QVariant m_connected;
    QString m_dataFolder;
    Login m_login;
    std::unique_ptr<Gateway> m_gateway;
    WindowSettings m_windowSettings;
};
