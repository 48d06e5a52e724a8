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
    MainScreen& screen() { return *m_screen; }
    Controls& c() { return m_screen->controls(); }
    Gateway& gw() { return m_user.sqlconnection(); }
    ScriptedPrompter& prompter() { return m_prompter; }

    // The working fields as a click on a PhilHealth item leaves them: its table, code and
    // description, 95.00 per ampule in the category Therapeutics, an inventory item to come under
    // the revenue code.
    void
    choosePhilHealthItem(const QString& code = QStringLiteral("ER0002"),
                         const QString& description = QStringLiteral("Ketorolac 30 mg/mL ampule"),
                         const QString& table = QStringLiteral("ESOA_ER"),
                         const QString& revenue = QStringLiteral("PH"));
    // The texts of the mapping list's menu (its separators left out), and a click on one of them
    // (a failure of the test when it has none of that text).
    QStringList mappingMenuTexts();
    void pickMappingMenu(const QString& text);
    // A list of hospital items as the inventory search gives it: ItemID, Description,
    // GenericName, ListCost.
    static TextTable itemList(const QList<QStringList>& rows);

protected:
    std::unique_ptr<TestDatabase> m_db;
    CurrentUser m_user;
    ScriptedPrompter m_prompter;
    std::unique_ptr<MainScreen> m_screen; // last: it goes first
};
