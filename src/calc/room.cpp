#include "calc/room.h"

#include "calc/planner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistrel {

namespace {

double degrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

bool positive(std::optional<double> value) {
    return value && *value > 0 && std::isfinite(*value);
}

} // namespace

RoomPicture roomPictureOf(const ModelRecord &model, const CalcState &state) {
    RoomPicture p;
    p.width = state.screenWidth;
    p.height = state.screenHeight;
    p.position = state.screenPosition;
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

} // namespace vistrel
