#pragma once

#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include "app/CurrentUser.h"
#include "screen/MainScreen.h"

#include <memory>

// A screen test's world: a fresh copy of the sample database, a user logged in to it, the
// scripted message boxes, and the screen as designed (before its load step), shown.
class ScreenFixture {
protected:
    void openScreen();
    void closeScreen() { m_screen.reset(); }
    Controls& c() { return m_screen->controls(); }
    Gateway& gw() { return m_user.sqlconnection(); }

    std::unique_ptr<TestDatabase> m_db;
    CurrentUser m_user;
    ScriptedPrompter m_prompter;
    std::unique_ptr<MainScreen> m_screen; // last: it goes first
};
