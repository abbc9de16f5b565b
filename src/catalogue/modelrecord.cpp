#include "catalogue/modelrecord.h"

#include <array>

namespace vistrel {

namespace {

using FloatMember = double ModelRecord::*;

// Positions 13 and 14 are the integer fields and have no entry here.
constexpr std::array<FloatMember, kModelFieldCount> kFloatFields = {
    nullptr,
    &ModelRecord::MinDiagonal43Wide,
    &ModelRecord::MaxDiagonal43Wide,
    &ModelRecord::MinDiagonal43Tele,
    &ModelRecord::MaxDiagonal43Tele,
    &ModelRecord::WideCoefA,
    &ModelRecord::WideCoefB,
    &ModelRecord::TeleCoefA,
    &ModelRecord::TeleCoefB,
    &ModelRecord::WideOffsetCoefA,
    &ModelRecord::TeleOffsetCoefA,
    &ModelRecord::WideOffsetCoefB,
    &ModelRecord::TeleOffsetCoefB,
    nullptr,
    nullptr,
    &ModelRecord::MinDiagonal169Wide,
    &ModelRecord::MaxDiagonal169Wide,
    &ModelRecord::MinDiagonal169Tele,
    &ModelRecord::MaxDiagonal169Tele,
};

using PlannerMember = double ModelRecord::*;

struct PlannerFieldInfo {
    PlannerMember member;
    const char *name;
};

constexpr std::array<PlannerFieldInfo, kPlannerFieldCount> kPlannerFields = {{
    {&ModelRecord::Lumens, "Lumens"},
    {&ModelRecord::TeleLumenFactor, "TeleLumenFactor"},
    {&ModelRecord::PanelWidthPx, "PanelWidthPx"},
    {&ModelRecord::PanelHeightPx, "PanelHeightPx"},
    {&ModelRecord::ContrastRatio, "ContrastRatio"},
}};

const PlannerFieldInfo &plannerInfo(int field) {
    const int i = field - kModelFieldCount;
    return kPlannerFields[static_cast<std::size_t>(i >= 0 && i < kPlannerFieldCount ? i : 0)];
}

} // namespace

double &plannerField(ModelRecord &record, int field) {
    return record.*plannerInfo(field).member;
}

QString plannerFieldName(int field) {
    return QString::fromLatin1(plannerInfo(field).name);
}

double numericField(const ModelRecord &record, int field) {
    if (field == kWideScreenModeField)
        return record.WideScreenMode;
    if (field == kModelDrawFlagField)
        return record.ModelDrawFlag;
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
