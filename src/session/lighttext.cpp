#include "session/lighttext.h"

#include "core/helpers.h"
#include "core/numbers.h"
#include "session/plannertext.h"
#include "session/roomtext.h"

#include <cmath>

namespace vistrel {

namespace {

constexpr int kLumenDecimals = 1;
constexpr int kRatioDecimals = 1;

QString caption(const LanguageTexts &texts, OptionalKey key) {
    return withoutMnemonic(texts.text(key)).simplified();
}

QString filled(const LanguageTexts &texts, OptionalKey key, const QString &value) {
    return replaceText(texts.text(key), QStringLiteral("%1"), value);
}

QString number(std::optional<double> value, int decimals, const LanguageTexts &texts,
               QChar decimalPoint) {
    if (!value || !std::isfinite(*value))
        return caption(texts, OptionalKey::Unknown);
    return formatFixed(*value, decimals, decimalPoint);
}

std::optional<double> typedNumber(QStringView text, QChar decimalPoint) {
    if (const std::optional<double> v = parseNumber(withDotDecimal(text.trimmed(), decimalPoint)))
        return *v + 0.0;
    return std::nullopt;
}

AppError refusal(const LanguageTexts &texts, LightInput input) {
    return makeError(
        ErrorNumber::InvalidPropertyValue,
        messageAbout(texts.text(info(input).refusal), caption(texts, info(input).caption)));
}

std::optional<double> ageOf(QStringView text, QChar decimalPoint) {
    const QStringView typed = text.trimmed();
    if (typed.isEmpty())
        return kNewLight;
    for (const AgeWord &word : kAgeWords) {
        if (typed.compare(QLatin1String(word.word), Qt::CaseInsensitive) == 0)
            return word.factor;
    }
    return typedNumber(typed, decimalPoint);
}

// Nits, or foot-lamberts with "fL" after them.
std::optional<double> targetOf(QStringView text, QChar decimalPoint) {
    QStringView typed = text.trimmed();
    double factor = 1;
    if (typed.endsWith(QLatin1String("fl"), Qt::CaseInsensitive)) {
        typed = typed.chopped(2);
        factor = kNitsPerFootLambert;
    } else if (typed.endsWith(QLatin1String("nits"), Qt::CaseInsensitive)) {
        typed = typed.chopped(4);
    }
    const std::optional<double> v = typedNumber(typed, decimalPoint);
    return v ? std::optional(*v * factor) : std::nullopt;
}

OptionalKey targetName(LightTargetKind kind) {
    switch (kind) {
    case LightTargetKind::Cinema48Nits:
        return OptionalKey::Target48;
    case LightTargetKind::Cinema16fL:
        return OptionalKey::Target16fL;
    case LightTargetKind::HdrCinema:
        return OptionalKey::Target108;
    case LightTargetKind::BrightHdr:
        return OptionalKey::Target300;
    case LightTargetKind::Typed:
        break;
    }
    return OptionalKey::TargetOwn;
}

OptionalKey taskName(ViewingTask task) {
    switch (task) {
    case ViewingTask::Passive:
        return OptionalKey::TaskPassive;
    case ViewingTask::BasicDecisions:
        return OptionalKey::TaskBasic;
    case ViewingTask::AnalyticalDecisions:
        return OptionalKey::TaskAnalytical;
    case ViewingTask::FullMotionVideo:
        break;
    }
    return OptionalKey::TaskVideo;
}

} // namespace

const LightInputInfo &info(LightInput input) {
    return kLightInputs[static_cast<std::size_t>(input)];
}

Result<PlannerSettings> withLightInput(PlannerSettings settings, LightInput input, QStringView text,
                                       const LanguageTexts &texts, QChar decimalPoint) {
    const bool empty = text.trimmed().isEmpty();
    switch (input) {
    case LightInput::Age: {
        const std::optional<double> age = ageOf(text, decimalPoint);
        if (!age)
            return refusal(texts, input);
        settings.lightAge = *age;
        break;
    }
    case LightInput::Target: {
        const std::optional<double> nits = targetOf(text, decimalPoint);
        if (!empty && !nits)
            return refusal(texts, input);
        settings.targetNits = nits;
        break;
    }
    case LightInput::HalfGain: {
        const std::optional<double> angle = typedNumber(text, decimalPoint);
        if (!empty && !angle)
            return refusal(texts, input);
        settings.halfGainAngle = angle;
        break;
    }
    }
    if (!checkSettings(settings))
        return refusal(texts, input);
    return settings;
}

QString lightInputText(const PlannerSettings &settings, LightInput input, QChar decimalPoint) {
    switch (input) {
    case LightInput::Age:
        for (const AgeWord &word : kAgeWords) {
            if (word.factor == settings.lightAge)
                return QLatin1String(word.word);
        }
        return formatGeneral(settings.lightAge, decimalPoint);
    case LightInput::Target:
        return settings.targetNits ? formatGeneral(*settings.targetNits, decimalPoint) : QString();
    case LightInput::HalfGain:
        return settings.halfGainAngle ? formatGeneral(*settings.halfGainAngle, decimalPoint)
                                      : QString();
    }
    return QString();
}

QString ageText(double age, const LanguageTexts &texts, QChar decimalPoint) {
    for (const AgeWord &word : kAgeWords) {
        if (word.factor == age)
            return caption(texts, word.caption);
    }
    return filled(texts, OptionalKey::AgeTyped, formatGeneral(age, decimalPoint));
}

std::vector<SheetLine> lightLines(const PlannerSettings &settings, const LanguageTexts &texts,
                                  QChar decimalPoint) {
    const QString heading = caption(texts, OptionalKey::LightHeading);
    return {{heading, caption(texts, OptionalKey::LightAgeCaption),
             ageText(settings.lightAge, texts, decimalPoint)},
            {heading, caption(texts, OptionalKey::HalfGainCaption),
             settings.halfGainAngle ? angleText(*settings.halfGainAngle, decimalPoint)
                                    : caption(texts, OptionalKey::NotSet)}};
}

SheetTable targetTable(const std::vector<TargetFigures> &targets, const LanguageTexts &texts,
                       QChar decimalPoint) {
    SheetTable table;
    table.title = caption(texts, OptionalKey::TargetsTitle);
    table.headers = {
        caption(texts, OptionalKey::TargetColumn), caption(texts, OptionalKey::ScreenLumensColumn),
        caption(texts, OptionalKey::RatedLumensColumn), caption(texts, OptionalKey::PictureColumn)};
    for (const TargetFigures &t : targets) {
        const QString name =
            t.kind == LightTargetKind::Typed
                ? filled(texts, OptionalKey::TargetOwn, formatFixed(t.nits, 1, decimalPoint))
                : caption(texts, targetName(t.kind));
        QString picture = number(t.ratio, kRatioDecimals, texts, decimalPoint);
        if (t.ratio) {
            picture += QStringLiteral(" \u00d7");
            if (t.ratioUpperBound)
                picture = filled(texts, OptionalKey::AtMost, picture);
        }
        table.rows.push_back({name, number(t.lumens, kLumenDecimals, texts, decimalPoint),
                              number(t.ratedLumens, kLumenDecimals, texts, decimalPoint), picture});
    }
    return table;
}

SheetTable taskTable(const std::vector<TaskFigures> &tasks, const ModelRecord &model,
                     const LanguageTexts &texts, QChar decimalPoint) {
    SheetTable table;
    table.title = caption(texts, OptionalKey::TasksTitle);
    table.subject = texts.text(OptionalKey::TasksNote);
    table.headers = {
        caption(texts, OptionalKey::TaskColumn), caption(texts, OptionalKey::ContrastColumn),
        caption(texts, OptionalKey::WhiteColumn), caption(texts, OptionalKey::LumensColumn),
        caption(texts, OptionalKey::ReachedColumn)};
    for (const TaskFigures &t : tasks) {
        QStringList row{caption(texts, taskName(t.task)),
                        formatFixed(t.contrast, 0, decimalPoint) + QStringLiteral(" : 1")};
        if (!t.reachable) {
            row << filled(texts, OptionalKey::NotReachable,
                          formatFixed(model.contrastRatio, 0, decimalPoint))
                << QString();
        } else {
            row << (t.whiteNits ? number(t.whiteNits, kLightDecimals, texts, decimalPoint) +
                                      QStringLiteral(" nits")
                                : caption(texts, OptionalKey::Unknown))
                << number(t.lumens, kLumenDecimals, texts, decimalPoint);
        }
        row << (t.reached ? caption(texts, *t.reached ? OptionalKey::YesWord : OptionalKey::NoWord)
                          : caption(texts, OptionalKey::Unknown));
        table.rows.push_back(row);
    }
    return table;
}

std::vector<SheetLine> halfGainLines(const RoomReport &report, const PlannerSettings &settings,
                                     const LanguageTexts &texts, QChar decimalPoint) {
    std::vector<SheetLine> lines;
    const QString heading = caption(texts, OptionalKey::LightHeading);
    for (std::size_t i = 0; i < report.views.size(); ++i) {
        const std::optional<double> offAxis = report.views[i].offAxis;
        if (!offAxis)
            continue;
        const std::optional<bool> outside = outsideHalfGain(settings, *offAxis);
        if (!outside)
            continue;
        const QString verdict =
            caption(texts, *outside ? OptionalKey::OutsideHalfGain : OptionalKey::InsideHalfGain);
        lines.push_back(
            {heading, filled(texts, OptionalKey::RowName, QString::number(i + 1)),
             replaceText(filled(texts, OptionalKey::OffAxisText, angleText(*offAxis, decimalPoint)),
                         QStringLiteral("%2"), verdict)});
    }
    return lines;
}

} // namespace vistrel
