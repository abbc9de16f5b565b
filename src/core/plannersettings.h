#pragma once

#include <optional>

namespace vistrel {

// What the installer adds to the calculation: the screen's gain and the
// light falling on it from the room. A project file keeps them with the
// calculation; calc/planner.h checks them and computes with them.
struct PlannerSettings {
    double gain = 1.0;     // kSmallestGain..kLargestGain
    double ambientLux = 0; // 0..kLargestAmbientLux; 0 is a dark room
    // The light source's share of its light left: 1 new, less with age
    // (kSmallestLightAge..1). Every figure of light uses the aged light.
    double lightAge = 1.0;
    // The installer's own target for the picture, in nits; none: not set.
    std::optional<double> targetNits = std::nullopt;
    // The screen's half-gain angle from its data sheet, degrees; none: not set.
    std::optional<double> halfGainAngle = std::nullopt;

    bool operator==(const PlannerSettings &) const = default;
};

// Screens sold range from grey 0.5 to beaded 2.5 or so; a room in full
// daylight has some tens of thousands of lux. Beyond these a value is a slip.
inline constexpr double kSmallestGain = 0.1;
inline constexpr double kLargestGain = 10;
inline constexpr double kLargestAmbientLux = 100000;

// A lamp loses a quarter of its light early in its life and is changed at
// half; less than a tenth left is no light source in use.
inline constexpr double kNewLight = 1.0;
inline constexpr double kMidLifeLight = 0.75;
inline constexpr double kEndOfLifeLight = 0.5;
inline constexpr double kSmallestLightAge = 0.1;
// The brightest HDR displays reach some thousands of nits; a half-gain angle
// is between the screen's axis and its edge-on view.
inline constexpr double kLargestTargetNits = 10000;
inline constexpr double kLargestHalfGainAngle = 90;

} // namespace vistrel
