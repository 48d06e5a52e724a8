#include "LoginDialog.h"

#include "core/db/DbError.h"
#include "ui/widgets/LongWork.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

LoginDialog::LoginDialog(Connector connector, QWidget* parent)
    : QDialog(parent)
    , m_connector(std::move(connector)) {
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QApplication::applicationName() + QStringLiteral(" - Log in"));
    m_embedded = new QRadioButton(QStringLiteral("&Embedded database (this computer)"), this);
    m_embedded->setObjectName(QStringLiteral("optEmbedded"));
    m_sqlServer = new QRadioButton(QStringLiteral("S&QL Server"), this);
    m_sqlServer->setObjectName(QStringLiteral("optSqlServer"));
    m_embedded->setChecked(true);
    m_server = new QLineEdit(this);
    m_server->setObjectName(QStringLiteral("txtServer"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("txtPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(1433);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("txtUser"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_trusted =
        new QCheckBox(QStringLiteral("Use this computer's &login (trusted connection)"), this);
    m_trusted->setObjectName(QStringLiteral("chkTrusted"));
    m_encrypt = new QCheckBox(
        QStringLiteral("Require an encrypted connection (check the server's certificate)"), this);
    m_encrypt->setObjectName(QStringLiteral("chkEncrypt"));
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("lblLoginError"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Se&rver:"), m_server);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("&User:"), m_user);
    form->addRow(QStringLiteral("Pass&word:"), m_password);
    form->addRow(QString(), m_trusted);
    form->addRow(QString(), m_encrypt);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdLogin"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Log in"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancelLogin"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_embedded);
    layout->addWidget(m_sqlServer);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::tryLogin);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_sqlServer, &QRadioButton::toggled, this, &LoginDialog::updateFields);
    connect(m_trusted, &QCheckBox::toggled, this, &LoginDialog::updateFields);
    loadServer();
    updateFields();
}

namespace {
const char serverKey[] = "Login/Server";
const char portKey[] = "Login/Port";
const char userKey[] = "Login/User";
const char trustedKey[] = "Login/Trusted";
const char encryptKey[] = "Login/Encrypt";
} // namespace

void LoginDialog::loadServer() {
    // The embedded database stays the default choice; the server's fields are as they were at
    // the last SQL Server login of this computer's user. The password is never kept.
    const QSettings settings;
    m_server->setText(settings.value(QLatin1String(serverKey)).toString());
    m_port->setValue(settings.value(QLatin1String(portKey), 1433).toInt());
    m_user->setText(settings.value(QLatin1String(userKey)).toString());
    m_trusted->setChecked(settings.value(QLatin1String(trustedKey), false).toBool());
    m_encrypt->setChecked(settings.value(QLatin1String(encryptKey), false).toBool());
}

void LoginDialog::saveServer(const SqlServerLogin& login) {
    QSettings settings;
    settings.setValue(QLatin1String(serverKey), login.server);
    settings.setValue(QLatin1String(portKey), login.port);
    settings.setValue(QLatin1String(userKey), login.user);
    settings.setValue(QLatin1String(trustedKey), login.trusted);
    settings.setValue(QLatin1String(encryptKey), login.encrypt);
}

LoginChoice LoginDialog::choice() const {
    LoginChoice c;
    c.embedded = m_embedded->isChecked();
    c.server.server = m_server->text().trimmed();
    c.server.port = m_port->value();
    c.server.user = m_user->text();
    c.server.password = m_password->text();
    c.server.trusted = m_trusted->isChecked();
    c.server.encrypt = m_encrypt->isChecked();
    return c;
}

void LoginDialog::updateFields() {
    const bool server = m_sqlServer->isChecked();
    m_server->setEnabled(server);
    m_port->setEnabled(server);
    m_trusted->setEnabled(server);
    m_encrypt->setEnabled(server);
    m_user->setEnabled(server && !m_trusted->isChecked());
    m_password->setEnabled(server && !m_trusted->isChecked());
}

void LoginDialog::tryLogin() {
    const LoginChoice c = choice();
    if (!c.embedded && c.server.server.isEmpty()) {
        m_error->setText(QStringLiteral("Enter the name or address of the SQL Server."));
        m_error->show();
        m_server->setFocus();
        return;
    }
    bool connected = false;
    QString failure;
    {
        WaitCursor wait;
        try {
            m_backend = m_connector(c);
            connected = true;
        } catch (const StartupError&) {
            m_startupError = std::current_exception();
        } catch (const DbError& e) {
            failure = e.description();
        }
    }
    if (m_startupError) {
        reject();
    } else if (connected) {
        if (!c.embedded)
            saveServer(c.server);
        accept();
    } else {
        m_error->setText(failure);
        m_error->show();
    }
}
