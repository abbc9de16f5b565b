#include "print/windowprinter.h"

#include "print/pdfdocument.h"

#include <QPainter>
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
    PdfDocument document(kPageDpi, layout);
    QPainter painter;
    if (image.isNull() || !painter.begin(&document.writer()))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: the page cannot be drawn"));
    drawWindowImage(painter, image, document.page());
    if (!painter.end())
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while drawing the page"));
    return document.bytes();
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
