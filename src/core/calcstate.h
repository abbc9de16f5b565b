#pragma once

#include "core/choices.h"
#include "core/perzoom.h"
#include "core/pictureformat.h"

namespace vistrel {

// A calculation as a calculation file keeps it besides the model: the
// options and the computed lengths (inches).
struct Installation {
    Zoom zoomEnd = Zoom::Wide;
    Position screenPosition = Position::Top;
    double aspectRatio = 0;
    double aspectHeight = 0;
    double aspectWidth = 0;
    Unit unit = Unit::Inches;
    double screenWidth = 0;
    double screenHeight = 0;
    double screenDiagonal = 0;
    double projectionDistance = 0;
    double offsetA = 0;
    double offsetB = 0;
    PerZoom<int> offsetCount;
    double maxDistance = 0; // the isometric diagram's scale; enlarged until the drawing fits

    bool operator==(const Installation &) const = default;
    int offsetCountNow() const { return offsetCount[zoomEnd]; }
};

// The calculation state. Every length is in inches; the user's unit only
// matters at entry and display.
struct CalcState : Installation {
    int modelIndex = 0;
    int drawFlag = 0;
    int wideScreenMode = 0;
    // The horizontal factor of an anamorphic lens in front of the
    // projector's; 1 is none. Not part of a calculation file.
    double anamorphic = kNoAnamorphic;
    double maxDistance43 = 0;
    double maxDistance169 = 0;
    double maxDiagonal = 0;
    double minDiagonal = 0;
    DiagonalLimits limits;
};

} // namespace vistrel
