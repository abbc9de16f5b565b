#pragma once

#include "draw/raster.h"

#include <QColor>

namespace vistrel::app {

struct KitPen {
    QColor colour;
    LineStroke stroke;
};

// The pens and the brush both diagrams draw with.
struct DrawingKit {
    KitPen red{QColor(200, 0, 0), {1, LineStyle::Solid}};       // projection rays
    KitPen navy{QColor(0, 0, 128), {1, LineStyle::Solid}};      // outline of the screen
    KitPen axis{QColor(0, 0, 255), {1, LineStyle::DashDotDot}}; // lens axis
    KitPen screen{QColor(0, 128, 255), {2, LineStyle::Solid}};  // the screen seen edge-on
    KitPen black{QColor(0, 0, 0), {1, LineStyle::Solid}};       // offset ticks
    QColor screenFill{0, 128, 255};                             // the screen's face
};

} // namespace vistrel::app
