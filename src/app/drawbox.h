#pragma once

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
    // Clears the image to the background colour and resizes it to the box.
    void clearImage();
    // Shows the image as it now stands.
    void imageChanged() { update(); }

    QColor background() const { return Qt::white; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage image_;
};

} // namespace vistrel::app
