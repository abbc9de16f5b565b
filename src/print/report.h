#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

class QWidget;

namespace vistrel {
struct Sheet;
}

namespace vistrel::print {

// The installation sheet's paper: A4, or Letter where the user's locale
// measures in US units; portrait, with margins of 15 mm.
QPageLayout reportPageLayout();

// `sheet` on paper, with `window`, the calculator window it was composed
// from: page 1 the title block the user filled in, the window as the printed
// page shows it, with the sheet's calculation and planner side by side
// beneath it; then, when the sheet has a room, a page of its figures, checks,
// drawings and seat rows; then a page of the light budget: its lines, the
// targets and the viewing tasks; then the throw chart as a table, each
// continued on further pages when it is longer than one. Everything but the window's
// picture is text (the drawings are vectors), so it can be selected and searched.
Result<QByteArray> reportPdf(QWidget &window, const Sheet &sheet, const QPageLayout &layout);

// The sheet, on reportPageLayout(), written to `path` by the atomic writer.
Result<void> writeReport(const QString &path, QWidget &window, const Sheet &sheet);

} // namespace vistrel::print
