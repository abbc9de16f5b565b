#include "app/drawnarea.h"

#include <algorithm>

namespace vistrel::app {

namespace {

int tilesAcross(int pixels, int tile) {
    return pixels <= 0 ? 0 : (pixels + tile - 1) / tile;
}

} // namespace

DrawnArea::DrawnArea(QSize deviceSize, int scale)
    : deviceSize_(deviceSize), scale_(std::clamp(scale, 1, 16)), tile_(kTilePixels * scale_),
      columns_(tilesAcross(deviceSize.width(), tile_)),
      rows_(tilesAcross(deviceSize.height(), tile_)),
      tiles_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {}

void DrawnArea::mark(std::int64_t column, std::int64_t row) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    std::uint8_t &tile = tiles_[static_cast<std::size_t>(row * columns_ + column)];
    if (!tile) {
        tile = 1;
        ++count_;
    }
}

void DrawnArea::addPixels(const std::vector<PointI> &devicePixels) {
    for (const PointI &p : devicePixels)
        mark(p.x / tile_, p.y / tile_);
}

void DrawnArea::addRuns(const std::vector<PixelRun> &runs) {
    for (const PixelRun &run : runs) {
        if (run.x1 <= run.x0)
            continue;
        for (std::int64_t column = run.x0 / tile_; column <= (run.x1 - 1) / tile_; ++column)
            mark(column, run.y / tile_);
    }
}

void DrawnArea::addRect(const QRect &deviceRect) {
    const QRect r = deviceRect.intersected(QRect(QPoint(0, 0), deviceSize_));
    if (r.isEmpty())
        return;
    for (int row = r.top() / tile_; row <= r.bottom() / tile_; ++row)
        for (int column = r.left() / tile_; column <= r.right() / tile_; ++column)
            mark(column, row);
}

void DrawnArea::unite(const DrawnArea &other) {
    if (other.tiles_.size() != tiles_.size())
        return;
    for (std::size_t i = 0; i < tiles_.size(); ++i)
        if (other.tiles_[i] && !tiles_[i]) {
            tiles_[i] = 1;
            ++count_;
        }
}

// Each row of tiles as runs of covered tiles, in the order QRegion wants
// them: top to bottom, then left to right, none overlapping.
std::vector<QRect> DrawnArea::deviceRects() const {
    std::vector<QRect> rects;
    const QRect image(QPoint(0, 0), deviceSize_);
    for (int row = 0; row < rows_; ++row) {
        int column = 0;
        while (column < columns_) {
            if (!tiles_[static_cast<std::size_t>(row * columns_ + column)]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns_ && tiles_[static_cast<std::size_t>(row * columns_ + column)])
                ++column;
            rects.push_back(QRect(first * tile_, row * tile_, (column - first) * tile_, tile_)
                                .intersected(image));
        }
    }
    return rects;
}

QRegion DrawnArea::boxRegion() const {
    std::vector<QRect> rects = deviceRects();
    for (QRect &r : rects) {
        // Whole box pixels: a partly covered one counts.
        const int left = r.left() / scale_;
        const int top = r.top() / scale_;
        const int right = (r.right() + scale_) / scale_;
        const int bottom = (r.bottom() + scale_) / scale_;
        r = QRect(left, top, right - left, bottom - top);
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

} // namespace vistrel::app
