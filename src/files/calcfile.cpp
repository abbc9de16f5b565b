#include "files/calcfile.h"

#include "core/choices.h"
#include "core/filewriter.h"
#include "core/numbers.h"
#include "core/textfile.h"

#include <cmath>

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
    line('"' + d.model.ModelName.toUtf8() + '"');
    for (int field = 1; field < kModelFieldCount; ++field) {
        const double v = numericField(d.model, field);
        line(field == kWideScreenModeField || field == kModelDrawFlagField
                 ? QByteArray::number(static_cast<int>(v))
                 : number(v));
    }
    line(QByteArray::number(d.ZoomEnd));
    line(QByteArray::number(d.ScreenPosition));
    line(number(d.AspectRatio));
    line(number(d.AspectHeight));
    line(number(d.AspectWidth));
    line(QByteArray::number(d.UnitCode));
    line(number(d.ScreenWidth));
    line(number(d.ScreenHeight));
    line(number(d.ScreenDiagonal));
    line(number(d.ProjectionDistance));
    line(number(d.OffsetA));
    line(number(d.OffsetB));
    line(QByteArray::number(d.OffsetCount[0]));
    line(QByteArray::number(d.OffsetCount[1]));
    line(number(d.MaxDistance));
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
    VISTREL_TRY_ASSIGN(d.model.ModelName, in.string());
    for (int field = 1; field < kModelFieldCount; ++field) {
        if (field == kWideScreenModeField) {
            VISTREL_TRY_ASSIGN(d.model.WideScreenMode, in.int16());
        } else if (field == kModelDrawFlagField) {
            VISTREL_TRY_ASSIGN(d.model.ModelDrawFlag, in.int16());
        } else {
            double v = 0;
            VISTREL_TRY_ASSIGN(v, in.number());
            setNumericField(d.model, field, v);
        }
    }
    VISTREL_TRY_ASSIGN(d.ZoomEnd, in.int16());
    VISTREL_TRY_ASSIGN(d.ScreenPosition, in.int16());
    VISTREL_TRY_ASSIGN(d.AspectRatio, in.number());
    VISTREL_TRY_ASSIGN(d.AspectHeight, in.number());
    VISTREL_TRY_ASSIGN(d.AspectWidth, in.number());
    VISTREL_TRY_ASSIGN(d.UnitCode, in.int16());
    VISTREL_TRY_ASSIGN(d.ScreenWidth, in.number());
    VISTREL_TRY_ASSIGN(d.ScreenHeight, in.number());
    VISTREL_TRY_ASSIGN(d.ScreenDiagonal, in.number());
    VISTREL_TRY_ASSIGN(d.ProjectionDistance, in.number());
    VISTREL_TRY_ASSIGN(d.OffsetA, in.number());
    VISTREL_TRY_ASSIGN(d.OffsetB, in.number());
    VISTREL_TRY_ASSIGN(d.OffsetCount[0], in.int16());
    VISTREL_TRY_ASSIGN(d.OffsetCount[1], in.int16());
    VISTREL_TRY_ASSIGN(d.MaxDistance, in.number());

    if (!choiceOf<Zoom>(d.ZoomEnd))
        return itemError(ErrorNumber::InvalidPropertyValue, 20,
                         QStringLiteral("Invalid property value: zoom end %1").arg(d.ZoomEnd));
    if (!choiceOf<Position>(d.ScreenPosition))
        return itemError(
            ErrorNumber::InvalidPropertyValue, 21,
            QStringLiteral("Invalid property value: position %1").arg(d.ScreenPosition));
    if (!choiceOf<Unit>(d.UnitCode))
        return itemError(ErrorNumber::InvalidPropertyValue, 25,
                         QStringLiteral("Invalid property value: unit %1").arg(d.UnitCode));
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
