#include "print/windowimage.h"

#include "files/filewriter.h"

#include <QBuffer>
#include <QPixmap>
#include <QWidget>

namespace vistrel::print {

Result<QByteArray> windowPng(QWidget &window) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !window.grab().save(&buffer, "PNG"))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: cannot encode the window image"));
    return png;
}

Result<void> writeWindowPng(QWidget &window, const QString &path) {
    QByteArray png;
    VISTREL_TRY_ASSIGN(png, windowPng(window));
    return writeFileAtomically(path, png);
}

} // namespace vistrel::print
