#pragma once

#include "core/apperror.h"

#include <QByteArray>

class QPageLayout;
class QWidget;

namespace vistrel::print {

// The printed page as a one-page PDF: the window as it shows on screen (its
// client area with the menu bar), scaled to fit the printable area of
// `layout` with its shape kept. The image goes in losslessly, so the
// diagrams' colours and lines reach the paper as they are on screen.
Result<QByteArray> windowPagePdf(QWidget &window, const QPageLayout &layout);

} // namespace vistrel::print
