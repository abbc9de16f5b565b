#include "calc/lens.h"

#include <cmath>

namespace vistrel {

namespace {

// The rule of an aspect pair; a pair outside the table has none.
std::optional<AspectRule> ruleOf(AspectPair aspect) {
    const std::optional<Aspect> known = aspectOf(aspect.width, aspect.height);
    if (!known)
        return std::nullopt;
    return info(*known).rule;
}

} // namespace

bool Lens::onPanel(AspectPair aspect) const {
    const std::optional<AspectRule> rule = ruleOf(aspect);
    if (!rule || anamorphic != kNoAnamorphic)
        return true;
    return *rule == AspectRule::WideScreen && wideScreenMode == kPanelScreenMode &&
           model.hasPanelPixels();
}

Placement Lens::placement(AspectPair aspect) const {
    return place(panelAspect(model), anamorphic, aspect.width / aspect.height);
}

DiagonalRange Lens::limits(Zoom zoom, AspectPair aspect) const {
    if (!onPanel(aspect)) {
        const std::optional<Aspect> known = aspectOf(aspect.width, aspect.height);
        return model.diagonals.at(info(known.value_or(Aspect::Ratio4x3)).group, zoom);
    }
    // The catalogue's limits are sizes of the panel: of the 4 : 3 picture's
    // diagonal, D43 itself, or of a 16 : 9 panel's whole picture.
    const double panel = panelAspect(model);
    const bool wide = model.offers169() && isWidePanel(panel);
    const double groupDiagonal =
        wide ? place(panel, kNoAnamorphic, 16.0 / 9).picture.diagonal() : 1;
    const double factor = placement(aspect).picture.diagonal() / groupDiagonal;
    const DiagonalRange range =
        model.diagonals.at(wide ? AspectGroup::SixteenNine : AspectGroup::FourThree, zoom);
    return {range.min * factor, range.max * factor};
}

Sides Lens::litPanel(Zoom zoom, double distance, AspectPair aspect, Sides picture) const {
    const double panel = panelAspect(model);
    if (!onPanel(aspect) && panel == modePanelAspect(model)) {
        // The panel as the catalogue's 16 : 9 rules imply it, from the lens
        // line at the distance.
        const ModelRecord::Coefficients line = model.lens[zoom];
        const double diagonal43 = line.a * distance + line.b;
        if (model.wideScreenMode == 1)
            return sidesOf(diagonal43 * kWideScreenFactor1, 16.0 / 9);
        return sidesOf(diagonal43, 4.0 / 3);
    }
    // Around the picture: the calculation's 4 : 3, 5 : 4 and 16 : 9 need not
    // come from the panel's pixels, the picture on the wall does.
    const Placement p = place(panel, anamorphic, aspect.width / aspect.height);
    if (!(p.picture.height > 0))
        return {};
    const double scale = picture.height / p.picture.height;
    return {p.lit.width * scale, p.lit.height * scale};
}

double Lens::diagonalFromDistance(double distance, Zoom zoom, AspectPair aspect) const {
    const ModelRecord::Coefficients line = model.lens[zoom];
    const double d43 = line.a * distance + line.b;
    if (onPanel(aspect))
        return d43 * placement(aspect).picture.diagonal();
    switch (*ruleOf(aspect)) {
    case AspectRule::Lens43:
        return d43;
    case AspectRule::SameHeight:
        return (d43 / 5 * 3) / aspect.height *
               std::sqrt(aspect.width * aspect.width + aspect.height * aspect.height);
    case AspectRule::WideScreen:
        if (wideScreenMode == 1)
            return d43 * kWideScreenFactor1;
        if (wideScreenMode == 2)
            return d43 * kWideScreenFactor2;
        return 0;
    }
    return 0;
}

Result<double> Lens::distanceFromDiagonal(double diagonal, Zoom zoom, AspectPair aspect) const {
    const ModelRecord::Coefficients line = model.lens[zoom];
    double d43 = 0;
    if (onPanel(aspect)) {
        const double perD43 = placement(aspect).picture.diagonal();
        if (!(perD43 > 0 && std::isfinite(perD43)))
            return 0.0;
        d43 = diagonal / perD43;
    } else {
        switch (*ruleOf(aspect)) {
        case AspectRule::Lens43:
            d43 = diagonal;
            break;
        case AspectRule::SameHeight:
            d43 = std::sin(std::atan(1 / (aspect.width / aspect.height))) * diagonal / 3 * 5;
            break;
        case AspectRule::WideScreen:
            if (wideScreenMode == 1)
                d43 = diagonal / kWideScreenFactor1;
            else if (wideScreenMode == 2)
                d43 = diagonal / kWideScreenFactor2;
            else
                return 0.0;
            break;
        }
    }
    if (line.a == 0)
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: the %1 lens line of model \"%2\" has a "
                                        "slope of 0, so no projection distance can be computed")
                             .arg(QLatin1String(info(zoom).name), model.name));
    return (d43 - line.b) / line.a;
}

double Lens::offsetFromHeight(double height, double coefficient, AspectPair aspect) const {
    if (onPanel(aspect))
        return height * coefficient + height * placement(aspect).nearEdgeShift;
    if (ruleOf(aspect) == AspectRule::WideScreen && wideScreenMode == 2)
        return (1.0 / 8) * height + height * coefficient;
    return height * coefficient;
}

Offsets Lens::offsets(double height, Zoom zoom, AspectPair aspect) const {
    return {offsetFromHeight(height, model.offsetCoefs[zoom].a, aspect),
            offsetFromHeight(height, model.offsetCoefs[zoom].b, aspect)};
}

} // namespace vistrel
