#pragma once

#include <QImage>

namespace vistrel::app {

// The program's own pictures, loaded once from its resources.
struct Pictures {
    QImage projector;        // 80 x 62, lens at (46, 10)
    QImage projectorSide[2]; // 61 x 26: upright, upside down
    QImage kara;             // 32 x 32 tilde
    QImage enter;            // Enter-button picture
    QImage logo;

    static const Pictures &get();
};

} // namespace vistrel::app
