#pragma once

#include "calc/planner.h"
#include "core/plannersettings.h"

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

// The light budget: how the picture compares with the usual targets, the
// lumens each needs on this screen, the white a lit room needs for a
// viewing task's contrast, and the seats outside the screen's half-gain
// cone. Every figure of light is the aged light (PlannerSettings::lightAge).

// A reference for the picture's white.
enum class LightTargetKind : int { Cinema48Nits, Cinema16fL, HdrCinema, BrightHdr, Typed };

struct LightTargetInfo {
    LightTargetKind kind;
    double nits;
};

// 14 fL (48 nits, digital cinema, SMPTE ST 431-1), 16 fL (SMPTE 196M),
// 108 nits (HDR cinema) and 300 nits (a bright HDR room).
inline constexpr std::array<LightTargetInfo, 4> kLightTargets{{
    {LightTargetKind::Cinema48Nits, 48},
    {LightTargetKind::Cinema16fL, 16 * kNitsPerFootLambert},
    {LightTargetKind::HdrCinema, 108},
    {LightTargetKind::BrightHdr, 300},
}};

struct TargetFigures {
    LightTargetKind kind = LightTargetKind::Typed;
    double nits = 0;
    // What the screen must get, in lumens out of the lens: target x lit
    // area / gain; and what a new light source must give for it at this age.
    std::optional<double> lumens, ratedLumens;
    // The picture's white over the target (1 meets it); with the light at
    // TELE unknown, the most it can be.
    std::optional<double> ratio;
    bool ratioUpperBound = false;
};

// The four targets, and the user's own after them when set.
std::vector<TargetFigures> targetFigures(const Plan &plan, const PlannerSettings &settings);

// ANSI/INFOCOMM 3M-2011's viewing tasks and the contrast each needs.
enum class ViewingTask : int { Passive, BasicDecisions, AnalyticalDecisions, FullMotionVideo };

struct ViewingTaskInfo {
    ViewingTask task;
    double contrast; // N of "N : 1"
};

inline constexpr std::array<ViewingTaskInfo, 4> kViewingTasks{{
    {ViewingTask::Passive, 7},
    {ViewingTask::BasicDecisions, 15},
    {ViewingTask::AnalyticalDecisions, 50},
    {ViewingTask::FullMotionVideo, 80},
}};

// The room light reflected towards the viewer, nits: lux x gain / pi.
double ambientNits(const PlannerSettings &settings);

struct TaskFigures {
    ViewingTask task = ViewingTask::Passive;
    double contrast = 0;
    // White W the contrast C needs over the room's light A with the
    // projector's sequential (on/off) contrast N:
    // W = A (C - 1) / (1 - C / N); and the lumens that give it.
    std::optional<double> whiteNits, lumens;
    // C at or beyond N: no white reaches it.
    bool reachable = true;
    // Whether the picture's white reaches W; unknown without its light.
    std::optional<bool> reached;
};

std::vector<TaskFigures> taskFigures(const ModelRecord &model, const Plan &plan,
                                     const PlannerSettings &settings);

// Whether a seat `offAxis` degrees off the screen's axis is outside the
// half-gain cone (at most half as bright there); unknown without the angle.
std::optional<bool> outsideHalfGain(const PlannerSettings &settings, double offAxis);

} // namespace vistrel
