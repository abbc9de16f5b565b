#pragma once

#include "calc/lens.h"
#include "core/calcstate.h"
#include "core/choices.h"
#include "core/perzoom.h"
#include "core/roomsettings.h"

#include <optional>
#include <vector>

namespace vistrel {

// The room around a screen: where the projector may hang or stand, whether
// the room is deep enough, what each seat row sees, and how large the
// picture must be for the farthest viewer to read it. Lengths are inches,
// heights above the floor, angles degrees; whatever the user has not set
// is absent, and so is every figure that needs it.

// The steepest comfortable look up to a picture's top edge.
inline constexpr double kLookUpLimit = 15;

// Refused, naming the value, for what no room has: a length below 0 or
// beyond kLargestRoomLength, a ceiling not above the screen's bottom edge, a
// seat row at 0 or with its eyes at or below the floor, more than
// kMostSeatRows rows, a smallest element outside 0.1 to 100 % of the height.
[[nodiscard]] Result<void> checkRoom(const RoomSettings &room);
// Refused for a line longer than kLongestDetail or holding a line break.
[[nodiscard]] Result<void> checkDetails(const ProjectDetails &details);
// The rows nearest first, as the risers are worked out (a stable sort).
RoomSettings withRowsInOrder(RoomSettings room);

// The calculation's picture as the room needs it.
struct RoomPicture {
    double width = 0;
    double height = 0;
    Position position = Position::Bottom;
    Zoom zoom = Zoom::Wide; // the end in use
    // Signed, as Lens::offsets gives them at the zoom end in use; the second
    // only for an end with two.
    Offsets offsets;
    int offsetCount = 1;
    bool mirrored = false; // ModelDrawFlag 1
    PerZoom<std::optional<double>> distance;
    std::optional<double> pixelRows;
};

// The calculation's picture: its sides and offsets at the zoom end in use,
// its distance at each end (as the planner's throw range gives them), and
// the panel's pixel rows it covers (all of them unless it is letterboxed).
RoomPicture roomPictureOf(const ModelRecord &model, const CalcState &state);

// Heights of the lens axis, lowest first.
struct HeightRange {
    double low = 0;
    double high = 0;
};

// Where the lens axis may be: beyond the picture's near edge by each offset
// (above the top edge for "Top of Screen", below the bottom edge for "Bottom
// of Screen"), on the picture's side of it for a mirrored model.
std::optional<HeightRange> lensAxisWindow(const RoomSettings &room, const RoomPicture &picture);

// The mount within the room: a ceiling mount's drop from ceiling to plate
// ("Top of Screen"), a table's height ("Bottom of Screen"), for the part of
// the lens axis window between floor and ceiling; what lies beyond them.
struct Mount {
    std::optional<HeightRange> usable; // drop or table height; none: does not fit
    double aboveCeiling = 0;           // of the axis window, inches
    double belowFloor = 0;
};
std::optional<Mount> mountOf(const RoomSettings &room, const RoomPicture &picture);

// Room depth left behind the projector at a zoom end (negative: short by that much).
PerZoom<std::optional<double>> depthLeft(const RoomSettings &room, const RoomPicture &picture);

// What one seat row sees.
struct SeatView {
    std::optional<double> lookUp, lookDown; // to the top and bottom edge
    double horizontal = 0;                  // the angle the picture's width fills
    std::optional<double> offAxis;          // of the outermost seat to the screen centre
    // The eye height the row needs to see the bottom edge over the heads of
    // the row in front, and the riser that gives it; none for the first row.
    std::optional<double> neededEyeHeight, riser;
    bool tooSteep() const { return lookUp && *lookUp > kLookUpLimit; }
};
// Every row, nearest first; a row's riser raises the eyes the next one
// must see over.
std::vector<SeatView> seatViews(const RoomSettings &room, const RoomPicture &picture);

// AVIXA V202.01 (DISCAS): the least picture height for Basic Decision
// Making, farthest viewer / (200 x %EH), the farthest viewer being the
// farthest row; and the farthest viewer for Analytical Decision Making, picture
// height x 3438 / pixel rows.
struct Discas {
    std::optional<double> leastHeight;
    std::optional<bool> heightMet;
    std::optional<double> analyticalDistance;
};
Discas discasOf(const RoomSettings &room, const RoomPicture &picture);

// Everything above for one room and picture.
struct RoomReport {
    RoomPicture picture;
    std::optional<HeightRange> axis;
    std::optional<Mount> mount;
    PerZoom<std::optional<double>> depthLeft;
    std::vector<SeatView> views;
    Discas discas;
};
RoomReport roomReportOf(const RoomSettings &room, const RoomPicture &picture);

} // namespace vistrel
