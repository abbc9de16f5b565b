#include "catalogue/modelrecord.h"

#include <array>

namespace vistrel {

namespace {

using FloatMember = double ModelRecord::*;

// Positions 13 and 14 are the integer fields and have no entry here.
constexpr std::array<FloatMember, kModelFieldCount> kFloatFields = {
    nullptr,
    &ModelRecord::minDiagonal43Wide,
    &ModelRecord::maxDiagonal43Wide,
    &ModelRecord::minDiagonal43Tele,
    &ModelRecord::maxDiagonal43Tele,
    &ModelRecord::wideCoefA,
    &ModelRecord::wideCoefB,
    &ModelRecord::teleCoefA,
    &ModelRecord::teleCoefB,
    &ModelRecord::wideOffsetCoefA,
    &ModelRecord::teleOffsetCoefA,
    &ModelRecord::wideOffsetCoefB,
    &ModelRecord::teleOffsetCoefB,
    nullptr,
    nullptr,
    &ModelRecord::minDiagonal169Wide,
    &ModelRecord::maxDiagonal169Wide,
    &ModelRecord::minDiagonal169Tele,
    &ModelRecord::maxDiagonal169Tele,
};

} // namespace

double numericField(const ModelRecord &record, int field) {
    if (field == kWideScreenModeField)
        return record.wideScreenMode;
    if (field == kModelDrawFlagField)
        return record.modelDrawFlag;
    if (field < 1 || field >= kModelFieldCount)
        return 0;
    return record.*kFloatFields[static_cast<std::size_t>(field)];
}

void setNumericField(ModelRecord &record, int field, double value) {
    if (field < 1 || field >= kModelFieldCount || !kFloatFields[static_cast<std::size_t>(field)])
        return;
    record.*kFloatFields[static_cast<std::size_t>(field)] = value;
}

} // namespace vistrel
