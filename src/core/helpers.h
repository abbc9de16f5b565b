#pragma once

#include <QString>
#include <QStringList>

namespace vistrel {

// Path helpers. "/" separates folders on this platform; "\" is accepted too so
// that paths written on Windows (for example in old calculation files) behave
// as they always did.
QString addSeparator(const QString &path);
QString fileNameOfPath(const QString &path);
QString stripExtension(const QString &fileName);
// True for an existing regular file that is not hidden; folders are not files.
bool fileExists(const QString &path);

// Replaces every occurrence of `search`, left to right; text that a
// replacement inserted is never searched again.
QString replaceText(const QString &text, const QString &search, const QString &replacement);

// A heading and the lines under it, one a line; past `shown` lines the rest
// are counted ("... and 12 more"), so that a message box stays on the screen.
QString headedList(const QString &heading, const QStringList &lines, qsizetype shown = 20);

// The larger of two values: `a` when a > b, else `b` (so a NaN `a` gives `b`).
double maxOf(double a, double b);

// Rounds a typed value up to a whole number; a fraction of 1e-11 or less above
// a whole number is dropped.
double roundUp(double value);

} // namespace vistrel
