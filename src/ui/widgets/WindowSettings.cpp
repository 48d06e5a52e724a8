#include "WindowSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {
QString key(QWidget* window, const char* what) {
    return QStringLiteral("windows/%1/%2").arg(window->objectName(), QLatin1String(what));
}
} // namespace

bool WindowSettings::loadwinsettings(QWidget* window) {
    QSettings settings;
    const QByteArray geometry = settings.value(key(window, "geometry")).toByteArray();
    if (geometry.isEmpty() || !window->restoreGeometry(geometry))
        return false;
    // Never leave the window where no screen shows it (a monitor unplugged since).
    const QRect frame = window->frameGeometry();
    bool visible = false;
    for (QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().intersects(frame);
    if (!visible) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            window->move(screen->availableGeometry().topLeft());
    }
    if (settings.value(key(window, "maximized")).toBool())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return true;
}

void WindowSettings::Savewinsettings(QWidget* window) {
    QSettings settings;
    settings.setValue(key(window, "geometry"), window->saveGeometry());
    settings.setValue(key(window, "maximized"), window->isMaximized());
    settings.sync();
}
