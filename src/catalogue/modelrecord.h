#pragma once

#include "core/choices.h"
#include "core/perzoom.h"

#include <QString>

#include <cstdint>

namespace vistrel {

// One catalogue entry: a model name and its lens data. Lengths are inches;
// per zoom end the diagonal of a 4 : 3 picture is a x distance + b. The
// file's field order is kept by numericField() and fieldName().
// The WideScreenMode whose 16 : 9 and other pictures follow the panel's pixels.
inline constexpr int kPanelScreenMode = 3;

struct ModelRecord {
    // Two coefficients a and b of a zoom end: of its lens line (the diagonal
    // of a 4 : 3 picture is a x distance + b; the end is there when its line
    // is) and of its offsets (the second offset exists where b is not 0).
    struct Coefficients {
        double a = 0;
        double b = 0;
        bool operator==(const Coefficients &) const = default;
    };

    QString name;
    DiagonalLimits diagonals;
    PerZoom<Coefficients> lens;
    PerZoom<Coefficients> offsetCoefs;
    // 1 and 2: conversion rules of 16 : 9; 3: 16 : 9 on the panel of the
    // pixel fields; any other (and 3 without pixels): no 16 : 9.
    std::int16_t wideScreenMode = 0;
    std::int16_t drawFlag = 0; // 1: side view mirrors the near edge
    // Fields 19 to 23, for the installation planner; older catalogues end
    // before them and calculation files do not hold them. 0 is unknown.
    double lumens = 0;          // light of the whole panel at WIDE, ANSI lumens
    double teleLumenFactor = 0; // light at TELE as a fraction of WIDE, 0 < f <= 1
    double panelWidthPx = 0;    // native panel width in pixels
    double panelHeightPx = 0;   // native panel height in pixels
    double contrastRatio = 0;   // native full-on/full-off contrast, N of N : 1

    bool operator==(const ModelRecord &) const = default;

    bool hasEnd(Zoom zoom) const { return lens[zoom].a != 0 || lens[zoom].b != 0; }
    bool hasWide() const { return hasEnd(Zoom::Wide); }
    bool hasTele() const { return hasEnd(Zoom::Tele); }
    bool hasPanelPixels() const { return panelWidthPx > 0 && panelHeightPx > 0; }
    // 16 : 9 (and every wider picture) exists only where a rule says how to
    // compute it: a conversion, or the panel's own shape.
    bool offers169() const {
        return wideScreenMode == 1 || wideScreenMode == 2 ||
               (wideScreenMode == kPanelScreenMode && hasPanelPixels());
    }
    // One offset, or two when the end has a second coefficient.
    int offsetCount(Zoom zoom) const { return offsetCoefs[zoom].b == 0 ? 1 : 2; }
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
// Planner data the planner can use (fields 19 to 23): a number, 0 or more,
// and a light factor at most 1.
bool validPlannerValue(int field, double value);
// The documented name of the field at a position (0 to 23).
QString fieldName(int field);

// Access to the numeric fields by their position in the file (1 to 18).
double numericField(const ModelRecord &record, int field);
void setNumericField(ModelRecord &record, int field, double value);

} // namespace vistrel
