#pragma once

namespace vistrel {

// What the installer adds to the calculation: the screen's gain and the
// light falling on it from the room. A project file keeps them with the
// calculation; calc/planner.h checks them and computes with them.
struct PlannerSettings {
    double gain = 1.0;     // kSmallestGain..kLargestGain
    double ambientLux = 0; // 0..kLargestAmbientLux; 0 is a dark room

    bool operator==(const PlannerSettings &) const = default;
};

// Screens sold range from grey 0.5 to beaded 2.5 or so; a room in full
// daylight has some tens of thousands of lux. Beyond these a value is a slip.
inline constexpr double kSmallestGain = 0.1;
inline constexpr double kLargestGain = 10;
inline constexpr double kLargestAmbientLux = 100000;

} // namespace vistrel
