#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace vistrel {

// The number at the start of a text, read leniently: spaces and tabs anywhere
// are ignored, "." is the decimal point in every locale, an optional sign and
// an optional exponent ("E" or "e", optional sign, digits) are accepted, and
// the first character that cannot continue the number ends it. A text without
// a leading number reads 0. A magnitude beyond the range of a double reads as
// an infinity; callers decide whether that is an overflow.
double leadingNumber(QStringView text);
// Whether `text` begins with a number that leadingNumber reads, rather than
// reading 0 for want of one.
bool startsWithNumber(QStringView text);

// `text` with the user's decimal point written as ".", the point every reader
// here takes; the same text where the user's point is "." already.
QString withDotDecimal(QStringView text, QChar decimalPoint);

// Strict reading of a whole text as a decimal number (surrounding spaces
// allowed). Returns nothing for any other text and for non-finite values.
std::optional<double> parseNumber(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when
// the result lies outside the target range (or the value is not finite).
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::int32_t> roundToInt32(double value);

// General number form: at most 15 significant digits, no grouping, no
// trailing zeros, exponent form ("1E+20") for very large or small magnitudes.
QString formatGeneral(double value, QChar decimalPoint = u'.');

// Fixed notation with the given number of decimals and no grouping ("0" and
// "0.0" patterns). Negative zero prints as zero.
QString formatFixed(double value, int decimals, QChar decimalPoint = u'.');

// The shortest decimal form that reads back to the same double.
QString formatShortest(double value);

} // namespace vistrel
