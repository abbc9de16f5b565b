#include "calc/display.h"

#include "core/helpers.h"
#include "core/numbers.h"

#include <cmath>

namespace vistrel {

double RoundForDisplay(double value, int step, int ZoomEnd) {
    const bool wide = ZoomEnd == Wide;
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

UnitFormat unitFormat(int UnitCode) {
    if (UnitCode == Centimeters)
        return {Units, Tens, Units, 0};
    return {Units, Units, Tenths, 1};
}

} // namespace

ResultTexts resultTexts(const CalcState &state, const ModelRecord &model, QChar decimalPoint) {
    const double factor = unitFactor(state.UnitCode);
    const UnitFormat format = unitFormat(state.UnitCode);
    auto shown = [&](double inches, int step, int decimals) {
        return formatFixed(RoundForDisplay(inches * factor, step, state.ZoomEnd), decimals,
                           decimalPoint);
    };

    ResultTexts texts;
    texts.values[2] = shown(state.ScreenWidth, format.mainStep, 0);
    texts.values[3] = shown(state.ScreenHeight, format.mainStep, 0);
    texts.values[1] = shown(state.ScreenDiagonal, format.mainStep, 0);
    texts.values[0] = shown(state.ProjectionDistance, format.distanceStep, 0);

    const double roundedHeight = RoundForDisplay(state.ScreenHeight, Units, state.ZoomEnd);
    const bool tele = state.ZoomEnd == Tele;
    const Lens lens{model, state.WideScreenMode};
    const AspectPair aspect{state.AspectHeight, state.AspectWidth};
    const double first = lens.OffsetFromHeight(
        roundedHeight, tele ? model.TeleOffsetCoefA : model.WideOffsetCoefA, aspect);
    const double second = lens.OffsetFromHeight(
        roundedHeight, tele ? model.TeleOffsetCoefB : model.WideOffsetCoefB, aspect);
    texts.offsets[0] = shown(std::abs(first), format.offsetStep, format.offsetDecimals);
    texts.offsets[1] = shown(std::abs(second), format.offsetStep, format.offsetDecimals);
    return texts;
}

QString rangeMessage(const QString &text, int UnitCode, double limitInches, QChar decimalPoint) {
    const QString inUnit = formatGeneral(limitInches * unitFactor(UnitCode), decimalPoint);
    QString message = ReplaceText(text, QStringLiteral("%1"), inUnit);
    if (UnitCode != Inches)
        message =
            ReplaceText(message, QStringLiteral("%2"), formatGeneral(limitInches, decimalPoint));
    return message;
}

} // namespace vistrel
