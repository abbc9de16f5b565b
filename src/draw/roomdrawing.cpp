#include "draw/roomdrawing.h"

#include "core/roomsettings.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace vistrel {

namespace {

// Sizes that must read alike at any scale are shares of the drawing's
// extent (the larger side of what it shows before its dimension lines).
constexpr double kTickShare = 0.008;        // half a tick across a dimension line's end
constexpr double kEyeShare = 0.006;         // half the eye point's diamond
constexpr double kLabelGapShare = 0.015;    // between a label and what it names
constexpr double kDimensionGapShare = 0.05; // between dimension lines, and from the drawing
constexpr double kMarginShare = 0.1;        // around everything, room for the figures' text

// Beyond the farthest projector or row when the room's depth is unknown.
constexpr double kFloorOverrun = 1.1;
// The walls reach past the picture and the seats in the plan.
constexpr double kPlanWallOverrun = 1.15;

// A seat seen from the side, inches from the eye point: pan in front of and
// below the eyes, back rest behind them. Seats are furniture, drawn to scale.
constexpr double kSeatFront = 10, kSeatBack = 8, kBackRest = 4;
constexpr double kSeatPan = 17, kBackRestTop = 34;

// A projector is about a quarter as high as it is long, a little wider than high.
constexpr double kBodyHeightShare = 0.25;
constexpr double kBodyWidthShare = 0.7;
// A body of unknown length still shows where the lens is.
constexpr double kUnknownBodyShare = 0.25; // of the picture's height or width

bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool finiteOrAbsent(std::initializer_list<std::optional<double>> values) {
    return std::all_of(values.begin(), values.end(),
                       [](const std::optional<double> &v) { return !v || std::isfinite(*v); });
}

// A room length is only drawn when it is one.
std::optional<double> positive(const std::optional<double> &value) {
    return value && *value > 0 ? value : std::nullopt;
}

struct Extent {
    double left = std::numeric_limits<double>::infinity();
    double bottom = left;
    double right = -left;
    double top = -left;
    bool finite = true;

    void add(RoomPoint p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            finite = false;
            return;
        }
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    void add(const RoomDrawing &d) {
        for (const RoomShape &s : d.shapes)
            for (RoomPoint p : s.points)
                add(p);
        for (const RoomStroke &s : d.strokes) {
            add(s.from);
            add(s.to);
        }
        for (const RoomLabel &l : d.labels)
            add(l.at);
    }
    double size() const { return std::max(right - left, top - bottom); }
};

// Draws into a RoomDrawing in two steps: first what the room holds, then,
// scaled by its extent, what annotates it (eyes, labels, dimension lines).
class Sketch {
public:
    explicit Sketch(const RoomLengthText &length) : length_(length) {}

    void stroke(RoomInk ink, RoomPoint from, RoomPoint to, bool dashed = false) {
        drawing_.strokes.push_back({ink, from, to, dashed});
    }
    void shape(RoomInk ink, std::vector<RoomPoint> points) {
        drawing_.shapes.push_back({ink, std::move(points)});
    }
    void box(RoomInk ink, double left, double bottom, double right, double top) {
        shape(ink, {{left, bottom}, {right, bottom}, {right, top}, {left, top}});
    }
    void label(RoomInk ink, const QString &text, RoomPoint at, RoomAlign horizontal,
               RoomAlign vertical) {
        drawing_.labels.push_back({ink, text, at, horizontal, vertical});
    }

    // Ends the room's own geometry; the annotations' sizes follow from it.
    void measure() {
        content_ = Extent{};
        content_.add(drawing_);
        unit_ = content_.size();
    }
    const Extent &content() const { return content_; }
    double tick() const { return unit_ * kTickShare; }
    double labelGap() const { return unit_ * kLabelGapShare; }
    double dimensionGap() const { return unit_ * kDimensionGapShare; }

    void eye(RoomPoint at) {
        const double r = unit_ * kEyeShare;
        shape(RoomInk::Seat,
              {{at.x - r, at.y}, {at.x, at.y - r}, {at.x + r, at.y}, {at.x, at.y + r}});
    }

    // A dimension line from a to b with a tick across each end and `figure`
    // in the user's unit at its middle.
    void dimension(RoomPoint a, RoomPoint b, double figure, RoomAlign horizontal,
                   RoomAlign vertical) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len = std::hypot(dx, dy);
        if (!(len > 0))
            return;
        const double nx = -dy / len * tick(), ny = dx / len * tick();
        stroke(RoomInk::Dimension, a, b);
        for (RoomPoint end : {a, b})
            stroke(RoomInk::Dimension, {end.x - nx, end.y - ny}, {end.x + nx, end.y + ny});
        label(RoomInk::Dimension, length_ ? length_(std::abs(figure)) : QString(),
              {(a.x + b.x) / 2, (a.y + b.y) / 2}, horizontal, vertical);
    }

    // Distances from the screen wall stacked under the content, each a line
    // lower, so that no figure covers another; the lowest line's height.
    template <typename Rows> double distancesBelow(const Rows &rows, std::size_t count) {
        double below = content_.bottom;
        for (std::size_t i = 0; i < count; ++i) {
            below -= dimensionGap();
            dimension({0, below}, {rows[i].distance, below}, rows[i].distance, RoomAlign::Centre,
                      RoomAlign::Start);
        }
        return below;
    }

    // The drawing with its bounds; empty when a figure overflowed on the way.
    RoomDrawing finish() {
        Extent all;
        all.add(drawing_);
        if (!all.finite || !content_.finite || !(unit_ > 0))
            return {};
        const double margin = unit_ * kMarginShare;
        drawing_.left = all.left - margin;
        drawing_.bottom = all.bottom - margin;
        drawing_.right = all.right + margin;
        drawing_.top = all.top + margin;
        if (!allFinite({drawing_.left, drawing_.bottom, drawing_.right, drawing_.top}))
            return {};
        return std::move(drawing_);
    }

private:
    const RoomLengthText &length_;
    RoomDrawing drawing_;
    Extent content_;
    double unit_ = 0;
};

// Where the floor ends when no back wall does.
double floorEnd(const std::optional<double> &depth, double farthest, double fallback) {
    if (depth)
        return *depth;
    return farthest > 0 ? farthest * kFloorOverrun : fallback;
}

} // namespace

RoomDrawing elevationDrawing(const ElevationInput &in, const RoomLengthText &length) {
    const std::size_t rowCount = std::min(in.rows.size(), kMostSeatRows);
    if (!allFinite({in.pictureBottom, in.pictureHeight, in.bodyLength, in.lookUpLimit}) ||
        !finiteOrAbsent(
            {in.ceiling, in.depth, in.axisLow, in.axisHigh, in.lensDistance, in.lensHeight}) ||
        !(in.pictureHeight > 0))
        return {};
    for (std::size_t i = 0; i < rowCount; ++i)
        if (!allFinite({in.rows[i].distance, in.rows[i].eyeHeight}))
            return {};

    const double pictureTop = in.pictureBottom + in.pictureHeight;
    const std::optional<double> ceiling = positive(in.ceiling);
    const std::optional<double> depth = positive(in.depth);
    const double body = in.bodyLength > 0 ? in.bodyLength : in.pictureHeight * kUnknownBodyShare;
    const bool projector = in.lensDistance && in.lensHeight;

    double farthest = projector ? *in.lensDistance + body : 0;
    for (std::size_t i = 0; i < rowCount; ++i)
        farthest = std::max(farthest, in.rows[i].distance);
    const double end = floorEnd(depth, farthest, in.pictureHeight);

    Sketch s(length);
    double wallTop = pictureTop;
    if (in.axisLow && in.axisHigh) {
        const double low = std::min(*in.axisLow, *in.axisHigh);
        const double high = std::max(*in.axisLow, *in.axisHigh);
        s.box(RoomInk::AxisWindow, 0, low, in.lensDistance.value_or(end), high);
        wallTop = std::max(wallTop, high);
    }
    if (projector) {
        const RoomInk ink = in.projectorOutside ? RoomInk::Failing : RoomInk::Projector;
        const double lens = *in.lensDistance, axis = *in.lensHeight;
        const double half = body * kBodyHeightShare / 2;
        s.box(ink, lens, axis - half, lens + body, axis + half);
        const double middle = lens + body / 2;
        if (in.hanging && ceiling && *ceiling > axis + half)
            s.stroke(ink, {middle, axis + half}, {middle, *ceiling});
        if (!in.hanging && axis - half > 0)
            s.stroke(ink, {middle, axis - half}, {middle, 0});
        s.stroke(RoomInk::Light, {lens, axis}, {0, pictureTop});
        s.stroke(RoomInk::Light, {lens, axis}, {0, in.pictureBottom});
        wallTop = std::max(wallTop, axis + half);
    }
    wallTop = ceiling.value_or(wallTop);

    s.stroke(RoomInk::Wall, {0, 0}, {end, 0});
    s.stroke(RoomInk::Wall, {0, 0}, {0, wallTop});
    if (ceiling)
        s.stroke(RoomInk::Wall, {0, *ceiling}, {end, *ceiling});
    if (depth)
        s.stroke(RoomInk::Wall, {*depth, 0}, {*depth, wallTop});
    s.stroke(RoomInk::Screen, {0, in.pictureBottom}, {0, pictureTop});

    const bool limitLine = in.lookUpLimit > 0 && in.lookUpLimit < 90;
    const double rise = std::tan(in.lookUpLimit * std::numbers::pi / 180);
    for (std::size_t i = 0; i < rowCount; ++i) {
        const ElevationRow &row = in.rows[i];
        const RoomPoint eye{row.distance, row.eyeHeight};
        const double base = std::max(0.0, row.eyeHeight - kSeatedEyeHeight);
        const double front = eye.x - kSeatFront, back = eye.x + kSeatBack;
        s.shape(RoomInk::Seat, {{front, 0},
                                {front, base + kSeatPan},
                                {back, base + kSeatPan},
                                {back, base + kBackRestTop},
                                {back + kBackRest, base + kBackRestTop},
                                {back + kBackRest, 0}});
        s.stroke(row.tooSteep ? RoomInk::Failing : RoomInk::Sightline, eye, {0, pictureTop});
        s.stroke(RoomInk::Sightline, eye, {0, in.pictureBottom});
        if (limitLine)
            s.stroke(RoomInk::LookUpLimit, eye, {0, eye.y + eye.x * rise}, true);
    }

    s.measure();
    for (std::size_t i = 0; i < rowCount; ++i) {
        const ElevationRow &row = in.rows[i];
        s.eye({row.distance, row.eyeHeight});
        s.label(RoomInk::Seat, row.name, {row.distance, row.eyeHeight + s.labelGap()},
                RoomAlign::Centre, RoomAlign::Start);
    }

    const Extent &c = s.content();
    const double gap = s.dimensionGap();
    // The picture's heights stand left of the screen wall, the ceiling's
    // beyond the back, so that neither's figures cross the other's line.
    const double edges = c.left - gap;
    s.dimension({edges, 0}, {edges, in.pictureBottom}, in.pictureBottom, RoomAlign::End,
                RoomAlign::Centre);
    s.dimension({edges, in.pictureBottom}, {edges, pictureTop}, in.pictureHeight, RoomAlign::End,
                RoomAlign::Centre);
    if (ceiling)
        s.dimension({c.right + gap, 0}, {c.right + gap, *ceiling}, *ceiling, RoomAlign::Start,
                    RoomAlign::Centre);
    if (projector)
        s.dimension({0, c.top + gap}, {*in.lensDistance, c.top + gap}, *in.lensDistance,
                    RoomAlign::Centre, RoomAlign::Start);
    const double below = s.distancesBelow(in.rows, rowCount);
    if (depth)
        s.dimension({0, below - gap}, {*depth, below - gap}, *depth, RoomAlign::Centre,
                    RoomAlign::Start);
    return s.finish();
}

RoomDrawing roomPlanDrawing(const PlanInput &in, const RoomLengthText &length) {
    const std::size_t rowCount = std::min(in.rows.size(), kMostSeatRows);
    if (!allFinite({in.pictureWidth, in.bodyLength}) ||
        !finiteOrAbsent({in.depth, in.lensDistance, in.seatOffset}) || !(in.pictureWidth > 0))
        return {};
    for (std::size_t i = 0; i < rowCount; ++i)
        if (!std::isfinite(in.rows[i].distance))
            return {};

    const double half = in.pictureWidth / 2;
    const std::optional<double> depth = positive(in.depth);
    const std::optional<double> offset = positive(in.seatOffset);
    const double body = in.bodyLength > 0 ? in.bodyLength : in.pictureWidth * kUnknownBodyShare;

    std::optional<double> nearest;
    for (std::size_t i = 0; i < rowCount; ++i)
        nearest = std::min(nearest.value_or(in.rows[i].distance), in.rows[i].distance);
    const double wall = std::max(half, offset.value_or(0)) * kPlanWallOverrun;

    Sketch s(length);
    if (in.lensDistance) {
        const double lens = *in.lensDistance, side = body * kBodyWidthShare / 2;
        s.box(RoomInk::Projector, lens, -side, lens + body, side);
        s.stroke(RoomInk::Light, {lens, 0}, {0, half});
        s.stroke(RoomInk::Light, {lens, 0}, {0, -half});
    }
    s.stroke(RoomInk::Wall, {0, -wall}, {0, wall});
    if (depth)
        s.stroke(RoomInk::Wall, {*depth, -wall}, {*depth, wall});
    s.stroke(RoomInk::Screen, {0, -half}, {0, half});
    const double seat = offset.value_or(0);
    for (std::size_t i = 0; offset && i < rowCount; ++i)
        s.stroke(RoomInk::Seat, {in.rows[i].distance, -seat}, {in.rows[i].distance, seat});
    if (nearest) {
        s.stroke(RoomInk::Sightline, {*nearest, seat}, {0, half});
        s.stroke(RoomInk::Sightline, {*nearest, seat}, {0, -half});
    }

    s.measure();
    for (std::size_t i = 0; i < rowCount; ++i) {
        if (!offset)
            s.eye({in.rows[i].distance, 0});
        s.label(RoomInk::Seat, in.rows[i].name, {in.rows[i].distance, -seat - s.labelGap()},
                RoomAlign::Centre, RoomAlign::End);
    }
    if (nearest && !in.viewingAngle.isEmpty())
        s.label(RoomInk::Sightline, in.viewingAngle, {*nearest + s.labelGap(), seat},
                RoomAlign::Start, RoomAlign::Centre);

    const Extent &c = s.content();
    const double gap = s.dimensionGap();
    s.dimension({c.left - gap, -half}, {c.left - gap, half}, in.pictureWidth, RoomAlign::End,
                RoomAlign::Centre);
    if (in.lensDistance)
        s.dimension({0, c.top + gap}, {*in.lensDistance, c.top + gap}, *in.lensDistance,
                    RoomAlign::Centre, RoomAlign::Start);
    s.distancesBelow(in.rows, rowCount);
    if (offset && rowCount > 0)
        s.dimension({c.right + gap, 0}, {c.right + gap, *offset}, *offset, RoomAlign::Start,
                    RoomAlign::Centre);
    return s.finish();
}

} // namespace vistrel
