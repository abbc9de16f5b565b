#pragma once

#include <QBrush>
#include <QPen>

namespace vistrel::app {

// The pens and the brush both diagrams draw with.
struct DrawingKit {
    QPen red{QColor(200, 0, 0), 1, Qt::SolidLine};            // projection rays
    QPen navy{QColor(0, 0, 128), 1, Qt::SolidLine};           // outline of the screen
    QPen axis{QColor(0, 0, 255), 1, Qt::DashDotDotLine};      // lens axis
    QPen screen{QColor(0, 128, 255), 2, Qt::SolidLine};       // the screen seen edge-on
    QPen black{QColor(0, 0, 0), 1, Qt::SolidLine};            // offset ticks
    QBrush screenFill{QColor(0, 128, 255), Qt::SolidPattern}; // the screen's face
};

} // namespace vistrel::app
