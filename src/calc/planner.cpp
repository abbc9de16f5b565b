#include "calc/planner.h"

#include "calc/display.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistrel {

namespace {

constexpr double kSquareInchesPerSquareFoot = 144;
constexpr double kArcMinuteRadians = std::numbers::pi / 180 / 60;

// A number the catalogue may leave out: 0 (or nothing sensible) is unknown.
std::optional<double> known(double value) {
    if (value > 0 && std::isfinite(value))
        return value;
    return std::nullopt;
}

std::optional<double> finite(double value) {
    if (std::isfinite(value))
        return value;
    return std::nullopt;
}

// A length the planner shows: one too long to show in every unit is unknown.
std::optional<double> length(double inches) {
    if (std::abs(inches) <= kLongestLength)
        return inches;
    return std::nullopt;
}

std::optional<double> knownLength(double inches) {
    if (inches > 0 && inches <= kLongestLength)
        return inches;
    return std::nullopt;
}

std::optional<double> distanceAt(const Lens &lens, double diagonal, Zoom zoom, AspectPair aspect) {
    if (!lens.model.hasEnd(zoom))
        return std::nullopt;
    const Result<double> distance = lens.distanceFromDiagonal(diagonal, zoom, aspect);
    return distance ? length(*distance) : std::nullopt;
}

// The whole number next to `value` towards the inside of a range; a value
// that is whole but for arithmetic noise (300 inches as 762.0000000000001
// cm) is that whole number.
double wholeInward(double value, bool up) {
    const double nearest = std::round(value);
    if (std::abs(value - nearest) <= 1e-12 * std::abs(value))
        return nearest;
    return up ? std::ceil(value) : std::floor(value);
}

std::optional<double> ratio(std::optional<double> distance, double width) {
    if (!distance || width <= 0)
        return std::nullopt;
    return finite(*distance / width);
}

} // namespace

Result<void> checkSettings(const PlannerSettings &settings) {
    if (!(settings.gain >= kSmallestGain && settings.gain <= kLargestGain))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the screen gain must be a number "
                                        "from %1 to %2")
                             .arg(kSmallestGain)
                             .arg(kLargestGain));
    if (!(settings.ambientLux >= 0 && settings.ambientLux <= kLargestAmbientLux))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the ambient light must be a "
                                        "number of lux from 0 to %1")
                             .arg(kLargestAmbientLux));
    if (!(settings.lightAge >= kSmallestLightAge && settings.lightAge <= kNewLight))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the light left must be a "
                                        "factor from %1 to 1")
                             .arg(kSmallestLightAge));
    if (settings.targetNits &&
        !(*settings.targetNits > 0 && *settings.targetNits <= kLargestTargetNits))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: a target must be above 0 and at "
                                        "most %1 nits")
                             .arg(kLargestTargetNits));
    if (settings.halfGainAngle &&
        !(*settings.halfGainAngle > 0 && *settings.halfGainAngle < kLargestHalfGainAngle))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the half-gain angle must be "
                                        "above 0 and below %1 degrees")
                             .arg(kLargestHalfGainAngle));
    return {};
}

namespace {

// The panel of `model` lit `lit` around `picture`.
PanelUse panelUse(const ModelRecord &model, const Sides &picture, const Sides &lit) {
    PanelUse use;
    use.aspect = panelAspect(model);
    if (model.hasPanelPixels()) {
        use.widthPx = model.panelWidthPx;
        use.heightPx = model.panelHeightPx;
    }
    if (lit.area() > 0)
        use.pictureShare = finite(std::min(1.0, picture.area() / lit.area()));
    return use;
}

} // namespace

PanelUse panelUseOf(const ModelRecord &model, const CalcState &state) {
    const Sides picture{state.screenWidth, state.screenHeight};
    const AspectPair aspect{state.aspectHeight, state.aspectWidth};
    return panelUse(
        model, picture,
        lensOf(model, state).litPanel(state.zoomEnd, state.projectionDistance, aspect, picture));
}

Plan planOf(const ModelRecord &model, const CalcState &state, const PlannerSettings &settings) {
    Plan plan;
    const Lens lens = lensOf(model, state);
    const AspectPair aspect{state.aspectHeight, state.aspectWidth};
    plan.distanceWide = distanceAt(lens, state.screenDiagonal, Zoom::Wide, aspect);
    plan.distanceTele = distanceAt(lens, state.screenDiagonal, Zoom::Tele, aspect);
    plan.ratioWide = ratio(plan.distanceWide, state.screenWidth);
    plan.ratioTele = ratio(plan.distanceTele, state.screenWidth);
    const Sides picture{state.screenWidth, state.screenHeight};
    // A data sheet's throw ratio is the lens's own, before an anamorphic lens.
    auto lensRatio = [&](Zoom zoom, std::optional<double> distance) -> std::optional<double> {
        if (!distance)
            return std::nullopt;
        return ratio(distance,
                     lens.litPanel(zoom, *distance, aspect, picture).width / state.anamorphic);
    };
    plan.lensRatioWide = lensRatio(Zoom::Wide, plan.distanceWide);
    plan.lensRatioTele = lensRatio(Zoom::Tele, plan.distanceTele);

    const Sides panel = lens.litPanel(state.zoomEnd, state.projectionDistance, aspect, picture);
    plan.litAreaSquareFeet = known(panel.width * panel.height / kSquareInchesPerSquareFoot);
    plan.panel = panelUse(model, picture, panel);
    if (const std::optional<double> wideLumens = known(model.lumens)) {
        const bool tele = state.zoomEnd == Zoom::Tele;
        const std::optional<double> factor = known(model.teleLumenFactor);
        plan.lumens = *wideLumens * (tele ? factor.value_or(1.0) : 1.0) * settings.lightAge;
        plan.lightUpperBound = tele && !factor;
    }
    if (plan.litAreaSquareFeet) {
        plan.lumensFor16fL =
            finite(kReferenceFootLamberts * *plan.litAreaSquareFeet / settings.gain);
        if (plan.lumens) {
            plan.footLamberts = finite(*plan.lumens * settings.gain / *plan.litAreaSquareFeet);
            if (plan.footLamberts)
                plan.nits = *plan.footLamberts * kNitsPerFootLambert;
        }
    }
    // The room's light, reflected by the screen, lifts black and white alike.
    if (const std::optional<double> native = known(model.contrastRatio)) {
        const double ambient = settings.ambientLux * settings.gain / std::numbers::pi;
        if (ambient == 0)
            plan.contrast = *native;
        else if (plan.nits) {
            plan.contrast = finite((*plan.nits + ambient) / (*plan.nits / *native + ambient));
            plan.contrastUpperBound = plan.lightUpperBound;
        }
    }

    for (std::size_t i = 0; i < kSeatingAngles.size(); ++i) {
        const double halfAngle = kSeatingAngles[i] / 2 * std::numbers::pi / 180;
        plan.seats[i] = knownLength(state.screenWidth / 2 / std::tan(halfAngle));
    }
    // A pixel on the screen: the lit width over the panel's columns (an
    // anamorphic lens stretches it, so its width is the coarser side).
    if (const std::optional<double> pixels = known(model.panelWidthPx))
        plan.acuity = knownLength(panel.width / *pixels / std::tan(kArcMinuteRadians));
    return plan;
}

ThrowChart throwChart(const ModelRecord &model, const CalcState &state) {
    ThrowChart chart;
    chart.unit = state.unit;
    const Lens lens = lensOf(model, state);
    const AspectPair pair{state.aspectHeight, state.aspectWidth};
    const double aspectRatio = pair.width / pair.height;
    if (!(aspectRatio > 0 && std::isfinite(aspectRatio)))
        return chart;
    const Zoom zoom = state.zoomEnd;
    const double smallestInches = lens.limits(zoom, pair).min;
    const double largestInches = lens.limits(zoom, pair).max;
    const double smallest = fromInches(smallestInches, chart.unit);
    const double largest = fromInches(largestInches, chart.unit);
    if (!(smallest > 0) || !(smallest <= largest) || !std::isfinite(largest))
        return chart;

    // Whole steps between the limits, as many as kMaxChartRows allows.
    const double base = info(chart.unit).chartStep;
    const double between = std::ceil((largest - smallest) / base);
    const double multiple = std::max(1.0, std::ceil(between / (kMaxChartRows - 2)));
    const double step = base * multiple;
    const UnitInfo &unit = info(chart.unit);
    // The limits exactly as the model gives them, shown as the fields show
    // them; the steps between them as they are, since a step converted to
    // inches and back may land a hair below itself and be rounded down.
    struct Size {
        double inches;
        double shown;
    };
    // The limits' rows are sizes the calculator takes when typed (it reads
    // whole numbers), with the numbers it gives for them: the smallest
    // rounded up, the largest down. A range narrower than that keeps the
    // limits themselves.
    double shownSmallest = wholeInward(smallest, true);
    double shownLargest = wholeInward(largest, false);
    double firstInches = smallestInches;
    double lastInches = largestInches;
    if (shownSmallest <= shownLargest) {
        firstInches =
            std::clamp(toInches(shownSmallest, chart.unit), smallestInches, largestInches);
        lastInches = std::clamp(toInches(shownLargest, chart.unit), smallestInches, largestInches);
    } else {
        shownSmallest = shownValue(smallestInches, chart.unit, unit.lengthStep, zoom);
        shownLargest = shownValue(largestInches, chart.unit, unit.lengthStep, zoom);
    }
    std::vector<Size> sizes{{firstInches, shownSmallest}};
    double previous = smallest;
    const double first = std::floor(smallest / step) + 1;
    for (int k = 0; k < kMaxChartRows - 2; ++k) {
        const double next = (first + k) * step;
        if (!(next < largest))
            break;
        // Far from 0 a double may not tell two neighbouring steps apart; a
        // step that would read as a limit's rounded size is left out.
        if (next > previous && next > shownSmallest && next < shownLargest)
            sizes.push_back({toInches(next, chart.unit), next});
        previous = next;
    }
    if (largest > smallest)
        sizes.push_back({lastInches, shownLargest});

    const bool twoOffsets = model.offsetCount(zoom) == 2;
    for (const auto &[diagonal, shown] : sizes) {
        const Sides sides = sidesOf(diagonal, aspectRatio);
        ChartRow row;
        row.diagonal = shown;
        row.width = shownValue(sides.width, chart.unit, unit.lengthStep, zoom);
        row.height = shownValue(sides.height, chart.unit, unit.lengthStep, zoom);
        // Each end rounds as the fields do at that end, and gives no distance
        // for a screen outside its own limits.
        for (const Zoom end : {Zoom::Wide, Zoom::Tele}) {
            std::optional<double> distance;
            const DiagonalRange limits = lens.limits(end, pair);
            if (diagonal >= limits.min && diagonal <= limits.max)
                if (const auto inches = distanceAt(lens, diagonal, end, pair))
                    distance = shownValue(*inches, chart.unit, unit.distanceStep, end);
            (end == Zoom::Wide ? row.distanceWide : row.distanceTele) = distance;
        }
        const std::array<double, 2> offsets =
            shownOffsets(lens, sides.height, zoom, pair, chart.unit);
        row.offset1 = offsets[0];
        if (twoOffsets)
            row.offset2 = offsets[1];
        chart.rows.push_back(row);
    }
    return chart;
}

} // namespace vistrel
