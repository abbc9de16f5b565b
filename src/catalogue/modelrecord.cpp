#include "catalogue/modelrecord.h"

#include <algorithm>
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

// The field names of the catalogue's documentation, by position.
constexpr std::array<const char *, kCatalogueFieldCount> kFieldNames = {
    "ModelName",          "MinDiagonal43Wide",  "MaxDiagonal43Wide",  "MinDiagonal43Tele",
    "MaxDiagonal43Tele",  "WideCoefA",          "WideCoefB",          "TeleCoefA",
    "TeleCoefB",          "WideOffsetCoefA",    "TeleOffsetCoefA",    "WideOffsetCoefB",
    "TeleOffsetCoefB",    "WideScreenMode",     "ModelDrawFlag",      "MinDiagonal169Wide",
    "MaxDiagonal169Wide", "MinDiagonal169Tele", "MaxDiagonal169Tele", "Lumens",
    "TeleLumenFactor",    "PanelWidthPx",       "PanelHeightPx",      "ContrastRatio",
};

constexpr std::array<FloatMember, kPlannerFieldCount> kPlannerFields = {
    &ModelRecord::Lumens,        &ModelRecord::TeleLumenFactor, &ModelRecord::PanelWidthPx,
    &ModelRecord::PanelHeightPx, &ModelRecord::ContrastRatio,
};

std::size_t plannerIndex(int field) {
    const int i = field - kModelFieldCount;
    Q_ASSERT(i >= 0 && i < kPlannerFieldCount);
    return static_cast<std::size_t>(std::clamp(i, 0, kPlannerFieldCount - 1));
}

} // namespace

double &plannerField(ModelRecord &record, int field) {
    return record.*kPlannerFields[plannerIndex(field)];
}

QString fieldName(int field) {
    if (field < 0 || field >= kCatalogueFieldCount)
        return QStringLiteral("field %1").arg(field);
    return QString::fromLatin1(kFieldNames[static_cast<std::size_t>(field)]);
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
