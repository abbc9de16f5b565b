#pragma once

#include "draw/pixel.h"

#include <array>

namespace vistrel {

// Sizes, in pixels, of the isometric box and of the controls it places.
struct IsometricMetrics {
    SizeF box{453, 241};
    std::array<SizeF, 4> value{{{37, 19}, {37, 19}, {37, 19}, {37, 19}}};
    std::array<SizeF, 4> enter{{{21, 17}, {21, 17}, {21, 17}, {21, 17}}};
    std::array<SizeF, 4> label{{{92, 13}, {102, 13}, {28, 13}, {31, 13}}};
};

inline constexpr PointI kProjectorLens{46, 10}; // lens pixel of the 80 x 62 projector picture

struct IsometricInput {
    double screenWidth = 0;
    double screenHeight = 0;
    double projectionDistance = 0;
    double maxDistance = 0;
};

// One finished drawing of the isometric view: corners of the screen, the lens
// point, where the projector picture goes, where each value field, its Enter
// button and its label go (index = field), and the distance scale it needed.
struct IsometricGeometry {
    PointI c, s;
    PointI tl, tr, br, bl, lens;
    PointI projector;
    std::array<PlaceF, 4> value, enter, label;
    double maxDistance = 0; // enlarged by 1.25 per attempt until the screen fits
    int attempts = 1;
    bool operator==(const IsometricGeometry &) const = default;
};

// Fails on a scale of 0, a box too small for the screen to ever fit, or a
// position beyond the pixel range; the caller then keeps its previous scale.
Result<IsometricGeometry> layoutIsometric(const IsometricMetrics &metrics,
                                          const IsometricInput &input);

} // namespace vistrel
