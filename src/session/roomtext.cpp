#include "session/roomtext.h"

#include "core/helpers.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace vistrel {

namespace {

// Heights and clearances are read to a tenth of an inch or a millimetre;
// feet need two places for the same.
int roomDecimals(Unit unit) {
    return unit == Unit::Feet ? 2 : 1;
}

QString caption(const LanguageTexts &texts, OptionalKey key) {
    return withoutMnemonic(texts.text(key)).simplified();
}

QString unitName(const LanguageTexts &texts, Unit unit) {
    return withoutMnemonic(texts.text(info(unit).caption)).simplified();
}

QString zoomName(const LanguageTexts &texts, Zoom zoom) {
    return withoutMnemonic(texts.text(info(zoom).caption)).simplified();
}

QString rowName(const LanguageTexts &texts, std::size_t index) {
    return replaceText(texts.text(OptionalKey::RowName), QStringLiteral("%1"),
                       QString::number(index + 1));
}

std::optional<double> RoomSettings::*lengthMember(RoomInput input) {
    switch (input) {
    case RoomInput::ScreenBottom:
        return &RoomSettings::screenBottom;
    case RoomInput::Ceiling:
        return &RoomSettings::ceiling;
    case RoomInput::Depth:
        return &RoomSettings::depth;
    case RoomInput::MountDepth:
        return &RoomSettings::mountDepth;
    case RoomInput::BodyLength:
        return &RoomSettings::bodyLength;
    case RoomInput::SeatOffset:
        return &RoomSettings::seatOffset;
    case RoomInput::Rows:
    case RoomInput::HeadClearance:
    case RoomInput::ElementHeight:
        break;
    }
    return nullptr;
}

std::optional<double> number(QStringView text, QChar decimalPoint) {
    // "-0" is 0, written "0".
    if (const std::optional<double> v = parseNumber(withDotDecimal(text.trimmed(), decimalPoint)))
        return *v + 0.0;
    return std::nullopt;
}

std::optional<double> length(QStringView text, Unit unit, QChar decimalPoint) {
    const std::optional<double> v = number(text, decimalPoint);
    if (!v || *v < 0)
        return std::nullopt;
    const double inches = toInches(*v, unit);
    return std::isfinite(inches) ? std::optional(inches) : std::nullopt;
}

QString lengthInput(double inches, Unit unit, QChar decimalPoint) {
    // Rounded to what the results show, so a centimetre value typed reads back as typed.
    return formatGeneral(std::round(fromInches(inches, unit) * 1e6) / 1e6, decimalPoint);
}

std::optional<std::vector<SeatRow>> parseRows(QStringView text, Unit unit, QChar decimalPoint) {
    std::vector<SeatRow> rows;
    for (const QStringView part : text.split(u';', Qt::SkipEmptyParts)) {
        if (part.trimmed().isEmpty())
            continue;
        // The room refuses more than this; a pasted list of thousands stops here.
        if (rows.size() > kMostSeatRows)
            return std::nullopt;
        const std::optional<SeatRow> row = parseSeatRow(part, unit, decimalPoint);
        if (!row)
            return std::nullopt;
        rows.push_back(*row);
    }
    return rows;
}

AppError refusal(const LanguageTexts &texts, RoomInput input) {
    return makeError(
        ErrorNumber::InvalidPropertyValue,
        messageAbout(texts.text(info(input).refusal), caption(texts, info(input).caption)));
}

// The figure alone, or unknown.
std::optional<QString> roomFigure(double inches, Unit unit, QChar decimalPoint) {
    const double value = fromInches(inches, unit);
    if (!std::isfinite(value))
        return std::nullopt;
    // A value that rounds to zero is written "0.0", never "-0.0".
    const double places = std::pow(10.0, roomDecimals(unit));
    const double rounded = std::round(value * places) / places + 0.0;
    return formatFixed(rounded, roomDecimals(unit), decimalPoint);
}

} // namespace

const RoomInputInfo &info(RoomInput input) {
    return kRoomInputs[static_cast<std::size_t>(input)];
}

std::optional<SeatRow> parseSeatRow(QStringView text, Unit unit, QChar decimalPoint) {
    const qsizetype at = text.indexOf(u'@');
    SeatRow row;
    const std::optional<double> distance =
        length(at < 0 ? text : text.left(at), unit, decimalPoint);
    if (!distance)
        return std::nullopt;
    row.distance = *distance;
    if (at >= 0) {
        const std::optional<double> eyes = length(text.mid(at + 1), unit, decimalPoint);
        if (!eyes)
            return std::nullopt;
        row.eyeHeight = *eyes;
    }
    return row;
}

namespace {

// The typed value in `room`, refused only when it is not a value of the input's kind.
Result<RoomSettings> readRoomInput(RoomSettings room, RoomInput input, QStringView text, Unit unit,
                                   const LanguageTexts &texts, QChar decimalPoint) {
    const bool empty = text.trimmed().isEmpty();
    if (const auto member = lengthMember(input)) {
        const std::optional<double> v = length(text, unit, decimalPoint);
        if (!empty && !v)
            return refusal(texts, input);
        room.*member = v;
    } else if (input == RoomInput::Rows) {
        const std::optional<std::vector<SeatRow>> rows = parseRows(text, unit, decimalPoint);
        if (!rows)
            return refusal(texts, input);
        room.rows = *rows;
    } else if (input == RoomInput::HeadClearance) {
        const std::optional<double> v = length(text, unit, decimalPoint);
        if (!empty && !v)
            return refusal(texts, input);
        room.headClearance = v.value_or(kHeadClearance);
    } else {
        const std::optional<double> v = number(text, decimalPoint);
        if (!empty && !v)
            return refusal(texts, input);
        room.elementHeightPercent = v.value_or(kElementHeightPercent);
    }
    return room;
}

// The room as the planner takes it. A number of the right kind the room
// cannot take: the input's message says which field, the room's reason why;
// a ceiling below the screen is a matter of two fields, which the reason names.
Result<RoomSettings> checkedRoom(RoomSettings room, std::optional<RoomInput> input,
                                 const LanguageTexts &texts) {
    if (const Result<void> checked = checkRoom(room); !checked) {
        if (!input || input == RoomInput::Ceiling || input == RoomInput::ScreenBottom)
            return checked.error();
        AppError error = refusal(texts, *input);
        error.description += u' ' + checked.error().description;
        return error;
    }
    return withRowsInOrder(std::move(room));
}

} // namespace

Result<RoomSettings> withRoomInput(RoomSettings room, RoomInput input, QStringView text, Unit unit,
                                   const LanguageTexts &texts, QChar decimalPoint) {
    VISTREL_TRY_ASSIGN(room,
                       readRoomInput(std::move(room), input, text, unit, texts, decimalPoint));
    return checkedRoom(std::move(room), input, texts);
}

Result<RoomSettings> withRoomInputs(RoomSettings room, const std::vector<TypedRoomInput> &typed,
                                    Unit unit, const LanguageTexts &texts, QChar decimalPoint) {
    for (const TypedRoomInput &one : typed)
        VISTREL_TRY_ASSIGN(
            room, readRoomInput(std::move(room), one.input, one.text, unit, texts, decimalPoint));
    return checkedRoom(std::move(room),
                       typed.size() == 1 ? std::optional(typed.front().input) : std::nullopt,
                       texts);
}

QString roomInputText(const RoomSettings &room, RoomInput input, Unit unit, QChar decimalPoint) {
    if (const auto member = lengthMember(input)) {
        const std::optional<double> v = room.*member;
        return v ? lengthInput(*v, unit, decimalPoint) : QString();
    }
    switch (input) {
    case RoomInput::Rows: {
        QStringList rows;
        for (const SeatRow &row : room.rows) {
            QString text = lengthInput(row.distance, unit, decimalPoint);
            if (row.eyeHeight != kSeatedEyeHeight)
                text += u'@' + lengthInput(row.eyeHeight, unit, decimalPoint);
            rows << text;
        }
        return rows.join(QStringLiteral("; "));
    }
    case RoomInput::HeadClearance:
        return lengthInput(room.headClearance, unit, decimalPoint);
    case RoomInput::ElementHeight:
        return formatGeneral(room.elementHeightPercent, decimalPoint);
    default:
        return QString();
    }
}

OptionalKey captionOf(DetailInput input) {
    switch (input) {
    case DetailInput::Project:
        return OptionalKey::ProjectCaption;
    case DetailInput::Client:
        return OptionalKey::ClientCaption;
    case DetailInput::Room:
        return OptionalKey::RoomNameCaption;
    case DetailInput::Date:
        return OptionalKey::DateCaption;
    case DetailInput::PreparedBy:
        return OptionalKey::PreparedByCaption;
    }
    return OptionalKey::ProjectCaption;
}

QString &detailOf(ProjectDetails &details, DetailInput input) {
    switch (input) {
    case DetailInput::Project:
        return details.project;
    case DetailInput::Client:
        return details.client;
    case DetailInput::Room:
        return details.room;
    case DetailInput::Date:
        return details.date;
    case DetailInput::PreparedBy:
        return details.preparedBy;
    }
    return details.project;
}

const QString &detailOf(const ProjectDetails &details, DetailInput input) {
    return detailOf(const_cast<ProjectDetails &>(details), input);
}

std::vector<SheetLine> detailLines(const ProjectDetails &details, const LanguageTexts &texts) {
    std::vector<SheetLine> lines;
    for (const DetailInput input : kDetailInputs) {
        if (const QString &value = detailOf(details, input); !value.isEmpty())
            lines.push_back({QString(), caption(texts, captionOf(input)), value});
    }
    return lines;
}

QString roomLength(double inches, Unit unit, const LanguageTexts &texts, QChar decimalPoint) {
    const std::optional<QString> figure = roomFigure(inches, unit, decimalPoint);
    return figure ? *figure + u' ' + unitName(texts, unit) : caption(texts, OptionalKey::Unknown);
}

QString angleText(double degrees, QChar decimalPoint) {
    return formatFixed(std::round(degrees * 10) / 10 + 0.0, 1, decimalPoint) + u'\u00b0';
}

RoomLengthText roomLengthWriter(Unit unit, const LanguageTexts &texts, QChar decimalPoint) {
    // A drawing's labels are short: the unit's symbol, as the command line takes it.
    return [unit, unknown = caption(texts, OptionalKey::Unknown), decimalPoint](double inches) {
        const std::optional<QString> figure = roomFigure(inches, unit, decimalPoint);
        return figure ? *figure + u' ' + QLatin1String(info(unit).cli) : unknown;
    };
}

std::vector<SheetLine> roomLines(const RoomReport &report, const RoomSettings &room, Unit unit,
                                 const LanguageTexts &texts, QChar decimalPoint) {
    const auto len = [&](double inches) { return roomLength(inches, unit, texts, decimalPoint); };
    const auto range = [&](double low, double high) {
        return replaceText(
            replaceText(texts.text(OptionalKey::RangeText), QStringLiteral("%1"), len(low)),
            QStringLiteral("%2"), len(high));
    };
    std::vector<SheetLine> lines;
    const QString heading = caption(texts, OptionalKey::RoomHeading);
    const auto add = [&](OptionalKey key, const QString &value) {
        lines.push_back({heading, caption(texts, key), value});
    };
    if (report.axis)
        add(OptionalKey::LensAxisLine, range(report.axis->low, report.axis->high));
    if (report.mount) {
        const bool hanging = report.picture.position == Position::Top;
        const OptionalKey line =
            hanging ? OptionalKey::CeilingDropLine : OptionalKey::TableHeightLine;
        if (report.mount->usable)
            add(line, range(report.mount->usable->low, report.mount->usable->high));
        else if (!hanging || room.ceiling)
            add(line, caption(texts, OptionalKey::DoesNotFit));
        if (report.mount->aboveCeiling > 0)
            add(OptionalKey::AboveCeilingLine, len(report.mount->aboveCeiling));
        if (report.mount->belowFloor > 0)
            add(OptionalKey::BelowFloorLine, len(report.mount->belowFloor));
    }
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (const std::optional<double> left = report.depthLeft[zoom]) {
            lines.push_back({heading,
                             replaceText(caption(texts, OptionalKey::DepthLeftLine),
                                         QStringLiteral("%1"), zoomName(texts, zoom)),
                             *left >= 0 ? len(*left)
                                        : replaceText(texts.text(OptionalKey::ShortBy),
                                                      QStringLiteral("%1"), len(-*left))});
        }
    }
    if (report.discas.leastHeight) {
        add(OptionalKey::DiscasHeightLine, len(*report.discas.leastHeight));
        add(OptionalKey::DiscasMetLine,
            caption(texts, *report.discas.heightMet ? OptionalKey::YesWord : OptionalKey::NoWord));
    }
    if (report.discas.analyticalDistance)
        add(OptionalKey::AnalyticalLine, len(*report.discas.analyticalDistance));
    return lines;
}

QStringList roomProblems(const RoomReport &report, const RoomSettings &room, Unit unit,
                         const LanguageTexts &texts, QChar decimalPoint) {
    const auto len = [&](double inches) { return roomLength(inches, unit, texts, decimalPoint); };
    const auto fill = [&](OptionalKey key, const QStringList &values) {
        QString text = texts.text(key);
        for (qsizetype i = 0; i < values.size(); ++i)
            text = replaceText(text, u'%' + QString::number(i + 1), values[i]);
        return text;
    };
    QStringList problems;
    if (room.screenBottom && room.ceiling &&
        *room.screenBottom + report.picture.height > *room.ceiling)
        problems << fill(OptionalKey::TopAboveCeiling,
                         {len(*room.screenBottom + report.picture.height), len(*room.ceiling)});
    if (report.axis && report.mount && !report.mount->usable &&
        (report.picture.position == Position::Bottom || room.ceiling)) {
        const QString window =
            report.axis->low == report.axis->high
                ? len(report.axis->low)
                : replaceText(replaceText(texts.text(OptionalKey::RangeText), QStringLiteral("%1"),
                                          len(report.axis->low)),
                              QStringLiteral("%2"), len(report.axis->high));
        problems << fill(OptionalKey::NoMount, {window});
    }
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (const std::optional<double> left = report.depthLeft[zoom]; left && *left < 0)
            problems << fill(OptionalKey::TooShallow, {len(-*left), zoomName(texts, zoom)});
    }
    for (std::size_t i = 0; i < report.views.size() && i < room.rows.size(); ++i) {
        if (room.depth && room.rows[i].distance > *room.depth)
            problems << fill(OptionalKey::RowBehindWall, {QString::number(i + 1)});
        if (report.views[i].tooSteep())
            problems << fill(
                OptionalKey::TooSteep,
                {QString::number(i + 1), angleText(*report.views[i].lookUp, decimalPoint)});
    }
    if (report.discas.heightMet && !*report.discas.heightMet)
        problems << fill(OptionalKey::DiscasShort,
                         {len(report.picture.height), len(*report.discas.leastHeight)});
    return problems;
}

SheetTable seatTable(const RoomReport &report, const RoomSettings &room, Unit unit,
                     const LanguageTexts &texts, QChar decimalPoint) {
    const auto len = [&](double inches) { return roomLength(inches, unit, texts, decimalPoint); };
    const auto angle = [&](std::optional<double> degrees) {
        return degrees ? angleText(*degrees, decimalPoint) : QString();
    };
    SheetTable table;
    table.title = caption(texts, OptionalKey::SeatTableTitle);
    table.headers = {QString(),
                     caption(texts, OptionalKey::DistanceColumn),
                     caption(texts, OptionalKey::EyesColumn),
                     caption(texts, OptionalKey::RiserColumn),
                     caption(texts, OptionalKey::UpColumn),
                     caption(texts, OptionalKey::DownColumn),
                     caption(texts, OptionalKey::WidthAngleColumn),
                     caption(texts, OptionalKey::OffAxisColumn)};
    for (std::size_t i = 0; i < report.views.size() && i < room.rows.size(); ++i) {
        const SeatView &view = report.views[i];
        const SeatRow &row = room.rows[i];
        table.rows.push_back({rowName(texts, i), len(row.distance),
                              len(std::max(row.eyeHeight, view.neededEyeHeight.value_or(0))),
                              view.riser ? len(*view.riser) : QString(), angle(view.lookUp),
                              angle(view.lookDown), angle(view.horizontal), angle(view.offAxis)});
    }
    return table;
}

ElevationInput elevationInputOf(const RoomReport &report, const RoomSettings &room,
                                const LanguageTexts &texts) {
    const RoomPicture &p = report.picture;
    ElevationInput in;
    in.pictureBottom = room.screenBottom.value_or(0);
    in.pictureHeight = p.height;
    in.ceiling = room.ceiling;
    in.depth = room.depth;
    in.hanging = p.position == Position::Top;
    in.bodyLength = room.bodyLength.value_or(0);
    if (report.axis) {
        in.axisLow = report.axis->low;
        in.axisHigh = report.axis->high;
        // Drawn in the middle of what the room allows of the window, or of the
        // whole window when it allows none.
        double low = report.axis->low, high = report.axis->high;
        if (report.mount && report.mount->usable) {
            const double mount = room.mountDepth.value_or(0);
            if (in.hanging && room.ceiling) {
                low = *room.ceiling - mount - report.mount->usable->high;
                high = *room.ceiling - mount - report.mount->usable->low;
            } else if (!in.hanging) {
                low = report.mount->usable->low + mount;
                high = report.mount->usable->high + mount;
            }
        }
        in.lensHeight = (low + high) / 2;
        in.projectorOutside = report.mount && !report.mount->usable;
    }
    in.lensDistance = p.distance[p.zoom];
    for (std::size_t i = 0; i < report.views.size() && i < room.rows.size(); ++i) {
        const SeatView &view = report.views[i];
        in.rows.push_back({room.rows[i].distance,
                           std::max(room.rows[i].eyeHeight, view.neededEyeHeight.value_or(0)),
                           view.tooSteep(), rowName(texts, i)});
    }
    in.lookUpLimit = kLookUpLimit;
    return in;
}

PlanInput planInputOf(const RoomReport &report, const RoomSettings &room,
                      const LanguageTexts &texts, QChar decimalPoint) {
    const RoomPicture &p = report.picture;
    PlanInput in;
    in.pictureWidth = p.width;
    in.depth = room.depth;
    in.lensDistance = p.distance[p.zoom];
    in.bodyLength = room.bodyLength.value_or(0);
    in.seatOffset = room.seatOffset;
    double widest = 0;
    for (std::size_t i = 0; i < report.views.size() && i < room.rows.size(); ++i) {
        in.rows.push_back({room.rows[i].distance, rowName(texts, i)});
        widest = std::max(widest, report.views[i].horizontal);
    }
    if (widest > 0)
        in.viewingAngle = replaceText(texts.text(OptionalKey::ViewingAngle), QStringLiteral("%1"),
                                      angleText(widest, decimalPoint));
    return in;
}

} // namespace vistrel
