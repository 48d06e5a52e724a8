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

// The twips last set for one coordinate, while the widget still stands where they put it.
int read(const QWidget* w, const char* property, int pixels) {
    const QVariant stored = w->property(property);
    if (stored.isValid() && toPixels(stored.toInt()) == pixels)
        return stored.toInt();
    return fromPixels(pixels);
}

} // namespace

int left(const QWidget* w) {
    return read(w, "twipsLeft", w->x());
}
int top(const QWidget* w) {
    return read(w, "twipsTop", w->y());
}
int width(const QWidget* w) {
    return read(w, "twipsWidth", w->width());
}
int height(const QWidget* w) {
    return read(w, "twipsHeight", w->height());
}

void setLeft(QWidget* w, int value) {
    w->setProperty("twipsLeft", value);
    w->move(toPixels(value), w->y());
}

void setTop(QWidget* w, int value) {
    w->setProperty("twipsTop", value);
    w->move(w->x(), toPixels(value));
}

void setWidth(QWidget* w, int value) {
    w->setProperty("twipsWidth", value);
    w->resize(toPixels(value), w->height());
}

void setHeight(QWidget* w, int value) {
    w->setProperty("twipsHeight", value);
    w->resize(w->width(), toPixels(value));
}

void place(QWidget* w, int l, int t, int wd, int h) {
    w->setProperty("twipsLeft", l);
    w->setProperty("twipsTop", t);
    w->setProperty("twipsWidth", wd);
    w->setProperty("twipsHeight", h);
    w->setGeometry(toPixels(l, t, wd, h));
}

} // namespace twips
