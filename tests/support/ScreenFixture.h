#pragma once

#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include "app/CurrentUser.h"
#include "app/LoginDialog.h"
#include "ui/screen/MainScreen.h"

#include <memory>

// The login a user makes by pressing Enter: the embedded database.
std::unique_ptr<Backend> embeddedLogin(const LoginDialog::Connector& connect);

// A screen's world, for the tests and the benchmark: an embedded database (by default a fresh
// copy of the sample database), a user logged in to it, the scripted message boxes, and the
// screen.
class ScreenFixture {
public:
    // Opens the screen on a fresh copy of the sample database: as designed (before its load step)
    // unless `load`, and shown unless told otherwise. The statement log starts empty.
    std::unique_ptr<MainScreen>& openScreen(bool load = false, bool show = true);
    // The same on the embedded database of a folder of the caller's.
    std::unique_ptr<MainScreen>& openScreenOn(const QString& folder, bool load, bool show);
    void closeScreen() { m_screen.reset(); }
    Controls& c() { return m_screen->controls(); }
    Gateway& gw() { return m_user.sqlconnection(); }

protected:
    std::unique_ptr<TestDatabase> m_db;
    CurrentUser m_user;
    ScriptedPrompter m_prompter;
    std::unique_ptr<MainScreen> m_screen; // last: it goes first
};
