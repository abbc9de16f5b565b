#include "files/projectfile.h"

#include "core/numbers.h"
#include "files/filewriter.h"
#include "files/textfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace vistrel {

namespace {

// The names of the file's layout; the model's keys are the catalogue's field names.
const QString kFormatKey = QStringLiteral("format");
const QString kFormatTag = QStringLiteral("vistrel-project");
const QString kVersionKey = QStringLiteral("version");
const QString kModel = QStringLiteral("model");
const QString kChoices = QStringLiteral("choices");
const QString kZoom = QStringLiteral("zoom");
const QString kPosition = QStringLiteral("position");
const QString kUnit = QStringLiteral("unit");
const QString kPicture = QStringLiteral("picture");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kAnamorphic = QStringLiteral("anamorphic");
const QString kInches = QStringLiteral("inches");
const QString kDiagonal = QStringLiteral("diagonal");
const QString kDistance = QStringLiteral("distance");
const QString kOffset1 = QStringLiteral("offset1");
const QString kOffset2 = QStringLiteral("offset2");
const QString kPlanner = QStringLiteral("planner");
const QString kGain = QStringLiteral("gain");
const QString kAmbient = QStringLiteral("ambient");
const QString kLightAge = QStringLiteral("lightAge");
const QString kTargetNits = QStringLiteral("targetNits");
const QString kHalfGain = QStringLiteral("halfGainAngle");
const QString kRoom = QStringLiteral("room");
const QString kScreenBottom = QStringLiteral("screenBottom");
const QString kCeiling = QStringLiteral("ceiling");
const QString kDepth = QStringLiteral("depth");
const QString kMountDepth = QStringLiteral("mountDepth");
const QString kBodyLength = QStringLiteral("bodyLength");
const QString kSeatOffset = QStringLiteral("seatOffset");
const QString kHeadClearanceKey = QStringLiteral("headClearance");
const QString kElementHeightKey = QStringLiteral("elementHeightPercent");
const QString kRows = QStringLiteral("rows");
const QString kEyeHeight = QStringLiteral("eyeHeight");
const QString kProject = QStringLiteral("project");
const QString kName = QStringLiteral("name");
const QString kClient = QStringLiteral("client");
const QString kDate = QStringLiteral("date");
const QString kPreparedBy = QStringLiteral("preparedBy");

// The room's lengths that may be left unset, by their keys.
struct RoomLength {
    const QString &key;
    std::optional<double> RoomSettings::*member;
};
const std::array<RoomLength, 6> kRoomLengths{{
    {kScreenBottom, &RoomSettings::screenBottom},
    {kCeiling, &RoomSettings::ceiling},
    {kDepth, &RoomSettings::depth},
    {kMountDepth, &RoomSettings::mountDepth},
    {kBodyLength, &RoomSettings::bodyLength},
    {kSeatOffset, &RoomSettings::seatOffset},
}};

struct DetailText {
    const QString &key;
    QString ProjectDetails::*member;
};
const std::array<DetailText, 5> kDetailTexts{{
    {kName, &ProjectDetails::project},
    {kClient, &ProjectDetails::client},
    {kRoom, &ProjectDetails::room},
    {kDate, &ProjectDetails::date},
    {kPreparedBy, &ProjectDetails::preparedBy},
}};

const QString kExtension = QStringLiteral(".vistrel");
const QString kCalcFileExtension = QStringLiteral(".cf");
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QByteArrayView withoutBom(QByteArrayView bytes) {
    return bytes.startsWith(kUtf8Bom) ? bytes.sliced(kUtf8Bom.size()) : bytes;
}

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// A section's key as errors name it: "picture.width".
QString keyPath(const QString &section, const QString &key) {
    return section.isEmpty() ? key : section + u'.' + key;
}

// Takes the values out of the parsed document, each checked for its type,
// and names the key of the first one that does not fit.
class ValueReader {
public:
    explicit ValueReader(const QString &name) : name_(name) {}

    // "Type mismatch: \"picture.width\" is not a number in the project file FILE".
    AppError error(ErrorNumber number, const QString &what) const {
        return makeError(number, what + QStringLiteral(" in the project file") +
                                     (name_.isEmpty() ? name_ : u' ' + name_));
    }
    // "Input past end of file: FILE ends ...", of the file as a whole.
    AppError fileError(ErrorNumber number, const char *errorName, const QString &what) const {
        return makeError(number,
                         QStringLiteral("%1: %2 %3")
                             .arg(QLatin1String(errorName),
                                  name_.isEmpty() ? QStringLiteral("the file") : name_, what));
    }

    Result<QJsonValue> value(const QJsonObject &in, const QString &section,
                             const QString &key) const {
        const QJsonValue v = in.value(key);
        if (v.isUndefined())
            return error(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: \"%1\" is missing")
                             .arg(keyPath(section, key)));
        return v;
    }

    Result<QJsonObject> object(const QJsonObject &in, const QString &key) const {
        QJsonValue v;
        VISTREL_TRY_ASSIGN(v, value(in, QString(), key));
        if (!v.isObject())
            return mismatch(key, QString(), QStringLiteral("a section"));
        return v.toObject();
    }

    // A section or key a later addition to the file brought: absent is as good as empty.
    Result<std::optional<QJsonObject>> optionalObject(const QJsonObject &in,
                                                      const QString &key) const {
        if (!in.contains(key))
            return std::optional<QJsonObject>();
        QJsonObject object;
        VISTREL_TRY_ASSIGN(object, this->object(in, key));
        return std::optional(object);
    }
    Result<std::optional<double>> optionalNumber(const QJsonObject &in, const QString &section,
                                                 const QString &key) const {
        if (!in.contains(key))
            return std::optional<double>();
        double v = 0;
        VISTREL_TRY_ASSIGN(v, number(in, section, key));
        return std::optional(v);
    }
    Result<QJsonArray> list(const QJsonObject &in, const QString &section,
                            const QString &key) const {
        QJsonValue v;
        VISTREL_TRY_ASSIGN(v, value(in, section, key));
        if (!v.isArray())
            return mismatch(keyPath(section, key), QString(), QStringLiteral("a list"));
        return v.toArray();
    }
    Result<QJsonObject> item(const QJsonValue &v, const QString &path) const {
        if (!v.isObject())
            return mismatch(path, QString(), QStringLiteral("a section"));
        return v.toObject();
    }

    Result<QString> text(const QJsonObject &in, const QString &section, const QString &key) const {
        QJsonValue v;
        VISTREL_TRY_ASSIGN(v, value(in, section, key));
        if (!v.isString())
            return mismatch(keyPath(section, key), QString(), QStringLiteral("text"));
        return v.toString();
    }

    // The parser refuses numbers beyond a double already; the check stays
    // so that nothing later ever meets an infinity.
    Result<double> number(const QJsonObject &in, const QString &section, const QString &key) const {
        QJsonValue v;
        VISTREL_TRY_ASSIGN(v, value(in, section, key));
        if (!v.isDouble())
            return mismatch(keyPath(section, key), QString(), QStringLiteral("a number"));
        const double number = v.toDouble();
        if (!std::isfinite(number))
            return error(
                ErrorNumber::Overflow,
                QStringLiteral("Overflow: \"%1\" is out of range").arg(keyPath(section, key)));
        return number;
    }

    Result<std::int16_t> int16(const QJsonObject &in, const QString &section,
                               const QString &key) const {
        double v = 0;
        VISTREL_TRY_ASSIGN(v, number(in, section, key));
        if (v != std::trunc(v))
            return mismatch(keyPath(section, key), formatShortest(v),
                            QStringLiteral("a whole number"));
        const std::optional<std::int16_t> whole = roundToInt16(v);
        if (!whole)
            return error(ErrorNumber::Overflow,
                         QStringLiteral("Overflow: \"%1\" %2 is out of range")
                             .arg(keyPath(section, key), formatShortest(v)));
        return *whole;
    }

    // A choice by its command-line name, which the tables hold once.
    template <typename Choice>
    Result<Choice> choice(const QJsonObject &in, const QString &section, const QString &key) const {
        QString name;
        VISTREL_TRY_ASSIGN(name, text(in, section, key));
        if (const std::optional<Choice> chosen = choiceNamed<Choice>(name))
            return *chosen;
        QStringList names;
        for (int code = 0; const std::optional<Choice> row = choiceOf<Choice>(code); ++code)
            names << QLatin1String(info(*row).cli);
        return error(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("Invalid property value: \"%1\" is \"%2\", none of %3")
                .arg(keyPath(section, key), visibleText(name), names.join(QStringLiteral(", "))));
    }

private:
    AppError mismatch(const QString &path, const QString &shown, const QString &wanted) const {
        return error(ErrorNumber::TypeMismatch,
                     QStringLiteral("Type mismatch: \"%1\"%2 is not %3")
                         .arg(path, shown.isEmpty() ? shown : u' ' + shown, wanted));
    }

    const QString &name_;
};

// A number the parser could not take because a double cannot hold it: an
// infinity, or a magnitude so small that it reads 0 although a digit says otherwise.
bool beyondDouble(const QString &number) {
    const double value = leadingNumber(number);
    if (std::isinf(value))
        return true;
    if (value != 0 || !startsWithNumber(number))
        return false;
    for (const QChar c : number) {
        if (c == u'e' || c == u'E')
            break;
        if (c >= u'1' && c <= u'9')
            return true;
    }
    return false;
}

// Why the parser refused the text: a number beyond a double, a file cut
// short, or something that is no JSON.
AppError syntaxError(const ValueReader &in, QByteArrayView json, const QJsonParseError &parsed,
                     qsizetype skipped) {
    const qsizetype offset = std::clamp<qsizetype>(parsed.offset, 0, json.size());
    if (parsed.error == QJsonParseError::IllegalNumber) {
        // The parser stops at or after the number it could not take.
        qsizetype begin = offset;
        while (begin > 0 && isNumberCharacter(json[begin - 1]))
            --begin;
        qsizetype end = offset;
        while (end < json.size() && isNumberCharacter(json[end]))
            ++end;
        const QString number = QString::fromLatin1(json.sliced(begin, end - begin));
        if (beyondDouble(number))
            return in.error(ErrorNumber::Overflow,
                            QStringLiteral("Overflow: the number %1 at byte %2 is out of range")
                                .arg(number)
                                .arg(begin + skipped + 1));
    }
    qsizetype end = json.size();
    while (end > 0 && isJsonSpace(json[end - 1]))
        --end;
    if (offset >= end)
        return in.fileError(ErrorNumber::InputPastEndOfFile, "Input past end of file",
                            QStringLiteral("ends before its last value does"));
    return in.fileError(ErrorNumber::TypeMismatch, "Type mismatch",
                        QStringLiteral("is no JSON: %1 at byte %2")
                            .arg(parsed.errorString())
                            .arg(offset + skipped + 1));
}

AppError noProject(const ValueReader &in, const QString &why) {
    return in.fileError(ErrorNumber::InvalidPropertyValue, "Invalid property value",
                        QStringLiteral("is no Vistrel project file (%1)").arg(why));
}

Result<void> checkVersion(const ValueReader &in, const QJsonObject &root) {
    if (root.value(kFormatKey).toString() != kFormatTag)
        return noProject(in,
                         QStringLiteral("its \"%1\" is not \"%2\"").arg(kFormatKey, kFormatTag));
    double version = 0;
    VISTREL_TRY_ASSIGN(version, in.number(root, QString(), kVersionKey));
    if (version > kProjectFileVersion)
        return in.fileError(ErrorNumber::InvalidPropertyValue, "Invalid property value",
                            QStringLiteral("was made by a newer Vistrel: version %1 (this one "
                                           "reads version %2)")
                                .arg(formatShortest(version))
                                .arg(kProjectFileVersion));
    if (version != kProjectFileVersion)
        return in.error(ErrorNumber::InvalidPropertyValue,
                        QStringLiteral("Invalid property value: \"%1\" %2 is no version")
                            .arg(kVersionKey, formatShortest(version)));
    return {};
}

Result<ModelRecord> modelOf(const ValueReader &in, const QJsonObject &root) {
    QJsonObject fields;
    VISTREL_TRY_ASSIGN(fields, in.object(root, kModel));
    ModelRecord model;
    VISTREL_TRY_ASSIGN(model.name, in.text(fields, kModel, fieldName(0)));
    if (model.name.isEmpty())
        return in.error(ErrorNumber::InvalidPropertyValue,
                        QStringLiteral("Invalid property value: \"%1\" is empty")
                            .arg(keyPath(kModel, fieldName(0))));
    for (int field = 1; field < kCatalogueFieldCount; ++field) {
        const QString key = fieldName(field);
        if (field == kWideScreenModeField) {
            VISTREL_TRY_ASSIGN(model.wideScreenMode, in.int16(fields, kModel, key));
            continue;
        }
        if (field == kModelDrawFlagField) {
            VISTREL_TRY_ASSIGN(model.drawFlag, in.int16(fields, kModel, key));
            continue;
        }
        double value = 0;
        VISTREL_TRY_ASSIGN(value, in.number(fields, kModel, key));
        if (field < kModelFieldCount) {
            setNumericField(model, field, value);
            continue;
        }
        // The catalogue takes such planner data as unknown; this program
        // never writes it, so the file was changed by hand.
        if (!validPlannerValue(field, value))
            return in.error(ErrorNumber::InvalidPropertyValue,
                            QStringLiteral("Invalid property value: \"%1\" %2 is no planner data")
                                .arg(keyPath(kModel, key), formatShortest(value)));
        plannerField(model, field) = value;
    }
    return model;
}

Result<void> readChoices(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    QJsonObject choices;
    VISTREL_TRY_ASSIGN(choices, in.object(root, kChoices));
    VISTREL_TRY_ASSIGN(d.zoomEnd, in.choice<Zoom>(choices, kChoices, kZoom));
    VISTREL_TRY_ASSIGN(d.screenPosition, in.choice<Position>(choices, kChoices, kPosition));
    VISTREL_TRY_ASSIGN(d.unit, in.choice<Unit>(choices, kChoices, kUnit));
    return {};
}

Result<void> readPicture(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    QJsonObject picture;
    VISTREL_TRY_ASSIGN(picture, in.object(root, kPicture));
    VISTREL_TRY_ASSIGN(d.format.width, in.number(picture, kPicture, kWidth));
    VISTREL_TRY_ASSIGN(d.format.height, in.number(picture, kPicture, kHeight));
    VISTREL_TRY_ASSIGN(d.anamorphic, in.number(picture, kPicture, kAnamorphic));
    if (const Result<PictureFormat> format = checkFormat(d.format); !format)
        return in.error(format.error().number, format.error().description);
    if (const Result<double> factor = checkAnamorphic(d.anamorphic); !factor)
        return in.error(factor.error().number,
                        factor.error().description +
                            QStringLiteral(" (\"%1\" is %2)")
                                .arg(keyPath(kPicture, kAnamorphic), formatShortest(d.anamorphic)));
    return {};
}

Result<void> readLengths(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    QJsonObject inches;
    VISTREL_TRY_ASSIGN(inches, in.object(root, kInches));
    VISTREL_TRY_ASSIGN(d.screenDiagonal, in.number(inches, kInches, kDiagonal));
    if (!(d.screenDiagonal >= 0 && d.screenDiagonal <= kLongestLength))
        return in.error(ErrorNumber::InvalidPropertyValue,
                        QStringLiteral("Invalid property value: \"%1\" %2 is no screen size")
                            .arg(keyPath(kInches, kDiagonal), formatShortest(d.screenDiagonal)));
    VISTREL_TRY_ASSIGN(d.screenWidth, in.number(inches, kInches, kWidth));
    VISTREL_TRY_ASSIGN(d.screenHeight, in.number(inches, kInches, kHeight));
    VISTREL_TRY_ASSIGN(d.projectionDistance, in.number(inches, kInches, kDistance));
    VISTREL_TRY_ASSIGN(d.offset1, in.number(inches, kInches, kOffset1));
    VISTREL_TRY_ASSIGN(d.offset2, in.number(inches, kInches, kOffset2));
    return {};
}

Result<void> readPlanner(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    QJsonObject planner;
    VISTREL_TRY_ASSIGN(planner, in.object(root, kPlanner));
    VISTREL_TRY_ASSIGN(d.planner.gain, in.number(planner, kPlanner, kGain));
    VISTREL_TRY_ASSIGN(d.planner.ambientLux, in.number(planner, kPlanner, kAmbient));
    // Later additions: a file without them has a new light source and no target.
    std::optional<double> age;
    VISTREL_TRY_ASSIGN(age, in.optionalNumber(planner, kPlanner, kLightAge));
    d.planner.lightAge = age.value_or(kNewLight);
    VISTREL_TRY_ASSIGN(d.planner.targetNits, in.optionalNumber(planner, kPlanner, kTargetNits));
    VISTREL_TRY_ASSIGN(d.planner.halfGainAngle, in.optionalNumber(planner, kPlanner, kHalfGain));
    return {};
}

Result<void> readRoom(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    std::optional<QJsonObject> room;
    VISTREL_TRY_ASSIGN(room, in.optionalObject(root, kRoom));
    if (!room)
        return {};
    for (const RoomLength &length : kRoomLengths)
        VISTREL_TRY_ASSIGN(d.room.*length.member, in.optionalNumber(*room, kRoom, length.key));
    std::optional<double> v;
    VISTREL_TRY_ASSIGN(v, in.optionalNumber(*room, kRoom, kHeadClearanceKey));
    d.room.headClearance = v.value_or(kHeadClearance);
    VISTREL_TRY_ASSIGN(v, in.optionalNumber(*room, kRoom, kElementHeightKey));
    d.room.elementHeightPercent = v.value_or(kElementHeightPercent);
    if (!room->contains(kRows))
        return {};
    QJsonArray rows;
    VISTREL_TRY_ASSIGN(rows, in.list(*room, kRoom, kRows));
    // The room's own check bounds the count; this only keeps a huge list from being taken in.
    if (static_cast<std::size_t>(rows.size()) > kMostSeatRows)
        return in.error(ErrorNumber::InvalidPropertyValue,
                        QStringLiteral("Invalid property value: \"%1\" holds more than %2 rows")
                            .arg(keyPath(kRoom, kRows))
                            .arg(kMostSeatRows));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString path = QStringLiteral("%1.%2[%3]").arg(kRoom, kRows).arg(i);
        QJsonObject row;
        VISTREL_TRY_ASSIGN(row, in.item(rows.at(i), path));
        SeatRow seat;
        VISTREL_TRY_ASSIGN(seat.distance, in.number(row, path, kDistance));
        VISTREL_TRY_ASSIGN(seat.eyeHeight, in.number(row, path, kEyeHeight));
        d.room.rows.push_back(seat);
    }
    return {};
}

Result<void> readDetails(const ValueReader &in, const QJsonObject &root, ProjectFileData &d) {
    std::optional<QJsonObject> project;
    VISTREL_TRY_ASSIGN(project, in.optionalObject(root, kProject));
    if (!project)
        return {};
    for (const DetailText &text : kDetailTexts) {
        if (project->contains(text.key))
            VISTREL_TRY_ASSIGN(d.details.*text.member, in.text(*project, kProject, text.key));
    }
    return {};
}

QJsonObject roomObject(const RoomSettings &room) {
    QJsonObject o;
    for (const RoomLength &length : kRoomLengths) {
        if (const std::optional<double> v = room.*length.member)
            o.insert(length.key, *v);
    }
    o.insert(kHeadClearanceKey, room.headClearance);
    o.insert(kElementHeightKey, room.elementHeightPercent);
    QJsonArray rows;
    for (const SeatRow &row : room.rows)
        rows.append(QJsonObject{{kDistance, row.distance}, {kEyeHeight, row.eyeHeight}});
    o.insert(kRows, rows);
    return o;
}

QJsonObject detailsObject(const ProjectDetails &details) {
    QJsonObject o;
    for (const DetailText &text : kDetailTexts) {
        if (!(details.*text.member).isEmpty())
            o.insert(text.key, details.*text.member);
    }
    return o;
}

} // namespace

bool isProjectFileName(const QString &path) {
    return path.endsWith(kExtension, Qt::CaseInsensitive);
}

QString projectFileNameFor(const QString &path) {
    if (path.endsWith(kCalcFileExtension, Qt::CaseInsensitive))
        return path.chopped(kCalcFileExtension.size()) + kExtension;
    return path + kExtension;
}

bool startsAsProjectFile(QByteArrayView start) {
    for (const char c : withoutBom(start)) {
        if (!isJsonSpace(c))
            return c == '{';
    }
    return false;
}

QByteArray formatProjectFile(const ProjectFileData &d) {
    QJsonObject model;
    model.insert(fieldName(0), d.model.name);
    for (int field = 1; field < kModelFieldCount; ++field)
        model.insert(fieldName(field), numericField(d.model, field));
    ModelRecord planner = d.model;
    for (int field = kModelFieldCount; field < kCatalogueFieldCount; ++field)
        model.insert(fieldName(field), plannerField(planner, field));

    QJsonObject root;
    root.insert(kFormatKey, kFormatTag);
    root.insert(kVersionKey, kProjectFileVersion);
    root.insert(kModel, model);
    root.insert(kChoices, QJsonObject{{kZoom, QLatin1String(info(d.zoomEnd).cli)},
                                      {kPosition, QLatin1String(info(d.screenPosition).cli)},
                                      {kUnit, QLatin1String(info(d.unit).cli)}});
    root.insert(kPicture, QJsonObject{{kWidth, d.format.width},
                                      {kHeight, d.format.height},
                                      {kAnamorphic, d.anamorphic}});
    root.insert(kInches, QJsonObject{{kDiagonal, d.screenDiagonal},
                                     {kWidth, d.screenWidth},
                                     {kHeight, d.screenHeight},
                                     {kDistance, d.projectionDistance},
                                     {kOffset1, d.offset1},
                                     {kOffset2, d.offset2}});
    QJsonObject inputs{{kGain, d.planner.gain}, {kAmbient, d.planner.ambientLux}};
    // Written only when they say more than a file without them, which stays as it was.
    if (d.planner.lightAge != kNewLight)
        inputs.insert(kLightAge, d.planner.lightAge);
    if (d.planner.targetNits)
        inputs.insert(kTargetNits, *d.planner.targetNits);
    if (d.planner.halfGainAngle)
        inputs.insert(kHalfGain, *d.planner.halfGainAngle);
    root.insert(kPlanner, inputs);
    if (!d.room.isEmpty())
        root.insert(kRoom, roomObject(d.room));
    if (!d.details.isEmpty())
        root.insert(kProject, detailsObject(d.details));
    // Qt writes each double with the digits that read it back unchanged.
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Result<ProjectFileData> parseProjectFile(QByteArrayView bytes, const QString &name) {
    const ValueReader in(name);
    const QByteArrayView json = withoutBom(bytes);
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parsed);
    if (parsed.error != QJsonParseError::NoError)
        return syntaxError(in, json, parsed, bytes.size() - json.size());
    if (!document.isObject())
        return noProject(in, QStringLiteral("no JSON object"));
    const QJsonObject root = document.object();
    // A newer file is refused as such before its keys could seem wrong.
    VISTREL_TRY(checkVersion(in, root));
    ProjectFileData d;
    VISTREL_TRY_ASSIGN(d.model, modelOf(in, root));
    VISTREL_TRY(readChoices(in, root, d));
    VISTREL_TRY(readPicture(in, root, d));
    VISTREL_TRY(readLengths(in, root, d));
    VISTREL_TRY(readPlanner(in, root, d));
    VISTREL_TRY(readRoom(in, root, d));
    VISTREL_TRY(readDetails(in, root, d));
    return d;
}

Result<ProjectFileData> readProjectFile(QIODevice &device, const QString &name) {
    QByteArray bytes;
    VISTREL_TRY_ASSIGN(bytes, readDeviceBytes(device, name, kProjectFileMaxBytes));
    return parseProjectFile(bytes, name);
}

Result<ProjectFileData> readProjectFile(const QString &path) {
    QFile file(path);
    VISTREL_TRY(openForReading(file));
    return readProjectFile(file, path);
}

Result<void> writeProjectFile(const QString &path, const ProjectFileData &data) {
    return writeFileAtomically(path, formatProjectFile(data));
}

} // namespace vistrel
