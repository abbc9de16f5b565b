#include "app/pictures.h"

#include "app/embeddedpicture.h"

namespace vistrel::app {

const QImage &Pictures::projector() {
    static const QImage picture = kProjector.image();
    return picture;
}

const QImage &Pictures::projectorSide(int picture) {
    if (picture == 1) {
        static const QImage down = kProjectorSideDown.image();
        return down;
    }
    static const QImage up = kProjectorSideUp.image();
    return up;
}

const QImage &Pictures::tilde() {
    static const QImage picture = kTilde.image();
    return picture;
}

const QImage &Pictures::enter() {
    static const QImage picture = kEnter.image();
    return picture;
}

const QImage &Pictures::logo() {
    static const QImage picture = kLogo.image();
    return picture;
}

} // namespace vistrel::app
