#pragma once

#include <QRect>

// Places and sizes of the screen are in twips (1/1440 inch); they become pixels once, here, at
// the screen's logical DPI: 15 twips a pixel at 96 DPI.
namespace twips {

double pixelsPerTwip();
int toPixels(double twips);
int fromPixels(int pixels);
QRect toPixels(int left, int top, int width, int height);

} // namespace twips
