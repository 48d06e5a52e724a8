#include "WindowPlacement.h"

#include "ui/widgets/WindowSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace placement {

QRect firstPlace(const QRect& screenFrame, const QRect& desktop, const QSize& frame,
                 const QRect& over, int least) {
    const int height = std::min(frame.height(), desktop.height());
    const int top = std::clamp(screenFrame.top(), desktop.top(), desktop.bottom() + 1 - height);
    const int right = desktop.right() - screenFrame.right();
    const int left = screenFrame.left() - desktop.left();
    const int wanted = std::max(1, std::min(frame.width(), least));
    if (right >= wanted)
        return QRect(screenFrame.right() + 1, top, std::min(frame.width(), right), height);
    if (left >= wanted) {
        const int width = std::min(frame.width(), left);
        return QRect(screenFrame.left() - width, top, width, height);
    }
    // Over the spare part, and on past the screen's right edge where the desktop goes on.
    QRect spare = over;
    if (over.right() + 1 >= screenFrame.right() - 40)
        spare.setRight(
            std::max(over.right(), std::min(desktop.right(), over.left() + frame.width() - 1)));
    spare = spare.intersected(desktop);
    return spare.isEmpty() ? over : spare;
}

void placeFirstTime(QWidget* window, QWidget* screen, const QList<const QWidget*>& spare,
                    WindowSettings& settings) {
    if (settings.loadwinsettings(window))
        return;
    // The frame the window manager puts around the screen, which it will put around this one.
    const QRect outer = screen->frameGeometry(), inner = screen->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QScreen* display = screen->screen() ? screen->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = display ? display->availableGeometry() : outer;
    QRect over;
    for (const QWidget* w : spare)
        over = over.united(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    const QSize wanted = window->size().grownBy(frame);
    const QRect place = firstPlace(outer, desktop, wanted, over, std::min(wanted.width(), 480));
    window->setGeometry(place.marginsRemoved(frame));
}

} // namespace placement
