#include "ScreenFixture.h"

#include <QCoreApplication>

std::unique_ptr<Backend> embeddedLogin(const LoginDialog::Connector& connect) {
    return connect(LoginChoice{});
}

std::unique_ptr<MainScreen>& ScreenFixture::openScreen(bool load, bool show) {
    m_screen.reset();
    auto db = std::make_unique<TestDatabase>();
    openScreenOn(db->folder(), load, show);
    m_db = std::move(db);
    return m_screen;
}

std::unique_ptr<MainScreen>& ScreenFixture::openScreenOn(const QString& folder, bool load,
                                                         bool show) {
    // The program's name, which its message boxes carry as their title.
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    m_screen.reset();
    m_user.setDataFolder(folder);
    m_user.setLogin(embeddedLogin);
    m_user.showmain();
    m_prompter.shown.clear();
    m_prompter.answers.clear();
    m_prompter.whileShown = nullptr;
    m_screen = std::make_unique<MainScreen>(m_user, m_prompter);
    if (load)
        m_screen->Form_Load();
    if (show)
        m_screen->show();
    gw().clearLog();
    return m_screen;
}
