#pragma once

#include "calc/calculator.h"
#include "calc/fittable.h"
#include "session/modelimport.h"
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
// "room" and "project" are there only while a room or title block is set,
// the planner's "light" only with `light`.
QString jsonReport(const Session &session, const ReportedMessages &messages, bool accepted,
                   bool light = false);
// The same without the planner's part.
QString jsonReport(const Calculator &calculator, const ReportedMessages &messages, bool accepted);

// `vistrel-cli --chart --json`: the throw chart as one line, an array of
// objects keyed by kChartColumns, null for an absent number.
QString jsonChart(const ThrowChart &chart);

// A JSON string.
QString jsonString(const QString &text);

// The JSON report with more members ("\"fit\": [...]") at its end.
QString withMembers(QString report, const QStringList &members);

// A model in both forms, one JSON object: "fields", its catalogue fields by
// their names, and "sheet", its data-sheet terms; each value as an export's
// JSON writes it, null for a field the model leaves unknown.
QString jsonModelTerms(const ModelRecord &model);
// The model's data-sheet terms as --add-model takes them: "name=...,px=...".
QString termsLine(const ModelRecord &model);

// A row of the fit table, with the model it is of.
struct FitLine {
    FitRow row;
    QString model;
    bool own = false;
    QString reason; // fitReason, empty for a model that fits
};
// One line a row: "NAME: fits: ..." with its distances, offsets and light in
// `unit`, rounded as the planner rounds its figures, or "NAME: does not fit:
// REASON".
QString textFit(const std::vector<FitLine> &lines, Unit unit);
// A JSON array of one object a row, lengths in `unit`, null for what a row
// does not have.
QString jsonFit(const std::vector<FitLine> &lines, Unit unit);

// What --add-model or --models-import does with one model.
struct ModelChange {
    ImportEntry entry;
    bool fromFile = false; // a row of --models-import's file, not an --add-model
    bool kept = false;     // a replacement without --replace: the own model stays
};
// "Lumen X1: added", or for a row of a file "line 4: Lumen X1: added" and a
// line for each of its warnings.
QString textModelChange(const ModelChange &change);
// A JSON array of one object a change, each added or replacing model in both forms.
QString jsonModelChanges(const std::vector<ModelChange> &changes);

// The readable result, a section of the sheet as it reads without paper: one
// "caption: value" a line, a line's heading before its caption.
QString textLines(const std::vector<SheetLine> &lines);
// The room of the sheet as text, nothing while no room is set: its lines,
// the failing checks (or that all pass), then each seat row's cells as lines
// under the row's name.
QString textRoom(const Sheet &sheet);
// The light budget of the sheet as text: its lines, then the targets' and
// the viewing tasks' cells as lines under each row's name.
QString textLight(const Sheet &sheet);

} // namespace vistrel::cli
