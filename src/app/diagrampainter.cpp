#include "diagrampainter.h"

#include <QPainter>
#include <QPolygon>

namespace vistrel::app {

namespace {
QPoint q(const PointI &p) {
    return QPoint(p.x, p.y);
}
} // namespace

void paintIsometric(QImage &image, const IsometricGeometry &g, const DrawingKit &kit,
                    const Pictures &pictures) {
    QPainter painter(&image);
    painter.setPen(kit.navy);
    painter.setBrush(kit.screenFill);
    const QPolygon screen({q(g.tl), q(g.tr), q(g.br), q(g.bl), q(g.tl)});
    painter.drawPolygon(screen, Qt::WindingFill);

    // The projector covers the screen behind it; the rays start at its lens.
    painter.drawImage(q(g.projector), pictures.projector);
    painter.setPen(kit.red);
    for (const PointI &corner : {g.tl, g.tr, g.br, g.bl})
        painter.drawLine(q(g.lens), q(corner));
}

void paintSideView(QImage &image, const SideGeometry &g, const DrawingKit &kit,
                   const Pictures &pictures) {
    QPainter painter(&image);
    painter.drawImage(q(g.projector), pictures.projectorSide[g.projectorPicture == 1 ? 1 : 0]);
    for (const SideLine &line : g.lines) {
        switch (line.pen) {
        case SidePen::Screen:
            painter.setPen(kit.screen);
            break;
        case SidePen::Red:
            painter.setPen(kit.red);
            break;
        case SidePen::Black:
            painter.setPen(kit.black);
            break;
        case SidePen::Axis:
            painter.setPen(kit.axis);
            break;
        }
        painter.drawLine(q(line.from), q(line.to));
    }
}

} // namespace vistrel::app
