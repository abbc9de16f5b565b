#pragma once

#include "core/apperror.h"

class QPrinter;
class QWidget;

namespace vistrel::app {

// Prints one page: the window as it shows on screen (its client area with
// the menu bar), scaled to fit the printable area with its shape kept.
Status printWindow(QWidget &window, QPrinter &printer);

} // namespace vistrel::app
