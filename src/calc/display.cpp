#include "calc/display.h"

#include "core/helpers.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace vistrel {

namespace {

// Rounds down, except that a value a few ulps below a whole number counts as
// that number: 72 * 0.3 is 21.599999999999998, and a height typed as 40 must
// not be shown as 39 once it has been recomputed from the diagonal (after
// Open, say). The margin is a thousand times the noise of the few operations
// between a typed value and a shown one, and stays below the twelve
// significant digits a user might type.
double floorOfNoisy(double value) {
    const double nearest = std::nearbyint(value);
    if (std::abs(value - nearest) <= 1e-12 * std::max(1.0, std::abs(value)))
        return nearest;
    return std::floor(value);
}

} // namespace

double roundForDisplay(double value, Step step, Zoom zoom) {
    const double tolerance = zoom == Zoom::Wide ? 0.9 : 0.0;
    switch (step) {
    case Step::Tens:
        return floorOfNoisy(value / 10.0 + tolerance) * 10.0;
    case Step::Tenths:
        return floorOfNoisy(value * 10.0 + tolerance) / 10.0;
    case Step::Units:
        break;
    }
    return floorOfNoisy(value + tolerance);
}

double shownValue(double inches, Unit unit, Step step, Zoom zoom) {
    return roundForDisplay(fromInches(inches, unit), step, zoom);
}

int decimalsOf(Step step) {
    return step == Step::Tenths ? 1 : 0;
}

QString shownLength(double inches, Unit unit, Step step, Zoom zoom, QChar decimalPoint) {
    return formatFixed(shownValue(inches, unit, step, zoom), decimalsOf(step), decimalPoint);
}

std::array<double, 2> shownOffsets(const Lens &lens, double height, Zoom zoom, AspectPair aspect,
                                   Unit unit) {
    // The offsets shown belong to the height shown in whole inches, whatever the unit.
    const Offsets offsets = lens.offsets(roundForDisplay(height, Step::Units, zoom), zoom, aspect);
    const Step step = info(unit).offsetStep;
    return {shownValue(std::abs(offsets.a), unit, step, zoom),
            shownValue(std::abs(offsets.b), unit, step, zoom)};
}

ResultTexts resultTexts(const CalcState &state, const ModelRecord &model, QChar decimalPoint) {
    const UnitInfo &unit = info(state.unit);
    auto shown = [&](double inches, Step step) {
        return shownLength(inches, state.unit, step, state.zoomEnd, decimalPoint);
    };
    ResultTexts texts;
    auto value = [&texts](Field field) -> QString & {
        return texts.values[static_cast<std::size_t>(field)];
    };
    value(Field::Width) = shown(state.screenWidth, unit.lengthStep);
    value(Field::Height) = shown(state.screenHeight, unit.lengthStep);
    value(Field::Diagonal) = shown(state.screenDiagonal, unit.lengthStep);
    value(Field::Distance) = shown(state.projectionDistance, unit.distanceStep);

    const std::array<double, 2> offsets =
        shownOffsets(lensOf(model, state), state.screenHeight, state.zoomEnd,
                     {state.aspectHeight, state.aspectWidth}, state.unit);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        texts.offsets[i] = formatFixed(offsets[i], decimalsOf(unit.offsetStep), decimalPoint);
    return texts;
}

QString rangeMessage(const QString &text, Unit unit, double limitInches, QChar decimalPoint) {
    const QString inUnit = formatGeneral(fromInches(limitInches, unit), decimalPoint);
    QString message = replaceText(text, QStringLiteral("%1"), inUnit);
    if (unit != Unit::Inches)
        message =
            replaceText(message, QStringLiteral("%2"), formatGeneral(limitInches, decimalPoint));
    return message;
}

} // namespace vistrel
