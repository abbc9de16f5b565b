#pragma once

#include "core/choices.h"

#include <array>

namespace vistrel {

// Largest and smallest accepted screen diagonal per aspect group and zoom end.
struct LimitTable {
    double MaxDiagonal43Wide = 0;
    double MaxDiagonal43Tele = 0;
    double MaxDiagonal169Wide = 0;
    double MaxDiagonal169Tele = 0;
    double MinDiagonal43Wide = 0;
    double MinDiagonal43Tele = 0;
    double MinDiagonal169Wide = 0;
    double MinDiagonal169Tele = 0;

    // The limits of an aspect group (16 : 9 or not) at a zoom end.
    double maxDiagonal(bool wideGroup, Zoom zoom) const {
        const bool tele = zoom == Zoom::Tele;
        return wideGroup ? (tele ? MaxDiagonal169Tele : MaxDiagonal169Wide)
                         : (tele ? MaxDiagonal43Tele : MaxDiagonal43Wide);
    }
    double minDiagonal(bool wideGroup, Zoom zoom) const {
        const bool tele = zoom == Zoom::Tele;
        return wideGroup ? (tele ? MinDiagonal169Tele : MinDiagonal169Wide)
                         : (tele ? MinDiagonal43Tele : MinDiagonal43Wide);
    }
};

// The calculation state. Every length is in inches; the user's unit only
// matters at entry and display.
struct CalcState {
    int ModelIndex = 0;
    Zoom ZoomEnd = Zoom::Wide;
    Position ScreenPosition = Position::Top;
    double AspectRatio = 0;
    double AspectHeight = 0;
    double AspectWidth = 0;
    Unit UnitCode = Unit::Inches;
    double ScreenWidth = 0;
    double ScreenHeight = 0;
    double ScreenDiagonal = 0;
    double ProjectionDistance = 0;
    double OffsetA = 0;
    double OffsetB = 0;
    std::array<int, 2> OffsetCount{}; // indexed by zoom end
    int ModelDrawFlag = 0;
    int WideScreenMode = 0;
    double MaxDistance = 0; // the isometric diagram's scale; enlarged until the drawing fits
    double MaxDistance43 = 0;
    double MaxDistance169 = 0;
    double MaxDiagonal = 0;
    double MinDiagonal = 0;
    LimitTable limits;

    int offsetCountNow() const { return OffsetCount[static_cast<std::size_t>(ZoomEnd)]; }
};

} // namespace vistrel
