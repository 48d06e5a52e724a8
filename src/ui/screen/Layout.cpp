#include "Layout.h"

#include "ui/screen/Controls.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QGroupBox>

#include <cmath>

namespace {

// One place of a control: how it is set in twips, and whether it is a size.
struct Property {
    void (*set)(QWidget*, int);
    bool isSize;
};
constexpr Property Left{twips::setLeft, false};
constexpr Property Top{twips::setTop, false};
constexpr Property Width{twips::setWidth, true};
constexpr Property Height{twips::setHeight, true};

// Sets one place of a control; a size below zero is refused, as the control would refuse it.
void apply(QWidget* control, Property property, float value) {
    if (!std::isfinite(value) || (property.isSize && value < 0.0f))
        return;
    property.set(control, static_cast<int>(std::lround(value)));
}

} // namespace

void stretchToWindow(Controls& c, const QWidget& window) {
    const auto W = [&window] {
        return static_cast<float>(twips::fromPixels(window.frameGeometry().width()));
    };
    const auto H = [&window] {
        return static_cast<float>(twips::fromPixels(window.frameGeometry().height()));
    };
    const auto width = [](const QWidget* w) { return static_cast<float>(twips::width(w)); };
    const auto height = [](const QWidget* w) { return static_cast<float>(twips::height(w)); };
    const auto left = [](const QWidget* w) { return static_cast<float>(twips::left(w)); };
    const auto top = [](const QWidget* w) { return static_cast<float>(twips::top(w)); };

    apply(c.fraMap, Width, W() - 600.0f);
    apply(c.GridMap, Width, W() - 800.0f);
    apply(c.fraMap, Top, H() - height(c.fraMap) - 800.0f);
    apply(c.Grid1, Height, H() - top(c.Grid1) - 4000.0f);
    apply(c.Grid2, Height, height(c.Grid1));
    apply(c.fraR, Left, W() - width(c.fraR) - 400.0f);
    apply(c.Grid2, Width, W() - width(c.fraR) - left(c.Grid2) - 500.0f);
    apply(c.fraR, Height, H() - 4000.0f);
    apply(c.GridRevCode, Height, H() - 4000.0f - top(c.GridRevCode));
}
