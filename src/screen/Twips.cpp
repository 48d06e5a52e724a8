#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

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

} // namespace twips
