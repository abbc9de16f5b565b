#pragma once

// What the fuzz targets check once outside data has reached the calculator:
// the shipped catalogue and texts to start one from, and the rules every
// state the calculator shows must keep.

#include "calc/calculator.h"
#include "calc/chartformat.h"
#include "calc/planner.h"
#include "clireport.h"
#include "core/language.h"
#include "files/languagefile.h"
#include "files/modelloader.h"
#include "fuzzsupport.h"
#include "session/plannertext.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>

#include <array>
#include <cmath>
#include <vector>

namespace vistrel::fuzz {

// Collects what the calculator would show in message boxes.
class RecordingObserver : public EngineObserver {
public:
    void showMessage(const QString &text) override { messages.append(text); }
    void showError(const AppError &error) override {
        ++errors;
        messages.append(error.boxText());
    }

    QStringList messages;
    int errors = 0;
};

inline const LanguageTexts &shippedTexts() {
    static const LanguageTexts texts = [] {
        const LanguageLoad load = loadLanguage(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
        if (!load.complete())
            fail("the shipped Language.ini does not load");
        return load.texts;
    }();
    return texts;
}

inline const std::vector<ModelRecord> &shippedModels() {
    static const std::vector<ModelRecord> models = [] {
        const auto loaded = loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        if (!loaded || loaded->models.empty())
            fail("the shipped ModelInfo.ini does not load");
        return loaded->models;
    }();
    return models;
}

inline bool finiteState(const CalcState &s) {
    const std::array<double, 14> values = {
        s.aspectRatio,    s.aspectHeight,       s.aspectWidth, s.screenWidth, s.screenHeight,
        s.screenDiagonal, s.projectionDistance, s.offsetA,     s.offsetB,     s.maxDistance,
        s.maxDistance43,  s.maxDistance169,     s.maxDiagonal, s.minDiagonal};
    for (const double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// The JSON object vistrel-cli --json prints must parse and hold its keys.
inline void checkJsonText(const QString &json, const QString &context) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        fail("the JSON report does not parse",
             error.errorString() + u'\n' + context + u'\n' + json);
    const QJsonObject object = document.object();
    if (!object.value(QStringLiteral("model")).isString() ||
        !object.value(QStringLiteral("fields")).isObject() ||
        !object.value(QStringLiteral("state")).isObject() ||
        !object.value(QStringLiteral("messages")).isArray() ||
        !object.value(QStringLiteral("accepted")).isBool())
        fail("the JSON report lacks a key or has one of another type", context + u'\n' + json);
}

// The planner's numbers are known numbers or absent, never infinite or
// below 0 where a length or a light is meant; the chart has its limits.
inline void checkPlanner(const ModelRecord &model, const CalcState &state, const QString &context) {
    const Plan plan = planOf(model, state, {1.3, 50});
    for (const auto &value :
         {plan.distanceWide, plan.distanceTele, plan.ratioWide, plan.ratioTele,
          plan.litAreaSquareFeet, plan.lumens, plan.footLamberts, plan.nits, plan.lumensFor16fL,
          plan.contrast, plan.seats[0], plan.seats[1], plan.seats[2], plan.acuity}) {
        if (value && !std::isfinite(*value))
            fail("the planner gives a number that is not finite", context);
    }
    for (const auto &value : {plan.lumens, plan.footLamberts, plan.nits, plan.contrast}) {
        if (value && *value < 0)
            fail("the planner gives a negative light or contrast", context);
    }
    const ThrowChart chart = throwChart(model, state);
    if (chart.rows.size() > std::size_t(kMaxChartRows))
        fail("the throw chart has more rows than it may", context);
    static_cast<void>(chartTable(chart, u',', kChartColumns));
}

// A calculator that reported no error shows numbers, not infinities, and its
// reports can be printed.
inline void checkCalculator(const Calculator &calculator, const QString &context) {
    if (!finiteState(calculator.state()))
        fail("the calculator holds a non-finite number without an error", context);
    checkJsonText(cli::jsonReport(calculator, {}, true), context);
    static_cast<void>(cli::textLines(calculationLines(calculator, shippedTexts())));
    if (const ModelRecord *model = calculator.currentModel())
        checkPlanner(*model, calculator.state(), context);
}

// A file read back opened as File > Open opens it, in a calculator started
// on the shipped catalogue: its model selected and a state that holds
// together. `more` checks the rest of what the file says; nothing is checked
// when the file is refused as the window would refuse it.
template <typename Check>
void checkOpening(const RestoreRequest &request, const QString &context, Check &&more) {
    RecordingObserver observer;
    Calculator calculator(observer);
    calculator.setMessages(messagesFrom(shippedTexts()));
    if (!calculator.startUp(shippedModels()) || observer.errors > 0)
        fail("the shipped catalogue does not start a calculator");
    if (!calculator.restore(request) || observer.errors > 0)
        return;
    const ModelRecord *model = calculator.currentModel();
    if (!model || model->name != request.model.name)
        fail("an opened file did not select its model", context);
    checkCalculator(calculator, context);
    more(calculator);
}

} // namespace vistrel::fuzz
