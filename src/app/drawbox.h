#pragma once

#include "app/drawnarea.h"

#include <QImage>
#include <QWidget>

namespace vistrel::app {

// A white picture box that keeps what was drawn into it in a persistent
// image and repaints itself from that image.
class DrawBox : public QWidget {
    Q_OBJECT

public:
    explicit DrawBox(QWidget *parent = nullptr);

    // The persistent image, the size of the box in device pixels (its device
    // pixel ratio says how many per pixel of the box); drawing code paints into it.
    QImage &image() { return image_; }
    const QImage &image() const { return image_; }

    // Starts a new drawing: what the drawing before set goes back to the
    // background. The returned area is for the new drawing to note what it sets.
    DrawnArea startDrawing();
    // The new drawing is in the image; repaints what changed, the area of the
    // drawing before and that of this one.
    void finishDrawing(const DrawnArea &drawn);
    // Whether the image holds the drawing last finished; resizing the box
    // clears it.
    bool holdsDrawing() const { return holdsDrawing_; }

    QColor background() const { return Qt::white; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int scale() const;
    bool imageFits() const;
    void resetImage();

    QImage image_;
    DrawnArea drawn_;
    bool holdsDrawing_ = false;
};

} // namespace vistrel::app
