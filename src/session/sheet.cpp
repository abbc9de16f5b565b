#include "session/sheet.h"

#include "calc/chartformat.h"
#include "session/lighttext.h"
#include "session/plannertext.h"
#include "session/roomtext.h"
#include "session/session.h"

#include <utility>

namespace vistrel {

namespace {

SheetSection plannerSection(const Session &session) {
    const LanguageTexts &texts = session.texts();
    const QChar point = session.decimalPoint();
    SheetSection section{withoutMnemonic(texts.text(OptionalKey::PlannerTitle)), {}, {}};
    for (const SheetLine &line : plannerInputLines(session.plannerSettings(), texts, point))
        section.lines.push_back(line);
    for (const SheetLine &line : plannerLines(session.plan(), session.state().unit, texts, point))
        section.lines.push_back(line);
    // What the window says in tooltips, the paper says under the numbers.
    section.notes = {acuityNote(texts), offsetNote(texts)};
    return section;
}

SheetTable chartSection(const Session &session) {
    const LanguageTexts &texts = session.texts();
    SheetTable table{withoutMnemonic(texts.text(OptionalKey::Chart)),
                     chartSubject(session.calculator(), texts),
                     chartHeaders(texts),
                     {}};
    const ThrowChart chart = session.chart();
    table.rows.reserve(chart.rows.size());
    for (const ChartRow &row : chart.rows)
        table.rows.push_back(chartCells(chart, row, session.decimalPoint()));
    return table;
}

} // namespace

Sheet composeSheet(const Session &session) {
    const LanguageTexts &texts = session.texts();
    Sheet sheet{texts.text(OptionalKey::ReportTitle),
                texts.text(LangKey::FontName).trimmed(),
                {texts.text(LangKey::Caption), calculationLines(session.calculator(), texts), {}},
                plannerSection(session),
                chartSection(session),
                detailLines(session.projectDetails(), texts),
                {},
                {},
                {},
                {},
                {},
                {},
                {},
                {},
                {},
                {}};
    RoomSheet room = composeRoom(session);
    sheet.room = std::move(room.room);
    sheet.seats = std::move(room.seats);
    sheet.elevation = std::move(room.elevation);
    sheet.plan = std::move(room.plan);
    LightSheet light = composeLight(session);
    sheet.light = std::move(light.light);
    sheet.targets = std::move(light.targets);
    sheet.tasks = std::move(light.tasks);
    if (sheet.hasRoom()) {
        sheet.checksHeading = withoutMnemonic(texts.text(OptionalKey::ChecksHeading));
        sheet.elevationHeading = withoutMnemonic(texts.text(OptionalKey::ElevationHeading));
        sheet.planHeading = withoutMnemonic(texts.text(OptionalKey::PlanHeading));
    }
    return sheet;
}

RoomSheet composeRoom(const Session &session) {
    RoomSheet sheet;
    const RoomSettings &room = session.roomSettings();
    if (room.isEmpty())
        return sheet;
    const LanguageTexts &texts = session.texts();
    const QChar point = session.decimalPoint();
    const Unit unit = session.state().unit;
    const RoomReport report = session.roomReport();
    sheet.room.title = withoutMnemonic(texts.text(OptionalKey::RoomHeading));
    sheet.room.lines = roomLines(report, room, unit, texts, point);
    sheet.room.notes = roomProblems(report, room, unit, texts, point);
    sheet.failing = !sheet.room.notes.isEmpty();
    if (!sheet.failing)
        sheet.room.notes << texts.text(OptionalKey::AllChecksPass);
    sheet.seats = seatTable(report, room, unit, texts, point);
    const RoomLengthText length = roomLengthWriter(unit, texts, point);
    sheet.elevation = elevationDrawing(elevationInputOf(report, room, texts), length);
    sheet.plan = roomPlanDrawing(planInputOf(report, room, texts, point), length);
    return sheet;
}

LightSheet composeLight(const Session &session) {
    const LanguageTexts &texts = session.texts();
    const QChar point = session.decimalPoint();
    const PlannerSettings &settings = session.plannerSettings();
    LightSheet sheet;
    sheet.light.title = withoutMnemonic(texts.text(OptionalKey::LightHeading));
    sheet.light.lines = lightLines(settings, texts, point);
    for (SheetLine &line : halfGainLines(session.roomReport(), settings, texts, point))
        sheet.light.lines.push_back(std::move(line));
    const ModelRecord *model = session.calculator().currentModel();
    if (!model)
        return sheet;
    const Plan plan = session.plan();
    sheet.targets = targetTable(targetFigures(plan, settings), texts, point);
    sheet.tasks = taskTable(taskFigures(*model, plan, settings), *model, texts, point);
    return sheet;
}

} // namespace vistrel
