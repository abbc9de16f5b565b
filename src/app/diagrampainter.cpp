#include "app/diagrampainter.h"

#include "app/pictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistrel::app {

namespace {

DeviceBox deviceBoxOf(QImage &image) {
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    const int scale = std::clamp(static_cast<int>(std::lround(image.devicePixelRatio())), 1, 16);
    return {image.width(), image.height(), scale};
}

// The rasteriser only hands out pixels inside the box.
void setPixels(QImage &image, const std::vector<PointI> &pixels, const QColor &colour) {
    const QRgb rgb = colour.rgb();
    for (const PointI &p : pixels)
        reinterpret_cast<QRgb *>(image.scanLine(p.y))[p.x] = rgb;
}

void drawLine(QImage &image, const DeviceBox &box, PointI from, PointI to, const KitPen &pen,
              DrawnArea &drawn) {
    const std::vector<PointI> pixels = linePixels(from, to, pen.stroke, box);
    setPixels(image, pixels, pen.colour);
    drawn.addPixels(pixels);
}

// Pictures go in at their natural size; on a high-density screen each of
// their pixels becomes a block, never a blur.
void drawPicture(QImage &image, const PointI &at, const QImage &picture, DrawnArea &drawn) {
    QPainter painter(&image);
    painter.drawImage(QPoint(at.x, at.y), picture);
    const qreal scale = image.devicePixelRatio();
    drawn.addRect(QRectF(QPointF(at.x, at.y) * scale, picture.deviceIndependentSize() * scale)
                      .toAlignedRect());
}

} // namespace

void paintIsometric(QImage &image, const IsometricGeometry &g, const DrawingKit &kit,
                    DrawnArea &drawn) {
    const DeviceBox box = deviceBoxOf(image);
    const QRgb fill = kit.screenFill.rgb();
    const std::vector<PixelRun> face = polygonFill({g.tl, g.tr, g.br, g.bl}, box);
    for (const PixelRun &run : face) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(run.y));
        std::fill(row + run.x0, row + run.x1, fill);
    }
    drawn.addRuns(face);
    const std::array<PointI, 5> outline{g.tl, g.tr, g.br, g.bl, g.tl};
    for (std::size_t i = 0; i + 1 < outline.size(); ++i)
        drawLine(image, box, outline[i], outline[i + 1], kit.navy, drawn);

    // The projector covers the screen behind it; the rays start at its lens.
    drawPicture(image, g.projector, Pictures::projector(), drawn);
    for (const PointI &corner : {g.tl, g.tr, g.br, g.bl})
        drawLine(image, box, g.lens, corner, kit.red, drawn);
}

void paintSideView(QImage &image, const SideGeometry &g, const DrawingKit &kit, DrawnArea &drawn) {
    const DeviceBox box = deviceBoxOf(image);
    drawPicture(image, g.projector, Pictures::projectorSide(g.projectorPicture == 1 ? 1 : 0),
                drawn);
    for (const SideLine &line : g.lines) {
        const KitPen *pen = &kit.black;
        switch (line.pen) {
        case SidePen::Screen:
            pen = &kit.screen;
            break;
        case SidePen::Red:
            pen = &kit.red;
            break;
        case SidePen::Black:
            pen = &kit.black;
            break;
        case SidePen::Axis:
            pen = &kit.axis;
            break;
        }
        drawLine(image, box, line.from, line.to, *pen, drawn);
    }
}

} // namespace vistrel::app
