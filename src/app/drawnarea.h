#pragma once

#include "draw/raster.h"

#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

namespace vistrel::app {

// The parts of a box's image that a drawing set, in square tiles of
// kTilePixels pixels of the box. A new drawing erases and repaints only the
// tiles the old one or the new one touched; a tile costs little more than
// its pixels would, and a long sloping line a few dozen tiles, not the
// rectangle around it.
class DrawnArea {
public:
    static constexpr int kTilePixels = 16;

    DrawnArea() = default;
    // For an image of `deviceSize` pixels, `scale` of them per pixel of the box.
    DrawnArea(QSize deviceSize, int scale);

    void addPixels(const std::vector<PointI> &devicePixels);
    void addRuns(const std::vector<PixelRun> &runs);
    void addRect(const QRect &deviceRect);
    // Adds what `other`, on the same image, covers.
    void unite(const DrawnArea &other);

    bool isEmpty() const { return count_ == 0; }
    // The covered tiles, in pixels of the image and in pixels of the box.
    std::vector<QRect> deviceRects() const;
    QRegion boxRegion() const;

private:
    void mark(std::int64_t column, std::int64_t row);

    QSize deviceSize_;
    int scale_ = 1;
    int tile_ = kTilePixels; // in pixels of the image
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::uint8_t> tiles_;
    int count_ = 0;
};

} // namespace vistrel::app
