#include "files/modelloader.h"

#include "core/numbers.h"
#include "files/textfile.h"

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

// The diagonal limits as (smallest, largest) field pairs, and the zoom end each belongs to.
struct LimitPair {
    int min;
    int max;
    Zoom zoom;
};
constexpr int kFirst169LimitField = 15;
constexpr std::array<LimitPair, 4> kLimitPairs = {{
    {1, 2, Zoom::Wide},
    {3, 4, Zoom::Tele},
    {15, 16, Zoom::Wide},
    {17, 18, Zoom::Tele},
}};
// The slope of each zoom end's lens line; its intercept follows it.
constexpr std::array<int, 2> kSlopeFields = {5, 7};

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
        record.name = std::move(name);
        for (int f = 1; f < kModelFieldCount; ++f) {
            const QStringView text = fields[static_cast<std::size_t>(f)];
            const double value = leadingNumber(text);
            if (!std::isfinite(value))
                return overflowAt(name_, lineNumber_, f);
            if (!trimSpaces(text).isEmpty() && !startsWithNumber(text))
                note(catalogue.doubts, CatalogueNote::Kind::TextReadAsZero, f, text);
            if (f == kWideScreenModeField || f == kModelDrawFlagField) {
                const auto integer = roundToInt16(value);
                if (!integer)
                    return overflowAt(name_, lineNumber_, f);
                (f == kWideScreenModeField ? record.wideScreenMode : record.drawFlag) = *integer;
            } else {
                setNumericField(record, f, value);
            }
        }
        // The planner's fields never make a file unusable: what they cannot
        // give stays unknown, and the user is told which.
        for (int f = kModelFieldCount; f < kCatalogueFieldCount; ++f) {
            const QStringView text = fields[static_cast<std::size_t>(f)];
            const double value = leadingNumber(text);
            if (validPlannerValue(f, value))
                plannerField(record, f) = value;
            else
                note(catalogue.warnings, CatalogueNote::Kind::PlannerUnknown, f, text);
        }
        noteDoubtfulLimits(record, fields);
        if (catalogue.models.size() >= static_cast<std::size_t>(kModelCapacity))
            return makeError(ErrorNumber::SubscriptOutOfRange,
                             QStringLiteral("Subscript out of range: %1 lists more than %2 models "
                                            "(line %3)")
                                 .arg(name_)
                                 .arg(kModelCapacity)
                                 .arg(lineNumber_));
        catalogue.models.push_back(std::move(record));
        return LineStep::More;
    }

    Catalogue catalogue;

private:
    void note(std::vector<CatalogueNote> &notes, CatalogueNote::Kind kind, int field,
              QStringView text) {
        notes.push_back({kind, lineNumber_, field, trimSpaces(text)});
    }

    void noteDoubtfulLimits(const ModelRecord &record,
                            const std::array<QStringView, kCatalogueFieldCount> &fields) {
        std::array<bool, 2> limited{};
        for (const LimitPair &pair : kLimitPairs) {
            // 16 : 9 limits of a model without 16 : 9 are never used.
            if (pair.min >= kFirst169LimitField && !record.offers169())
                continue;
            const double min = numericField(record, pair.min);
            const double max = numericField(record, pair.max);
            const QStringView maxText = fields[static_cast<std::size_t>(pair.max)];
            // A largest diagonal written as text was noted as such already.
            if (max < min && startsWithNumber(maxText))
                note(catalogue.doubts, CatalogueNote::Kind::LimitsReversed, pair.max, maxText);
            if (min != 0 || max != 0)
                limited[static_cast<std::size_t>(pair.zoom)] = true;
        }
        // Lens numbers written as zeros mark an end the model lacks on purpose;
        // limits beside a lens line that is missing or text are a slip.
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
            const int slope = kSlopeFields[static_cast<std::size_t>(zoom)];
            const bool written = startsWithNumber(fields[static_cast<std::size_t>(slope)]) ||
                                 startsWithNumber(fields[static_cast<std::size_t>(slope + 1)]);
            if (limited[static_cast<std::size_t>(zoom)] && !record.hasEnd(zoom) && !written)
                note(catalogue.doubts, CatalogueNote::Kind::LimitWithoutLens, slope,
                     fields[static_cast<std::size_t>(slope)]);
        }
    }

    const QString &name_;
    qsizetype lineNumber_ = 0;
};

Result<Catalogue> catalogueOr(ModelLines &lines, const Result<void> &read) {
    if (!read)
        return read.error();
    return std::move(lines.catalogue);
}

LineSink sinkOf(ModelLines &lines) {
    return [&lines](QStringView line) { return lines.take(line); };
}

} // namespace

QString CatalogueNote::describe() const {
    QString what;
    switch (kind) {
    case Kind::PlannerUnknown:
        what = QStringLiteral("not valid planner data, taken as unknown");
        break;
    case Kind::TextReadAsZero:
        what = QStringLiteral("no number, read as 0");
        break;
    case Kind::LimitsReversed:
        what = QStringLiteral("largest diagonal below the smallest");
        break;
    case Kind::LimitWithoutLens:
        what = QStringLiteral("diagonal limits but no lens line at this zoom end");
        break;
    }
    return visibleText(QStringLiteral("line %1, field %2 (%3): \"%4\" - %5")
                           .arg(line)
                           .arg(field)
                           .arg(fieldName(field), value, what));
}

QStringList describeAll(const std::vector<CatalogueNote> &notes) {
    QStringList lines;
    for (const CatalogueNote &note : notes)
        lines << note.describe();
    return lines;
}

Result<Catalogue> parseCatalogue(const QString &text, const QString &path) {
    ModelLines lines(path);
    return catalogueOr(lines, forEachLine(text, sinkOf(lines)));
}

Result<Catalogue> loadCatalogue(const QString &path, QByteArray *bytesRead) {
    ModelLines lines(path);
    return catalogueOr(lines, readTextLines(path, kCatalogueLimits, sinkOf(lines), bytesRead));
}

Result<Catalogue> loadCatalogue(QIODevice &device, const QString &name) {
    ModelLines lines(name);
    return catalogueOr(lines, readTextLines(device, name, kCatalogueLimits, sinkOf(lines)));
}

} // namespace vistrel
