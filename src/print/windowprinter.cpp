#include "windowprinter.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

namespace vistrel::app {

Status printWindow(QWidget &window, QPrinter &printer) {
    Status s = printWindow(window, static_cast<QPagedPaintDevice &>(printer), printer.resolution());
    if (s)
        s->description += QStringLiteral(" (printer %1)")
                              .arg(printer.printerName().isEmpty() ? printer.outputFileName()
                                                                   : printer.printerName());
    return s;
}

Status printWindow(QWidget &window, QPagedPaintDevice &device, int resolution) {
    // Qt renders the widget tree off-screen, diagrams included, so nothing
    // has to wait for pending repaints.
    const QPixmap image = window.grab();
    QPainter painter;
    if (image.isNull() || !painter.begin(&device))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: cannot draw the window on the page"));
    const QRect page = device.pageLayout().paintRectPixels(resolution);
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(0, 0), fitted), image);
    if (!painter.end())
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while printing"));
    return std::nullopt;
}

} // namespace vistrel::app
