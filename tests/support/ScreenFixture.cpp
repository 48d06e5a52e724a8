#include "ScreenFixture.h"

#include <QCoreApplication>

void ScreenFixture::openScreen() {
    // The program's name, which its message boxes carry as their title.
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    m_screen.reset();
    auto db = std::make_unique<TestDatabase>();
    m_user.setDataFolder(db->folder());
    m_user.setLogin(embeddedLogin);
    m_user.showmain();
    m_db = std::move(db);
    m_prompter.shown.clear();
    m_prompter.answers.clear();
    m_prompter.whileShown = nullptr;
    m_screen = std::make_unique<MainScreen>(m_user, m_prompter);
    m_screen->show();
    gw().clearLog();
}
