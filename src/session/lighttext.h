#pragma once

#include "calc/light.h"
#include "calc/room.h"
#include "core/language.h"
#include "session/sheet.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

// The light budget as the installer types it and reads it, the same in the
// planner window, on the sheet and on the command line.

enum class LightInput : int { Age, Target, HalfGain };

struct LightInputInfo {
    LightInput input;
    OptionalKey caption;
    OptionalKey refusal; // "%1" the caption
    const char *cli;     // the command line's option
};

inline constexpr std::array<LightInputInfo, 3> kLightInputs{{
    {LightInput::Age, OptionalKey::LightAgeCaption, OptionalKey::AgeRefused, "age"},
    {LightInput::Target, OptionalKey::TargetCaption, OptionalKey::TargetRefused, "target-nits"},
    {LightInput::HalfGain, OptionalKey::HalfGainCaption, OptionalKey::HalfGainRefused, "half-gain"},
}};

const LightInputInfo &info(LightInput input);

// The words the light source's age takes besides a factor, as typed on the
// command line: new 1, mid 0.75 (mid-life), end 0.5 (end of life).
struct AgeWord {
    const char *word;
    double factor;
    OptionalKey caption;
};
inline constexpr std::array<AgeWord, 3> kAgeWords{{
    {"new", kNewLight, OptionalKey::AgeNew},
    {"mid", kMidLifeLight, OptionalKey::AgeMidLife},
    {"end", kEndOfLifeLight, OptionalKey::AgeEndOfLife},
}};

// `settings` with `text` as the value of `input`: the age as a word of
// kAgeWords or a factor from 0.1 to 1 (nothing: new); the target in nits,
// or in foot-lamberts followed by "fL" (nothing: none); the half-gain angle
// in degrees (nothing: not set). Refused with the input's message, and
// nothing changes.
[[nodiscard]] Result<PlannerSettings> withLightInput(PlannerSettings settings, LightInput input,
                                                     QStringView text, const LanguageTexts &texts,
                                                     QChar decimalPoint);
// The value of `input` as its field shows it: an age word where the factor
// is one, the target in nits.
QString lightInputText(const PlannerSettings &settings, LightInput input, QChar decimalPoint);
// "new", "at mid-life", "at end of life", "at 0.6 of its light".
QString ageText(double age, const LanguageTexts &texts, QChar decimalPoint);

// The light source's age and the half-gain angle, as lines.
std::vector<SheetLine> lightLines(const PlannerSettings &settings, const LanguageTexts &texts,
                                  QChar decimalPoint);
// Each target: the lumens on the screen, the rated lumens at this age, and
// the picture against it ("1.6 ×", "at most 1.6 ×", unknown).
SheetTable targetTable(const std::vector<TargetFigures> &targets, const LanguageTexts &texts,
                       QChar decimalPoint);
// Each viewing task: its contrast, the white it needs, the lumens, whether
// the picture reaches it.
SheetTable taskTable(const std::vector<TaskFigures> &tasks, const ModelRecord &model,
                     const LanguageTexts &texts, QChar decimalPoint);
// Each seat row's outermost seat against the half-gain cone; none without
// the angle or the seat offset.
std::vector<SheetLine> halfGainLines(const RoomReport &report, const PlannerSettings &settings,
                                     const LanguageTexts &texts, QChar decimalPoint);

} // namespace vistrel
