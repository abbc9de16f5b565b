#include "session/plannertext.h"

#include "calc/calculator.h"
#include "calc/display.h"
#include "core/helpers.h"
#include "core/numbers.h"

#include <cmath>

namespace vistrel {

namespace {

constexpr int kRatioDecimals = 2;
// A contrast of 100 : 1 and more is written in whole numbers ("2000 : 1").
constexpr double kWholeContrastFrom = 100;

QString unitName(const LanguageTexts &texts, Unit unit) {
    return withoutMnemonic(texts.text(info(unit).caption)).simplified();
}

QString zoomName(const LanguageTexts &texts, Zoom zoom) {
    return withoutMnemonic(texts.text(info(zoom).caption)).simplified();
}

// A caption of the window's value labels on one line.
QString oneLine(const QString &caption) {
    return labelWithBreaks(caption).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

// Everything the planner writes: the numbers in the user's unit and language,
// "unknown" for what the catalogue does not tell.
class Writer {
public:
    Writer(Unit unit, const LanguageTexts &texts, QChar decimalPoint)
        : unit_(unit), texts_(texts), point_(decimalPoint) {}

    QString caption(OptionalKey key) const { return withoutMnemonic(texts_.text(key)); }

    // A distance at a zoom end, rounded as the distance field rounds it there.
    QString distance(const std::optional<double> &inches, Zoom end) const {
        if (!inches || !std::isfinite(fromInches(*inches, unit_)))
            return unknown();
        return shownLength(*inches, unit_, info(unit_).distanceStep, end, point_) + u' ' +
               unitName(texts_, unit_);
    }

    // A distance that belongs to no zoom end, to the nearest step of the
    // distance field.
    QString seat(const std::optional<double> &inches) const {
        if (!inches)
            return unknown();
        const double value = fromInches(*inches, unit_);
        const Step step = info(unit_).distanceStep;
        const double size = step == Step::Tens ? 10 : step == Step::Tenths ? 0.1 : 1;
        const double rounded = std::round(value / size) * size;
        if (!std::isfinite(rounded))
            return unknown();
        return formatFixed(rounded, decimalsOf(step), point_) + u' ' + unitName(texts_, unit_);
    }

    QString number(const std::optional<double> &value, int decimals,
                   const QString &suffix = QString()) const {
        if (!value || !std::isfinite(*value))
            return unknown();
        return formatFixed(*value, decimals, point_) + suffix;
    }

    QString onScreen(const Plan &plan) const {
        if (!plan.footLamberts || !plan.nits)
            return unknown();
        return number(plan.footLamberts, kLightDecimals, QStringLiteral(" fL / ")) +
               number(plan.nits, kLightDecimals, QStringLiteral(" nits"));
    }

    QString against16fL(const Plan &plan) const {
        if (!plan.footLamberts)
            return unknown();
        return number(*plan.footLamberts / kReferenceFootLamberts, kLightDecimals,
                      QStringLiteral(" \u00d7"));
    }

    QString contrast(const std::optional<double> &ratio) const {
        if (!ratio || !std::isfinite(*ratio))
            return unknown();
        const bool whole = std::round(*ratio * 10) / 10 >= kWholeContrastFrom;
        return number(ratio, whole ? 0 : 1, QStringLiteral(" : 1"));
    }

    QString unknown() const { return texts_.text(OptionalKey::Unknown); }

    // "16 : 10 panel, 1920 × 1200", or "4 : 3 panel" without its pixels.
    QString panel(const PanelUse &use) const {
        const QString shape = ratioLabel(use.aspect);
        if (!use.widthPx || !use.heightPx)
            return replaceText(texts_.text(OptionalKey::PanelShape), QStringLiteral("%1"), shape);
        QString text = texts_.text(OptionalKey::PanelWithPixels);
        text = replaceText(text, QStringLiteral("%1"), shape);
        text = replaceText(text, QStringLiteral("%2"), formatGeneral(*use.widthPx, point_));
        return replaceText(text, QStringLiteral("%3"), formatGeneral(*use.heightPx, point_));
    }

    QString percent(const std::optional<double> &share) const {
        if (!share)
            return unknown();
        return number(*share * 100, 0, QStringLiteral(" %"));
    }

    // "at most 134.8 fL" where the plan knows only a bound; unknown stays unknown.
    QString atMost(const Plan &plan, const QString &figure) const {
        if (!plan.lightUpperBound || figure == unknown())
            return figure;
        return replaceText(texts_.text(OptionalKey::AtMost), QStringLiteral("%1"), figure);
    }

private:
    Unit unit_;
    const LanguageTexts &texts_;
    QChar point_;
};

} // namespace

const PlannerInputInfo &info(PlannerInput input) {
    return kPlannerInputs[static_cast<std::size_t>(input)];
}

std::optional<PlannerSettings> withInput(PlannerSettings settings, PlannerInput input,
                                         QStringView text, QChar decimalPoint) {
    const std::optional<double> value = parseNumber(withDotDecimal(text, decimalPoint));
    if (!value)
        return std::nullopt;
    // "-0" is a dark room, written "0".
    (input == PlannerInput::Gain ? settings.gain : settings.ambientLux) = *value + 0.0;
    if (!checkSettings(settings))
        return std::nullopt;
    return settings;
}

QString inputText(const PlannerSettings &settings, PlannerInput input, QChar decimalPoint) {
    return formatGeneral(input == PlannerInput::Gain ? settings.gain : settings.ambientLux,
                         decimalPoint);
}

QString refusalMessage(const LanguageTexts &texts, PlannerInput input) {
    return messageAbout(texts.text(info(input).refusal), texts.text(info(input).caption));
}

std::array<SheetLine, kPlannerRowCount>
plannerLines(const Plan &plan, Unit unit, const LanguageTexts &texts, QChar decimalPoint) {
    const Writer w(unit, texts, decimalPoint);
    const QString wide = zoomName(texts, Zoom::Wide);
    const QString tele = zoomName(texts, Zoom::Tele);
    const QString range = w.caption(OptionalKey::ThrowRange);
    const QString ratio = w.caption(OptionalKey::ThrowRatio);
    const QString brightness = w.caption(OptionalKey::Brightness);
    const QString lensRatio = w.caption(OptionalKey::LensThrowRatio);
    const QString seats = w.caption(OptionalKey::SeatsFromScreen);
    return {{
        {range, wide, w.distance(plan.distanceWide, Zoom::Wide)},
        {range, tele, w.distance(plan.distanceTele, Zoom::Tele)},
        {ratio, wide, w.number(plan.ratioWide, kRatioDecimals)},
        {ratio, tele, w.number(plan.ratioTele, kRatioDecimals)},
        {lensRatio, wide, w.number(plan.lensRatioWide, kRatioDecimals)},
        {lensRatio, tele, w.number(plan.lensRatioTele, kRatioDecimals)},
        {brightness, w.caption(OptionalKey::Lumens), w.atMost(plan, w.number(plan.lumens, 0))},
        {brightness, w.caption(OptionalKey::OnScreen), w.atMost(plan, w.onScreen(plan))},
        {brightness, w.caption(OptionalKey::Needed16fL), w.number(plan.lumensFor16fL, 0)},
        {brightness, w.caption(OptionalKey::Against16fL), w.atMost(plan, w.against16fL(plan))},
        {QString(), w.caption(OptionalKey::Contrast),
         plan.contrastUpperBound ? w.atMost(plan, w.contrast(plan.contrast))
                                 : w.contrast(plan.contrast)},
        {seats, w.caption(OptionalKey::Seat30), w.seat(plan.seats[0])},
        {seats, w.caption(OptionalKey::Seat36), w.seat(plan.seats[1])},
        {seats, w.caption(OptionalKey::Seat40), w.seat(plan.seats[2])},
        {seats, w.caption(OptionalKey::Acuity), w.seat(plan.acuity)},
        {QString(), w.caption(OptionalKey::Panel), w.panel(plan.panel)},
        {QString(), w.caption(OptionalKey::PictureShare), w.percent(plan.panel.pictureShare)},
    }};
}

QString acuityNote(const LanguageTexts &texts) {
    return texts.text(OptionalKey::AcuityNote);
}

QString offsetNote(const LanguageTexts &texts) {
    return texts.text(OptionalKey::OffsetNote);
}

std::array<SheetLine, 2> plannerInputLines(const PlannerSettings &settings,
                                           const LanguageTexts &texts, QChar decimalPoint) {
    std::array<SheetLine, 2> lines;
    for (const PlannerInputInfo &row : kPlannerInputs)
        lines[static_cast<std::size_t>(row.input)] = {QString(),
                                                      withoutMnemonic(texts.text(row.caption)),
                                                      inputText(settings, row.input, decimalPoint)};
    return lines;
}

std::vector<SheetLine> calculationLines(const Calculator &calculator, const LanguageTexts &texts) {
    const CalcState &s = calculator.state();
    const Controls &c = calculator.controls();
    const ModelRecord *model = calculator.currentModel();
    std::vector<SheetLine> lines{
        {QString(), texts.text(LangKey::ModelCaption), model ? model->name : QString()},
        {QString(), texts.text(LangKey::ZoomCaption), zoomName(texts, s.zoomEnd)},
        {QString(), texts.text(LangKey::AspectCaption),
         formatLabel({s.aspectWidth, s.aspectHeight})},
        {QString(), texts.text(LangKey::UnitsCaption), texts.text(info(s.unit).caption)},
        {QString(), texts.text(LangKey::PositionCaption),
         texts.text(info(s.screenPosition).caption)},
    };
    // Only a lens that is there: a calculation without one reads as it always did.
    if (s.anamorphic != kNoAnamorphic)
        lines.push_back({QString(), withoutMnemonic(texts.text(OptionalKey::Anamorphic)),
                         formatGeneral(s.anamorphic, calculator.decimalPoint())});
    for (const FieldInfo &field : kFields)
        lines.push_back({QString(), oneLine(texts.text(field.caption)), c.text(field.field)});
    const bool two = s.offsetCountNow() == 2;
    lines.push_back(
        {QString(), oneLine(texts.text(LangKey::OffsetCaption)),
         c.offsetText[0] + (two ? QStringLiteral(" ~ ") + c.offsetText[1] : QString())});
    return lines;
}

QStringList chartHeaders(const LanguageTexts &texts, QChar joiner) {
    const auto caption = [&texts](LangKey key) { return oneLine(texts.text(key)).simplified(); };
    const QString distance = caption(LangKey::DistanceCaption);
    const QString offset = caption(LangKey::OffsetCaption);
    return {caption(LangKey::DiagonalCaption),
            caption(LangKey::WidthCaption),
            caption(LangKey::HeightCaption),
            distance + joiner + zoomName(texts, Zoom::Wide),
            distance + joiner + zoomName(texts, Zoom::Tele),
            offset + joiner + u'1',
            offset + joiner + u'2'};
}

QString chartSubject(const Calculator &calculator, const LanguageTexts &texts) {
    const CalcState &s = calculator.state();
    const ModelRecord *model = calculator.currentModel();
    return QStringList{model ? model->name : QString(),
                       formatLabel({s.aspectWidth, s.aspectHeight}), zoomName(texts, s.zoomEnd),
                       unitName(texts, s.unit)}
        .join(QStringLiteral(", "));
}

} // namespace vistrel
