#pragma once

#include "calc/lens.h"
#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/calcstate.h"
#include "core/plannersettings.h"

#include <optional>
#include <vector>

namespace vistrel {

// The gain and room light within their bounds (core/plannersettings.h).
[[nodiscard]] Result<void> checkSettings(const PlannerSettings &settings);

// The usual reference for a dark cinema, in foot-lamberts.
inline constexpr double kReferenceFootLamberts = 16;
// One foot-lambert in candela per square metre (nits).
inline constexpr double kNitsPerFootLambert = 3.4262591;
// The viewing angles of the seating distances, degrees.
inline constexpr std::array<double, 3> kSeatingAngles{30, 36, 40};

// The panel in use: its aspect (width / height), its pixels where the
// catalogue gives them, and the picture's share of the lit area.
struct PanelUse {
    double aspect = 0;
    std::optional<double> widthPx, heightPx;
    std::optional<double> pictureShare;
};

PanelUse panelUseOf(const ModelRecord &model, const CalcState &state);

// The planner's numbers for the current calculation. Lengths in inches;
// whatever the catalogue does not tell is absent, never 0 or a guess.
struct Plan {
    // The projection distance of this screen at each end (an end the model
    // lacks is absent) and the throw ratio there: distance / picture width.
    std::optional<double> distanceWide, distanceTele;
    std::optional<double> ratioWide, ratioTele;
    // The lens's own throw ratio at each end: distance / the width of the
    // whole panel as thrown there, as a data sheet states it.
    std::optional<double> lensRatioWide, lensRatioTele;

    // The whole panel as the lens throws it at the current distance
    // (widened by an anamorphic lens).
    std::optional<double> litAreaSquareFeet;
    PanelUse panel;
    std::optional<double> lumens; // at the current zoom end, aged
    std::optional<double> footLamberts, nits;
    std::optional<double> lumensFor16fL; // what the reference needs on this screen
    std::optional<double> contrast;      // N of "N : 1", in the room's light
    // At TELE without the catalogue's light factor the WIDE light is all
    // that is known: lumens, fL, nits (and a lit room's contrast) are then
    // what the screen gets at most, never a plain figure.
    bool lightUpperBound = false;
    bool contrastUpperBound = false; // the room's light made the contrast depend on it

    // From the screen: where the picture fills each of kSeatingAngles, and
    // beyond which one pixel subtends less than one arc-minute.
    std::array<std::optional<double>, 3> seats;
    std::optional<double> acuity;
};

Plan planOf(const ModelRecord &model, const CalcState &state, const PlannerSettings &settings);

// One screen size of the throw chart, each number as the fields show it (in
// the unit, rounded the same way); a distance the end cannot give is absent.
struct ChartRow {
    double diagonal = 0, width = 0, height = 0;
    std::optional<double> distanceWide, distanceTele;
    double offset1 = 0;
    std::optional<double> offset2; // models with a second offset only
};

struct ThrowChart {
    Unit unit = Unit::Inches;
    std::vector<ChartRow> rows;
};

inline constexpr int kMaxChartRows = 200;

// The screen sizes from the smallest to the largest the model accepts at the
// current zoom end and aspect group, in the unit's chart steps, the limits
// themselves first and last (at most kMaxChartRows rows: the step grows in
// whole multiples when the range is wider).
ThrowChart throwChart(const ModelRecord &model, const CalcState &state);

} // namespace vistrel
