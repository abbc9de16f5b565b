#pragma once

#include <QImage>
#include <QLabel>
#include <QToolButton>

namespace vistrel::app {

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
