#pragma once

#include "draw/roomdrawing.h"

#include <QWidget>

namespace vistrel::app {

// A drawing of the room to scale, fitted whole into the widget and painted
// as vectors at the screen's own resolution, so it is sharp at any size and
// on any screen density.
class RoomDrawingView : public QWidget {
    Q_OBJECT

public:
    explicit RoomDrawingView(QWidget *parent = nullptr);

    const RoomDrawing &drawing() const { return drawing_; }
    void setDrawing(RoomDrawing drawing);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    RoomDrawing drawing_;
};

} // namespace vistrel::app
