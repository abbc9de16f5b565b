#include "print/pdfdocument.h"

#include <QPageLayout>

namespace vistrel::print {

PdfDocument::PdfDocument(int dpi, const QPageLayout &layout)
    : buffer_(&pdf_), writer_(&buffer_), dpi_(dpi) {
    buffer_.open(QIODevice::WriteOnly);
    writer_.setCreator(QStringLiteral("Vistrel"));
    writer_.setResolution(dpi);
    writer_.setPageLayout(layout);
}

QRect PdfDocument::page() const {
    return QRect(QPoint(0, 0), writer_.pageLayout().paintRectPixels(dpi_).size());
}

} // namespace vistrel::print
