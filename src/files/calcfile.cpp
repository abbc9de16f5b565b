#include "files/calcfile.h"

#include "core/helpers.h"
#include "core/numbers.h"
#include "core/textfile.h"

#include <cmath>

namespace vistrel {

namespace {

// Item kinds of the 34 lines, in order.
enum class Kind { String, Float, Int16 };

AppError itemError(ErrorNumber number, int line, const QString &what) {
    return makeError(number,
                     QStringLiteral("%1 in line %2 of the calculation file").arg(what).arg(line));
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

CalcFileData snapshotCalculation(const Calculator &calculator) {
    const CalcState &s = calculator.state();
    CalcFileData d;
    if (const ModelRecord *model = calculator.currentModel())
        d.model = *model;
    d.zoomEnd = static_cast<std::int16_t>(s.zoomEnd);
    d.screenPosition = static_cast<std::int16_t>(s.screenPosition);
    d.aspectRatio = s.aspectRatio;
    d.aspectHeight = s.aspectHeight;
    d.aspectWidth = s.aspectWidth;
    d.unitCode = static_cast<std::int16_t>(s.unitCode);
    d.screenWidth = s.screenWidth;
    d.screenHeight = s.screenHeight;
    d.screenDiagonal = s.screenDiagonal;
    d.projectionDistance = s.projectionDistance;
    d.offsetA = s.offsetA;
    d.offsetB = s.offsetB;
    d.offsetCount = {static_cast<std::int16_t>(s.offsetCount[0]),
                     static_cast<std::int16_t>(s.offsetCount[1])};
    d.maxDistance = s.maxDistance;
    return d;
}

QByteArray formatCalcFile(const CalcFileData &d) {
    QByteArray out;
    auto line = [&out](const QByteArray &item) {
        out += item;
        out += "\r\n";
    };
    line('"' + d.model.modelName.toUtf8() + '"');
    for (int field = 1; field < kModelFieldCount; ++field) {
        const double v = numericField(d.model, field);
        line(field == kWideScreenModeField || field == kModelDrawFlagField
                 ? QByteArray::number(static_cast<int>(v))
                 : number(v));
    }
    line(QByteArray::number(d.zoomEnd));
    line(QByteArray::number(d.screenPosition));
    line(number(d.aspectRatio));
    line(number(d.aspectHeight));
    line(number(d.aspectWidth));
    line(QByteArray::number(d.unitCode));
    line(number(d.screenWidth));
    line(number(d.screenHeight));
    line(number(d.screenDiagonal));
    line(number(d.projectionDistance));
    line(number(d.offsetA));
    line(number(d.offsetB));
    line(QByteArray::number(d.offsetCount[0]));
    line(QByteArray::number(d.offsetCount[1]));
    line(number(d.maxDistance));
    return out;
}

Result<CalcFileData> parseCalcFile(const QString &text) {
    const QStringList lines = splitLines(text);
    ItemReader in(lines);
    CalcFileData d;
    VISTREL_TRY_ASSIGN(d.model.modelName, in.string());
    for (int field = 1; field < kModelFieldCount; ++field) {
        if (field == kWideScreenModeField) {
            VISTREL_TRY_ASSIGN(d.model.wideScreenMode, in.int16());
        } else if (field == kModelDrawFlagField) {
            VISTREL_TRY_ASSIGN(d.model.modelDrawFlag, in.int16());
        } else {
            double v = 0;
            VISTREL_TRY_ASSIGN(v, in.number());
            setNumericField(d.model, field, v);
        }
    }
    VISTREL_TRY_ASSIGN(d.zoomEnd, in.int16());
    VISTREL_TRY_ASSIGN(d.screenPosition, in.int16());
    VISTREL_TRY_ASSIGN(d.aspectRatio, in.number());
    VISTREL_TRY_ASSIGN(d.aspectHeight, in.number());
    VISTREL_TRY_ASSIGN(d.aspectWidth, in.number());
    VISTREL_TRY_ASSIGN(d.unitCode, in.int16());
    VISTREL_TRY_ASSIGN(d.screenWidth, in.number());
    VISTREL_TRY_ASSIGN(d.screenHeight, in.number());
    VISTREL_TRY_ASSIGN(d.screenDiagonal, in.number());
    VISTREL_TRY_ASSIGN(d.projectionDistance, in.number());
    VISTREL_TRY_ASSIGN(d.offsetA, in.number());
    VISTREL_TRY_ASSIGN(d.offsetB, in.number());
    VISTREL_TRY_ASSIGN(d.offsetCount[0], in.int16());
    VISTREL_TRY_ASSIGN(d.offsetCount[1], in.int16());
    VISTREL_TRY_ASSIGN(d.maxDistance, in.number());

    if (d.zoomEnd < 0 || d.zoomEnd > 1)
        return itemError(ErrorNumber::InvalidPropertyValue, 20,
                         QStringLiteral("Invalid property value: zoom end %1").arg(d.zoomEnd));
    if (d.screenPosition < 0 || d.screenPosition > 1)
        return itemError(
            ErrorNumber::InvalidPropertyValue, 21,
            QStringLiteral("Invalid property value: position %1").arg(d.screenPosition));
    if (d.unitCode < 0 || d.unitCode > 2)
        return itemError(ErrorNumber::InvalidPropertyValue, 25,
                         QStringLiteral("Invalid property value: unit %1").arg(d.unitCode));
    return d;
}

Result<CalcFileData> readCalcFile(const QString &path) {
    const Result<QString> text = readTextFile(path);
    if (!text)
        return text.error();
    Result<CalcFileData> data = parseCalcFile(*text);
    if (!data)
        return makeError(data.error().number,
                         data.error().description + QStringLiteral(" ") + path);
    return data;
}

Status writeCalcFile(const QString &path, const CalcFileData &data) {
    return writeFileAtomically(path, formatCalcFile(data));
}

Status saveCalculateFile(Calculator &calculator, SaveKind kind,
                         const std::function<QString()> &askName, bool *named) {
    QString fileName = kind == SaveKind::Save ? calculator.currentFileName() : QString();
    if (named)
        *named = false;
    if (fileName.isEmpty() || !fileExists(fileName)) {
        fileName = askName();
        if (fileName.isEmpty()) {
            if (kind == SaveKind::Save)
                calculator.setCurrentFileName(QString());
            return std::nullopt;
        }
        calculator.setCurrentFileName(fileName);
        if (named)
            *named = true;
    }
    return writeCalcFile(fileName, snapshotCalculation(calculator));
}

Status openCalculationFile(Calculator &calculator, const QString &path) {
    const Result<CalcFileData> data = readCalcFile(path);
    if (!data)
        return data.error();
    RestoreRequest request;
    request.model = data->model;
    request.zoomEnd = data->zoomEnd;
    request.screenPosition = data->screenPosition;
    request.aspectHeight = data->aspectHeight;
    request.aspectWidth = data->aspectWidth;
    request.unitCode = data->unitCode;
    request.screenDiagonal = data->screenDiagonal;
    if (Status s = calculator.restore(request))
        return s;
    calculator.setCurrentFileName(path);
    return std::nullopt;
}

QString captionWithFile(const QString &appTitle, const QString &path) {
    return appTitle + QStringLiteral(" [") + stripExtension(fileNameOfPath(path)) +
           QStringLiteral("]");
}

} // namespace vistrel
