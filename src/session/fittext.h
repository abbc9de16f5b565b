#pragma once

#include "calc/fittable.h"
#include "core/choices.h"
#include "core/perzoom.h"

#include <QString>

namespace vistrel {

// A fit row's figures in the user's unit, rounded as the calculator's fields
// and the planner's throw range round them, so that the projectors window
// and the command line show the same numbers. Empty where the row has none.
struct FitFigures {
    PerZoom<QString> distance;
    QString nearest, farthest;
    QString offset1, offset2; // offset2 for a zoom end with two offsets only
    QString footLamberts;
};

FitFigures fitFigures(const FitRow &row, Unit unit, QChar decimalPoint = u'.');

// Why a model cannot fill the screen of `request`, in words and in the
// user's unit ("it needs 78.1 in to 101.6 in; the room allows 110.0 in to
// 200.0 in"); empty for a model that fits.
QString fitReason(const FitRow &row, const FitRequest &request, Unit unit,
                  QChar decimalPoint = u'.');

} // namespace vistrel
