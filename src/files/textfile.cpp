#include "files/textfile.h"

#include "files/filekind.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Windows-1252 code points for the bytes 0x80 to 0x9F; the five bytes the
// code page leaves undefined map to the C1 control of the same value, as
// Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView bytes) {
    QString text;
    text.resize(bytes.size());
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t{b});
    }
    return text;
}

QString decodeLine(QByteArrayView raw) {
    if (raw.isValidUtf8())
        return QString::fromUtf8(raw);
    return decodeWindows1252(raw);
}

enum class Encoding { PerLine, Utf16LE, Utf16BE };

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr qint64 kChunkBytes = 64 * 1024;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Cuts a line to `bytes` without leaving half a character at its end.
void cutLine(std::string &line, qsizetype bytes) {
    line.resize(static_cast<std::size_t>(bytes));
    for (int back = 0; back < 3 && !line.empty() && isContinuationByte(line.back()); ++back)
        line.pop_back();
    if (!line.empty() && static_cast<unsigned char>(line.back()) >= 0xC0)
        line.pop_back();
}

void cutLine(std::u16string &line, qsizetype bytes) {
    line.resize(static_cast<std::size_t>(bytes / 2));
    if (!line.empty() && QChar::isHighSurrogate(line.back()))
        line.pop_back();
}

QString lineText(const std::string &line) {
    return decodeLine(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
}

QString lineText(const std::u16string &line) {
    return QString(reinterpret_cast<const QChar *>(line.data()),
                   static_cast<qsizetype>(line.size()));
}

// Splits a stream of code units (bytes, or UTF-16 units) into lines and hands
// each to the sink, keeping only the line being assembled.
template <typename Unit> class Splitter {
public:
    Splitter(const QString &name, const ReadLimits &limits, const LineSink &sink)
        : name_(name), limits_(limits), sink_(sink) {}

    Result<LineStep> feed(const Unit *data, qsizetype count) {
        const Unit *end = data + count;
        while (data < end) {
            if (afterCR_ && *data == Unit(kLF)) {
                ++data;
                afterCR_ = false;
                continue;
            }
            afterCR_ = false;
            const Unit *stop =
                std::find_if(data, end, [](Unit u) { return u == Unit(kCR) || u == Unit(kLF); });
            VISTREL_TRY(append(data, stop));
            data = stop;
            if (data == end)
                break;
            afterCR_ = *data == Unit(kCR);
            ++data;
            Result<LineStep> step = deliver();
            if (!step || *step == LineStep::Stop)
                return step;
        }
        return LineStep::More;
    }

    Result<LineStep> finish() {
        if (line_.empty())
            return LineStep::More;
        return deliver();
    }

private:
    static constexpr qsizetype kUnitBytes = sizeof(Unit);

    Result<void> append(const Unit *from, const Unit *to) {
        if (cutting_ || from == to)
            return {};
        line_.append(from, to);
        if (static_cast<qsizetype>(line_.size()) * kUnitBytes <= limits_.maxLineBytes)
            return {};
        if (!limits_.cutLongLines)
            return makeError(ErrorNumber::BadRecordLength,
                             QStringLiteral("Bad record length: line %1 of %2 is longer than %3 "
                                            "bytes")
                                 .arg(lineNumber_)
                                 .arg(name_)
                                 .arg(limits_.maxLineBytes));
        cutLine(line_, limits_.maxLineBytes);
        cutting_ = true;
        return {};
    }

    Result<LineStep> deliver() {
        const QString text = lineText(line_);
        line_.clear();
        cutting_ = false;
        ++lineNumber_;
        return sink_(text);
    }

    const QString &name_;
    const ReadLimits &limits_;
    const LineSink &sink_;
    std::basic_string<Unit> line_;
    bool afterCR_ = false;
    bool cutting_ = false;
    qsizetype lineNumber_ = 1;
};

// Feeds a file's bytes to the splitter of its encoding, chosen by the
// byte-order mark at its start.
class LineReader {
public:
    LineReader(const QString &name, const ReadLimits &limits, const LineSink &sink)
        : bytes_(name, limits, sink), units_(name, limits, sink) {}

    Result<LineStep> feed(QByteArrayView bytes) {
        if (!encoding_) {
            head_ += bytes;
            if (head_.size() < 3)
                return LineStep::More;
            return start();
        }
        return pass(bytes);
    }

    Result<LineStep> finish() {
        if (!encoding_) {
            Result<LineStep> started = start();
            if (!started || *started == LineStep::Stop)
                return started;
        }
        if (*encoding_ == Encoding::PerLine)
            return bytes_.finish();
        return units_.finish();
    }

private:
    Result<LineStep> start() {
        QByteArrayView head(head_);
        encoding_ = Encoding::PerLine;
        if (head.startsWith("\xEF\xBB\xBF")) {
            head = head.sliced(3);
        } else if (head.startsWith("\xFF\xFE")) {
            encoding_ = Encoding::Utf16LE;
            head = head.sliced(2);
        } else if (head.startsWith("\xFE\xFF")) {
            encoding_ = Encoding::Utf16BE;
            head = head.sliced(2);
        }
        decoder_ = QStringDecoder(*encoding_ == Encoding::Utf16BE ? QStringDecoder::Utf16BE
                                                                  : QStringDecoder::Utf16LE);
        const QByteArray rest = head.toByteArray();
        head_.clear();
        return pass(rest);
    }

    Result<LineStep> pass(QByteArrayView bytes) {
        if (*encoding_ == Encoding::PerLine)
            return bytes_.feed(bytes.data(), bytes.size());
        const QString text = decoder_.decode(bytes);
        return units_.feed(reinterpret_cast<const char16_t *>(text.utf16()), text.size());
    }

    std::optional<Encoding> encoding_;
    QByteArray head_;
    QStringDecoder decoder_;
    Splitter<char> bytes_;
    Splitter<char16_t> units_;
};

AppError tooLarge(const QString &name, qint64 limit) {
    return makeError(ErrorNumber::BadRecordLength,
                     QStringLiteral("Bad record length: %1 is larger than %2 bytes, more than "
                                    "such a file can hold")
                         .arg(name)
                         .arg(limit));
}

} // namespace

Result<void> openForReading(QFile &file) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!QFileInfo(info.absolutePath()).isDir())
            return makeError(ErrorNumber::PathNotFound,
                             QStringLiteral("Path not found: %1").arg(path));
        return makeError(ErrorNumber::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    }
    if (info.isDir())
        return makeError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: %1 is a folder").arg(path));
    // Only a regular file is read: a FIFO's open waits for a writer, a device
    // may never end, and opening one can act on it (a tape rewinds). Anything
    // else is refused before it is opened; the check on the open descriptor
    // is the one that counts when the path changes in between.
    const QByteArray encoded = QFile::encodeName(path);
    const auto notRegular = [&path](mode_t mode) {
        return makeError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: %1 %2").arg(path, kindOf(mode)));
    };
    struct stat status {};
    if (::stat(encoded.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return notRegular(status.st_mode);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const bool denied = errno == EACCES || errno == EPERM;
        return makeError(
            denied ? ErrorNumber::PermissionDenied : ErrorNumber::PathFileAccessError,
            QStringLiteral("%1: %2").arg(denied ? QStringLiteral("Permission denied")
                                                : QStringLiteral("Path/File access error"),
                                         path));
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return notRegular(status.st_mode);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return makeError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: %1").arg(path));
    }
    return {};
}

bool LineCursor::next(QStringView &line) {
    const qsizetype n = text_.size();
    if (pos_ >= n)
        return false;
    qsizetype end = pos_;
    while (end < n && text_[end] != u'\r' && text_[end] != u'\n')
        ++end;
    line = text_.sliced(pos_, end - pos_);
    pos_ = end;
    if (pos_ < n) {
        if (text_[pos_] == u'\r' && pos_ + 1 < n && text_[pos_ + 1] == u'\n')
            ++pos_;
        ++pos_;
    }
    return true;
}

QStringList splitLines(const QString &text) {
    QStringList lines;
    LineCursor cursor(text);
    for (QStringView line; cursor.next(line);)
        lines.append(line.toString());
    return lines;
}

Result<void> forEachLine(QStringView text, const LineSink &sink) {
    LineCursor cursor(text);
    for (QStringView line; cursor.next(line);) {
        Result<LineStep> step = sink(line);
        if (!step)
            return step.error();
        if (*step == LineStep::Stop)
            break;
    }
    return {};
}

Result<void> readTextLines(QIODevice &device, const QString &name, const ReadLimits &limits,
                           const LineSink &sink, QByteArray *bytesRead) {
    LineReader reader(name, limits, sink);
    std::array<char, kChunkBytes> chunk{};
    qint64 total = 0;
    for (;;) {
        // One byte beyond the limit tells a file of exactly the limit from a larger one.
        const qint64 wanted = std::min<qint64>(kChunkBytes, limits.maxFileBytes - total + 1);
        const qint64 got = device.read(chunk.data(), wanted);
        if (got < 0)
            return makeError(ErrorNumber::DeviceIoError,
                             QStringLiteral("Device I/O error while reading %1: %2")
                                 .arg(name, device.errorString()));
        if (got == 0)
            break;
        const qint64 usable = std::min(got, limits.maxFileBytes - total);
        total += usable;
        const QByteArrayView bytes(chunk.data(), usable);
        if (bytesRead)
            bytesRead->append(bytes);
        Result<LineStep> step = reader.feed(bytes);
        if (!step)
            return step.error();
        if (*step == LineStep::Stop)
            return {};
        if (usable < got)
            return tooLarge(name, limits.maxFileBytes);
    }
    Result<LineStep> last = reader.finish();
    if (!last)
        return last.error();
    return {};
}

Result<void> readTextLines(const QString &path, const ReadLimits &limits, const LineSink &sink,
                           QByteArray *bytesRead) {
    QFile file(path);
    VISTREL_TRY(openForReading(file));
    return readTextLines(file, path, limits, sink, bytesRead);
}

Result<QString> decodeText(const QByteArray &bytes) {
    QString text;
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: the text cannot be read"));
    const ReadLimits unlimited{bytes.size(), bytes.size() + 1, false};
    VISTREL_TRY(readTextLines(buffer, QString(), unlimited, [&text](QStringView line) {
        text += line;
        text += u'\n';
        return Result<LineStep>(LineStep::More);
    }));
    return text;
}

Result<QByteArray> readDeviceBytes(QIODevice &device, const QString &name, qint64 maxBytes) {
    QByteArray bytes;
    std::array<char, kChunkBytes> chunk{};
    for (;;) {
        const qint64 got = device.read(chunk.data(), kChunkBytes);
        if (got < 0)
            return makeError(ErrorNumber::DeviceIoError,
                             QStringLiteral("Device I/O error while reading %1: %2")
                                 .arg(name, device.errorString()));
        if (got == 0)
            return bytes;
        if (bytes.size() + got > maxBytes)
            return tooLarge(name, maxBytes);
        bytes.append(chunk.data(), got);
    }
}

Result<QByteArray> readFileBytes(const QString &path, qint64 maxBytes) {
    QFile file(path);
    VISTREL_TRY(openForReading(file));
    return readDeviceBytes(file, path, maxBytes);
}

Result<QString> readTextFile(const QString &path, const ReadLimits &limits) {
    QString text;
    VISTREL_TRY(readTextLines(path, limits, [&text](QStringView line) {
        text += line;
        text += u'\n';
        return Result<LineStep>(LineStep::More);
    }));
    return text;
}

} // namespace vistrel
