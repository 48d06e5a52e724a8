#include "Startup.h"

#include "core/db/DbError.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/Prompter.h"

#include <QApplication>

namespace modBrevant {

namespace {
std::unique_ptr<CurrentUser> theUser;
std::unique_ptr<Prompter> thePrompter;
std::unique_ptr<MainScreen> theScreen;

// The program-wide objects go with the application object, before Qt's own statics.
void releaseProgramObjects() {
    theScreen.reset();
    theUser.reset();
    thePrompter.reset();
}
} // namespace

CurrentUser& currentUser() {
    if (!theUser) {
        theUser = std::make_unique<CurrentUser>();
        qAddPostRoutine(releaseProgramObjects);
    }
    return *theUser;
}

Prompter& prompter() {
    if (!thePrompter)
        thePrompter = std::make_unique<MessageBoxPrompter>();
    return *thePrompter;
}

void setPrompter(std::unique_ptr<Prompter> prompter) {
    thePrompter = std::move(prompter);
}

MainScreen* frmESOA_Items() {
    return theScreen.get();
}

int Main() {
    try {
        CurrentUser& user = currentUser();
        user.PasswordDeptCode = QString::fromLatin1(DepartmentCode);
        user.showmain();
        if (!user.Connected().toBool())
            return 0;
        theScreen = std::make_unique<MainScreen>(user, prompter());
        theScreen->Form_Load();
        theScreen->show();
    } catch (const std::exception& e) {
        theScreen.reset();
        currentUser().flushStatements();
        const auto* db = dynamic_cast<const DbError*>(&e);
        prompter().message(db ? db->description() : QString::fromLocal8Bit(e.what()),
                           Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return 1;
    }
    const int status = QApplication::exec();
    theScreen.reset();
    // The statement log's file is complete when the program ends.
    currentUser().flushStatements();
    return status;
}

} // namespace modBrevant
