#include "windowprinter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QWidget>

namespace vistrel::print {

namespace {
// The resolution the page is laid out in; the image itself keeps its pixels.
constexpr int kPageDpi = 1200;
} // namespace

Result<QByteArray> windowPagePdf(QWidget &window, const QPageLayout &layout) {
    // Qt renders the widget tree off-screen, diagrams included, so nothing
    // has to wait for pending repaints.
    const QPixmap image = window.grab();
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Vistrel"));
    writer.setResolution(kPageDpi);
    writer.setPageLayout(layout);
    QPainter painter;
    if (image.isNull() || !painter.begin(&writer))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: the page cannot be drawn"));
    const QRect page = writer.pageLayout().paintRectPixels(kPageDpi);
    drawWindowImage(painter, image, QRect(QPoint(0, 0), page.size()));
    if (!painter.end())
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while drawing the page"));
    return pdf;
}

QRect drawWindowImage(QPainter &painter, const QPixmap &image, const QRect &room) {
    const QRect target(room.topLeft(), image.size().scaled(room.size(), Qt::KeepAspectRatio));
    // Without this hint the image would be stored as JPEG, which turns the
    // red rays brown and puts halos round the text.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawPixmap(target, image);
    return target;
}

} // namespace vistrel::print
