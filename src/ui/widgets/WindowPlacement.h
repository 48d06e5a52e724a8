#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;
class WindowSettings;

// Where a window of the screen's opens, so that it covers nothing the clerk works with: the
// place and size the clerk gave it before, from the window settings; else, the first time,
// beside the screen where the desktop has room for it, else over a part of the screen the clerk
// can spare (the revenue lists at the right).
namespace placement {

// The first place of a window's frame (global coordinates): to the right of the screen's frame
// where the desktop has room for at least `least` of its width, else to the left, else `over`
// (and on past the screen's right edge, where `over` reaches it and the desktop goes on), within
// the desktop.
QRect firstPlace(const QRect& screenFrame, const QRect& desktop, const QSize& frame,
                 const QRect& over, int least);

// Places `window` before it is first shown: as the window settings keep it, or at its first place
// beside `screen` or over `spare` (controls of the screen the clerk can spare, together). The
// window's frame is taken to be the screen's (the same window manager draws both).
void placeFirstTime(QWidget* window, QWidget* screen, const QList<const QWidget*>& spare,
                    WindowSettings& settings);

} // namespace placement
