#pragma once

#include "core/apperror.h"
#include "files/modelloader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace vistrel {

// Tables of projector models that users import and export: a CSV file, a
// JSON file or a catalogue file, each turned into rows of (key, text) terms
// and back. What a key means is left to whoever reads the rows; here no
// value is converted beyond what each layout below says.
// docs/PROJECTORS.md, "Import and export files", describes the layouts.

// One projector as a table holds it: its terms in column order, each a key
// and the cell's text (trimmed, unless it was quoted in a CSV file); empty
// cells are left out.
struct TermRow {
    // Where it stands: the file's line (1-based), or a JSON object's position (1-based).
    qsizetype line = 0;
    QList<std::pair<QString, QString>> terms;

    bool operator==(const TermRow &) const = default;
};

// A row that could not be read at all (a JSON element that is no object or
// holds a nested value, more cells than the header has columns), with why.
// Other rows still count.
struct TableProblem {
    qsizetype line = 0;
    QString reason;
};

struct ModelTable {
    std::vector<TermRow> rows;
    std::vector<TableProblem> problems;
};

enum class TableFormat { Csv, Json, Catalogue };

// A table as large as the catalogue's largest file; its rows are shorter
// than a catalogue's lines, so this leaves room for far more of them than
// kModelTableMaxRows.
inline constexpr qint64 kModelTableMaxBytes = kCatalogueLimits.maxFileBytes;
// Ten times the catalogue's capacity: an import may be culled before it
// becomes one.
inline constexpr qsizetype kModelTableMaxRows = 10000;

// By the name's extension, in any case: .csv, .json; .ini and .txt are
// catalogue files. Nothing for any other.
std::optional<TableFormat> tableFormatOf(const QString &fileName);

// CSV: the first non-blank line names the columns (keys trimmed; a column
// without a name is ignored, a repeated name is a problem on the header line
// and its later column is ignored). UTF-8 with or without a byte-order mark,
// or UTF-16 with one, decoded as decodeText does; a line break inside quotes
// is read as LF. The separator is ";" when the header line holds more ";"
// than "," outside quotes, else ",". A quoted cell keeps its text as written
// ("" is one quotation mark); an unquoted one is trimmed. A quotation mark
// never closed is a problem for its row, and nothing after it is read. Blank
// lines and lines of empty cells are skipped. A row with more cells than the
// header has columns (empty ones at its end aside) is a problem; fewer is
// fine. In a ";" file every "," in a cell becomes "." (decimal commas),
// except under a `name`, `Model` or `ModelName` column (in any case).
//
// JSON: an array of objects; each object's members become the row's terms,
// in the alphabetical order of their keys (QJsonObject keeps no other).
// Numbers are written by formatShortest, booleans as "true" or "false",
// strings as they are; null, empty strings and empty keys are left out. An
// element that is no object, or that holds an array or object, is a problem
// for its row. A document that is no JSON, or no array, is an error.
//
// Catalogue: read by loadCatalogue, with its checks and errors (its notes
// are not problems); a row per model, keyed by fieldName(0 to 23), numbers
// by formatShortest, the planner's fields left out where 0 (unknown).
//
// Every format: at most kModelTableMaxBytes bytes and kModelTableMaxRows
// rows, else an error. `name` is what errors call the file.
[[nodiscard]] Result<ModelTable> readModelTable(const QString &path, TableFormat format);
[[nodiscard]] Result<ModelTable> parseModelTable(const QByteArray &bytes, TableFormat format,
                                                 const QString &name);

// The rows as a file, UTF-8 without a byte-order mark: the columns are
// `columns` in that order (they should be distinct); a term whose key is not
// among them is left out, and a missing or empty one is an empty cell or an
// absent key. CSV: "," separated, LF line ends, a cell quoted where reading
// it back needs it. JSON: an indented array of objects with keys in column
// order; a value that formatShortest writes exactly so is a JSON number,
// any other a string. Catalogue: the columns (the caller passes the 24 field
// names) and values joined by "," with CR LF line ends, as the shipped
// catalogue is. That layout has no quoting, so the caller must pass values
// without "," or line breaks: they are written as they are.
QByteArray formatModelTable(const std::vector<TermRow> &rows, const QStringList &columns,
                            TableFormat format);

// A cell as the JSON layout writes it: a number where reading it back gives
// the very same text, else a string.
QString jsonCell(const QString &cell);

// Through the atomic writer, as a file the user named (WriteTarget::UserFile).
[[nodiscard]] Result<void> writeModelTable(const QString &path, const std::vector<TermRow> &rows,
                                           const QStringList &columns, TableFormat format);

} // namespace vistrel
