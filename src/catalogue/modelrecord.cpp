#include "catalogue/modelrecord.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vistrel {

namespace {

// The floating-point fields by their position in the file (1 to 18);
// positions 13 and 14 are the integer fields and have none.
template <typename Record> auto floatField(Record &r, int field) -> decltype(&r.lumens) {
    constexpr int kDiagonals169 = 15;
    switch (field) {
    case 1:
    case 2:
    case 3:
    case 4:
    case kDiagonals169:
    case kDiagonals169 + 1:
    case kDiagonals169 + 2:
    case kDiagonals169 + 3: {
        // Min and max, WIDE then TELE, for the 4 : 3 group and then for 16 : 9.
        const int i = field < kDiagonals169 ? field - 1 : field - kDiagonals169;
        auto &group = field < kDiagonals169 ? r.diagonals.fourThree : r.diagonals.sixteenNine;
        auto &range = group[i < 2 ? Zoom::Wide : Zoom::Tele];
        return i % 2 == 0 ? &range.min : &range.max;
    }
    case 5:
        return &r.lens[Zoom::Wide].a;
    case 6:
        return &r.lens[Zoom::Wide].b;
    case 7:
        return &r.lens[Zoom::Tele].a;
    case 8:
        return &r.lens[Zoom::Tele].b;
    case 9:
        return &r.offsetCoefs[Zoom::Wide].a;
    case 10:
        return &r.offsetCoefs[Zoom::Tele].a;
    case 11:
        return &r.offsetCoefs[Zoom::Wide].b;
    case 12:
        return &r.offsetCoefs[Zoom::Tele].b;
    default:
        return nullptr;
    }
}

// The field names of the catalogue's documentation, by position.
constexpr std::array<const char *, kCatalogueFieldCount> kFieldNames = {
    "ModelName",          "MinDiagonal43Wide",  "MaxDiagonal43Wide",  "MinDiagonal43Tele",
    "MaxDiagonal43Tele",  "WideCoefA",          "WideCoefB",          "TeleCoefA",
    "TeleCoefB",          "WideOffsetCoefA",    "TeleOffsetCoefA",    "WideOffsetCoefB",
    "TeleOffsetCoefB",    "WideScreenMode",     "ModelDrawFlag",      "MinDiagonal169Wide",
    "MaxDiagonal169Wide", "MinDiagonal169Tele", "MaxDiagonal169Tele", "Lumens",
    "TeleLumenFactor",    "PanelWidthPx",       "PanelHeightPx",      "ContrastRatio",
};

using FloatMember = double ModelRecord::*;

constexpr std::array<FloatMember, kPlannerFieldCount> kPlannerFields = {
    &ModelRecord::lumens,        &ModelRecord::teleLumenFactor, &ModelRecord::panelWidthPx,
    &ModelRecord::panelHeightPx, &ModelRecord::contrastRatio,
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

bool validPlannerValue(int field, double value) {
    const bool factor = field == kModelFieldCount + 1;
    return std::isfinite(value) && value >= 0 && !(factor && value > 1);
}

double numericField(const ModelRecord &record, int field) {
    if (field == kWideScreenModeField)
        return record.wideScreenMode;
    if (field == kModelDrawFlagField)
        return record.drawFlag;
    const double *value = floatField(record, field);
    return value ? *value : 0;
}

void setNumericField(ModelRecord &record, int field, double value) {
    if (double *target = floatField(record, field))
        *target = value;
}

} // namespace vistrel
