#pragma once

#include "calc/lens.h"
#include "core/calcstate.h"

#include <QString>

#include <array>

namespace vistrel {

// WIDE rounds up once a value exceeds a step by more than a tenth of it; TELE
// cuts down to the step.
double roundForDisplay(double value, Step step, Zoom zoom);

// The texts of the six result fields: the four lengths (indexed by Field),
// then the two offsets (magnitudes, recomputed from the height rounded to
// whole inches).
struct ResultTexts {
    std::array<QString, 4> values;
    std::array<QString, 2> offsets;
};

ResultTexts resultTexts(const CalcState &state, const ModelRecord &model, QChar decimalPoint);

// A length as the fields show it: in `unit`, rounded for `zoom` in `step`s.
double shownValue(double inches, Unit unit, Step step, Zoom zoom);
QString shownLength(double inches, Unit unit, Step step, Zoom zoom, QChar decimalPoint);
// The decimals a value of that step is written with.
int decimalsOf(Step step);

// The two offsets as the fields show them for a picture `height` inches
// high: magnitudes in the unit, worked out from the height rounded to whole
// inches for the zoom end.
std::array<double, 2> shownOffsets(const Lens &lens, double height, Zoom zoom, AspectPair aspect,
                                   Unit unit);

// The out-of-range message: "%1" becomes the limit in the user's unit, "%2"
// (all units but inches) the limit in inches.
QString rangeMessage(const QString &text, Unit unit, double limitInches, QChar decimalPoint);

} // namespace vistrel
