#include "files/calcfile.h"

#include "core/choices.h"
#include "core/numbers.h"
#include "files/filewriter.h"
#include "files/textfile.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace vistrel {

namespace {

// Item kinds of the 34 lines, in order.
enum class Kind { String, Float, Int16 };

AppError itemError(ErrorNumber number, int line, const QString &what,
                   const QString &file = QString()) {
    return makeError(number, QStringLiteral("%1 in line %2 of the calculation file%3")
                                 .arg(what)
                                 .arg(line)
                                 .arg(file.isEmpty() ? file : QStringLiteral(" ") + file));
}

// A string item: everything between the first and the last quotation mark of
// its line (a name may itself hold quotation marks); a line without them is
// taken as it stands, without its surrounding spaces.
QString readString(const QString &line) {
    const qsizetype first = line.indexOf(u'"');
    const qsizetype last = line.lastIndexOf(u'"');
    if (first < 0)
        return line.trimmed();
    if (last == first)
        return line.mid(first + 1);
    return line.mid(first + 1, last - first - 1);
}

class ItemReader {
public:
    explicit ItemReader(const QStringList &lines) : lines_(lines) {}

    Result<QString> string() {
        const QString *line = nullptr;
        VISTREL_TRY_ASSIGN(line, next());
        return readString(*line);
    }

    Result<double> number() {
        const QString *line = nullptr;
        VISTREL_TRY_ASSIGN(line, next());
        const auto value = parseNumber(*line);
        if (value)
            return *value;
        // A number too large for a double is an overflow, anything else not a number.
        if (std::isinf(leadingNumber(*line)))
            return itemError(ErrorNumber::Overflow, line_, QStringLiteral("Overflow"));
        return itemError(ErrorNumber::TypeMismatch, line_, QStringLiteral("Type mismatch"));
    }

    Result<std::int16_t> int16() {
        double value = 0;
        VISTREL_TRY_ASSIGN(value, number());
        const auto integer = roundToInt16(value);
        if (!integer)
            return itemError(ErrorNumber::Overflow, line_, QStringLiteral("Overflow"));
        return *integer;
    }

private:
    Result<const QString *> next() {
        if (line_ >= kCalcFileItems || line_ >= lines_.size())
            return itemError(ErrorNumber::InputPastEndOfFile, line_ + 1,
                             QStringLiteral("Input past end of file: no item"));
        return &lines_.at(line_++);
    }

    const QStringList &lines_;
    int line_ = 0;
};

QByteArray number(double value) {
    return formatShortest(value).toLatin1();
}

} // namespace

QByteArray formatCalcFile(const CalcFileData &d) {
    QByteArray out;
    auto line = [&out](const QByteArray &item) {
        out += item;
        out += "\r\n";
    };
    line('"' + d.model.name.toUtf8() + '"');
    for (int field = 1; field < kModelFieldCount; ++field) {
        const double v = numericField(d.model, field);
        line(field == kWideScreenModeField || field == kModelDrawFlagField
                 ? QByteArray::number(static_cast<int>(v))
                 : number(v));
    }
    line(QByteArray::number(codeOf(d.zoomEnd)));
    line(QByteArray::number(codeOf(d.screenPosition)));
    line(number(d.aspectRatio));
    line(number(d.aspectHeight));
    line(number(d.aspectWidth));
    line(QByteArray::number(codeOf(d.unit)));
    line(number(d.screenWidth));
    line(number(d.screenHeight));
    line(number(d.screenDiagonal));
    line(number(d.projectionDistance));
    line(number(d.offsetA));
    line(number(d.offsetB));
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
        line(QByteArray::number(d.offsetCount[zoom]));
    line(number(d.maxDistance));
    return out;
}

namespace {

// Collects the lines of the 34 items and stops reading there: whatever a
// file holds after them (notes, a newer program's additions) is not ours.
class ItemLines {
public:
    Result<LineStep> take(QStringView line) {
        lines.append(line.toString());
        return lines.size() < kCalcFileItems ? LineStep::More : LineStep::Stop;
    }

    QStringList lines;
};

LineSink sinkOf(ItemLines &items) {
    return [&items](QStringView line) { return items.take(line); };
}

Result<CalcFileData> itemsOf(const QStringList &lines) {
    ItemReader in(lines);
    CalcFileData d;
    VISTREL_TRY_ASSIGN(d.model.name, in.string());
    for (int field = 1; field < kModelFieldCount; ++field) {
        if (field == kWideScreenModeField) {
            VISTREL_TRY_ASSIGN(d.model.wideScreenMode, in.int16());
        } else if (field == kModelDrawFlagField) {
            VISTREL_TRY_ASSIGN(d.model.drawFlag, in.int16());
        } else {
            double v = 0;
            VISTREL_TRY_ASSIGN(v, in.number());
            setNumericField(d.model, field, v);
        }
    }
    std::int16_t zoom = 0, position = 0, unit = 0;
    std::array<std::int16_t, 2> offsetCount{};
    VISTREL_TRY_ASSIGN(zoom, in.int16());
    VISTREL_TRY_ASSIGN(position, in.int16());
    VISTREL_TRY_ASSIGN(d.aspectRatio, in.number());
    VISTREL_TRY_ASSIGN(d.aspectHeight, in.number());
    VISTREL_TRY_ASSIGN(d.aspectWidth, in.number());
    VISTREL_TRY_ASSIGN(unit, in.int16());
    VISTREL_TRY_ASSIGN(d.screenWidth, in.number());
    VISTREL_TRY_ASSIGN(d.screenHeight, in.number());
    VISTREL_TRY_ASSIGN(d.screenDiagonal, in.number());
    VISTREL_TRY_ASSIGN(d.projectionDistance, in.number());
    VISTREL_TRY_ASSIGN(d.offsetA, in.number());
    VISTREL_TRY_ASSIGN(d.offsetB, in.number());
    VISTREL_TRY_ASSIGN(offsetCount[0], in.int16());
    VISTREL_TRY_ASSIGN(offsetCount[1], in.int16());
    VISTREL_TRY_ASSIGN(d.maxDistance, in.number());
    d.offsetCount.ends = {offsetCount[0], offsetCount[1]};

    // The codes are checked once every item has been read, so that a file
    // cut short says so first.
    const std::optional<Zoom> zoomEnd = choiceOf<Zoom>(zoom);
    if (!zoomEnd)
        return itemError(ErrorNumber::InvalidPropertyValue, 20,
                         QStringLiteral("Invalid property value: zoom end %1").arg(zoom));
    const std::optional<Position> screenPosition = choiceOf<Position>(position);
    if (!screenPosition)
        return itemError(ErrorNumber::InvalidPropertyValue, 21,
                         QStringLiteral("Invalid property value: position %1").arg(position));
    const std::optional<Unit> unitChoice = choiceOf<Unit>(unit);
    if (!unitChoice)
        return itemError(ErrorNumber::InvalidPropertyValue, 25,
                         QStringLiteral("Invalid property value: unit %1").arg(unit));
    d.zoomEnd = *zoomEnd;
    d.screenPosition = *screenPosition;
    d.unit = *unitChoice;
    return d;
}

// The file's own errors name the file; errors of the reader name it already.
Result<CalcFileData> itemsOfFile(const Result<void> &read, const ItemLines &items,
                                 const QString &name) {
    if (!read)
        return read.error();
    Result<CalcFileData> data = itemsOf(items.lines);
    if (!data)
        return makeError(data.error().number,
                         data.error().description + QStringLiteral(" ") + name);
    return data;
}

} // namespace

Result<CalcFileData> parseCalcFile(const QString &text) {
    ItemLines items;
    VISTREL_TRY(forEachLine(text, sinkOf(items)));
    return itemsOf(items.lines);
}

Result<CalcFileData> readCalcFile(QIODevice &device, const QString &name) {
    ItemLines items;
    const Result<void> read = readTextLines(device, name, kCalcFileLimits, sinkOf(items));
    return itemsOfFile(read, items, name);
}

Result<CalcFileData> readCalcFile(const QString &path) {
    ItemLines items;
    const Result<void> read = readTextLines(path, kCalcFileLimits, sinkOf(items));
    return itemsOfFile(read, items, path);
}

Result<void> writeCalcFile(const QString &path, const CalcFileData &data) {
    return writeFileAtomically(path, formatCalcFile(data));
}

} // namespace vistrel
