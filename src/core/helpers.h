#pragma once

#include <QString>

namespace vistrel {

// Path helpers. "/" separates folders on this platform; "\" is accepted too so
// that paths written on Windows (for example in old calculation files) behave
// as they always did.
QString AddBackslash(const QString &path);
QString FileNameOfPath(const QString &path);
QString StripExtension(const QString &fileName);
// True for an existing regular file that is not hidden; folders are not files.
bool FileExists(const QString &path);

// Replaces every occurrence of `search`, left to right; text that a
// replacement inserted is never searched again.
QString ReplaceText(const QString &text, const QString &search, const QString &replacement);

double MaxOf(double a, double b);

enum UnitCode : int { Inches = 0, Feet = 1, Centimeters = 2 };
inline constexpr double kInchesToFeet = 0.08333333333333333;
inline constexpr double kInchesToCentimeters = 2.54;
// Factor that turns inches into the unit of `UnitCode`.
double unitFactor(int UnitCode);
double ToInches(double value, int UnitCode);

// Rounds a typed value up to a whole number; a fraction of 1e-11 or less above
// a whole number is dropped.
double RoundUp(double value);

} // namespace vistrel
