#pragma once

#include "calc/lens.h"
#include "core/calcstate.h"

#include <QString>

#include <array>

namespace vistrel {

enum DisplayStep : int { Tens = 0, Units = 1, Tenths = 2 };

// WIDE rounds up once a value exceeds a step by more than a tenth of it; TELE
// cuts down to the step.
double RoundForDisplay(double value, int step, int ZoomEnd);

// The texts of the six result fields: distance, diagonal, width, height, then
// the two offsets (magnitudes, recomputed from the height rounded to inches).
struct ResultTexts {
    std::array<QString, 4> values;
    std::array<QString, 2> offsets;
};

ResultTexts resultTexts(const CalcState &state, const ModelRecord &model, QChar decimalPoint);

// The out-of-range message: "%1" becomes the limit in the user's unit, "%2"
// (feet and centimeters only) the limit in inches.
QString rangeMessage(const QString &text, int UnitCode, double limitInches, QChar decimalPoint);

} // namespace vistrel
