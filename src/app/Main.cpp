#include "Main.h"

#include "app/DbError.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <memory>

namespace modBrevant {

namespace {
std::unique_ptr<CurrentUser> theUser;
} // namespace

CurrentUser& currentUser() {
    if (!theUser)
        theUser = std::make_unique<CurrentUser>();
    return *theUser;
}

int Main() {
    std::unique_ptr<QWidget> screen;
    try {
        CurrentUser& user = currentUser();
        user.PasswordDeptCode = QString::fromLatin1(DepartmentCode);
        user.showmain();
        if (!user.Connected().toBool())
            return 0;
        screen = std::make_unique<QWidget>();
        screen->setObjectName(QStringLiteral("frmESOA_Items"));
        screen->setWindowTitle(QStringLiteral("PHIC-VALTOR Code Mapping"));
        auto* layout = new QVBoxLayout(screen.get());
        layout->addWidget(new QLabel(QStringLiteral("Connected to the %1.")
                                         .arg(user.sqlconnection().backend().description()),
                                     screen.get()));
        screen->resize(640, 200);
        user.VALTORClasses().loadwinsettings(screen.get());
        screen->show();
    } catch (const std::exception& e) {
        const DbError* db = dynamic_cast<const DbError*>(&e);
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              db ? db->description() : QString::fromLocal8Bit(e.what()));
        return 1;
    }
    const int status = QApplication::exec();
    currentUser().VALTORClasses().Savewinsettings(screen.get());
    return status;
}

} // namespace modBrevant
