#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QString>

class QWidget;

namespace vistrel::print {

// The window as it shows on screen, as a PNG. Made in memory, so that its
// file is written whole by the atomic writer: a full disk never leaves a
// truncated picture nor destroys the previous one.
Result<QByteArray> windowPng(QWidget &window);

// windowPng written to `path` (a file the user named); on failure the file
// that stood there is kept as it was.
Result<void> writeWindowPng(QWidget &window, const QString &path);

} // namespace vistrel::print
