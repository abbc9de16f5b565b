#pragma once

#include "app/drawingkit.h"
#include "app/drawnarea.h"
#include "draw/isometric.h"
#include "draw/sideview.h"

#include <QImage>

namespace vistrel::app {

// Paints a finished diagram into a box's persistent image (the background
// wherever the diagram goes) and notes in `drawn` every part it sets.
void paintIsometric(QImage &image, const IsometricGeometry &g, const DrawingKit &kit,
                    DrawnArea &drawn);
void paintSideView(QImage &image, const SideGeometry &g, const DrawingKit &kit, DrawnArea &drawn);

} // namespace vistrel::app
