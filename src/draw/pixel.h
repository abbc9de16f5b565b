#pragma once

#include "core/apperror.h"

#include <cstdint>

namespace vistrel {

struct PointI {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const PointI &) const = default;
};

// A control position inside a drawing box, in (possibly fractional) pixels.
struct PlaceF {
    double left = 0;
    double top = 0;
    bool operator==(const PlaceF &) const = default;
};

struct SizeF {
    double width = 0;
    double height = 0;
};

// Converts a computed position to a whole pixel: nearest integer, ties to
// the even one. A value outside the 32-bit range is an overflow.
Result<std::int32_t> nint(double value);

} // namespace vistrel
