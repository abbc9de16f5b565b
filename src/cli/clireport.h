#pragma once

#include "calc/calculator.h"
#include "core/language.h"
#include "session/session.h"

#include <QString>
#include <QStringList>

namespace vistrel::cli {

// `vistrel-cli --list-models`: INDEX, a tab and the name, one model a line.
QString textModelList(const std::vector<ModelRecord> &models);

// `vistrel-cli --list-models --json`: one line, an array of objects with the
// model's "index" and "name", ending in a newline.
QString jsonModelList(const std::vector<ModelRecord> &models);

// The JSON object of `vistrel-cli --json`, one line, ending in a newline.
QString jsonReport(const Session &session, const QStringList &messages, bool accepted);
// The same without the planner's part.
QString jsonReport(const Calculator &calculator, const QStringList &messages, bool accepted);

// `vistrel-cli --chart --json`: the throw chart as one line, an array of
// objects keyed by kChartColumns, null for an absent number.
QString jsonChart(const ThrowChart &chart);

// The readable result: the six fields with their labels, the model and options.
QString textReport(const Calculator &calculator, const LanguageTexts &texts);

} // namespace vistrel::cli
