#pragma once

#include "draw/roomdrawing.h"

#include <QByteArray>

namespace vistrel::print {

// The drawing as a standalone SVG 1.1 document `widthPx` wide and as high as
// its proportion makes it, in the painter's inks. Each element's class names
// its ink ("screen", "look-up-limit"), so a style sheet can restyle it.
QByteArray roomSvg(const RoomDrawing &drawing, double widthPx = 800);

} // namespace vistrel::print
