#pragma once

#include "draw/isometric.h"
#include "draw/sideview.h"
#include "drawingkit.h"
#include "pictures.h"

#include <QImage>

namespace vistrel::app {

// Paints a finished diagram into a box's persistent image (already cleared
// to the box's background).
void paintIsometric(QImage &image, const IsometricGeometry &g, const DrawingKit &kit,
                    const Pictures &pictures);
void paintSideView(QImage &image, const SideGeometry &g, const DrawingKit &kit,
                   const Pictures &pictures);

} // namespace vistrel::app
