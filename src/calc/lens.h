#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"

namespace vistrel {

enum ZoomEnd : int { Wide = 0, Tele = 1 };
enum ScreenPosition : int { Top = 0, Bottom = 1 };

// The two 16 : 9 conversions of a 4 : 3 lens line: a 16 : 9 picture as high as
// the 4 : 3 one (mode 1) or as wide (mode 2), as the catalogue defines them.
inline constexpr double kWideScreenFactor1 = 1.223837;
inline constexpr double kWideScreenFactor2 = 0.917878;

// A picture shape given as its two sides (4 : 3 is width 4, height 3).
struct AspectPair {
    double height = 3;
    double width = 4;
};

// The lens of one catalogue model; `WideScreenMode` is the state's copy of the
// model's 16 : 9 mode.
struct Lens {
    const ModelRecord &model;
    int WideScreenMode = 0;

    double DiagonalFromDistance(double distance, int ZoomEnd, AspectPair aspect) const;
    // Fails when the lens line of that zoom end has a slope of 0.
    Result<double> DistanceFromDiagonal(double diagonal, int ZoomEnd, AspectPair aspect) const;
    double OffsetFromHeight(double height, double coefficient, AspectPair aspect) const;
};

QString zoomEndName(int ZoomEnd);

} // namespace vistrel
