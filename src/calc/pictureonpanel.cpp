#include "calc/pictureonpanel.h"

#include <cmath>

namespace vistrel {

namespace {

constexpr double kRatio43 = 4.0 / 3.0;
constexpr double kRatio169 = 16.0 / 9.0;
// The sides of a 4 : 3 picture of diagonal 1.
constexpr double kHeight43 = 0.6;
constexpr double kWidth43 = 0.8;
constexpr double kOddestPanel = 1.0 / 16;

} // namespace

double Sides::diagonal() const {
    return std::sqrt(width * width + height * height);
}

Sides sidesOf(double diagonal, double ratio) {
    const double height = std::sin(std::atan(1 / ratio)) * diagonal;
    return {ratio * height, height};
}

bool isWidePanel(double panelAspect) {
    return std::abs(panelAspect / kRatio169 - 1) <= 0.01;
}

double modePanelAspect(const ModelRecord &model) {
    return model.wideScreenMode == 1 ? kRatio169 : kRatio43;
}

double panelAspect(const ModelRecord &model) {
    if (model.hasPanelPixels()) {
        // Pixel counts no panel has (1 x 100000) would make the geometry's
        // numbers overflow; they say nothing about the shape.
        const double aspect = model.panelWidthPx / model.panelHeightPx;
        if (aspect >= kOddestPanel && aspect <= 1 / kOddestPanel)
            return aspect;
    }
    return modePanelAspect(model);
}

Placement place(double panelAspect, double anamorphic, double ratio) {
    Placement p;
    if (panelAspect >= kRatio43)
        p.panel = {panelAspect * kHeight43, kHeight43};
    else
        p.panel = {kWidth43, kWidth43 / panelAspect};
    p.lit = {p.panel.width * anamorphic, p.panel.height};
    if (ratio >= p.lit.width / p.lit.height)
        p.picture = {p.lit.width, p.lit.width / ratio};
    else
        p.picture = {p.lit.height * ratio, p.lit.height};
    p.nearEdgeShift = (1 - p.picture.height / kHeight43) / 2;
    return p;
}

double Placement::share() const {
    return picture.area() / lit.area();
}

} // namespace vistrel
