#pragma once

#include <QString>

#include <cstdint>

namespace vistrel {

// One catalogue entry: a model name and its lens data, in the field order of
// the model information file (and of calculation files). Lengths are inches;
// per zoom end the diagonal of a 4 : 3 picture is CoefA x distance + CoefB.
struct ModelRecord {
    QString modelName;
    double minDiagonal43Wide = 0;
    double maxDiagonal43Wide = 0;
    double minDiagonal43Tele = 0;
    double maxDiagonal43Tele = 0;
    double wideCoefA = 0;
    double wideCoefB = 0;
    double teleCoefA = 0;
    double teleCoefB = 0;
    double wideOffsetCoefA = 0;
    double teleOffsetCoefA = 0;
    double wideOffsetCoefB = 0;
    double teleOffsetCoefB = 0;
    std::int16_t wideScreenMode = 0; // 0 no 16 : 9; 1 and 2: conversion rules
    std::int16_t modelDrawFlag = 0;  // 1: side view mirrors the near edge
    double minDiagonal169Wide = 0;
    double maxDiagonal169Wide = 0;
    double minDiagonal169Tele = 0;
    double maxDiagonal169Tele = 0;

    bool operator==(const ModelRecord &) const = default;

    bool hasWide() const { return wideCoefA != 0 || wideCoefB != 0; }
    bool hasTele() const { return teleCoefA != 0 || teleCoefB != 0; }
};

inline constexpr int kModelCapacity = 1000;
inline constexpr int kModelFieldCount = 19;

// Field positions 13 and 14 hold 16-bit integers; all others but 0 are floats.
inline constexpr int kWideScreenModeField = 13;
inline constexpr int kModelDrawFlagField = 14;

// Access to the numeric fields by their position in the file (1 to 18).
double numericField(const ModelRecord &record, int field);
void setNumericField(ModelRecord &record, int field, double value);

} // namespace vistrel
