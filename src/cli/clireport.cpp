#include "cli/clireport.h"

#include "calc/chartformat.h"
#include "calc/display.h"
#include "calc/light.h"
#include "calc/sheetterms.h"
#include "core/numbers.h"
#include "files/modeltable.h"
#include "session/fittext.h"
#include "session/plannertext.h"
#include "session/roomtext.h"

#include <algorithm>
#include <cmath>

namespace vistrel::cli {

namespace {

QString quoted(const QString &text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString point(const PointI &p) {
    return QStringLiteral("[%1, %2]").arg(p.x).arg(p.y);
}

// JSON has no infinity: a number that is none is null.
QString number(double value) {
    return std::isfinite(value) ? formatShortest(value) : QStringLiteral("null");
}

QString boolean(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// A JSON array of strings.
QString quotedList(const QStringList &texts) {
    QStringList items;
    for (const QString &text : texts)
        items << quoted(text);
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

} // namespace

QString textModelList(const std::vector<ModelRecord> &models) {
    QString out;
    for (std::size_t i = 0; i < models.size(); ++i)
        out += QString::number(i) + u'\t' + visibleText(models[i].name) + u'\n';
    return out;
}

QString jsonModelList(const std::vector<ModelRecord> &models) {
    QStringList items;
    for (std::size_t i = 0; i < models.size(); ++i)
        items << QStringLiteral("{\"index\": %1, \"name\": %2}").arg(i).arg(quoted(models[i].name));
    return u'[' + items.join(QStringLiteral(", ")) + QStringLiteral("]\n");
}

namespace {

QString orNull(const std::optional<double> &value) {
    return value ? number(*value) : QStringLiteral("null");
}

// A length of the planner in the user's unit.
QString length(const std::optional<double> &inches, Unit unit) {
    return inches ? number(fromInches(*inches, unit)) : QStringLiteral("null");
}

QString targetKey(LightTargetKind kind) {
    switch (kind) {
    case LightTargetKind::Cinema48Nits:
        return QStringLiteral("cinema_48_nits");
    case LightTargetKind::Cinema16fL:
        return QStringLiteral("cinema_16_fl");
    case LightTargetKind::HdrCinema:
        return QStringLiteral("hdr_108_nits");
    case LightTargetKind::BrightHdr:
        return QStringLiteral("bright_hdr_300_nits");
    case LightTargetKind::Typed:
        break;
    }
    return QStringLiteral("own");
}

QString taskKey(ViewingTask task) {
    switch (task) {
    case ViewingTask::Passive:
        return QStringLiteral("passive");
    case ViewingTask::BasicDecisions:
        return QStringLiteral("basic_decision_making");
    case ViewingTask::AnalyticalDecisions:
        return QStringLiteral("analytical_decision_making");
    case ViewingTask::FullMotionVideo:
        break;
    }
    return QStringLiteral("full_motion_video");
}

// The light budget, unrounded; null for what the catalogue does not tell.
// The viewing tasks need a model; the contrast they assume is the
// projector's sequential (full on / full off) one.
QString jsonLight(const Session &session) {
    const PlannerSettings &settings = session.plannerSettings();
    const Plan plan = session.plan();
    QStringList targets;
    for (const TargetFigures &t : targetFigures(plan, settings))
        targets << QStringLiteral("{\"name\": \"%1\", \"nits\": %2, \"lumens\": %3, "
                                  "\"rated_lumens\": %4, \"ratio\": %5, "
                                  "\"ratio_upper_bound\": %6}")
                       .arg(targetKey(t.kind), number(t.nits), orNull(t.lumens),
                            orNull(t.ratedLumens), orNull(t.ratio), boolean(t.ratioUpperBound));
    QStringList tasks;
    if (const ModelRecord *model = session.calculator().currentModel()) {
        for (const TaskFigures &t : taskFigures(*model, plan, settings))
            tasks << QStringLiteral("{\"task\": \"%1\", \"contrast\": %2, \"white_nits\": %3, "
                                    "\"lumens\": %4, \"reachable\": %5, \"reached\": %6}")
                         .arg(taskKey(t.task), number(t.contrast), orNull(t.whiteNits),
                              orNull(t.lumens), boolean(t.reachable),
                              t.reached ? boolean(*t.reached) : QStringLiteral("null"));
    }
    return QStringLiteral("\"light\": {\"age\": %1, \"target_nits\": %2, \"half_gain\": %3, "
                          "\"targets\": [%4], \"tasks\": [%5], \"ambient_nits\": %6, "
                          "\"contrast_measure\": \"sequential\"}")
        .arg(number(settings.lightAge), orNull(settings.targetNits), orNull(settings.halfGainAngle),
             targets.join(QStringLiteral(", ")), tasks.join(QStringLiteral(", ")),
             number(ambientNits(settings)));
}

QString jsonPlanner(const Session &session, bool light) {
    const Plan p = session.plan();
    const Unit u = session.state().unit;
    const PlannerSettings &settings = session.plannerSettings();
    return QStringLiteral("\"planner\": {\"gain\": %1, \"ambient\": %2, "
                          "\"throwRange\": {\"wide\": %3, \"tele\": %4}, "
                          "\"throwRatio\": {\"wide\": %5, \"tele\": %6}, "
                          "\"lensThrowRatio\": {\"wide\": %7, \"tele\": %8}, ")
               .arg(number(settings.gain), number(settings.ambientLux), length(p.distanceWide, u),
                    length(p.distanceTele, u), orNull(p.ratioWide), orNull(p.ratioTele),
                    orNull(p.lensRatioWide), orNull(p.lensRatioTele)) +
           QStringLiteral("\"brightness\": {\"lumens\": %1, \"fL\": %2, \"nits\": %3, "
                          "\"neededLumens16fL\": %4, \"upperBound\": %6}, \"contrast\": %5, "
                          "\"contrastUpperBound\": %7, ")
               .arg(orNull(p.lumens), orNull(p.footLamberts), orNull(p.nits),
                    orNull(p.lumensFor16fL), orNull(p.contrast), boolean(p.lightUpperBound),
                    boolean(p.contrastUpperBound)) +
           QStringLiteral("\"seating\": {\"deg30\": %1, \"deg36\": %2, \"deg40\": %3, "
                          "\"acuity\": %4}%5}")
               .arg(length(p.seats[0], u), length(p.seats[1], u), length(p.seats[2], u),
                    length(p.acuity, u),
                    light ? QStringLiteral(", ") + jsonLight(session) : QString());
}

// The room in the unit of the fields, angles in degrees, null for what the
// room's inputs do not give; "checks" the failing checks in words.
QString jsonRoom(const Session &session) {
    const RoomSettings &room = session.roomSettings();
    const RoomReport report = session.roomReport();
    const Unit u = session.state().unit;
    const auto len = [u](const std::optional<double> &inches) { return length(inches, u); };
    const auto range = [&len](const std::optional<HeightRange> &r) {
        return r ? QStringLiteral("{\"low\": %1, \"high\": %2}").arg(len(r->low), len(r->high))
                 : QStringLiteral("null");
    };

    QStringList rows;
    for (std::size_t i = 0; i < room.rows.size(); ++i) {
        const SeatRow &row = room.rows[i];
        const SeatView view = i < report.views.size() ? report.views[i] : SeatView{};
        rows << QStringLiteral("{\"distance\": %1, \"eyes\": %2, \"needed_eyes\": %3, "
                               "\"riser\": %4, \"up\": %5, \"down\": %6, \"horizontal\": %7, "
                               "\"off_axis\": %8, \"too_steep\": %9}")
                    .arg(len(row.distance), len(row.eyeHeight), len(view.neededEyeHeight),
                         len(view.riser), orNull(view.lookUp), orNull(view.lookDown),
                         number(view.horizontal), orNull(view.offAxis), boolean(view.tooSteep()));
    }
    QString mount = QStringLiteral("null");
    if (report.mount)
        mount = QStringLiteral("{\"%1\": %2, \"above_ceiling\": %3, \"below_floor\": %4}")
                    .arg(report.picture.position == Position::Top ? QStringLiteral("drop")
                                                                  : QStringLiteral("table"),
                         range(report.mount->usable), len(report.mount->aboveCeiling),
                         len(report.mount->belowFloor));
    const Discas &discas = report.discas;
    return QStringLiteral("\"room\": {\"screen_bottom\": %1, \"ceiling\": %2, \"depth\": %3, "
                          "\"mount_depth\": %4, \"body_length\": %5, \"seat_offset\": %6, "
                          "\"head_clearance\": %7, \"element_height_percent\": %8, ")
               .arg(len(room.screenBottom), len(room.ceiling), len(room.depth),
                    len(room.mountDepth), len(room.bodyLength), len(room.seatOffset),
                    len(room.headClearance), number(room.elementHeightPercent)) +
           QStringLiteral("\"lens_axis\": %1, \"mount\": %2, \"depth_left\": {\"wide\": %3, "
                          "\"tele\": %4}, \"rows\": [%5], ")
               .arg(range(report.axis), mount, len(report.depthLeft[Zoom::Wide]),
                    len(report.depthLeft[Zoom::Tele]), rows.join(QStringLiteral(", "))) +
           QStringLiteral("\"discas\": {\"least_height\": %1, \"met\": %2, "
                          "\"analytical_distance\": %3}, \"checks\": %4}")
               .arg(len(discas.leastHeight),
                    discas.heightMet ? boolean(*discas.heightMet) : QStringLiteral("null"),
                    len(discas.analyticalDistance),
                    quotedList(
                        roomProblems(report, room, u, session.texts(), session.decimalPoint())));
}

// The title block, null for a line left empty.
QString jsonProject(const ProjectDetails &details) {
    static constexpr std::array<const char *, kDetailInputs.size()> kKeys{
        "project", "client", "room", "date", "prepared_by"};
    QStringList members;
    for (std::size_t i = 0; i < kDetailInputs.size(); ++i) {
        const QString &text = detailOf(details, kDetailInputs[i]);
        members << QStringLiteral("\"%1\": %2")
                       .arg(QLatin1String(kKeys[i]),
                            text.isEmpty() ? QStringLiteral("null") : quoted(text));
    }
    return QStringLiteral("\"project\": {") + members.join(QStringLiteral(", ")) + u'}';
}

} // namespace

QString jsonChart(const ThrowChart &chart) {
    QStringList rows;
    for (const ChartRow &row : chart.rows) {
        const QStringList cells = chartCells(chart, row);
        QStringList fields;
        for (qsizetype i = 0; i < kChartColumns.size(); ++i)
            fields << QStringLiteral("\"%1\": %2")
                          .arg(kChartColumns[i],
                               cells[i].isEmpty() ? QStringLiteral("null") : cells[i]);
        rows << u'{' + fields.join(QStringLiteral(", ")) + u'}';
    }
    return u'[' + rows.join(QStringLiteral(", ")) + QStringLiteral("]\n");
}

QString jsonReport(const Session &session, const ReportedMessages &messages, bool accepted,
                   bool light) {
    QString report = jsonReport(session.calculator(), messages, accepted);
    report.chop(2); // "}\n"
    report += QStringLiteral(", ") + jsonPlanner(session, light);
    // Only a catalogue with unusable planner data adds the key, so that every
    // other report stays as it always was.
    if (!session.catalogueWarnings().isEmpty())
        report += QStringLiteral(", \"warnings\": ") + quotedList(session.catalogueWarnings());
    if (!session.roomSettings().isEmpty())
        report += QStringLiteral(", ") + jsonRoom(session);
    if (!session.projectDetails().isEmpty())
        report += QStringLiteral(", ") + jsonProject(session.projectDetails());
    return report + QStringLiteral("}\n");
}

QString jsonReport(const Calculator &calculator, const ReportedMessages &messages, bool accepted) {
    const CalcState &s = calculator.state();
    const Controls &c = calculator.controls();
    const ModelRecord *model = calculator.currentModel();

    QStringList parts;
    parts << QStringLiteral("\"model\": ") + quoted(model ? model->name : QString());
    parts << QStringLiteral("\"modelIndex\": %1").arg(s.modelIndex);
    parts << QStringLiteral("\"zoom\": ") + quoted(QLatin1String(info(s.zoomEnd).name));
    const PictureFormat format{s.aspectWidth, s.aspectHeight};
    parts << QStringLiteral("\"aspect\": ") + quoted(formatLabel(format));
    parts << QStringLiteral("\"unit\": ") + quoted(QLatin1String(info(s.unit).json));
    parts << QStringLiteral("\"position\": ") + quoted(QLatin1String(info(s.screenPosition).cli));

    QStringList fields;
    for (const FieldInfo &field : kFields)
        fields << QStringLiteral("\"%1\": %2")
                      .arg(QLatin1String(field.json), quoted(c.text(field.field)));
    fields << QStringLiteral("\"offset1\": ") + quoted(c.offsetText[0]);
    fields << QStringLiteral("\"offset2\": ") + quoted(c.offsetText[1]);
    parts << QStringLiteral("\"fields\": {") + fields.join(QStringLiteral(", ")) + u'}';

    parts << QStringLiteral("\"state\": {\"ScreenWidth\": %1, \"ScreenHeight\": %2, "
                            "\"ScreenDiagonal\": %3, \"ProjectionDistance\": %4, \"OffsetA\": %5, "
                            "\"OffsetB\": %6, \"MaxDistance\": %7, \"MinDiagonal\": %8, "
                            "\"MaxDiagonal\": %9}")
                 .arg(number(s.screenWidth), number(s.screenHeight), number(s.screenDiagonal),
                      number(s.projectionDistance), number(s.offsetA), number(s.offsetB),
                      number(s.maxDistance), number(s.minDiagonal), number(s.maxDiagonal));

    if (const auto &g = calculator.isometric())
        parts << QStringLiteral("\"isometric\": {\"TL\": %1, \"TR\": %2, \"BR\": %3, \"BL\": %4, "
                                "\"L\": %5}")
                     .arg(point(g->tl), point(g->tr), point(g->br), point(g->bl), point(g->lens));
    else
        parts << QStringLiteral("\"isometric\": null");

    if (const auto &g = calculator.sideView())
        parts << QStringLiteral("\"side\": {\"X\": %1, \"A\": %2, \"T\": %3, \"B\": %4, \"E\": %5}")
                     .arg(g->x)
                     .arg(g->a)
                     .arg(g->t)
                     .arg(g->b)
                     .arg(g->e);
    else
        parts << QStringLiteral("\"side\": null");

    parts << QStringLiteral("\"messages\": ") + quotedList(messages.texts);
    parts << QStringLiteral("\"messageSteps\": ") + quotedList(messages.steps);
    parts << QStringLiteral("\"accepted\": ") + boolean(accepted);
    parts << QStringLiteral("\"format\": {\"label\": %1, \"width\": %2, \"height\": %3, "
                            "\"ratio\": %4, \"other\": %5, \"anamorphic\": %6}")
                 .arg(quoted(formatLabel(format)), number(format.width), number(format.height),
                      number(format.ratio()), boolean(c.otherChosen), number(s.anamorphic));
    if (model) {
        const PanelUse panel = panelUseOf(*model, s);
        parts << QStringLiteral("\"panel\": {\"label\": %1, \"ratio\": %2, \"widthPx\": %3, "
                                "\"heightPx\": %4, \"pictureShare\": %5}")
                     .arg(quoted(ratioLabel(panel.aspect)), number(panel.aspect),
                          orNull(panel.widthPx), orNull(panel.heightPx),
                          orNull(panel.pictureShare));
    } else {
        parts << QStringLiteral("\"panel\": null");
    }
    return u'{' + parts.join(QStringLiteral(", ")) + QStringLiteral("}\n");
}

QString jsonString(const QString &text) {
    return quoted(text);
}

QString withMembers(QString report, const QStringList &members) {
    if (members.isEmpty())
        return report;
    report.chop(2); // "}\n"
    return report + QStringLiteral(", ") + members.join(QStringLiteral(", ")) +
           QStringLiteral("}\n");
}

namespace {

QString termsObject(const Terms &terms) {
    QStringList members;
    for (const auto &[key, value] : terms)
        members << quoted(key) + QStringLiteral(": ") +
                       (value.isEmpty() ? QStringLiteral("null") : jsonCell(value));
    return u'{' + members.join(QStringLiteral(", ")) + u'}';
}

QString zoomName(Zoom zoom) {
    return QLatin1String(info(zoom).name);
}

QString fitText(const FitLine &line, Unit unit) {
    const FitRow &row = line.row;
    const FitFigures figures = fitFigures(row, unit);
    const QString unitName = QLatin1String(info(unit).cli);
    QStringList ends;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (!figures.distance[zoom].isEmpty())
            ends << zoomName(zoom) + u' ' + figures.distance[zoom] + u' ' + unitName;
    }
    QString text = ends.join(QStringLiteral(", "));
    if (ends.size() > 1)
        text += QStringLiteral("; %1 to %2 %3").arg(figures.nearest, figures.farthest, unitName);
    text += QStringLiteral("; at %1: ").arg(zoomName(row.zoom));
    text += figures.offset2.isEmpty()
                ? QStringLiteral("offset %1 %2").arg(figures.offset1, unitName)
                : QStringLiteral("offsets %1 and %2 %3")
                      .arg(figures.offset1, figures.offset2, unitName);
    text += figures.footLamberts.isEmpty() ? QStringLiteral(", fL unknown")
                                           : QStringLiteral(", %1 fL").arg(figures.footLamberts);
    return text;
}

} // namespace

QString jsonModelTerms(const ModelRecord &model) {
    return QStringLiteral("{\"fields\": %1, \"sheet\": %2}")
        .arg(termsObject(catalogueTermsOf(model)), termsObject(sheetTermsOf(model)));
}

QString termsLine(const ModelRecord &model) {
    QStringList pairs;
    for (const auto &[key, value] : sheetTermsOf(model))
        pairs << key + u'=' + value;
    return visibleText(pairs.join(u',')) + u'\n';
}

QString textFit(const std::vector<FitLine> &lines, Unit unit) {
    QString out;
    for (const FitLine &line : lines) {
        const QString name = line.own ? line.model + QStringLiteral(" (own)") : line.model;
        out += visibleText(name + (line.row.fits()
                                       ? QStringLiteral(": fits: ") + fitText(line, unit)
                                       : QStringLiteral(": does not fit: ") + line.reason)) +
               u'\n';
    }
    return out;
}

QString jsonFit(const std::vector<FitLine> &lines, Unit unit) {
    const auto length = [unit](const std::optional<double> &inches) {
        return inches ? number(fromInches(*inches, unit)) : QStringLiteral("null");
    };
    QStringList objects;
    for (const FitLine &line : lines) {
        const FitRow &row = line.row;
        // Offsets, the zoom end and the light belong to a row with a distance.
        const bool placed = row.nearest.has_value();
        const auto placedLength = [&](double inches) {
            return placed ? length(inches) : QStringLiteral("null");
        };
        objects << QStringLiteral("{\"model\": %1, \"own\": %2, \"fits\": %3, \"reason\": %4, "
                                  "\"distance_wide\": %5, \"distance_tele\": %6, \"nearest\": %7, "
                                  "\"farthest\": %8, ")
                           .arg(quoted(line.model), boolean(line.own), boolean(row.fits()),
                                line.reason.isEmpty() ? QStringLiteral("null")
                                                      : quoted(line.reason),
                                length(row.distance[Zoom::Wide]), length(row.distance[Zoom::Tele]),
                                length(row.nearest), length(row.farthest)) +
                       QStringLiteral("\"zoom\": %1, \"offset1\": %2, \"offset2\": %3, "
                                      "\"foot_lamberts\": %4}")
                           .arg(placed ? quoted(zoomName(row.zoom)) : QStringLiteral("null"),
                                placedLength(row.offsets.a),
                                row.offsetCount > 1 ? placedLength(row.offsets.b)
                                                    : QStringLiteral("null"),
                                placed ? orNull(row.footLamberts) : QStringLiteral("null"));
    }
    return u'[' + objects.join(QStringLiteral(", ")) + u']';
}

QString textModelChange(const ModelChange &change) {
    const ImportEntry &entry = change.entry;
    QString text;
    if (!change.fromFile)
        text = entry.record.name + (entry.action == ImportEntry::Action::Add
                                        ? QStringLiteral(": added")
                                        : QStringLiteral(": replaces your own model of that name"));
    else if (change.kept)
        text = QStringLiteral("line %1: %2: kept; --replace replaces your own model of that name")
                   .arg(entry.line)
                   .arg(entry.record.name);
    else
        text = describe(entry);
    QString out = visibleText(text) + u'\n';
    if (change.fromFile) {
        for (const ModelWarning &warning : entry.warnings)
            out += visibleText(QStringLiteral("line %1: warning: %2: %3")
                                   .arg(entry.line)
                                   .arg(warning.term, warning.text)) +
                   u'\n';
    }
    return out;
}

QString jsonModelChanges(const std::vector<ModelChange> &changes) {
    QStringList objects;
    for (const ModelChange &change : changes) {
        const ImportEntry &entry = change.entry;
        const bool refused = entry.action == ImportEntry::Action::Refuse;
        const QString action = refused                                    ? QStringLiteral("refuse")
                               : entry.action == ImportEntry::Action::Add ? QStringLiteral("add")
                               : change.kept                              ? QStringLiteral("keep")
                                             : QStringLiteral("replace");
        QStringList warnings;
        for (const ModelWarning &warning : entry.warnings)
            warnings << QStringLiteral("{\"term\": %1, \"text\": %2}")
                            .arg(quoted(warning.term), quoted(warning.text));
        objects << QStringLiteral("{\"line\": %1, \"action\": %2, \"model\": %3, \"reason\": %4, "
                                  "\"warnings\": [%5], \"model_terms\": %6}")
                       .arg(change.fromFile ? QString::number(entry.line) : QStringLiteral("null"),
                            quoted(action),
                            refused ? QStringLiteral("null") : quoted(entry.record.name),
                            refused ? quoted(entry.reason) : QStringLiteral("null"),
                            warnings.join(QStringLiteral(", ")),
                            refused ? QStringLiteral("null") : jsonModelTerms(entry.record));
    }
    return u'[' + objects.join(QStringLiteral(", ")) + u']';
}

QString textLines(const std::vector<SheetLine> &lines) {
    QString out;
    for (const SheetLine &line : lines) {
        const QString caption = line.heading.isEmpty()
                                    ? line.caption
                                    : line.heading + QStringLiteral(" - ") + line.caption;
        out += visibleText(caption + QStringLiteral(": ") + line.value) + u'\n';
    }
    return out;
}

namespace {

// A table's cells as lines, each under its row's name; empty cells left out.
QString textTable(const SheetTable &table) {
    std::vector<SheetLine> cells;
    for (const QStringList &row : table.rows) {
        for (qsizetype i = 1; i < row.size() && i < table.headers.size(); ++i) {
            if (!row[i].isEmpty())
                cells.push_back({row[0], table.headers[i], row[i]});
        }
    }
    return textLines(cells);
}

} // namespace

QString textRoom(const Sheet &sheet) {
    if (!sheet.hasRoom())
        return {};
    QString out = textLines(sheet.room.lines);
    for (const QString &note : sheet.room.notes)
        out += visibleText(note) + u'\n';
    return out + textTable(sheet.seats);
}

QString textLight(const Sheet &sheet) {
    return textLines(sheet.light.lines) + textTable(sheet.targets) + textTable(sheet.tasks);
}

} // namespace vistrel::cli
