// The program's start: Main with a scripted login, a login that fails or is cancelled, a failure
// before the screen is up, closing and the window settings, and the first start on an empty data
// folder.
#include "ScreenFixture.h"

#include "app/Startup.h"
#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void aLoginThatDoesNotSucceedEndsQuietly();
    void aFailedConnectionCanBeRetriedInTheDialog();
    void theServersFieldsAreKeptButNeverThePassword();
    void aStartupFailureIsReportedOnceAndEndsNonZero();
    void aSuccessfulLoginShowsTheScreenUntilItIsClosed();
    void closingSavesTheWindowAndTheNextStartRestoresIt();
    void firstStartCreatesTheSampleAndLaterStartsKeepTheUsersWork();
    void anUnwritableDataFolderFailsWithAMessage();

private:
    ScriptedPrompter* m_prompter = nullptr;
    std::unique_ptr<TestDatabase> m_db;
};

void TestStartup::initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("BrevantTests"));
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
}

void TestStartup::init() {
    QSettings().clear();
    auto prompter = std::make_unique<ScriptedPrompter>();
    m_prompter = prompter.get();
    modBrevant::setPrompter(std::move(prompter));
    m_db = std::make_unique<TestDatabase>();
    modBrevant::currentUser().setDataFolder(m_db->folder());
}

void TestStartup::aLoginThatDoesNotSucceedEndsQuietly() {
    modBrevant::currentUser().setLogin([](const LoginDialog::Connector&) { return nullptr; });
    QCOMPARE(modBrevant::Main(), 0);
    QCOMPARE(modBrevant::currentUser().Connected(), QVariant(false));
    QVERIFY(modBrevant::frmESOA_Items() == nullptr);
    QVERIFY(m_prompter->shown.isEmpty());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QCOMPARE(QString::fromLatin1(modBrevant::DepartmentCode).size(), 2);
    QCOMPARE(modBrevant::currentUser().PasswordDeptCode,
             QString::fromLatin1(modBrevant::DepartmentCode));
}

void TestStartup::aFailedConnectionCanBeRetriedInTheDialog() {
    int attempts = 0;
    LoginDialog dialog([&](const LoginChoice& choice) -> std::unique_ptr<Backend> {
        ++attempts;
        if (attempts == 1) {
            try {
                sqlserver::open(choice.server);
            } catch (const DbError&) {
                throw DbError(QStringLiteral("Cannot connect to SQL Server nowhere,1: refused"));
            }
        }
        return modBrevant::currentUser().connectTo(LoginChoice{});
    });
    dialog.findChild<QRadioButton*>(QStringLiteral("optSqlServer"))->setChecked(true);
    dialog.findChild<QLineEdit*>(QStringLiteral("txtServer"))->setText(QStringLiteral("127.0.0.1"));
    dialog.findChild<QAbstractSpinBox*>(QStringLiteral("txtPort"))->setProperty("value", 1);
    dialog.tryLogin();
    QCOMPARE(dialog.result(), 0);
    QLabel* error = dialog.findChild<QLabel*>(QStringLiteral("lblLoginError"));
    QVERIFY(!error->isHidden());
    QCOMPARE(error->text(), QStringLiteral("Cannot connect to SQL Server nowhere,1: refused"));
    dialog.tryLogin();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.takeBackend() != nullptr);
    // Cancel leaves no connection.
    modBrevant::currentUser().setLogin([](const LoginDialog::Connector& connect) {
        try {
            return connect(
                LoginChoice{false, SqlServerLogin{QStringLiteral("127.0.0.1"), 1, {}, {}, false}});
        } catch (const DbError&) {
            return std::unique_ptr<Backend>(); // the user gives up and cancels
        }
    });
    QCOMPARE(modBrevant::Main(), 0);
    QVERIFY(m_prompter->shown.isEmpty());
}

// A SQL Server login that succeeds keeps the server, port, user and both boxes for the next
// start; the password is asked again, and the embedded database stays the default choice.
void TestStartup::theServersFieldsAreKeptButNeverThePassword() {
    LoginChoice asked;
    const LoginDialog::Connector connector =
        [&](const LoginChoice& choice) -> std::unique_ptr<Backend> {
        asked = choice;
        return modBrevant::currentUser().connectTo(LoginChoice{});
    };
    {
        LoginDialog dialog(connector);
        dialog.findChild<QRadioButton*>(QStringLiteral("optSqlServer"))->setChecked(true);
        dialog.findChild<QLineEdit*>(QStringLiteral("txtServer"))
            ->setText(QStringLiteral("dbhost"));
        dialog.findChild<QAbstractSpinBox*>(QStringLiteral("txtPort"))->setProperty("value", 1500);
        dialog.findChild<QLineEdit*>(QStringLiteral("txtUser"))->setText(QStringLiteral("billing"));
        dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QStringLiteral("pw"));
        QCheckBox* encrypt = dialog.findChild<QCheckBox*>(QStringLiteral("chkEncrypt"));
        QCOMPARE(
            encrypt->text(),
            QStringLiteral("Require an encrypted connection (check the server's certificate)"));
        QVERIFY(encrypt->isEnabled());
        encrypt->setChecked(true);
        dialog.tryLogin();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QVERIFY(asked.server.encrypt);
    QCOMPARE(asked.server.password, QStringLiteral("pw"));
    LoginDialog next(connector);
    QVERIFY(next.findChild<QRadioButton*>(QStringLiteral("optEmbedded"))->isChecked());
    QVERIFY(!next.findChild<QCheckBox*>(QStringLiteral("chkEncrypt"))->isEnabled());
    const LoginChoice kept = next.choice();
    QCOMPARE(kept.server.server, QStringLiteral("dbhost"));
    QCOMPARE(kept.server.port, 1500);
    QCOMPARE(kept.server.user, QStringLiteral("billing"));
    QCOMPARE(kept.server.password, QString());
    QVERIFY(kept.server.encrypt);
    QVERIFY(!kept.server.trusted);
    // An embedded login keeps nothing of the server's fields.
    QSettings().clear();
    next.tryLogin();
    QCOMPARE(next.result(), int(QDialog::Accepted));
    QVERIFY(!QSettings().contains(QStringLiteral("Login/Server")));
}

void TestStartup::aStartupFailureIsReportedOnceAndEndsNonZero() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    modBrevant::currentUser().setDataFolder(dir.filePath(QStringLiteral("file/Brevant")));
    modBrevant::currentUser().setLogin(embeddedLogin);
    QCOMPARE(modBrevant::Main(), 1);
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown[0].text.contains(QStringLiteral("file/Brevant")));
    QCOMPARE(m_prompter->shown[0].icon, Prompter::Icon::Critical);
    QCOMPARE(m_prompter->shown[0].title, QStringLiteral("Brevant"));
    QVERIFY(modBrevant::frmESOA_Items() == nullptr);
}

void TestStartup::aSuccessfulLoginShowsTheScreenUntilItIsClosed() {
    modBrevant::currentUser().setLogin(embeddedLogin);
    bool shown = false;
    QString title;
    QTimer::singleShot(0, [&] {
        MainScreen* screen = modBrevant::frmESOA_Items();
        shown = screen && screen->isVisible();
        title = screen ? screen->windowTitle() : QString();
        if (screen)
            screen->controls().cmdClose->click();
    });
    QCOMPARE(modBrevant::Main(), 0);
    QVERIFY(shown);
    QCOMPARE(title, QStringLiteral("PHIC-VALTOR Code Mapping"));
    QVERIFY(modBrevant::frmESOA_Items() == nullptr);
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestStartup::closingSavesTheWindowAndTheNextStartRestoresIt() {
    modBrevant::currentUser().setLogin(embeddedLogin);
    const QRect placed(40, 30, 700, 500);
    // A window manager (Wine's) may place a window it maps after the program did: each step waits
    // until the window is mapped and stands where it was put.
    QTimer::singleShot(0, [&] {
        MainScreen* screen = modBrevant::frmESOA_Items();
        (void)QTest::qWaitForWindowExposed(screen);
        screen->setGeometry(placed);
        (void)QTest::qWaitFor([&] { return screen->geometry() == placed; }, 3000);
        screen->close();
    });
    QCOMPARE(modBrevant::Main(), 0);
    QVERIFY(QSettings().contains(QStringLiteral("windows/frmESOA_Items/geometry")));
    QRect restored;
    QTimer::singleShot(0, [&] {
        MainScreen* screen = modBrevant::frmESOA_Items();
        (void)QTest::qWaitForWindowExposed(screen);
        (void)QTest::qWaitFor([&] { return screen->geometry() == placed; }, 3000);
        restored = screen->geometry();
        screen->close();
    });
    QCOMPARE(modBrevant::Main(), 0);
    QCOMPARE(restored.size(), placed.size());
    QCOMPARE(restored.topLeft(), placed.topLeft());
}

void TestStartup::firstStartCreatesTheSampleAndLaterStartsKeepTheUsersWork() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/Brevant"));
    CurrentUser user;
    user.setDataFolder(folder);
    QVERIFY(embedded::isEmpty(folder));
    {
        Gateway gw(user.connectTo(LoginChoice{}));
        QVERIFY(countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")) > 0);
        gw.execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK"));
    }
    QVERIFY(!embedded::isEmpty(folder));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data/Brevant/.sample-in-progress"))));
    Gateway again(user.connectTo(LoginChoice{}));
    QCOMPARE(countRows(again, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")), 0);
}

void TestStartup::anUnwritableDataFolderFailsWithAMessage() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CurrentUser user;
    user.setDataFolder(dir.filePath(QStringLiteral("file/Brevant")));
    try {
        user.connectTo(LoginChoice{});
        QFAIL("a data folder under a file was used");
    } catch (const DbError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("file/Brevant")),
                 qPrintable(e.description()));
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
