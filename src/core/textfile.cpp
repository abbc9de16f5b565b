#include "core/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>

namespace vistrel {

namespace {

// Windows-1252 code points for the bytes 0x80 to 0x9F; the five bytes the
// code page leaves undefined map to the C1 control of the same value, as
// Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(const QByteArray &bytes) {
    QString text;
    text.resize(bytes.size());
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t{b});
    }
    return text;
}

} // namespace

QString decodeText(const QByteArray &bytes) {
    QByteArrayView view(bytes);
    const bool bom = view.startsWith("\xEF\xBB\xBF");
    if (bom)
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(view.toByteArray());
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

Result<QString> readTextFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        return makeError(ErrorNumber::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    if (info.isDir())
        return makeError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: %1 is a folder").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError;
        return makeError(
            denied ? ErrorNumber::PermissionDenied : ErrorNumber::PathFileAccessError,
            QStringLiteral("%1: %2").arg(denied ? QStringLiteral("Permission denied")
                                                : QStringLiteral("Path/File access error"),
                                         path));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return makeError(
            ErrorNumber::DeviceIoError,
            QStringLiteral("Device I/O error while reading %1: %2").arg(path, file.errorString()));
    return decodeText(bytes);
}

Status writeFileAtomically(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a write the system cut short shows in the count:
    // a buffered QSaveFile can commit a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool denied = file.error() == QFileDevice::PermissionsError ||
                            !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        return makeError(denied ? ErrorNumber::PermissionDenied : ErrorNumber::PathFileAccessError,
                         QStringLiteral("%1: cannot create %2: %3")
                             .arg(denied ? QStringLiteral("Permission denied")
                                         : QStringLiteral("Path/File access error"),
                                  path, file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.commit())
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while writing %1").arg(path));
    return std::nullopt;
}

} // namespace vistrel
