#pragma once

#include "draw/roomdrawing.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QTransform>

class QFont;
class QPainter;

namespace vistrel::print {

// How an ink looks, in pixels of a 96-dpi screen. The painter and the SVG
// share it, so a room reads alike in the window, on paper and in a file.
struct RoomInkStyle {
    QColor line; // strokes, outlines and the ink's labels
    QColor fill; // shapes
    qreal width = 1;
};
RoomInkStyle roomInkStyle(RoomInk ink);

// A dashed stroke's dash and gap, pixels.
inline constexpr qreal kRoomDash = 6;
inline constexpr qreal kRoomDashGap = 4;

// How far a label's text stands off its point, in device units with y down,
// so that a figure does not sit on the line it measures.
QPointF roomLabelNudge(const RoomLabel &label, qreal textHeight);

// From the drawing's inches to `box`: its bounds fitted in whole, their proportion
// kept, centred, y turned upwards. The identity for an empty drawing or box.
QTransform roomTransform(const RoomDrawing &drawing, const QRectF &box);

// The drawing in `box`: shapes, then strokes, then labels as plain text in
// `font`. Pens are cosmetic, as wide on paper as on screen.
void paintRoomDrawing(QPainter &painter, const RoomDrawing &drawing, const QRectF &box,
                      const QFont &font);

} // namespace vistrel::print
