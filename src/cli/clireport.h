#pragma once

#include "calc/calculator.h"
#include "session/session.h"
#include "session/sheet.h"

#include <QString>
#include <QStringList>

namespace vistrel::cli {

// `vistrel-cli --list-models`: INDEX, a tab and the name, one model a line.
QString textModelList(const std::vector<ModelRecord> &models);

// `vistrel-cli --list-models --json`: one line, an array of objects with the
// model's "index" and "name", ending in a newline.
QString jsonModelList(const std::vector<ModelRecord> &models);

// What the run reported, and at which step of it each (JSON's "messageSteps").
struct ReportedMessages {
    QStringList texts;
    QStringList steps;
};

// The JSON object of `vistrel-cli --json`, one line, ending in a newline.
QString jsonReport(const Session &session, const ReportedMessages &messages, bool accepted);
// The same without the planner's part.
QString jsonReport(const Calculator &calculator, const ReportedMessages &messages, bool accepted);

// `vistrel-cli --chart --json`: the throw chart as one line, an array of
// objects keyed by kChartColumns, null for an absent number.
QString jsonChart(const ThrowChart &chart);

// The readable result, a section of the sheet as it reads without paper: one
// "caption: value" a line, a line's heading before its caption.
QString textLines(const std::vector<SheetLine> &lines);

} // namespace vistrel::cli
