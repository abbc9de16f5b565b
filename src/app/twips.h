#pragma once

#include <QRect>

namespace vistrel::app {

// The window's layout is kept in twips, as it was designed; the screen shows
// it at 15 twips per pixel (96 dots per inch).
inline constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

constexpr int px(int twips) {
    return twips / kTwipsPerPixel;
}
inline QRect px(TwipsRect r) {
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

} // namespace vistrel::app
