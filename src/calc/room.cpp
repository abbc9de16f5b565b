#include "calc/room.h"

#include "calc/planner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace vistrel {

namespace {

double degrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

bool positive(std::optional<double> value) {
    return value && *value > 0 && std::isfinite(*value);
}

AppError invalid(const QString &what) {
    return makeError(ErrorNumber::InvalidPropertyValue,
                     QStringLiteral("Invalid property value: ") + what);
}

bool lengthTaken(double v) {
    return v >= 0 && v <= kLargestRoomLength;
}

} // namespace

Result<void> checkRoom(const RoomSettings &room) {
    const std::array<std::pair<const char *, std::optional<double>>, 7> lengths{{
        {"the screen's bottom edge above the floor", room.screenBottom},
        {"the ceiling height", room.ceiling},
        {"the room depth", room.depth},
        {"the lens axis to the mount", room.mountDepth},
        {"the projector's length behind the lens", room.bodyLength},
        {"the outermost seat's offset", room.seatOffset},
        {"the head clearance", room.headClearance},
    }};
    for (const auto &[what, value] : lengths) {
        if (value && !lengthTaken(*value))
            return invalid(QStringLiteral("%1 must be a length from 0 to %2 in")
                               .arg(QLatin1String(what))
                               .arg(kLargestRoomLength));
    }
    if (room.ceiling && room.screenBottom && !(*room.ceiling > *room.screenBottom))
        return invalid(QStringLiteral("the ceiling must be above the screen's bottom edge"));
    if (room.rows.size() > kMostSeatRows)
        return invalid(QStringLiteral("at most %1 seat rows").arg(kMostSeatRows));
    for (std::size_t i = 0; i < room.rows.size(); ++i) {
        const SeatRow &row = room.rows[i];
        if (!(row.distance > 0 && row.distance <= kLargestRoomLength) ||
            !(row.eyeHeight > 0 && row.eyeHeight <= kLargestRoomLength))
            return invalid(QStringLiteral("seat row %1 must be more than 0 from the screen, its "
                                          "eyes above the floor, both at most %2 in")
                               .arg(i + 1)
                               .arg(kLargestRoomLength));
    }
    if (!(room.elementHeightPercent >= kSmallestElementPercent &&
          room.elementHeightPercent <= kLargestElementPercent))
        return invalid(QStringLiteral("the smallest element must be %1 to %2 % of the picture "
                                      "height")
                           .arg(kSmallestElementPercent)
                           .arg(kLargestElementPercent));
    return {};
}

Result<void> checkDetails(const ProjectDetails &details) {
    for (const QString *line :
         {&details.project, &details.client, &details.room, &details.date, &details.preparedBy}) {
        if (line->size() > kLongestDetail)
            return invalid(
                QStringLiteral("a title line holds at most %1 characters").arg(kLongestDetail));
        if (line->contains(u'\n') || line->contains(u'\r'))
            return invalid(QStringLiteral("a title line holds no line break"));
    }
    return {};
}

RoomSettings withRowsInOrder(RoomSettings room) {
    std::stable_sort(room.rows.begin(), room.rows.end(),
                     [](const SeatRow &a, const SeatRow &b) { return a.distance < b.distance; });
    return room;
}

RoomPicture roomPictureOf(const ModelRecord &model, const CalcState &state) {
    RoomPicture p;
    p.width = state.screenWidth;
    p.height = state.screenHeight;
    p.position = state.screenPosition;
    p.zoom = state.zoomEnd;
    const Lens lens = lensOf(model, state);
    const AspectPair aspect{state.aspectHeight, state.aspectWidth};
    p.offsets = lens.offsets(state.screenHeight, state.zoomEnd, aspect);
    p.offsetCount = state.offsetCount[state.zoomEnd];
    p.mirrored = state.drawFlag == 1;
    const Plan plan = planOf(model, state, PlannerSettings{});
    p.distance[Zoom::Wide] = plan.distanceWide;
    p.distance[Zoom::Tele] = plan.distanceTele;
    if (model.hasPanelPixels()) {
        const Sides lit = lens.litPanel(state.zoomEnd, state.projectionDistance, aspect,
                                        {state.screenWidth, state.screenHeight});
        if (lit.height > 0 && std::isfinite(lit.height))
            p.pixelRows = model.panelHeightPx * std::min(1.0, state.screenHeight / lit.height);
    }
    return p;
}

std::optional<HeightRange> lensAxisWindow(const RoomSettings &room, const RoomPicture &picture) {
    if (!room.screenBottom)
        return std::nullopt;
    const bool top = picture.position == Position::Top;
    const double nearEdge = *room.screenBottom + (top ? picture.height : 0);
    // Away from the picture, or towards it where the side view mirrors the near edge.
    const double away = (top ? 1 : -1) * (picture.mirrored ? -1 : 1);
    const double first = nearEdge + away * picture.offsets.a;
    const double second = picture.offsetCount > 1 ? nearEdge + away * picture.offsets.b : first;
    return HeightRange{std::min(first, second), std::max(first, second)};
}

std::optional<Mount> mountOf(const RoomSettings &room, const RoomPicture &picture) {
    const std::optional<HeightRange> axis = lensAxisWindow(room, picture);
    if (!axis)
        return std::nullopt;
    const double mountDepth = room.mountDepth.value_or(0);
    Mount mount;
    // The axis between the floor (a table of height 0) and the ceiling less the mount.
    const double lowest = picture.position == Position::Bottom ? mountDepth : 0;
    const std::optional<double> highest =
        room.ceiling ? std::optional(*room.ceiling - mountDepth) : std::nullopt;
    mount.belowFloor = std::max(0.0, std::min(axis->high, lowest) - axis->low);
    if (highest)
        mount.aboveCeiling = std::max(0.0, axis->high - std::max(axis->low, *highest));
    const double low = std::max(axis->low, lowest);
    const double high = highest ? std::min(axis->high, *highest) : axis->high;
    if (low > high)
        return mount;
    if (picture.position == Position::Top) {
        if (room.ceiling)
            mount.usable = HeightRange{*room.ceiling - (high + mountDepth),
                                       *room.ceiling - (low + mountDepth)};
    } else {
        mount.usable = HeightRange{low - mountDepth, high - mountDepth};
    }
    return mount;
}

PerZoom<std::optional<double>> depthLeft(const RoomSettings &room, const RoomPicture &picture) {
    PerZoom<std::optional<double>> left;
    if (!room.depth)
        return left;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (picture.distance[zoom])
            left[zoom] = *room.depth - *picture.distance[zoom] - room.bodyLength.value_or(0);
    }
    return left;
}

std::vector<SeatView> seatViews(const RoomSettings &room, const RoomPicture &picture) {
    std::vector<SeatView> views;
    std::optional<double> headInFront; // the top of the heads of the row in front
    std::optional<double> distanceInFront;
    for (const SeatRow &row : room.rows) {
        SeatView view;
        if (!(row.distance > 0) || !std::isfinite(row.distance)) {
            views.push_back(view);
            continue;
        }
        view.horizontal = degrees(2 * std::atan(picture.width / 2 / row.distance));
        if (room.seatOffset)
            view.offAxis = degrees(std::atan(std::abs(*room.seatOffset) / row.distance));
        double eyes = row.eyeHeight;
        if (room.screenBottom) {
            const double bottom = *room.screenBottom;
            // The sightline from the eyes to the bottom edge clears the heads in
            // front: it passes their top at their distance, a straight line.
            if (headInFront && distanceInFront && row.distance > *distanceInFront) {
                const double needed =
                    bottom + (*headInFront - bottom) * row.distance / *distanceInFront;
                view.neededEyeHeight = needed;
                view.riser = std::max(0.0, needed - row.eyeHeight);
                eyes = std::max(eyes, needed);
            }
            view.lookUp = degrees(std::atan((bottom + picture.height - eyes) / row.distance));
            view.lookDown = degrees(std::atan((eyes - bottom) / row.distance));
        }
        headInFront = eyes + room.headClearance;
        distanceInFront = row.distance;
        views.push_back(view);
    }
    return views;
}

Discas discasOf(const RoomSettings &room, const RoomPicture &picture) {
    Discas discas;
    const double share = room.elementHeightPercent / 100;
    if (!room.rows.empty() && share > 0 && std::isfinite(share)) {
        const double farthest = std::max_element(room.rows.begin(), room.rows.end(),
                                                 [](const SeatRow &a, const SeatRow &b) {
                                                     return a.distance < b.distance;
                                                 })
                                    ->distance;
        discas.leastHeight = farthest / (200 * share);
        discas.heightMet = picture.height >= *discas.leastHeight;
    }
    if (positive(picture.pixelRows))
        discas.analyticalDistance = picture.height * 3438 / *picture.pixelRows;
    return discas;
}

RoomReport roomReportOf(const RoomSettings &room, const RoomPicture &picture) {
    return {picture,
            lensAxisWindow(room, picture),
            mountOf(room, picture),
            depthLeft(room, picture),
            seatViews(room, picture),
            discasOf(room, picture)};
}

} // namespace vistrel
