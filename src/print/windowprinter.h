#pragma once

#include "core/apperror.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace vistrel::app {

// Prints one page: the window as it shows on screen (its client area with
// the menu bar), scaled to fit the printable area with its shape kept.
Status printWindow(QWidget &window, QPrinter &printer);
// The same page on any paged device (a PDF written into memory) of the given
// resolution in dots per inch.
Status printWindow(QWidget &window, QPagedPaintDevice &device, int resolution);

} // namespace vistrel::app
