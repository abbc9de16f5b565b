#pragma once

#include "core/apperror.h"
#include "core/choices.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace vistrel {

// A picture's shape as its two sides (16 : 10 is width 16, height 10; 2.39 : 1
// is 2.39 and 1). The three aspect options are pictures too; every other
// shape is placed on the model's panel (calc/pictureonpanel.h).
struct PictureFormat {
    double width = 4;
    double height = 3;

    double ratio() const { return width / height; }
    bool operator==(const PictureFormat &) const = default;
};

// The shapes the "Other" choice lists, in its order; a typed ratio follows them.
struct FormatInfo {
    const char *label; // "16 : 10", the same in every language
    const char *cli;   // --aspect
    double width;
    double height;
};

inline constexpr std::array<FormatInfo, 6> kOtherFormats{{
    {"16 : 10", "16:10", 16, 10},
    {"17 : 9", "17:9", 256, 135}, // DCI 4K, 4096 x 2160
    {"1.85 : 1", "1.85", 1.85, 1},
    {"2.00 : 1", "2.00", 2, 1},
    {"2.39 : 1", "2.39", 2.39, 1},
    {"2.76 : 1", "2.76", 2.76, 1},
}};

// A typed ratio: flatter than a square and no wider than four of it.
inline constexpr double kNarrowestRatio = 1.0;
inline constexpr double kWidestRatio = 4.0;

// The horizontal expansion of an anamorphic lens; 1 is none.
inline constexpr double kNoAnamorphic = 1.0;
inline constexpr double kLargestAnamorphic = 2.0;
inline constexpr std::array<double, 3> kAnamorphicFactors{1.0, 1.25, 1.33};

PictureFormat formatOf(Aspect aspect);
// The aspect option whose sides are exactly these; none for every other shape.
std::optional<Aspect> aspectOf(const PictureFormat &format);
// The row of kOtherFormats with exactly these sides.
const FormatInfo *otherFormatOf(const PictureFormat &format);

// "16 : 9", "16 : 10", "2.39 : 1", and a typed ratio as it was given
// ("21 : 9", "2.2 : 1").
QString formatLabel(const PictureFormat &format);

// A shape known only by its ratio (a panel's pixels): the named format
// within 1 % of it ("16 : 10" for 1280 x 800, "16 : 9" for 1366 x 768),
// else the ratio to two decimals ("2.37 : 1").
QString ratioLabel(double ratio);

// A format as the command line or the custom field takes it: a name of
// either table ("16:10", "2.39", "16 : 9"), "W:H" or a decimal; the ratio
// must lie within kNarrowestRatio..kWidestRatio.
[[nodiscard]] Result<PictureFormat> parseFormat(QStringView text);
// Sides the calculation can use: both positive, and an aspect option's or a
// ratio within kNarrowestRatio..kWidestRatio.
[[nodiscard]] Result<PictureFormat> checkFormat(const PictureFormat &format);
// The anamorphic factor from 1 to kLargestAnamorphic.
[[nodiscard]] Result<double> checkAnamorphic(double factor);
[[nodiscard]] Result<double> parseAnamorphic(QStringView text);

} // namespace vistrel
