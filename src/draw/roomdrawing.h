#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vistrel {

// The room drawn to scale, as vectors: an elevation (a section along the
// screen's centre line, the screen wall on the left, the floor at the
// bottom) and a plan (the room seen from above, the screen wall on the left,
// the centre line across the middle). Coordinates are inches: x away from
// the screen wall; y up from the floor in the elevation, from the centre
// line towards the seat offset's side in the plan. Whoever paints a drawing
// fits its bounds into a box and turns y upwards; dimension lines are
// already strokes and labels, so a painter draws only these three kinds.

struct RoomPoint {
    double x = 0;
    double y = 0;
    bool operator==(const RoomPoint &) const = default;
};

// What a stroke, shape or label shows; a painter picks pen and colour by it.
enum class RoomInk {
    Wall,        // floor, ceiling, screen wall, back wall
    Screen,      // the picture
    AxisWindow,  // the band where the lens axis may be
    Projector,   // its body and lens
    Light,       // the light cone from the lens to the picture's edges
    Seat,        // a seat row and its eyes
    Sightline,   // from the eyes to the picture's edges
    LookUpLimit, // the 15-degree line from a row's eyes
    Dimension,   // dimension lines, their ticks and figures
    Failing,     // what a check refuses: a row that looks up too steeply, a projector outside the room
};

struct RoomStroke {
    RoomInk ink = RoomInk::Wall;
    RoomPoint from;
    RoomPoint to;
    bool dashed = false;
    bool operator==(const RoomStroke &) const = default;
};

// A closed polygon, filled in its ink's colour.
struct RoomShape {
    RoomInk ink = RoomInk::Wall;
    std::vector<RoomPoint> points;
    bool operator==(const RoomShape &) const = default;
};

// Where a label stands against its point.
enum class RoomAlign { Start, Centre, End };

// Plain text (never markup) at a point: `horizontal` Start puts the point at
// the text's left, `vertical` Start at its bottom (y grows upwards).
struct RoomLabel {
    RoomInk ink = RoomInk::Dimension;
    QString text;
    RoomPoint at;
    RoomAlign horizontal = RoomAlign::Centre;
    RoomAlign vertical = RoomAlign::Centre;
    bool operator==(const RoomLabel &) const = default;
};

struct RoomDrawing {
    // Everything drawn lies inside, labels' points included (not their
    // text, whose size the painter chooses).
    double left = 0, bottom = 0, right = 0, top = 0;
    std::vector<RoomShape> shapes; // painted first
    std::vector<RoomStroke> strokes;
    std::vector<RoomLabel> labels; // painted last
    bool isEmpty() const { return strokes.empty() && shapes.empty(); }
    bool operator==(const RoomDrawing &) const = default;
};

// A length in the user's unit with the unit's name ("58.8 in"), from inches.
using RoomLengthText = std::function<QString(double inches)>;

struct ElevationRow {
    double distance = 0;
    double eyeHeight = 0; // with the riser the row needs
    bool tooSteep = false;
    QString name; // "Row 1"
};

struct ElevationInput {
    double pictureBottom = 0;
    double pictureHeight = 0;
    std::optional<double> ceiling;
    std::optional<double> depth;
    // The lens axis window, lowest first, as calc/room gives it.
    std::optional<double> axisLow, axisHigh;
    // The projector, drawn at the lens: its distance at the zoom end in use
    // and the axis height chosen (the middle of the usable window); hanging
    // from the ceiling for "Top of Screen", standing for "Bottom of Screen".
    std::optional<double> lensDistance;
    std::optional<double> lensHeight;
    double bodyLength = 0;
    bool hanging = false;
    bool projectorOutside = false; // no usable mount: drawn in the failing ink
    std::vector<ElevationRow> rows;
    double lookUpLimit = 15; // degrees
};

struct PlanRow {
    double distance = 0;
    QString name;
};

struct PlanInput {
    double pictureWidth = 0;
    std::optional<double> depth;
    std::optional<double> lensDistance;
    double bodyLength = 0;
    std::vector<PlanRow> rows;
    // The outermost seat's distance from the centre line; rows are drawn
    // from the centre line to it (or as a point without it).
    std::optional<double> seatOffset;
    // The widest of the rows' viewing angles, for the label at the nearest row.
    QString viewingAngle;
};

// Empty when there is nothing to draw to scale: a picture without height
// (elevation) or width (plan), or a figure that is not finite.
RoomDrawing elevationDrawing(const ElevationInput &input, const RoomLengthText &length);
RoomDrawing roomPlanDrawing(const PlanInput &input, const RoomLengthText &length);

} // namespace vistrel
