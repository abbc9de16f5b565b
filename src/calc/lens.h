#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/choices.h"

namespace vistrel {

// The two 16 : 9 conversions of a 4 : 3 lens line: a 16 : 9 picture as high as
// the 4 : 3 one (mode 1) or as wide (mode 2), as the catalogue defines them.
inline constexpr double kWideScreenFactor1 = 1.223837;
inline constexpr double kWideScreenFactor2 = 0.917878;

// A picture shape given as its two sides (4 : 3 is width 4, height 3); only
// the pairs of the aspect table have a rule.
struct AspectPair {
    double height = 3;
    double width = 4;
};

inline AspectPair pairOf(Aspect aspect) {
    return {info(aspect).height, info(aspect).width};
}

// The offsets of a picture, signed, in inches: the first and the second
// coefficient of the zoom end applied to its height.
struct Offsets {
    double a = 0;
    double b = 0;
};

// The lens of one catalogue model; `WideScreenMode` is the state's copy of the
// model's 16 : 9 mode.
struct Lens {
    const ModelRecord &model;
    int wideScreenMode = 0;

    double diagonalFromDistance(double distance, Zoom zoom, AspectPair aspect) const;
    // Fails when the lens line of that zoom end has a slope of 0.
    Result<double> distanceFromDiagonal(double diagonal, Zoom zoom, AspectPair aspect) const;
    double offsetFromHeight(double height, double coefficient, AspectPair aspect) const;
    // Both offsets of a picture of `height` at `zoom`.
    Offsets offsets(double height, Zoom zoom, AspectPair aspect) const;
};

} // namespace vistrel
