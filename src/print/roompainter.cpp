#include "print/roompainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace vistrel::print {

namespace {

// The resolution the styles' pixels are meant for.
constexpr qreal kStyleDpi = 96;
// A label's gap from its point, as a share of the text's height.
constexpr qreal kLabelNudgeShare = 0.25;

bool hasArea(const RoomDrawing &d) {
    return !d.isEmpty() && d.right - d.left > 0 && d.top - d.bottom > 0 &&
           std::isfinite(d.right - d.left) && std::isfinite(d.top - d.bottom);
}

// A rectangle for drawText whose aligned edge passes through `at`; far
// larger than any label, so the text never wraps or clips.
QRectF labelRect(QPointF at, const RoomLabel &label, qreal room) {
    qreal left = at.x() - room / 2, top = at.y() - room / 2;
    if (label.horizontal == RoomAlign::Start)
        left = at.x();
    else if (label.horizontal == RoomAlign::End)
        left = at.x() - room;
    // y grows downwards here: a label whose point is its bottom lies above it.
    if (label.vertical == RoomAlign::Start)
        top = at.y() - room;
    else if (label.vertical == RoomAlign::End)
        top = at.y();
    return {left, top, room, room};
}

int labelFlags(const RoomLabel &label) {
    const int horizontal = label.horizontal == RoomAlign::Start ? Qt::AlignLeft
                           : label.horizontal == RoomAlign::End ? Qt::AlignRight
                                                                : Qt::AlignHCenter;
    const int vertical = label.vertical == RoomAlign::Start ? Qt::AlignBottom
                         : label.vertical == RoomAlign::End ? Qt::AlignTop
                                                            : Qt::AlignVCenter;
    return horizontal | vertical | Qt::TextSingleLine | Qt::TextDontClip;
}

QPen penOf(const RoomInkStyle &style, qreal scale, bool dashed) {
    QPen pen(style.line, style.width * scale);
    pen.setCosmetic(true);
    if (dashed) {
        // Qt measures a dash pattern in pen widths.
        pen.setDashPattern({kRoomDash / style.width, kRoomDashGap / style.width});
    }
    return pen;
}

} // namespace

RoomInkStyle roomInkStyle(RoomInk ink) {
    switch (ink) {
    case RoomInk::Wall:
        return {QColor(0x3c, 0x3c, 0x3c), QColor(0x3c, 0x3c, 0x3c), 1.5};
    case RoomInk::Screen:
        return {QColor(0x1a, 0x3a, 0x8c), QColor(0x1a, 0x3a, 0x8c), 3};
    case RoomInk::AxisWindow:
        return {QColor(70, 130, 180, 140), QColor(70, 130, 180, 50), 1};
    case RoomInk::Projector:
        return {QColor(0x2f, 0x2f, 0x2f), QColor(0x9a, 0xa3, 0xad), 1};
    case RoomInk::Light:
        return {QColor(0xf2, 0xa6, 0x5a), QColor(0xf2, 0xa6, 0x5a), 1};
    case RoomInk::Seat:
        return {QColor(0x6d, 0x4c, 0x2f), QColor(0xc9, 0xa7, 0x7c), 1};
    case RoomInk::Sightline:
        return {QColor(0x2e, 0x7d, 0x32), QColor(0x2e, 0x7d, 0x32), 1};
    case RoomInk::LookUpLimit:
        return {QColor(0x8e, 0x24, 0xaa), QColor(0x8e, 0x24, 0xaa), 1};
    case RoomInk::Dimension:
        return {QColor(0x6e, 0x6e, 0x6e), QColor(0x6e, 0x6e, 0x6e), 1};
    case RoomInk::Failing:
        return {QColor(0xd3, 0x2f, 0x2f), QColor(211, 47, 47, 90), 1.5};
    }
    Q_ASSERT_X(false, "roomInkStyle", "an ink without a style");
    return {};
}

QPointF roomLabelNudge(const RoomLabel &label, qreal textHeight) {
    const qreal gap = textHeight * kLabelNudgeShare;
    const auto away = [gap](RoomAlign align) {
        return align == RoomAlign::Start ? gap : align == RoomAlign::End ? -gap : 0;
    };
    // Text above its point (vertical Start) moves up, which is -y on a device.
    return {away(label.horizontal), -away(label.vertical)};
}

QTransform roomTransform(const RoomDrawing &d, const QRectF &box) {
    if (!hasArea(d) || !(box.width() > 0 && box.height() > 0))
        return {};
    const qreal width = d.right - d.left, height = d.top - d.bottom;
    const qreal s = std::min(box.width() / width, box.height() / height);
    const qreal x0 = box.left() + (box.width() - width * s) / 2;
    const qreal y0 = box.top() + (box.height() - height * s) / 2;
    return {s, 0, 0, -s, x0 - d.left * s, y0 + d.top * s};
}

void paintRoomDrawing(QPainter &painter, const RoomDrawing &d, const QRectF &box,
                      const QFont &font) {
    if (!hasArea(d) || !(box.width() > 0 && box.height() > 0))
        return;
    const QTransform t = roomTransform(d, box);
    QPaintDevice *device = painter.device();
    const qreal scale = device ? device->logicalDpiY() / kStyleDpi : 1;
    const auto at = [&t](RoomPoint p) { return t.map(QPointF(p.x, p.y)); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const RoomShape &shape : d.shapes) {
        const RoomInkStyle style = roomInkStyle(shape.ink);
        QPolygonF polygon;
        for (RoomPoint p : shape.points)
            polygon << at(p);
        painter.setPen(penOf(style, scale, false));
        painter.setBrush(style.fill);
        painter.drawPolygon(polygon);
    }
    painter.setBrush(Qt::NoBrush);
    for (const RoomStroke &stroke : d.strokes) {
        painter.setPen(penOf(roomInkStyle(stroke.ink), scale, stroke.dashed));
        painter.drawLine(at(stroke.from), at(stroke.to));
    }
    painter.setFont(font);
    const qreal textHeight = QFontMetricsF(font, device).height();
    const qreal room = 2 * (box.width() + box.height());
    for (const RoomLabel &label : d.labels) {
        painter.setPen(roomInkStyle(label.ink).line);
        const QPointF point = at(label.at) + roomLabelNudge(label, textHeight);
        painter.drawText(labelRect(point, label, room), labelFlags(label), label.text);
    }
    painter.restore();
}

} // namespace vistrel::print
