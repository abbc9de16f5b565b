#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <QRect>

class QPageLayout;

namespace vistrel::print {

// A PDF drawn in memory, so that its file is written whole or not at all.
class PdfDocument {
public:
    PdfDocument(int dpi, const QPageLayout &layout);
    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    QPdfWriter &writer() { return writer_; }
    // The printable area of a page, in the writer's pixels, from (0, 0).
    QRect page() const;
    // What the painter wrote, once it has ended.
    const QByteArray &bytes() const { return pdf_; }

private:
    QByteArray pdf_;
    QBuffer buffer_;
    QPdfWriter writer_;
    int dpi_;
};

} // namespace vistrel::print
