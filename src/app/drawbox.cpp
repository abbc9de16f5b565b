#include "app/drawbox.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistrel::app {

namespace {

// Qt blends an image of more rows than this with a pool of threads; for a
// box this small, starting the threads costs more than it saves.
constexpr int kBandRows = 64;

} // namespace

DrawBox::DrawBox(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resetImage();
}

int DrawBox::scale() const {
    return std::clamp(static_cast<int>(std::lround(devicePixelRatioF())), 1, 16);
}

// On a high-density screen the image holds every device pixel, so the
// diagrams are drawn at full resolution rather than enlarged.
void DrawBox::resetImage() {
    const int s = scale();
    image_ = QImage(size().expandedTo(QSize(1, 1)) * s, QImage::Format_RGB32);
    image_.setDevicePixelRatio(s);
    image_.fill(background());
    drawn_ = DrawnArea(image_.size(), s);
    holdsDrawing_ = false;
    update();
}

bool DrawBox::imageFits() const {
    return image_.size() == size().expandedTo(QSize(1, 1)) * scale() &&
           std::lround(image_.devicePixelRatio()) == scale();
}

DrawnArea DrawBox::startDrawing() {
    // A box placed or sized since the last drawing needs an image of its new size.
    if (!imageFits())
        resetImage();
    const QRgb rgb = background().rgb();
    for (const QRect &r : drawn_.deviceRects())
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(image_.scanLine(y));
            std::fill(row + r.left(), row + r.right() + 1, rgb);
        }
    return DrawnArea(image_.size(), scale());
}

void DrawBox::finishDrawing(const DrawnArea &drawn) {
    DrawnArea changed = drawn_;
    changed.unite(drawn);
    drawn_ = drawn;
    holdsDrawing_ = true;
    if (!changed.isEmpty())
        update(changed.boxRegion());
}

// The image covers the box: each part to repaint is copied from it once.
void DrawBox::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    // Bounded as the image's scale is, so that a band is never 0 rows high.
    const int s = std::clamp(static_cast<int>(std::lround(image_.devicePixelRatio())), 1, 16);
    const QRect imageRect(QPoint(0, 0), image_.size() / s);
    for (const QRect &part : event->region()) {
        const QRect shown = part.intersected(imageRect);
        for (int top = shown.top(); top <= shown.bottom(); top += kBandRows / s) {
            const QRect band(shown.left(), top, shown.width(),
                             std::min(kBandRows / s, shown.bottom() + 1 - top));
            painter.drawImage(band.topLeft(), image_, QRect(band.topLeft() * s, band.size() * s));
        }
        for (const QRect &outside : QRegion(part).subtracted(shown))
            painter.fillRect(outside, background());
    }
}

void DrawBox::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!imageFits())
        resetImage();
}

} // namespace vistrel::app
