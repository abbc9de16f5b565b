#pragma once

#include "core/choices.h"

#include <QString>

#include <cstdint>

namespace vistrel {

// One catalogue entry: a model name and its lens data, in the field order of
// the model information file (and of calculation files). Lengths are inches;
// per zoom end the diagonal of a 4 : 3 picture is CoefA x distance + CoefB.
struct ModelRecord {
    QString ModelName;
    double MinDiagonal43Wide = 0;
    double MaxDiagonal43Wide = 0;
    double MinDiagonal43Tele = 0;
    double MaxDiagonal43Tele = 0;
    double WideCoefA = 0;
    double WideCoefB = 0;
    double TeleCoefA = 0;
    double TeleCoefB = 0;
    double WideOffsetCoefA = 0;
    double TeleOffsetCoefA = 0;
    double WideOffsetCoefB = 0;
    double TeleOffsetCoefB = 0;
    std::int16_t WideScreenMode = 0; // 1 and 2: conversion rules; any other: no 16 : 9
    std::int16_t ModelDrawFlag = 0;  // 1: side view mirrors the near edge
    double MinDiagonal169Wide = 0;
    double MaxDiagonal169Wide = 0;
    double MinDiagonal169Tele = 0;
    double MaxDiagonal169Tele = 0;
    // Fields 19 to 23, for the installation planner; older catalogues end
    // before them and calculation files do not hold them. 0 is unknown.
    double Lumens = 0;          // light of the whole panel at WIDE, ANSI lumens
    double TeleLumenFactor = 0; // light at TELE as a fraction of WIDE, 0 < f <= 1
    double PanelWidthPx = 0;    // native panel width in pixels
    double PanelHeightPx = 0;   // native panel height in pixels
    double ContrastRatio = 0;   // native full-on/full-off contrast, N of N : 1

    bool operator==(const ModelRecord &) const = default;

    bool hasWide() const { return WideCoefA != 0 || WideCoefB != 0; }
    bool hasTele() const { return TeleCoefA != 0 || TeleCoefB != 0; }
    // A zoom end is there when its lens line is.
    bool hasEnd(Zoom zoom) const { return zoom == Zoom::Tele ? hasTele() : hasWide(); }
    // 16 : 9 exists only where a conversion rule says how to compute it.
    bool offers169() const { return WideScreenMode == 1 || WideScreenMode == 2; }

    // The diagonal of a 4 : 3 picture is a x distance + b.
    struct LensLine {
        double a = 0;
        double b = 0;
    };
    LensLine lensLine(Zoom zoom) const {
        return zoom == Zoom::Tele ? LensLine{TeleCoefA, TeleCoefB} : LensLine{WideCoefA, WideCoefB};
    }
    // The first and second offset coefficient of a zoom end.
    double offsetCoefA(Zoom zoom) const {
        return zoom == Zoom::Tele ? TeleOffsetCoefA : WideOffsetCoefA;
    }
    double offsetCoefB(Zoom zoom) const {
        return zoom == Zoom::Tele ? TeleOffsetCoefB : WideOffsetCoefB;
    }
    // One offset, or two when the end has a second coefficient.
    int offsetCount(Zoom zoom) const { return offsetCoefB(zoom) == 0 ? 1 : 2; }
};

inline constexpr int kModelCapacity = 1000;
// The fields every model line has (and a calculation file stores) ...
inline constexpr int kModelFieldCount = 19;
// ... and the planner's fields after them, which a line may leave out.
inline constexpr int kPlannerFieldCount = 5;
inline constexpr int kCatalogueFieldCount = kModelFieldCount + kPlannerFieldCount;

// Field positions 13 and 14 hold 16-bit integers; all others but 0 are floats.
inline constexpr int kWideScreenModeField = 13;
inline constexpr int kModelDrawFlagField = 14;

// The planner's fields by their position in the file (19 to 23).
double &plannerField(ModelRecord &record, int field);
// The documented name of the field at a position (0 to 23).
QString fieldName(int field);

// Access to the numeric fields by their position in the file (1 to 18).
double numericField(const ModelRecord &record, int field);
void setNumericField(ModelRecord &record, int field, double value);

} // namespace vistrel
