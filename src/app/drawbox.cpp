#include "drawbox.h"

#include <QPaintEvent>
#include <QPainter>

namespace vistrel::app {

DrawBox::DrawBox(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    clearImage();
}

void DrawBox::clearImage() {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
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
    if (image_.size() != size())
        clearImage();
}

} // namespace vistrel::app
