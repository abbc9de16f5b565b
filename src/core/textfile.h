#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vistrel {

// Decodes the bytes of one of the program's text files: UTF-8 (a byte-order
// mark is skipped); bytes that are not valid UTF-8 are read as Windows-1252 so
// that files written by the old Windows program still load.
QString decodeText(const QByteArray &bytes);

// Walks the lines of a text without copying them: CR LF, LF and CR all end a
// line, and a terminator at the very end does not start another one.
class LineCursor {
public:
    explicit LineCursor(QStringView text) : text_(text) {}
    // The next line, or false at the end of the text.
    bool next(QStringView &line);

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

// All lines of a text, split as LineCursor does.
QStringList splitLines(const QString &text);

// Reads and decodes a whole text file; the error says why it could not be read.
Result<QString> readTextFile(const QString &path);

// Replaces the file at `path` with `bytes` through a temporary file in the
// same folder that is renamed over the target only when every byte was
// written, so a failed write (a full disk, the size limit, a read-only
// folder) keeps the previous file and leaves no temporary file behind.
Status writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vistrel
