#pragma once

#include "core/choices.h"

#include <array>
#include <cstddef>

namespace vistrel {

// One value for each zoom end, looked up by the end, so that code walking
// both ends does it in a loop instead of naming WIDE and TELE twice.
template <typename T> struct PerZoom {
    std::array<T, 2> ends{};

    T &operator[](Zoom zoom) { return ends[index(zoom)]; }
    const T &operator[](Zoom zoom) const { return ends[index(zoom)]; }
    bool operator==(const PerZoom &) const = default;

private:
    static constexpr std::size_t index(Zoom zoom) { return zoom == Zoom::Tele ? 1 : 0; }
};

// The smallest and largest screen diagonal a lens allows, inches.
struct DiagonalRange {
    double min = 0;
    double max = 0;
    bool operator==(const DiagonalRange &) const = default;
};

// Screen limits per aspect group and zoom end.
struct DiagonalLimits {
    PerZoom<DiagonalRange> fourThree;
    PerZoom<DiagonalRange> sixteenNine;

    const DiagonalRange &at(AspectGroup group, Zoom zoom) const {
        return (group == AspectGroup::SixteenNine ? sixteenNine : fourThree)[zoom];
    }
    DiagonalRange &at(AspectGroup group, Zoom zoom) {
        return (group == AspectGroup::SixteenNine ? sixteenNine : fourThree)[zoom];
    }
    bool operator==(const DiagonalLimits &) const = default;
};

} // namespace vistrel
