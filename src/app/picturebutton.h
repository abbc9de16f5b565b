#pragma once

#include "app/picturelabel.h"

#include <QToolButton>

namespace vistrel::app {

// A tool button that takes its picture when it is first shown: the Enter
// buttons stay hidden until the user edits a value.
class PictureButton : public QToolButton {
public:
    PictureButton(Picture decode, QWidget *parent) : QToolButton(parent), picture_(decode) {}

protected:
    void showEvent(QShowEvent *event) override {
        if (icon().isNull()) {
            const QImage &image = picture_();
            setIcon(QIcon(QPixmap::fromImage(image)));
            setIconSize(image.size());
        }
        QToolButton::showEvent(event);
    }

private:
    Picture picture_;
};

} // namespace vistrel::app
