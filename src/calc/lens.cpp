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

double Lens::diagonalFromDistance(double distance, Zoom zoom, AspectPair aspect) const {
    const ModelRecord::Coefficients line = model.lens[zoom];
    const double d43 = line.a * distance + line.b;
    const std::optional<AspectRule> rule = ruleOf(aspect);
    if (!rule)
        return 0;
    switch (*rule) {
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
    const std::optional<AspectRule> rule = ruleOf(aspect);
    if (!rule)
        return 0.0;
    double d43 = 0;
    switch (*rule) {
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
    if (line.a == 0)
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: the %1 lens line of model \"%2\" has a "
                                        "slope of 0, so no projection distance can be computed")
                             .arg(QLatin1String(info(zoom).name), model.name));
    return (d43 - line.b) / line.a;
}

double Lens::offsetFromHeight(double height, double coefficient, AspectPair aspect) const {
    if (ruleOf(aspect) == AspectRule::WideScreen && wideScreenMode == 2)
        return (1.0 / 8) * height + height * coefficient;
    return height * coefficient;
}

Offsets Lens::offsets(double height, Zoom zoom, AspectPair aspect) const {
    return {offsetFromHeight(height, model.offsetCoefs[zoom].a, aspect),
            offsetFromHeight(height, model.offsetCoefs[zoom].b, aspect)};
}

} // namespace vistrel
