#include "draw/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vistrel {

namespace {

int scaleOf(const DeviceBox &box) {
    return std::clamp(box.scale, 1, 16);
}

// Where the centre of drawing pixel `p` lies in device pixels.
double deviceCentre(std::int32_t p, int scale) {
    return double(p) * scale + (scale - 1) / 2.0;
}

// Nearest device pixel; a point halfway between two takes the lower one.
long long nearest(double v) {
    return static_cast<long long>(std::ceil(v - 0.5));
}

bool patternOn(LineStyle style, long long step) {
    if (style == LineStyle::Solid)
        return true;
    const long long p = step % 24;
    return p < 9 || (p >= 12 && p < 15) || (p >= 18 && p < 21);
}

} // namespace

std::vector<PointI> linePixels(PointI from, PointI to, LineStroke stroke, const DeviceBox &box) {
    std::vector<PointI> pixels;
    const int scale = scaleOf(box);
    const int width = std::clamp(stroke.width, 1, 64);
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    if (dx == 0 && dy == 0)
        return pixels;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const long long major = alongX ? dx : dy;
    const long long direction = major > 0 ? 1 : -1;
    const long long majorExtent = alongX ? box.width : box.height;
    const long long minorExtent = alongX ? box.height : box.width;

    // Device pixel i of the line lies at firstDevice + direction * i along
    // the major axis; the last drawing pixel is not part of the line.
    const long long steps = std::llabs(major) * scale;
    const std::int32_t startMajor = alongX ? from.x : from.y;
    const long long firstDevice =
        static_cast<long long>(startMajor) * scale + (direction < 0 ? scale - 1 : 0);
    const double c0Major = deviceCentre(startMajor, scale);
    const double c0Minor = deviceCentre(alongX ? from.y : from.x, scale);
    const double slope = double(alongX ? dy : dx) / double(major);
    // A pen of w drawing pixels covers w * scale device pixels across the
    // line; an even width takes its extra pixel on the right or below.
    const int thickness = width * scale;
    const int lead = ((width - 1) / 2) * scale + (scale - 1) / 2;

    // Only the steps that land inside the box.
    long long iFirst = 0, iLast = steps - 1;
    if (direction > 0) {
        iFirst = std::max(iFirst, -firstDevice);
        iLast = std::min(iLast, majorExtent - 1 - firstDevice);
    } else {
        iFirst = std::max(iFirst, firstDevice - (majorExtent - 1));
        iLast = std::min(iLast, firstDevice);
    }
    for (long long i = iFirst; i <= iLast; ++i) {
        if (!patternOn(stroke.style, i / scale))
            continue;
        const long long m = firstDevice + direction * i;
        const double minor = c0Minor + (double(m) - c0Major) * slope;
        const long long first = nearest(minor) - lead;
        for (long long b = std::max(first, 0LL); b < std::min(first + thickness, minorExtent);
             ++b) {
            const auto a32 = static_cast<std::int32_t>(m);
            const auto b32 = static_cast<std::int32_t>(b);
            pixels.push_back(alongX ? PointI{a32, b32} : PointI{b32, a32});
        }
    }
    return pixels;
}

std::vector<PixelRun> polygonFill(const std::array<PointI, 4> &corners, const DeviceBox &box) {
    const int scale = scaleOf(box);
    struct P {
        double x, y;
    };
    std::array<P, 4> v{};
    double top = v[0].y, bottom = v[0].y;
    for (std::size_t i = 0; i < 4; ++i) {
        v[i] = {deviceCentre(corners[i].x, scale), deviceCentre(corners[i].y, scale)};
        top = i == 0 ? v[i].y : std::min(top, v[i].y);
        bottom = i == 0 ? v[i].y : std::max(bottom, v[i].y);
    }
    std::vector<PixelRun> runs;
    const long long firstRow = std::max<long long>(static_cast<long long>(std::ceil(top)), 0);
    const long long endRow =
        std::min<long long>(static_cast<long long>(std::ceil(bottom)), box.height);
    for (long long y = firstRow; y < endRow; ++y) {
        // Crossings of the row's centre line, each with the direction of its
        // edge; the non-zero winding rule keeps what lies inside.
        struct Crossing {
            double x;
            int winding;
        };
        std::array<Crossing, 4> crossings{};
        std::size_t count = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const P a = v[i];
            const P b = v[(i + 1) % 4];
            const bool down = a.y < b.y;
            const double y0 = down ? a.y : b.y;
            const double y1 = down ? b.y : a.y;
            if (a.y == b.y || double(y) < y0 || double(y) >= y1)
                continue;
            const double t = (double(y) - a.y) / (b.y - a.y);
            crossings[count++] = {a.x + t * (b.x - a.x), down ? 1 : -1};
        }
        std::sort(crossings.begin(), crossings.begin() + static_cast<std::ptrdiff_t>(count),
                  [](const Crossing &l, const Crossing &r) { return l.x < r.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < count; ++i) {
            winding += crossings[i].winding;
            if (winding == 0)
                continue;
            const long long x0 =
                std::max<long long>(static_cast<long long>(std::ceil(crossings[i].x)), 0);
            const long long x1 = std::min<long long>(
                static_cast<long long>(std::ceil(crossings[i + 1].x)), box.width);
            if (x1 > x0)
                runs.push_back({static_cast<std::int32_t>(y), static_cast<std::int32_t>(x0),
                                static_cast<std::int32_t>(x1)});
        }
    }
    return runs;
}

} // namespace vistrel
