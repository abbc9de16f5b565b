#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QString>

namespace vistrel::app {

// Hands a PDF document to the CUPS queue `printer` and returns the job id the
// scheduler gave it. A queue that rejects jobs, or that vanished since the
// printer list was read, gives the scheduler's own reason instead, so a
// refused job is never taken for a printed one.
Result<int> submitPdfJob(const QString &printer, const QString &title, const QByteArray &pdf);

} // namespace vistrel::app
