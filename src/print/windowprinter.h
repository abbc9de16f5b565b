#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QRect>

class QPageLayout;
class QPainter;
class QPixmap;
class QWidget;

namespace vistrel::print {

// The printed page as a one-page PDF: the window as it shows on screen (its
// client area with the menu bar), scaled to fit the printable area of
// `layout` with its shape kept. The image goes in losslessly, so the
// diagrams' colours and lines reach the paper as they are on screen.
Result<QByteArray> windowPagePdf(QWidget &window, const QPageLayout &layout);

// Draws `image` of the window losslessly at the top left of `room`, as large
// as fits with its shape kept; returns where it went.
QRect drawWindowImage(QPainter &painter, const QPixmap &image, const QRect &room);

} // namespace vistrel::print
