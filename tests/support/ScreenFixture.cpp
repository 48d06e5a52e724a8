#include "ScreenFixture.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

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
    // The program's name, which its message boxes carry as their title; the organisation names
    // the tests' own settings (on Windows QSettings keeps nothing without one).
    QCoreApplication::setOrganizationName(QStringLiteral("BrevantTests"));
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
    gw().keepTrace(true);
    gw().clearLog();
    return m_screen;
}

void ScreenFixture::choosePhilHealthItem(const QString& code, const QString& description,
                                         const QString& table, const QString& revenue) {
    c().lblESOATableName->setText(table);
    c().txtESOACode->setText(code);
    c().txtESOADesc->setText(description);
    c().txtFixedFee->setText(QStringLiteral("95.00"));
    c().txtChargingUnit->setText(QStringLiteral("per ampule"));
    c().txtAreaCat->setText(QStringLiteral("Therapeutics"));
    c().txtType->setText(QStringLiteral("INV"));
    c().txtRevID->setText(revenue);
}

TextTable ScreenFixture::itemList(const QList<QStringList>& rows) {
    return TextTable{{"ItemID", "Description", "GenericName", "ListCost"}, rows};
}

QStringList ScreenFixture::mappingMenuTexts() {
    QStringList out;
    std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().GridMap));
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

void ScreenFixture::pickMappingMenu(const QString& text) {
    std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().GridMap));
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a->trigger();
    QFAIL(qPrintable(QStringLiteral("no menu item ") + text));
}
