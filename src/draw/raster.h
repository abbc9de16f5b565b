#pragma once

#include "draw/pixel.h"

#include <array>
#include <vector>

namespace vistrel {

// The pixels of the diagrams' lines and of the screen's face, as the
// drawings were designed: a coordinate names the centre of a pixel, a line
// covers its first point but not its last, and a wider pen widens across
// the line. Computed here rather than left to a painter, whose half-pixel
// conventions would move sloped lines by a row and paint the end points.
//
// `scale` is the number of device pixels per drawing pixel (2 on a
// high-density screen); the results are device pixels, so a line keeps its
// full sharpness instead of being enlarged from a small image.

enum class LineStyle {
    Solid,
    DashDotDot, // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
};

struct LineStroke {
    int width = 1; // in drawing pixels
    LineStyle style = LineStyle::Solid;
};

// The device image the pixels go to. Only pixels inside it are returned, so
// a line that runs far outside the box (a lens point beyond its edge) costs
// no more than the box is wide.
struct DeviceBox {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int scale = 1; // device pixels per drawing pixel, 1 to 16
};

// The device pixels of a line from `from` to `to` (drawing pixels). A line
// of no length covers nothing. The pattern of a styled line starts at `from`.
std::vector<PointI> linePixels(PointI from, PointI to, LineStroke stroke, const DeviceBox &box);

// One row of a filled area: device pixels [x0, x1) of row y.
struct PixelRun {
    std::int32_t y = 0;
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    bool operator==(const PixelRun &) const = default;
};

// The inside of a four-cornered polygon (drawing pixels): the device pixels
// whose centres lie inside, a pixel on the left or top edge counting as
// inside and one on the right or bottom edge as outside, so that two shapes
// sharing an edge never both cover it. The outline is drawn separately.
std::vector<PixelRun> polygonFill(const std::array<PointI, 4> &corners, const DeviceBox &box);

} // namespace vistrel
