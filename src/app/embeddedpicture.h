#pragma once

#include <QImage>

namespace vistrel::app {

// A picture decoded at build time (vistrel-embed-pictures): its pixels as
// QImage holds them.
struct EmbeddedPicture {
    int width;
    int height;
    int bytesPerLine;
    int format; // a QImage::Format
    const QRgb *colours;
    int colourCount;
    const uchar *pixels;

    // The picture over its pixels in the program's read-only data: nothing
    // is decoded or copied.
    QImage image() const {
        QImage picture(pixels, width, height, bytesPerLine, static_cast<QImage::Format>(format));
        if (colourCount > 0)
            picture.setColorTable(QList<QRgb>(colours, colours + colourCount));
        return picture;
    }
};

extern const EmbeddedPicture kProjector;
extern const EmbeddedPicture kProjectorSideUp;
extern const EmbeddedPicture kProjectorSideDown;
extern const EmbeddedPicture kTilde;
extern const EmbeddedPicture kEnter;
extern const EmbeddedPicture kLogo;

} // namespace vistrel::app
