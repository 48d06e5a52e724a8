#pragma once

#include "core/db/Backend.h"
#include "core/db/SqlServer.h"

#include <QDialog>

#include <exception>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// What the user chose in the login dialog.
struct LoginChoice {
    bool embedded = true;
    SqlServerLogin server;
};

// The login: the embedded database of this computer (the default, so Enter logs in), or a SQL
// Server instance. OK tries to connect; a failure is shown in the dialog and the user may try
// again. Cancel closes it without a connection. The server's fields (not the password) are kept in
// the settings at each SQL Server login that succeeds, and offered again at the next start.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    using Connector = std::function<std::unique_ptr<Backend>(const LoginChoice&)>;

    explicit LoginDialog(Connector connector, QWidget* parent = nullptr);

    LoginChoice choice() const;
    // The connection made by a successful login.
    std::unique_ptr<Backend> takeBackend() { return std::move(m_backend); }
    // A failure that ended the dialog and must end the program (see StartupError).
    std::exception_ptr startupError() const { return m_startupError; }

public slots:
    void tryLogin();

private:
    void updateFields();
    void loadServer();
    static void saveServer(const SqlServerLogin& login);

    Connector m_connector;
    std::unique_ptr<Backend> m_backend;
    std::exception_ptr m_startupError;
    QRadioButton* m_embedded;
    QRadioButton* m_sqlServer;
    QLineEdit* m_server;
    QSpinBox* m_port;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_trusted;
    QCheckBox* m_encrypt;
    QLabel* m_error;
};
