#pragma once

#include <QImage>

namespace vistrel::app {

// The program's own pictures, decoded when the program was built. Each is
// made an image at its first use: a window that starts shows only the logo
// and draws only the projector standing below the screen.
struct Pictures {
    static const QImage &projector();                // 80 x 62, lens at (46, 10)
    static const QImage &projectorSide(int picture); // 61 x 26: 0 upright, 1 upside down
    static const QImage &tilde();                    // 32 x 32 tilde
    static const QImage &enter();                    // Enter-button picture
    static const QImage &logo();
};

} // namespace vistrel::app
