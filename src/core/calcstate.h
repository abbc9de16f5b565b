#pragma once

#include <array>

namespace vistrel {

// Largest and smallest accepted screen diagonal per aspect group and zoom end.
struct LimitTable {
    double maxDiagonal43Wide = 0;
    double maxDiagonal43Tele = 0;
    double maxDiagonal169Wide = 0;
    double maxDiagonal169Tele = 0;
    double minDiagonal43Wide = 0;
    double minDiagonal43Tele = 0;
    double minDiagonal169Wide = 0;
    double minDiagonal169Tele = 0;
};

// The process-wide calculation state. Every length is in inches; the user's
// unit only matters at entry and display.
struct CalcState {
    int modelIndex = 0;
    int zoomEnd = 0;
    int screenPosition = 0;
    double aspectRatio = 0;
    double aspectHeight = 0;
    double aspectWidth = 0;
    int unitCode = 0;
    double screenWidth = 0;
    double screenHeight = 0;
    double screenDiagonal = 0;
    double projectionDistance = 0;
    double offsetA = 0;
    double offsetB = 0;
    std::array<int, 2> offsetCount{}; // indexed by zoom end
    int modelDrawFlag = 0;
    int wideScreenMode = 0;
    double maxDistance = 0; // the isometric diagram's scale; enlarged until the drawing fits
    double maxDistance43 = 0;
    double maxDistance169 = 0;
    double maxDiagonal = 0;
    double minDiagonal = 0;
    LimitTable limits;
};

} // namespace vistrel
