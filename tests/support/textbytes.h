#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

// A text as Windows Notepad saves "Unicode" (little endian) or "Unicode big
// endian": UTF-16 with its byte-order mark.
inline QByteArray utf16WithBom(const QString &text, bool bigEndian) {
    QStringEncoder encode(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE);
    return (bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE")) + QByteArray(encode(text));
}
