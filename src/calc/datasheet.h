#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/pictureformat.h"

#include <array>

namespace vistrel {

// A projector as its data sheet prints it, turned into the catalogue's lens
// line and back. The lens line gives D43, the diagonal of a 4 : 3 picture on
// the panel (calc/pictureonpanel.h); a sheet gives the throw ratio (distance
// over the width of the whole panel's picture) or a formula, distance =
// a x diagonal + b, for a stated picture shape and units.

// The lengths sheets print, with how many inches one of them is.
enum class SheetUnit { Inch, Foot, Centimetre, Metre, Millimetre };

struct SheetUnitInfo {
    SheetUnit unit;
    const char *name; // "m", as `formula-units=m/m` writes it
    double inches;
};

inline constexpr std::array<SheetUnitInfo, 5> kSheetUnits{{
    {SheetUnit::Inch, "in", 1},
    {SheetUnit::Foot, "ft", 12},
    {SheetUnit::Centimetre, "cm", 1 / 2.54},
    {SheetUnit::Metre, "m", 100 / 2.54},
    {SheetUnit::Millimetre, "mm", 0.1 / 2.54},
}};

const SheetUnitInfo &info(SheetUnit unit);

// distance = a x diagonal + b, the diagonal that of a `shape` picture on the
// panel in `diagonalUnit`, the distance in `distanceUnit`.
struct LensFormula {
    double a = 0;
    double b = 0;
    PictureFormat shape{4, 3};
    SheetUnit diagonalUnit = SheetUnit::Inch;
    SheetUnit distanceUnit = SheetUnit::Inch;

    bool operator==(const LensFormula &) const = default;
};

// The width of the whole panel's picture per unit of D43.
double panelWidthPerD43(double panelAspect);

// Each refuses what gives no lens: a throw ratio or slope that is 0, below 0
// or not a number, a picture of no size.

// A lens of throw ratio `throwRatio` on a panel of `panelAspect`: through
// the origin, as a throw ratio has no intercept.
[[nodiscard]] Result<ModelRecord::Coefficients> lensFromThrowRatio(double throwRatio,
                                                                   double panelAspect);
// The throw ratio of `line` for a picture whose D43 is `diagonal43`: with an
// intercept it depends on the size.
[[nodiscard]] Result<double> throwRatioOf(const ModelRecord::Coefficients &line, double panelAspect,
                                          double diagonal43);

[[nodiscard]] Result<ModelRecord::Coefficients> lensFromFormula(const LensFormula &formula,
                                                                double panelAspect);
// The lens line as a formula of the 4 : 3 diagonal in inches, which every
// line with a slope has exactly.
[[nodiscard]] Result<LensFormula> formulaOf(const ModelRecord::Coefficients &line);

// A diagonal of a `shape` picture on the panel as D43: how a sheet's screen
// size range becomes the catalogue's 4 : 3 limits.
double diagonal43Of(double diagonal, const PictureFormat &shape, double panelAspect);

// "Offset N %": the far edge of the picture at N % of its height from the
// lens axis, so 100 % puts the near edge on the axis. The catalogue's
// coefficient is the near edge's distance from the axis over the height,
// (N - 100) / 100 (SheetOffset keeps N - 100).
inline double offsetPercentOf(double coefficient) {
    return coefficient * 100 + 100;
}

} // namespace vistrel
