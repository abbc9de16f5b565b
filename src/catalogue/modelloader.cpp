#include "catalogue/modelloader.h"

#include "core/numbers.h"
#include "core/textfile.h"

#include <array>
#include <cmath>

namespace vistrel {

namespace {

QString trimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

AppError overflowAt(const QString &path, qsizetype lineNumber, int field) {
    return makeError(ErrorNumber::Overflow,
                     QStringLiteral("Overflow: line %1, field %2 of %3 is out of range")
                         .arg(lineNumber)
                         .arg(field)
                         .arg(path));
}

// Takes the lines of a model information file one by one: the header, then
// one model per line, refusing the file at its 1001st model.
class ModelLines {
public:
    explicit ModelLines(const QString &name) : name_(name) {}

    Result<LineStep> take(QStringView line) {
        ++lineNumber_;
        if (lineNumber_ == 1)
            return LineStep::More; // the header is never a model
        std::array<QStringView, kCatalogueFieldCount> fields{};
        qsizetype start = 0;
        for (int f = 0; f < kCatalogueFieldCount && start <= line.size(); ++f) {
            qsizetype comma = start;
            while (comma < line.size() && line[comma] != u',')
                ++comma;
            fields[static_cast<std::size_t>(f)] = line.sliced(start, comma - start);
            start = comma + 1;
        }

        QString name = trimSpaces(fields[0]);
        if (name.isEmpty())
            return LineStep::More;
        ModelRecord record;
        record.ModelName = std::move(name);
        for (int f = 1; f < kModelFieldCount; ++f) {
            const double value = leadingNumber(fields[static_cast<std::size_t>(f)]);
            if (!std::isfinite(value))
                return overflowAt(name_, lineNumber_, f);
            if (f == kWideScreenModeField || f == kModelDrawFlagField) {
                const auto integer = roundToInt16(value);
                if (!integer)
                    return overflowAt(name_, lineNumber_, f);
                (f == kWideScreenModeField ? record.WideScreenMode : record.ModelDrawFlag) =
                    *integer;
            } else {
                setNumericField(record, f, value);
            }
        }
        for (int f = kModelFieldCount; f < kCatalogueFieldCount; ++f) {
            const double value = leadingNumber(fields[static_cast<std::size_t>(f)]);
            if (!std::isfinite(value))
                return overflowAt(name_, lineNumber_, f);
            // Empty or 0 is unknown; below 0 (or a light factor above 1) is an error.
            const bool factor = f == kModelFieldCount + 1;
            if (value < 0 || (factor && value > 1))
                return makeError(ErrorNumber::InvalidPropertyValue,
                                 QStringLiteral("Invalid property value: line %1, field %2 (%3) "
                                                "of %4 must be %5")
                                     .arg(lineNumber_)
                                     .arg(f)
                                     .arg(plannerFieldName(f), name_,
                                          factor ? QStringLiteral("between 0 and 1")
                                                 : QStringLiteral("0 or more")));
            plannerField(record, f) = value;
        }
        if (models.size() >= static_cast<std::size_t>(kModelCapacity))
            return makeError(ErrorNumber::SubscriptOutOfRange,
                             QStringLiteral("Subscript out of range: %1 lists more than %2 models "
                                            "(line %3)")
                                 .arg(name_)
                                 .arg(kModelCapacity)
                                 .arg(lineNumber_));
        models.push_back(std::move(record));
        return LineStep::More;
    }

    std::vector<ModelRecord> models;

private:
    const QString &name_;
    qsizetype lineNumber_ = 0;
};

Result<std::vector<ModelRecord>> modelsOr(ModelLines &lines, const Result<void> &read) {
    if (!read)
        return read.error();
    return std::move(lines.models);
}

LineSink sinkOf(ModelLines &lines) {
    return [&lines](QStringView line) { return lines.take(line); };
}

} // namespace

Result<std::vector<ModelRecord>> parseCatalogue(const QString &text, const QString &path) {
    ModelLines lines(path);
    return modelsOr(lines, forEachLine(text, sinkOf(lines)));
}

Result<std::vector<ModelRecord>> loadCatalogue(const QString &path, QByteArray *bytesRead) {
    ModelLines lines(path);
    return modelsOr(lines, readTextLines(path, kCatalogueLimits, sinkOf(lines), bytesRead));
}

Result<std::vector<ModelRecord>> loadCatalogue(QIODevice &device, const QString &name) {
    ModelLines lines(name);
    return modelsOr(lines, readTextLines(device, name, kCatalogueLimits, sinkOf(lines)));
}

} // namespace vistrel
