#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brevant"));
    QApplication::setApplicationName(QStringLiteral("Brevant"));
    return modBrevant::Main();
}
