#pragma once

#include <QImage>
#include <QLabel>

namespace vistrel::app {

// The function that decodes a picture, called when it is first needed.
using Picture = const QImage &(*)();

// A picture label that decodes its picture when it is first shown: a window
// whose second offset never shows never decodes the tilde.
class PictureLabel : public QLabel {
public:
    PictureLabel(Picture decode, QWidget *parent) : QLabel(parent), picture_(decode) {}

protected:
    void showEvent(QShowEvent *event) override {
        if (pixmap().isNull())
            setPixmap(QPixmap::fromImage(picture_()));
        QLabel::showEvent(event);
    }

private:
    Picture picture_;
};

} // namespace vistrel::app
