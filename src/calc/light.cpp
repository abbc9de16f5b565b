#include "calc/light.h"

#include <cmath>
#include <numbers>

namespace vistrel {

namespace {

std::optional<double> finiteOrNone(double value) {
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// The lumens out of the lens that give `nits` on this screen.
std::optional<double> lumensFor(double nits, const Plan &plan, const PlannerSettings &settings) {
    if (!plan.litAreaSquareFeet || !(settings.gain > 0))
        return std::nullopt;
    return finiteOrNone(nits / kNitsPerFootLambert * *plan.litAreaSquareFeet / settings.gain);
}

TargetFigures target(LightTargetKind kind, double nits, const Plan &plan,
                     const PlannerSettings &settings) {
    TargetFigures t;
    t.kind = kind;
    t.nits = nits;
    t.lumens = lumensFor(nits, plan, settings);
    if (t.lumens && settings.lightAge > 0)
        t.ratedLumens = finiteOrNone(*t.lumens / settings.lightAge);
    if (plan.nits && nits > 0) {
        t.ratio = finiteOrNone(*plan.nits / nits);
        t.ratioUpperBound = plan.lightUpperBound;
    }
    return t;
}

} // namespace

std::vector<TargetFigures> targetFigures(const Plan &plan, const PlannerSettings &settings) {
    std::vector<TargetFigures> figures;
    for (const LightTargetInfo &row : kLightTargets)
        figures.push_back(target(row.kind, row.nits, plan, settings));
    if (settings.targetNits)
        figures.push_back(target(LightTargetKind::Typed, *settings.targetNits, plan, settings));
    return figures;
}

double ambientNits(const PlannerSettings &settings) {
    return settings.ambientLux * settings.gain / std::numbers::pi;
}

std::vector<TaskFigures> taskFigures(const ModelRecord &model, const Plan &plan,
                                     const PlannerSettings &settings) {
    std::vector<TaskFigures> figures;
    const std::optional<double> native =
        model.contrastRatio > 0 && std::isfinite(model.contrastRatio)
            ? std::optional(model.contrastRatio)
            : std::nullopt;
    const double ambient = ambientNits(settings);
    for (const ViewingTaskInfo &row : kViewingTasks) {
        TaskFigures t;
        t.task = row.task;
        t.contrast = row.contrast;
        if (native) {
            t.reachable = row.contrast < *native;
            if (t.reachable) {
                t.whiteNits =
                    finiteOrNone(ambient * (row.contrast - 1) / (1 - row.contrast / *native));
                if (t.whiteNits)
                    t.lumens = lumensFor(*t.whiteNits, plan, settings);
                // At TELE without its light factor the picture's white is the most it
                // can be: below the need it falls short, above it nothing is known.
                if (t.whiteNits && plan.nits &&
                    (!plan.lightUpperBound || *plan.nits < *t.whiteNits))
                    t.reached = *plan.nits >= *t.whiteNits;
            } else {
                t.reached = false;
            }
        }
        figures.push_back(t);
    }
    return figures;
}

std::optional<bool> outsideHalfGain(const PlannerSettings &settings, double offAxis) {
    if (!settings.halfGainAngle)
        return std::nullopt;
    return offAxis > *settings.halfGainAngle;
}

} // namespace vistrel
