#pragma once

#include "calc/lens.h"
#include "catalogue/modelrecord.h"
#include "core/calcstate.h"
#include "core/perzoom.h"
#include "core/plannersettings.h"

#include <QString>

#include <optional>
#include <vector>

namespace vistrel {

// The screen a model must fill, and where set the distances the room
// leaves for the projector (inches).
struct FitRequest {
    double diagonal = 0;
    PictureFormat format;
    double anamorphic = kNoAnamorphic;
    std::optional<double> nearest;
    std::optional<double> farthest;
    PlannerSettings settings; // the screen's gain, for the light
};

// One model against the request.
struct FitRow {
    enum class Verdict {
        Fits,
        NoFormat,        // it offers no picture as wide as the format
        SizeOutside,     // the size lies outside its limits at every end
        DistanceOutside, // it fills the screen only from where the room has no place
        Unusable,        // its lens gives no distance
    };
    int modelIndex = 0;
    Verdict verdict = Verdict::Fits;
    // For SizeOutside: the sizes of this picture it allows, over its zoom ends.
    std::optional<DiagonalRange> reach;
    // The distance for this screen at each end whose limits hold the size.
    PerZoom<std::optional<double>> distance;
    // Where the projector may stand for it: from the shorter to the longer
    // of those distances (a zoom lens fills the screen anywhere between).
    std::optional<double> nearest, farthest;
    Zoom zoom = Zoom::Wide; // the end the offsets and the light are for: WIDE where it fits
    Offsets offsets;
    int offsetCount = 1;
    std::optional<double> footLamberts;

    bool fits() const { return verdict == Verdict::Fits; }
};

// Which models can fill the screen, each with its figures or its reason,
// in the order of `models`.
std::vector<FitRow> fitTable(const std::vector<ModelRecord> &models, const FitRequest &request);

} // namespace vistrel
