#pragma once

#include "core/choices.h"
#include "draw/pixel.h"

#include <array>

namespace vistrel {

// Sizes, in pixels, of the side-view box and of what it places and paints.
struct SideMetrics {
    SizeF box{453, 113};
    std::array<SizeF, 2> offset{{{33, 19}, {33, 19}}};
    SizeF tilde{32, 32};
    double offsetLabelHeight = 13;
    SizeF projector{61, 26};
};

struct SideInput {
    Position screenPosition = Position::Bottom;
    int offsetCountNow = 1; // offsets of the current zoom end: 1 or 2
    bool bothOffsetsZero = false;
    int drawFlag = 0;
};

enum class SidePen { Screen, Red, Black, Axis };

struct SideLine {
    SidePen pen;
    PointI from;
    PointI to;
    bool operator==(const SideLine &) const = default;
};

// One drawing of the side view: the screen line at x = X, the lens at (80, A),
// the image edges T and B where the rays meet the screen, and E, the edge
// nearer to the projector; the placements of the offset fields, the tilde
// and the label, and which projector picture goes where.
struct SideGeometry {
    std::int32_t x = 0, yb = 0, a = 0, t = 0, b = 0, e = 0;
    bool showSecondOffset = false;
    std::array<PlaceF, 2> offset;
    PlaceF tilde;
    PlaceF label;
    int projectorPicture = 0; // 0 upright (bottom position), 1 upside down (top position)
    PointI projector;
    std::array<SideLine, 6> lines{};
    bool operator==(const SideGeometry &) const = default;
};

inline constexpr std::int32_t kSideLensX = 80;

// Fails only with an overflow for an absurd box size.
Result<SideGeometry> layoutSideView(const SideMetrics &metrics, const SideInput &input);

} // namespace vistrel
