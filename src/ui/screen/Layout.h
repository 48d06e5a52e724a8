#pragma once

struct Controls;
class QWidget;

// Stretches the screen's lists to its window: the mapping frame stays at the bottom and spans
// the width, the revenue frame stays at the right edge and spans the height, and the two item
// grids take the rest. Every other control keeps its design place.
//
// The nine steps run in a fixed order, each on the values the earlier ones set, with the
// window's outer size (border and title bar included) read afresh in twips for each. A step
// whose width or height would come out negative is skipped and the control keeps what it had;
// a top or left may be negative.
void stretchToWindow(Controls& controls, const QWidget& window);
