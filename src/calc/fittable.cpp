#include "calc/fittable.h"

#include "calc/planner.h"

#include <algorithm>
#include <cmath>

namespace vistrel {

namespace {

bool offers(const ModelRecord &model, const PictureFormat &format) {
    const std::optional<Aspect> aspect = aspectOf(format);
    return (aspect && info(*aspect).group == AspectGroup::FourThree) || model.offers169();
}

// The light on this screen at `zoom`, as the planner works it out.
std::optional<double> lightOf(const ModelRecord &model, const FitRequest &request, Zoom zoom,
                              double distance) {
    CalcState state;
    state.zoomEnd = zoom;
    state.aspectWidth = request.format.width;
    state.aspectHeight = request.format.height;
    state.anamorphic = request.anamorphic;
    state.wideScreenMode = model.wideScreenMode;
    state.screenDiagonal = request.diagonal;
    const Sides picture = sidesOf(request.diagonal, request.format.ratio());
    state.screenWidth = picture.width;
    state.screenHeight = picture.height;
    state.projectionDistance = distance;
    return planOf(model, state, request.settings).footLamberts;
}

FitRow rowOf(const ModelRecord &model, int index, const FitRequest &request) {
    FitRow row;
    row.modelIndex = index;
    if (!offers(model, request.format)) {
        row.verdict = FitRow::Verdict::NoFormat;
        return row;
    }
    const Lens lens{model, model.wideScreenMode, request.anamorphic};
    const AspectPair aspect{request.format.height, request.format.width};
    std::optional<DiagonalRange> reach;
    bool unusable = false;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (!model.hasEnd(zoom))
            continue;
        const DiagonalRange limits = lens.limits(zoom, aspect);
        reach = reach ? DiagonalRange{std::min(reach->min, limits.min),
                                      std::max(reach->max, limits.max)}
                      : limits;
        if (request.diagonal < limits.min || request.diagonal > limits.max)
            continue;
        const Result<double> distance = lens.distanceFromDiagonal(request.diagonal, zoom, aspect);
        if (!distance || !std::isfinite(*distance) || *distance < 0) {
            unusable = true;
            continue;
        }
        row.distance[zoom] = *distance;
        row.nearest = std::min(row.nearest.value_or(*distance), *distance);
        row.farthest = std::max(row.farthest.value_or(*distance), *distance);
    }
    if (!row.nearest) {
        row.verdict = unusable || !reach ? FitRow::Verdict::Unusable : FitRow::Verdict::SizeOutside;
        if (row.verdict == FitRow::Verdict::SizeOutside)
            row.reach = reach;
        return row;
    }
    row.zoom = row.distance[Zoom::Wide] ? Zoom::Wide : Zoom::Tele;
    const Sides picture = sidesOf(request.diagonal, request.format.ratio());
    row.offsets = lens.offsets(picture.height, row.zoom, aspect);
    row.offsetCount = model.offsetCount(row.zoom);
    row.footLamberts = lightOf(model, request, row.zoom, *row.distance[row.zoom]);
    const double nearest = request.nearest.value_or(0);
    const double farthest = request.farthest.value_or(*row.farthest);
    if (*row.farthest < nearest || *row.nearest > farthest)
        row.verdict = FitRow::Verdict::DistanceOutside;
    return row;
}

} // namespace

std::vector<FitRow> fitTable(const std::vector<ModelRecord> &models, const FitRequest &request) {
    std::vector<FitRow> rows;
    rows.reserve(models.size());
    for (std::size_t i = 0; i < models.size() && i < static_cast<std::size_t>(kModelCapacity); ++i)
        rows.push_back(rowOf(models[i], static_cast<int>(i), request));
    return rows;
}

} // namespace vistrel
