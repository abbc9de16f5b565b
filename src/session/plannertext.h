#pragma once

#include "calc/planner.h"
#include "core/language.h"
#include "session/sheet.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

class Calculator;

// How the planner's numbers are written, the same in the planner window and
// in the installation sheet: lengths in the user's unit, named by the unit's
// caption; "unknown" where the catalogue does not tell.

// Foot-lamberts, nits and the comparison with 16 fL are written with one
// decimal, wherever they are shown.
inline constexpr int kLightDecimals = 1;

// What the user types into the planner.
enum class PlannerInput : int { Gain, Ambient };

struct PlannerInputInfo {
    PlannerInput input;
    OptionalKey caption;
    OptionalKey refusal; // the message for a value the input does not take
};

inline constexpr std::array<PlannerInputInfo, 2> kPlannerInputs{{
    {PlannerInput::Gain, OptionalKey::Gain, OptionalKey::NotPositive},
    {PlannerInput::Ambient, OptionalKey::Ambient, OptionalKey::Negative},
}};

const PlannerInputInfo &info(PlannerInput input);

// `settings` with `text` as the value of `input`, written with "." or
// `decimalPoint`; nothing when the text is not a number the input takes
// (a gain above 0, a room light of 0 lux or more).
std::optional<PlannerSettings> withInput(PlannerSettings settings, PlannerInput input,
                                         QStringView text, QChar decimalPoint);
// The value of `input` as its field shows it.
QString inputText(const PlannerSettings &settings, PlannerInput input, QChar decimalPoint);
// msg8 or msg9 with the input's caption for "%1".
QString refusalMessage(const LanguageTexts &texts, PlannerInput input);

// The planner's numbers, in the order they are shown.
enum class PlannerRow : int {
    RangeWide,
    RangeTele,
    RatioWide,
    RatioTele,
    LensRatioWide,
    LensRatioTele,
    Lumens,
    OnScreen,
    Needed16fL,
    Against16fL,
    Contrast,
    Seat30,
    Seat36,
    Seat40,
    Acuity,
    Panel,
    PictureShare,
};
inline constexpr int kPlannerRowCount = 17;
static_assert(static_cast<int>(PlannerRow::PictureShare) + 1 == kPlannerRowCount);

// What a caption cannot say in a few words, for a tooltip and the sheet.
QString acuityNote(const LanguageTexts &texts);
QString offsetNote(const LanguageTexts &texts);

std::array<SheetLine, kPlannerRowCount>
plannerLines(const Plan &plan, Unit unit, const LanguageTexts &texts, QChar decimalPoint);
// The two inputs as lines: the caption (without its shortcut) and the value.
std::array<SheetLine, 2> plannerInputLines(const PlannerSettings &settings,
                                           const LanguageTexts &texts, QChar decimalPoint);

// The calculation in words: the model, the options and the six fields, each
// with its caption on one line.
std::vector<SheetLine> calculationLines(const Calculator &calculator, const LanguageTexts &texts);

// The throw chart's column headers in the user's language, one per column of
// kChartColumns, `joiner` between a caption and the zoom end or offset it
// names; and what the chart is of: the model, aspect, zoom end and unit.
QStringList chartHeaders(const LanguageTexts &texts, QChar joiner = u' ');
QString chartSubject(const Calculator &calculator, const LanguageTexts &texts);

} // namespace vistrel
