#include "app/roomdrawingview.h"

#include "print/roompainter.h"

#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace vistrel::app {

namespace {

// Below this, in lines of the widget's text, the figures on the dimension
// lines crowd each other out.
constexpr int kLeastWidthInLines = 22;
constexpr int kLeastHeightInLines = 12;
constexpr int kHintShare = 3; // the preferred size over the least, halves
constexpr int kHalves = 2;

} // namespace

RoomDrawingView::RoomDrawingView(QWidget *parent) : QWidget(parent) {
    // Every pixel is painted: nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RoomDrawingView::setDrawing(RoomDrawing drawing) {
    if (drawing == drawing_)
        return;
    drawing_ = std::move(drawing);
    update();
}

QSize RoomDrawingView::minimumSizeHint() const {
    const int line = fontMetrics().lineSpacing();
    return {kLeastWidthInLines * line, kLeastHeightInLines * line};
}

QSize RoomDrawingView::sizeHint() const {
    return minimumSizeHint() * kHintShare / kHalves;
}

void RoomDrawingView::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    print::paintRoomDrawing(painter, drawing_, rect(), font());
}

} // namespace vistrel::app
