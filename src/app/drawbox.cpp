#include "drawbox.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistrel::app {

DrawBox::DrawBox(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    clearImage();
}

void DrawBox::clearImage() {
    // On a high-density screen the image holds every device pixel, so the
    // diagrams are drawn at full resolution rather than enlarged.
    const int scale = std::max(1, static_cast<int>(std::lround(devicePixelRatioF())));
    image_ = QImage(size().expandedTo(QSize(1, 1)) * scale, QImage::Format_RGB32);
    image_.setDevicePixelRatio(scale);
    image_.fill(background());
    update();
}

void DrawBox::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), background());
    painter.drawImage(0, 0, image_);
}

void DrawBox::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (image_.deviceIndependentSize().toSize() != size())
        clearImage();
}

} // namespace vistrel::app
