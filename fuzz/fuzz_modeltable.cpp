// Tables of models come from spreadsheets, other programs and vendors' web
// pages: any bytes must either be read or be refused with a reason, every
// row read must hold keys and text, and what is read must survive being
// written in the same format and read again unchanged.
//
// The first byte chooses the format by its value modulo 3 ('0' CSV, '1' JSON,
// '2' catalogue); the rest is the file.

#include "catalogue/modelrecord.h"
#include "files/modeltable.h"
#include "files/ownmodels.h"
#include "fuzzsupport.h"
#include "session/modelimport.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using vistrel::ModelTable;
using vistrel::TableFormat;
using vistrel::TermRow;
using vistrel::fuzz::fail;
using vistrel::fuzz::require;

QString describe(const TermRow &row) {
    QStringList terms;
    for (const auto &[key, value] : row.terms)
        terms << key + u'=' + value;
    return QString::number(row.line) + QStringLiteral(": ") + terms.join(u'|');
}

void checkRows(const ModelTable &table, TableFormat format) {
    require(table.rows.size() <= static_cast<std::size_t>(vistrel::kModelTableMaxRows),
            "more rows than a table may hold were read");
    qsizetype previous = 0;
    for (const TermRow &row : table.rows) {
        // Described only on failure: the text would cost more than the check.
        if (row.line <= previous)
            fail("rows are not in the order of their lines", describe(row));
        previous = row.line;
        QSet<QString> keys;
        for (const auto &[key, value] : row.terms) {
            if (key.isEmpty() || value.isEmpty())
                fail("a term without a key or a value", describe(row));
            if (keys.contains(key))
                fail("a key twice in one row", describe(row));
            keys.insert(key);
        }
        if (format == TableFormat::Catalogue &&
            (row.terms.isEmpty() || row.terms.front().first != vistrel::fieldName(0) ||
             row.terms.front().second.isEmpty()))
            fail("a catalogue row without its model name", describe(row));
    }
    for (const vistrel::TableProblem &problem : table.problems)
        if (problem.line <= 0 || problem.reason.isEmpty())
            fail("a problem without line or reason",
                 QString::number(problem.line) + QStringLiteral(": ") + problem.reason);
}

// Every key in the order it first appears; a catalogue keeps its 24 fields.
QStringList columnsOf(const ModelTable &table, TableFormat format) {
    QStringList columns;
    if (format == TableFormat::Catalogue) {
        for (int field = 0; field < vistrel::kCatalogueFieldCount; ++field)
            columns << vistrel::fieldName(field);
        return columns;
    }
    QSet<QString> seen;
    for (const TermRow &row : table.rows)
        for (const auto &[key, value] : row.terms)
            if (!seen.contains(key)) {
                seen.insert(key);
                columns << key;
            }
    return columns;
}

// The rows without their lines (the rewritten file has its own), their
// terms in the order of their keys (columns made up of rows in first-seen
// order need not be the file's), and without the rows that hold no term (a
// CSV or catalogue file has no line for them). A UTF-16 file may hold half
// a surrogate pair, which no UTF-8 file can: CSV and catalogue files keep
// what UTF-8 holds of it (JSON writes it as an escape).
QStringList contentOf(const ModelTable &table, TableFormat format) {
    QStringList rows;
    for (TermRow row : table.rows) {
        if (row.terms.isEmpty())
            continue;
        row.line = 0;
        if (format != TableFormat::Json)
            for (auto &[key, value] : row.terms) {
                key = QString::fromUtf8(key.toUtf8());
                value = QString::fromUtf8(value.toUtf8());
            }
        std::sort(row.terms.begin(), row.terms.end());
        rows << describe(row);
    }
    return rows;
}

// The text reader decodes each line with QString::fromUtf8, which takes a
// U+FEFF at the start of any line for a byte-order mark and drops it. A
// catalogue name that starts with one, or a cell with one after a line
// break, stands at a line's start when written, so such tables cannot come
// back whole and are not compared.
bool holdsLineStartMark(const ModelTable &table, TableFormat format) {
    if (format == TableFormat::Json)
        return false;
    const QString afterBreak = QStringLiteral("\n\uFEFF");
    for (const TermRow &row : table.rows)
        for (const auto &[key, value] : row.terms)
            if (key.contains(afterBreak) || value.contains(afterBreak) ||
                (format == TableFormat::Catalogue && value.startsWith(QChar::ByteOrderMark)))
                return true;
    return false;
}

// What an import would add must survive the own-models file: each model's
// line read back as the same record.
void checkImport(const ModelTable &table) {
    std::vector<vistrel::ModelRecord> added;
    for (const vistrel::ImportEntry &entry : vistrel::previewImport(table, {}, 1000)) {
        if (entry.action == vistrel::ImportEntry::Action::Refuse) {
            require(!entry.reason.isEmpty(), "a row was refused without a reason");
            continue;
        }
        require(static_cast<bool>(vistrel::checkModelName(entry.record.name)),
                "a model was taken with a name its file cannot hold");
        added.push_back(entry.record);
    }
    const QString text = QString::fromUtf8(vistrel::catalogueText(added));
    const auto back = vistrel::parseCatalogue(text, QStringLiteral("MyProjectors.ini"));
    if (!back)
        fail("the own models' file of an import was refused", back.error().description);
    if (back->models != added)
        fail("an import's models changed in their file", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    constexpr TableFormat kFormats[] = {TableFormat::Csv, TableFormat::Json,
                                        TableFormat::Catalogue};
    const TableFormat format = kFormats[data[0] % 3];
    const QByteArray bytes = vistrel::fuzz::inputBytes(data + 1, size - 1);

    const auto table = vistrel::parseModelTable(bytes, format, QStringLiteral("fuzz.table"));
    if (!table) {
        require(!table.error().description.isEmpty(), "a table was refused without a reason");
        return 0;
    }
    checkRows(*table, format);
    checkImport(*table);
    if (holdsLineStartMark(*table, format))
        return 0;

    const QByteArray written =
        vistrel::formatModelTable(table->rows, columnsOf(*table, format), format);
    const auto again = vistrel::parseModelTable(written, format, QStringLiteral("rewritten.table"));
    if (!again)
        fail("the rewritten table was refused",
             again.error().description + u'\n' + QString::fromUtf8(written));
    if (!again->problems.empty())
        fail("the rewritten table has problems",
             again->problems.front().reason + u'\n' + QString::fromUtf8(written));
    checkRows(*again, format);
    const QStringList before = contentOf(*table, format);
    const QStringList after = contentOf(*again, format);
    if (before != after)
        fail("rows changed when written and read again",
             before.join(u'\n') + QStringLiteral("\n--- read back as\n") + after.join(u'\n'));
    return 0;
}
