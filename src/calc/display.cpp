#include "calc/display.h"

#include "core/helpers.h"
#include "core/numbers.h"

#include <cmath>

namespace vistrel {

double roundForDisplay(double value, int step, int zoomEnd) {
    const bool wide = zoomEnd == Wide;
    switch (step) {
    case Tens:
        return std::floor(value / 10.0 + (wide ? 0.9 : 0.0)) * 10.0;
    case Tenths:
        return std::floor(value * 10.0 + (wide ? 0.9 : 0.0)) / 10.0;
    default:
        return std::floor(value + (wide ? 0.9 : 0.0));
    }
}

namespace {

struct UnitFormat {
    int mainStep;
    int distanceStep;
    int offsetStep;
    int offsetDecimals;
};

UnitFormat unitFormat(int unitCode) {
    if (unitCode == Centimeters)
        return {Units, Tens, Units, 0};
    return {Units, Units, Tenths, 1};
}

} // namespace

ResultTexts resultTexts(const CalcState &state, const ModelRecord &model, QChar decimalPoint) {
    const double factor = unitFactor(state.unitCode);
    const UnitFormat format = unitFormat(state.unitCode);
    auto shown = [&](double inches, int step, int decimals) {
        return formatFixed(roundForDisplay(inches * factor, step, state.zoomEnd), decimals,
                           decimalPoint);
    };

    ResultTexts texts;
    texts.values[2] = shown(state.screenWidth, format.mainStep, 0);
    texts.values[3] = shown(state.screenHeight, format.mainStep, 0);
    texts.values[1] = shown(state.screenDiagonal, format.mainStep, 0);
    texts.values[0] = shown(state.projectionDistance, format.distanceStep, 0);

    const double roundedHeight = roundForDisplay(state.screenHeight, Units, state.zoomEnd);
    const bool tele = state.zoomEnd == Tele;
    const Lens lens{model, state.wideScreenMode};
    const AspectPair aspect{state.aspectHeight, state.aspectWidth};
    const double first = lens.offsetFromHeight(
        roundedHeight, tele ? model.teleOffsetCoefA : model.wideOffsetCoefA, aspect);
    const double second = lens.offsetFromHeight(
        roundedHeight, tele ? model.teleOffsetCoefB : model.wideOffsetCoefB, aspect);
    texts.offsets[0] = shown(std::abs(first), format.offsetStep, format.offsetDecimals);
    texts.offsets[1] = shown(std::abs(second), format.offsetStep, format.offsetDecimals);
    return texts;
}

QString rangeMessage(const QString &text, int unitCode, double limitInches, QChar decimalPoint) {
    const QString inUnit = formatGeneral(limitInches * unitFactor(unitCode), decimalPoint);
    QString message = replaceText(text, QStringLiteral("%1"), inUnit);
    if (unitCode != Inches)
        message =
            replaceText(message, QStringLiteral("%2"), formatGeneral(limitInches, decimalPoint));
    return message;
}

} // namespace vistrel
