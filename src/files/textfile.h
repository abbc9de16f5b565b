#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QFile;
class QIODevice;

namespace vistrel {

// How the program's text files are decoded. A byte-order mark chooses UTF-8,
// UTF-16 LE or UTF-16 BE (Windows Notepad's "Unicode"). Without one, a line
// that is valid UTF-8 is read as UTF-8 and any other line as Windows-1252,
// so that files written by the old Windows program still load. CR LF, LF and
// CR all end a line, and a line end at the very end starts no further line.

// Walks the lines of a text without copying them.
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

// The lines of a file's bytes, decoded as above, each followed by LF.
Result<QString> decodeText(const QByteArray &bytes);

// How much of a file a reader takes before it refuses it: far more than any
// real file of its kind holds, so that a wrong or hostile file (a device, a
// file of endless line feeds) costs little time and memory.
struct ReadLimits {
    qint64 maxFileBytes = 0;
    qsizetype maxLineBytes = 0; // counted in the file's own bytes, without the line end
    // A longer line is cut to its first maxLineBytes bytes (settings files,
    // whose values are cut anyway); otherwise it is refused.
    bool cutLongLines = false;
};

enum class LineStep { More, Stop };
// Takes one line, without its line end; asks for more, stops the reading, or
// refuses the file with an error.
using LineSink = std::function<Result<LineStep>(QStringView line)>;

// Reads a file as a stream, one line at a time, holding no more than one
// line in memory. `bytesRead`, when given, receives the bytes that were read.
// Errors: 53 file not found, 76 its folder not found, 75 a folder or a file
// that cannot be opened, 70 permission denied, 57 a read error, 59 a line or
// file beyond the limits, or the sink's own error.
Result<void> readTextLines(const QString &path, const ReadLimits &limits, const LineSink &sink,
                           QByteArray *bytesRead = nullptr);
// The same from an open device; `name` is what errors call it.
Result<void> readTextLines(QIODevice &device, const QString &name, const ReadLimits &limits,
                           const LineSink &sink, QByteArray *bytesRead = nullptr);
// The lines of a text already in memory, split as LineCursor does.
Result<void> forEachLine(QStringView text, const LineSink &sink);

// A whole file within the limits, as text whose lines end in LF.
Result<QString> readTextFile(const QString &path, const ReadLimits &limits);

// Opens `file` (named already) for reading as every reader here does: a
// regular file only, or a link to one; errors as for readTextLines, and 75
// for a device, FIFO or socket, which is refused before it is opened.
[[nodiscard]] Result<void> openForReading(QFile &file);

// The bytes of a regular file (a link to one counts) of at most `maxBytes`
// bytes; errors as for readTextLines, and 75 for a device, FIFO or socket.
Result<QByteArray> readFileBytes(const QString &path, qint64 maxBytes);
// The same from an open device; `name` is what errors call it.
Result<QByteArray> readDeviceBytes(QIODevice &device, const QString &name, qint64 maxBytes);

} // namespace vistrel
