#pragma once

#include "calc/pictureonpanel.h"
#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/calcstate.h"
#include "core/choices.h"
#include "core/pictureformat.h"

namespace vistrel {

// The two 16 : 9 conversions of a 4 : 3 lens line: a 16 : 9 picture as high as
// the 4 : 3 one (mode 1) or as wide (mode 2), as the catalogue defines them.
inline constexpr double kWideScreenFactor1 = 1.223837;
inline constexpr double kWideScreenFactor2 = 0.917878;

// A picture shape given as its two sides (4 : 3 is width 4, height 3).
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
// model's 16 : 9 mode, `anamorphic` the factor of an anamorphic lens in front
// of it. The three aspect options without an anamorphic lens keep the
// catalogue's own rules (and limits); every other picture is placed on the
// panel (calc/pictureonpanel.h).
struct Lens {
    const ModelRecord &model;
    int wideScreenMode = 0;
    double anamorphic = kNoAnamorphic;

    // Whether a picture of `aspect` is placed on the panel rather than
    // following one of the catalogue's rules.
    bool onPanel(AspectPair aspect) const;
    // The picture of `aspect` on this lens's panel, per unit of D43.
    Placement placement(AspectPair aspect) const;
    // The smallest and largest diagonal of a picture of `aspect` at `zoom`:
    // the catalogue's own for its rules; for a picture on the panel, the
    // limits of the aspect group that fills the panel (16 : 9 on a 16 : 9
    // panel, 4 : 3 otherwise) carried over to this picture.
    DiagonalRange limits(Zoom zoom, AspectPair aspect) const;
    // The lit area around a picture of `aspect`, `width` x `height`, thrown
    // from `distance` at `zoom`.
    Sides litPanel(Zoom zoom, double distance, AspectPair aspect, Sides picture) const;

    double diagonalFromDistance(double distance, Zoom zoom, AspectPair aspect) const;
    // Fails when the lens line of that zoom end has a slope of 0.
    Result<double> distanceFromDiagonal(double diagonal, Zoom zoom, AspectPair aspect) const;
    double offsetFromHeight(double height, double coefficient, AspectPair aspect) const;
    // Both offsets of a picture of `height` at `zoom`.
    Offsets offsets(double height, Zoom zoom, AspectPair aspect) const;
};

// The lens of `model` as the state uses it.
inline Lens lensOf(const ModelRecord &model, const CalcState &state) {
    return {model, state.wideScreenMode, state.anamorphic};
}

} // namespace vistrel
