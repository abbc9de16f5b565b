#include "files/modeltable.h"

#include "catalogue/modelrecord.h"
#include "core/numbers.h"
#include "files/filewriter.h"
#include "files/modelloader.h"
#include "files/textfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vistrel {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kLineEnd = u'\n';
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

AppError tooManyRows(const QString &name, qsizetype line) {
    return makeError(ErrorNumber::SubscriptOutOfRange,
                     QStringLiteral("Subscript out of range: %1 holds more than %2 rows (line %3); "
                                    "split it into smaller files")
                         .arg(name, QString::number(kModelTableMaxRows), QString::number(line)));
}

AppError tooLarge(const QString &name) {
    return makeError(ErrorNumber::BadRecordLength,
                     QStringLiteral("Bad record length: %1 is larger than %2 bytes, more than "
                                    "a table of models can hold")
                         .arg(name, QString::number(kModelTableMaxBytes)));
}

// ---- CSV ----

struct Record {
    qsizetype line = 0;
    QStringList cells;
    // A quotation mark opened in it was still open at the end of the text.
    bool unclosed = false;

    bool blank() const {
        return std::all_of(cells.cbegin(), cells.cend(),
                           [](const QString &cell) { return cell.isEmpty(); });
    }
    // Cells past the last one that holds text take no column.
    qsizetype usedCells() const {
        qsizetype used = cells.size();
        while (used > 0 && cells[used - 1].isEmpty())
            --used;
        return used;
    }
};

bool isBlankChar(QChar c) {
    return c == u' ' || c == u'\t';
}

// Splits decoded text (every line ending in LF) into records of cells; a
// quoted cell may hold the separator and line breaks. Each call moves on by
// at least one character, so the walk ends with the text.
class CsvCursor {
public:
    CsvCursor(QStringView text, qsizetype start, qsizetype line, QChar separator)
        : text_(text), pos_(start), line_(line), separator_(separator) {}

    bool next(Record &record) {
        if (pos_ >= text_.size())
            return false;
        record = Record{line_, {}, false};
        for (;;) {
            record.cells.append(cell(record.unclosed));
            if (pos_ >= text_.size())
                return true;
            const QChar stop = text_[pos_++];
            if (stop == kLineEnd) {
                ++line_;
                return true;
            }
        }
    }

private:
    // One cell, up to (not past) its separator or line end.
    QString cell(bool &unclosed) {
        qsizetype start = pos_;
        while (start < text_.size() && isBlankChar(text_[start]))
            ++start;
        QString result;
        if (start < text_.size() && text_[start] == kQuote) {
            pos_ = start + 1;
            unclosed = !quotedText(result);
        }
        // Unquoted text, or whatever a sloppy writer put after the closing quote.
        const qsizetype from = pos_;
        while (pos_ < text_.size() && text_[pos_] != separator_ && text_[pos_] != kLineEnd)
            ++pos_;
        result += text_.sliced(from, pos_ - from).trimmed();
        return result;
    }

    // The text up to the closing quote, "" read as one; false when the text ends first.
    bool quotedText(QString &out) {
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_++];
            if (c != kQuote) {
                if (c == kLineEnd)
                    ++line_;
                out += c;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == kQuote) {
                out += c;
                ++pos_;
                continue;
            }
            return true;
        }
        return false;
    }

    QStringView text_;
    qsizetype pos_;
    qsizetype line_;
    QChar separator_;
};

// Where the header starts (the first line that holds more than spaces) and
// the separator it chooses.
struct CsvHeader {
    qsizetype start = 0;
    qsizetype line = 1;
    QChar separator = u',';
};

std::optional<CsvHeader> findHeader(QStringView text) {
    CsvHeader header;
    for (;;) {
        if (header.start >= text.size())
            return std::nullopt;
        qsizetype end = text.indexOf(kLineEnd, header.start);
        if (end < 0)
            end = text.size();
        if (!text.sliced(header.start, end - header.start).trimmed().isEmpty())
            break;
        header.start = end + 1;
        ++header.line;
    }
    // A quoted name may hold either character, even a line break.
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    bool quoted = false;
    for (qsizetype i = header.start; i < text.size() && (quoted || text[i] != kLineEnd); ++i) {
        const QChar c = text[i];
        if (c == kQuote)
            quoted = !quoted;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    header.separator = semicolons > commas ? u';' : u',';
    return header;
}

bool keepsCommas(const QString &key) {
    return key.compare(u"name", Qt::CaseInsensitive) == 0 ||
           key.compare(u"Model", Qt::CaseInsensitive) == 0 ||
           key.compare(u"ModelName", Qt::CaseInsensitive) == 0;
}

ModelTable unclosedProblem(ModelTable table, qsizetype line) {
    table.problems.push_back(
        {line, QStringLiteral("a quotation mark opened in this row is never closed, so the rest "
                              "of the file was not read")});
    return table;
}

Result<ModelTable> parseCsv(const QByteArray &bytes, const QString &name) {
    QString text;
    VISTREL_TRY_ASSIGN(text, decodeText(bytes));
    ModelTable table;
    const std::optional<CsvHeader> header = findHeader(text);
    if (!header)
        return table;
    CsvCursor cursor(text, header->start, header->line, header->separator);
    Record record;
    if (!cursor.next(record))
        return table;
    if (record.unclosed)
        return unclosedProblem(std::move(table), record.line);

    // An empty key stands for a column that is not read.
    QStringList keys;
    QSet<QString> named;
    for (const QString &cell : record.cells) {
        QString key = cell.trimmed();
        if (!key.isEmpty() && named.contains(key)) {
            table.problems.push_back(
                {record.line,
                 QStringLiteral("the column \"%1\" is named twice; its later column is ignored")
                     .arg(visibleText(key))});
            key.clear();
        }
        named.insert(key);
        keys.append(key);
    }
    const bool decimalCommas = header->separator == u';';

    qsizetype count = 0;
    while (cursor.next(record)) {
        if (record.unclosed)
            return unclosedProblem(std::move(table), record.line);
        if (record.blank())
            continue;
        if (++count > kModelTableMaxRows)
            return tooManyRows(name, record.line);
        if (record.usedCells() > keys.size()) {
            table.problems.push_back(
                {record.line, QStringLiteral("%1 cells, but the header has %2 columns")
                                  .arg(record.usedCells())
                                  .arg(keys.size())});
            continue;
        }
        TermRow row;
        row.line = record.line;
        for (qsizetype i = 0; i < record.cells.size() && i < keys.size(); ++i) {
            QString value = record.cells[i];
            if (keys[i].isEmpty() || value.isEmpty())
                continue;
            if (decimalCommas && !keepsCommas(keys[i]))
                value.replace(u',', u'.');
            row.terms.append({keys[i], value});
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// ---- JSON ----

QString jsonType(const QJsonValue &value) {
    switch (value.type()) {
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

// A member's value as a cell's text; nothing for a value that is left out.
std::optional<QString> jsonText(const QJsonValue &value) {
    switch (value.type()) {
    case QJsonValue::Double:
        return formatShortest(value.toDouble());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::String:
        if (QString text = value.toString(); !text.isEmpty())
            return text;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// JSON is UTF-8 by its own rules. A byte-order mark is skipped; text that is
// no UTF-8 (UTF-16 from a Windows editor, an old code page) is decoded as
// every other text file is, and an error's offset then counts in that text.
Result<QJsonDocument> jsonDocument(const QByteArray &bytes, const QString &name) {
    qsizetype skipped = bytes.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    QByteArray json = bytes.sliced(skipped);
    QString where;
    if (!QByteArrayView(json).isValidUtf8()) {
        QString text;
        VISTREL_TRY_ASSIGN(text, decodeText(bytes));
        json = text.toUtf8();
        skipped = 0;
        where = QStringLiteral(" of its text as UTF-8");
    }
    QJsonParseError parsed{};
    QJsonDocument document = QJsonDocument::fromJson(json, &parsed);
    if (parsed.error != QJsonParseError::NoError)
        return makeError(ErrorNumber::TypeMismatch,
                         QStringLiteral("Type mismatch: %1 is no JSON: %2 at byte %3%4")
                             .arg(name, parsed.errorString(),
                                  QString::number(qsizetype{parsed.offset} + skipped + 1), where));
    if (!document.isArray())
        return makeError(ErrorNumber::TypeMismatch,
                         QStringLiteral("Type mismatch: %1 holds no JSON array of projector "
                                        "models")
                             .arg(name));
    return document;
}

Result<ModelTable> parseJson(const QByteArray &bytes, const QString &name) {
    QJsonDocument document;
    VISTREL_TRY_ASSIGN(document, jsonDocument(bytes, name));
    const QJsonArray array = document.array();
    if (array.size() > kModelTableMaxRows)
        return tooManyRows(name, kModelTableMaxRows + 1);
    ModelTable table;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const qsizetype line = i + 1;
        const QJsonValue element = array.at(i);
        if (!element.isObject()) {
            table.problems.push_back(
                {line, QStringLiteral("%1, not an object").arg(jsonType(element))});
            continue;
        }
        const QJsonObject object = element.toObject();
        TermRow row;
        row.line = line;
        std::optional<QString> nested;
        for (auto member = object.constBegin(); member != object.constEnd() && !nested; ++member) {
            const QJsonValue value = member.value();
            if (value.isArray() || value.isObject())
                nested = member.key();
            else if (std::optional<QString> text = jsonText(value); text && !member.key().isEmpty())
                row.terms.append({member.key(), *text});
        }
        if (nested) {
            table.problems.push_back(
                {line, QStringLiteral("the value of \"%1\" is %2")
                           .arg(visibleText(*nested), jsonType(object.value(*nested)))});
            continue;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// ---- Catalogue ----

QStringView trimSpaces(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text = text.chopped(1);
    return text;
}

// The loader keeps no line numbers; its models are the lines after the
// header whose first field holds more than spaces, in the same order.
Result<std::vector<qsizetype>> modelLines(const QByteArray &bytes, std::size_t models) {
    QString text;
    VISTREL_TRY_ASSIGN(text, decodeText(bytes));
    std::vector<qsizetype> lines;
    LineCursor cursor(text);
    qsizetype number = 0;
    for (QStringView line; lines.size() < models && cursor.next(line);) {
        ++number;
        const qsizetype comma = line.indexOf(u',');
        if (number > 1 && !trimSpaces(comma < 0 ? line : line.first(comma)).isEmpty())
            lines.push_back(number);
    }
    return lines;
}

TermRow catalogueRow(const ModelRecord &record, qsizetype line) {
    TermRow row;
    row.line = line;
    row.terms.append({fieldName(0), record.name});
    for (int field = 1; field < kModelFieldCount; ++field) {
        QString text;
        if (field == kWideScreenModeField)
            text = QString::number(record.wideScreenMode);
        else if (field == kModelDrawFlagField)
            text = QString::number(record.drawFlag);
        else
            text = formatShortest(numericField(record, field));
        row.terms.append({fieldName(field), text});
    }
    ModelRecord planner = record;
    for (int field = kModelFieldCount; field < kCatalogueFieldCount; ++field) {
        if (const double value = plannerField(planner, field); value != 0)
            row.terms.append({fieldName(field), formatShortest(value)});
    }
    return row;
}

Result<ModelTable> parseCatalogueTable(const QByteArray &bytes, const QString &name) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while reading %1").arg(name));
    Catalogue catalogue;
    VISTREL_TRY_ASSIGN(catalogue, loadCatalogue(buffer, name));
    std::vector<qsizetype> lines;
    VISTREL_TRY_ASSIGN(lines, modelLines(bytes, catalogue.models.size()));
    Q_ASSERT(lines.size() == catalogue.models.size());
    ModelTable table;
    for (std::size_t i = 0; i < catalogue.models.size(); ++i)
        table.rows.push_back(catalogueRow(catalogue.models[i], i < lines.size() ? lines[i] : 0));
    return table;
}

// ---- Writing ----

// A row's values by key; the first of a repeated key counts.
QHash<QString, QString> valuesOf(const TermRow &row) {
    QHash<QString, QString> values;
    for (const auto &[key, value] : row.terms) {
        if (!values.contains(key))
            values.insert(key, value);
    }
    return values;
}

// What the reader would otherwise split, trim, take for the separator or,
// at the start of the file, for a byte-order mark.
bool needsQuotes(const QString &cell) {
    if (cell.isEmpty())
        return false;
    if (cell.front().isSpace() || cell.back().isSpace() || cell.front() == QChar::ByteOrderMark)
        return true;
    return std::any_of(cell.cbegin(), cell.cend(), [](QChar c) {
        return c == u',' || c == u';' || c == kQuote || c == u'\r' || c == kLineEnd;
    });
}

QString csvCell(const QString &cell) {
    if (!needsQuotes(cell))
        return cell;
    QString quoted = cell;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

QByteArray formatCsv(const std::vector<TermRow> &rows, const QStringList &columns) {
    const auto line = [&columns](const auto &cellOf) {
        QStringList cells;
        for (const QString &column : columns)
            cells << csvCell(cellOf(column));
        return cells.join(u',') + kLineEnd;
    };
    QString text = line([](const QString &column) { return column; });
    for (const TermRow &row : rows)
        text +=
            line([values = valuesOf(row)](const QString &column) { return values.value(column); });
    return text.toUtf8();
}

QString jsonString(const QString &text) {
    QString out;
    out.reserve(text.size() + 2);
    out += kQuote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == kQuote || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            // Alone it has no UTF-8 form; the escape keeps it.
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += kQuote;
    return out;
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digits = [&]() {
        const qsizetype from = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        return i - from;
    };
    if (i < n && text[i] == u'-')
        ++i;
    if (i < n && text[i] == u'0')
        ++i;
    else if (digits() == 0)
        return false;
    if (i < n && text[i] == u'.') {
        ++i;
        if (digits() == 0)
            return false;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

// A JSON number only where reading it back gives the very same text, so
// "1.360" or a twenty-digit code stays a string and keeps every character.
// Qt reads -0 as 0, so it stays a string too.
QString jsonValue(const QString &cell) {
    if (isJsonNumber(cell)) {
        const QByteArray latin = cell.toLatin1();
        double value = 0;
        const auto [end, ec] =
            std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
        if (ec == std::errc() && end == latin.constData() + latin.size() && std::isfinite(value) &&
            !(value == 0 && std::signbit(value)) && formatShortest(value) == cell)
            return cell;
    }
    return jsonString(cell);
}

QByteArray formatJson(const std::vector<TermRow> &rows, const QStringList &columns) {
    if (rows.empty())
        return QByteArrayLiteral("[]\n");
    QStringList objects;
    for (const TermRow &row : rows) {
        QStringList members;
        const QHash<QString, QString> values = valuesOf(row);
        for (const QString &column : columns) {
            const QString value = values.value(column);
            if (!value.isEmpty())
                members << QStringLiteral("        ") + jsonString(column) + QStringLiteral(": ") +
                               jsonValue(value);
        }
        objects << (members.isEmpty()
                        ? QStringLiteral("    {}")
                        : QStringLiteral("    {\n") + members.join(QStringLiteral(",\n")) +
                              QStringLiteral("\n    }"));
    }
    return (QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"))
        .toUtf8();
}

QByteArray formatCatalogue(const std::vector<TermRow> &rows, const QStringList &columns) {
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = columns.join(u',') + lineEnd;
    for (const TermRow &row : rows) {
        QStringList cells;
        const QHash<QString, QString> values = valuesOf(row);
        for (const QString &column : columns)
            cells << values.value(column);
        text += cells.join(u',') + lineEnd;
    }
    return text.toUtf8();
}

} // namespace

QString jsonCell(const QString &cell) {
    return jsonValue(cell);
}

std::optional<TableFormat> tableFormatOf(const QString &fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"csv")
        return TableFormat::Csv;
    if (suffix == u"json")
        return TableFormat::Json;
    if (suffix == u"ini" || suffix == u"txt")
        return TableFormat::Catalogue;
    return std::nullopt;
}

Result<ModelTable> parseModelTable(const QByteArray &bytes, TableFormat format,
                                   const QString &name) {
    if (bytes.size() > kModelTableMaxBytes)
        return tooLarge(name);
    switch (format) {
    case TableFormat::Csv:
        return parseCsv(bytes, name);
    case TableFormat::Json:
        return parseJson(bytes, name);
    case TableFormat::Catalogue:
        return parseCatalogueTable(bytes, name);
    }
    return makeError(ErrorNumber::InvalidArgument,
                     QStringLiteral("Invalid argument: no table format for %1").arg(name));
}

Result<ModelTable> readModelTable(const QString &path, TableFormat format) {
    QByteArray bytes;
    VISTREL_TRY_ASSIGN(bytes, readFileBytes(path, kModelTableMaxBytes));
    return parseModelTable(bytes, format, path);
}

QByteArray formatModelTable(const std::vector<TermRow> &rows, const QStringList &columns,
                            TableFormat format) {
    switch (format) {
    case TableFormat::Csv:
        return formatCsv(rows, columns);
    case TableFormat::Json:
        return formatJson(rows, columns);
    case TableFormat::Catalogue:
        return formatCatalogue(rows, columns);
    }
    return QByteArray();
}

Result<void> writeModelTable(const QString &path, const std::vector<TermRow> &rows,
                             const QStringList &columns, TableFormat format) {
    return writeFileAtomically(path, formatModelTable(rows, columns, format),
                               WriteTarget::UserFile);
}

} // namespace vistrel
