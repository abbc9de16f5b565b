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

} // namespace

Result<std::vector<ModelRecord>> parseModelInfo(const QString &text, const QString &path) {
    std::vector<ModelRecord> models;
    LineCursor cursor(text);
    QStringView line;
    cursor.next(line); // line 1 is the header and is never a model
    for (qsizetype lineIndex = 1; cursor.next(line); ++lineIndex) {
        std::array<QStringView, kModelFieldCount> fields{};
        qsizetype start = 0;
        for (int f = 0; f < kModelFieldCount && start <= line.size(); ++f) {
            qsizetype comma = start;
            while (comma < line.size() && line[comma] != u',')
                ++comma;
            fields[static_cast<std::size_t>(f)] = line.sliced(start, comma - start);
            start = comma + 1;
        }

        ModelRecord record;
        record.ModelName = trimSpaces(fields[0]);
        if (record.ModelName.isEmpty())
            continue;
        for (int f = 1; f < kModelFieldCount; ++f) {
            const double value = leadingNumber(fields[static_cast<std::size_t>(f)]);
            if (!std::isfinite(value))
                return overflowAt(path, lineIndex + 1, f);
            if (f == kWideScreenModeField || f == kModelDrawFlagField) {
                const auto integer = roundToInt16(value);
                if (!integer)
                    return overflowAt(path, lineIndex + 1, f);
                (f == kWideScreenModeField ? record.WideScreenMode : record.ModelDrawFlag) =
                    *integer;
            } else {
                setNumericField(record, f, value);
            }
        }
        if (models.size() >= static_cast<std::size_t>(kModelCapacity))
            return makeError(ErrorNumber::SubscriptOutOfRange,
                             QStringLiteral("Subscript out of range: %1 lists more than %2 models")
                                 .arg(path)
                                 .arg(kModelCapacity));
        models.push_back(std::move(record));
    }
    return models;
}

Result<std::vector<ModelRecord>> LoadModelInfo(const QString &path) {
    const Result<QString> text = readTextFile(path);
    if (!text)
        return text.error();
    return parseModelInfo(*text, path);
}

} // namespace vistrel
