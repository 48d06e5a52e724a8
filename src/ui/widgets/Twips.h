#pragma once

#include <QRect>

class QWidget;

// Places and sizes of the screen are in twips (1/1440 inch); they become pixels once, here, at
// the screen's logical DPI: 15 twips a pixel at 96 DPI.
namespace twips {

double pixelsPerTwip();
int toPixels(double twips);
int fromPixels(int pixels);
QRect toPixels(int left, int top, int width, int height);

// A control's place in twips. A place set in twips reads back exactly as it was set (a pixel
// holds 15 twips at 96 DPI, so 13945 twips would otherwise read back as 13950); a place the
// widget took otherwise reads from its pixels.
int left(const QWidget* widget);
int top(const QWidget* widget);
int width(const QWidget* widget);
int height(const QWidget* widget);
void setLeft(QWidget* widget, int left);
void setTop(QWidget* widget, int top);
void setWidth(QWidget* widget, int width);
void setHeight(QWidget* widget, int height);
void place(QWidget* widget, int left, int top, int width, int height);

} // namespace twips
