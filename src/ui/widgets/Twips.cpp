#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace twips {

double pixelsPerTwip() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi / 1440.0;
}

int toPixels(double twips) {
    return static_cast<int>(std::lround(twips * pixelsPerTwip()));
}

int fromPixels(int pixels) {
    return static_cast<int>(std::lround(pixels / pixelsPerTwip()));
}

QRect toPixels(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

namespace {

// One coordinate of a widget: the property that keeps the twips last set for it, its pixels, and
// how they are set.
struct Coordinate {
    const char* property;
    int (*pixels)(const QWidget*);
    void (*setPixels)(QWidget*, int);
};
constexpr Coordinate Left{"twipsLeft", [](const QWidget* w) { return w->x(); },
                          [](QWidget* w, int p) { w->move(p, w->y()); }};
constexpr Coordinate Top{"twipsTop", [](const QWidget* w) { return w->y(); },
                         [](QWidget* w, int p) { w->move(w->x(), p); }};
constexpr Coordinate Width{"twipsWidth", [](const QWidget* w) { return w->width(); },
                           [](QWidget* w, int p) { w->resize(p, w->height()); }};
constexpr Coordinate Height{"twipsHeight", [](const QWidget* w) { return w->height(); },
                            [](QWidget* w, int p) { w->resize(w->width(), p); }};

// The twips last set for the coordinate, while the widget still stands where they put it.
int read(const QWidget* w, const Coordinate& c) {
    const int pixels = c.pixels(w);
    const QVariant stored = w->property(c.property);
    if (stored.isValid() && toPixels(stored.toInt()) == pixels)
        return stored.toInt();
    return fromPixels(pixels);
}

void write(QWidget* w, const Coordinate& c, int value) {
    w->setProperty(c.property, value);
    c.setPixels(w, toPixels(value));
}

} // namespace

int left(const QWidget* w) {
    return read(w, Left);
}
int top(const QWidget* w) {
    return read(w, Top);
}
int width(const QWidget* w) {
    return read(w, Width);
}
int height(const QWidget* w) {
    return read(w, Height);
}

void setLeft(QWidget* w, int value) {
    write(w, Left, value);
}
void setTop(QWidget* w, int value) {
    write(w, Top, value);
}
void setWidth(QWidget* w, int value) {
    write(w, Width, value);
}
void setHeight(QWidget* w, int value) {
    write(w, Height, value);
}

void place(QWidget* w, int l, int t, int wd, int h) {
    w->setProperty("twipsLeft", l);
    w->setProperty("twipsTop", t);
    w->setProperty("twipsWidth", wd);
    w->setProperty("twipsHeight", h);
    w->setGeometry(toPixels(l, t, wd, h));
}

} // namespace twips
