#include "Layout.h"

#include "ui/screen/Controls.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QGroupBox>

#include <cmath>

namespace {

enum class Property { Left, Top, Width, Height };

// Sets one place of a control; a size below zero is refused, as the control would refuse it.
void apply(QWidget* control, Property property, float value) {
    const bool isSize = property == Property::Width || property == Property::Height;
    if (!std::isfinite(value) || (isSize && value < 0.0f))
        return;
    const int twipsValue = static_cast<int>(std::lround(value));
    switch (property) {
    case Property::Left:
        twips::setLeft(control, twipsValue);
        break;
    case Property::Top:
        twips::setTop(control, twipsValue);
        break;
    case Property::Width:
        twips::setWidth(control, twipsValue);
        break;
    case Property::Height:
        twips::setHeight(control, twipsValue);
        break;
    }
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

    apply(c.fraMap, Property::Width, W() - 600.0f);
    apply(c.GridMap, Property::Width, W() - 800.0f);
    apply(c.fraMap, Property::Top, H() - height(c.fraMap) - 800.0f);
    apply(c.Grid1, Property::Height, H() - top(c.Grid1) - 4000.0f);
    apply(c.Grid2, Property::Height, height(c.Grid1));
    apply(c.fraR, Property::Left, W() - width(c.fraR) - 400.0f);
    apply(c.Grid2, Property::Width, W() - width(c.fraR) - left(c.Grid2) - 500.0f);
    apply(c.fraR, Property::Height, H() - 4000.0f);
    apply(c.GridRevCode, Property::Height, H() - 4000.0f - top(c.GridRevCode));
}
