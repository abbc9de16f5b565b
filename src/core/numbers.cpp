#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <locale.h>

namespace vistrel {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Converts a clean "[-]digits[.digits][e[-]digits]" string. Values too large
// for a double become infinities, values too small become zero.
double convertClean(const std::string &clean, bool negative, long long decimalExponentHint) {
    double value = 0.0;
    const char *first = clean.data();
    const char *last = first + clean.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        value = decimalExponentHint > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace

namespace {

// The common case of a catalogue field, "[+-]digits[.digits]" with at most 15
// significant digits: both the digits and the power of ten are exact doubles,
// so one division gives the correctly rounded value. Anything else (blanks,
// an exponent, more digits) is left to the general reader.
std::optional<double> plainDecimal(QStringView text) {
    static constexpr std::array<double, 23> kPowersOfTen = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::uint64_t digits = 0;
    int significant = 0;
    std::size_t fraction = 0;
    bool point = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (point)
                ++fraction;
            if (digits != 0 || c != u'0') {
                if (++significant > 15)
                    return std::nullopt;
                digits = digits * 10 + (c - u'0');
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else if (c == u' ' || c == u'\t' || c == u'e' || c == u'E') {
            return std::nullopt;
        } else {
            break;
        }
    }
    if (!anyDigit || fraction >= kPowersOfTen.size())
        return std::nullopt;
    const double value = static_cast<double>(digits) / kPowersOfTen[fraction];
    return negative ? -value : value;
}

} // namespace

QString withDotDecimal(QStringView text, QChar decimalPoint) {
    QString written = text.toString();
    if (decimalPoint != u'.')
        written.replace(decimalPoint, u'.');
    return written;
}

bool startsWithNumber(QStringView text) {
    // Blanks count nowhere, as in leadingNumber: a sign, then a point, then a digit.
    enum { Sign, Point, Digit } next = Sign;
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        if (next == Sign && (c == u'-' || c == u'+'))
            next = Point;
        else if (next != Digit && c == u'.')
            next = Digit;
        else
            return isDigit(c);
    }
    return false;
}

double leadingNumber(QStringView text) {
    if (const auto plain = plainDecimal(text))
        return *plain;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };

    skipBlanks();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }

    std::string mantissa;
    long long integerDigits = 0; // significant digits before the point
    bool seenPoint = false;
    bool anyDigit = false;
    long long leadingFractionZeros = 0;
    bool significantSeen = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            anyDigit = true;
            if (c != u'0')
                significantSeen = true;
            if (!seenPoint && significantSeen)
                ++integerDigits;
            if (seenPoint && !significantSeen)
                ++leadingFractionZeros;
            mantissa.push_back(static_cast<char>(c.unicode()));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            mantissa.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;

    // Optional exponent; it only counts when at least one digit follows.
    long long exponent = 0;
    std::string exponentText;
    skipBlanks();
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        while (j < n && isBlank(text[j]))
            ++j;
        bool expNegative = false;
        if (j < n && (text[j] == u'-' || text[j] == u'+')) {
            expNegative = text[j] == u'-';
            ++j;
        }
        long long value = 0;
        bool anyExpDigit = false;
        for (; j < n; ++j) {
            if (isBlank(text[j]))
                continue;
            if (!isDigit(text[j]))
                break;
            anyExpDigit = true;
            // Any exponent beyond this bound overflows or underflows anyway.
            value = std::min<long long>(value * 10 + (text[j].unicode() - u'0'), 1000000);
        }
        if (anyExpDigit) {
            exponent = expNegative ? -value : value;
            exponentText = std::to_string(exponent);
            exponentText.insert(exponentText.begin(), 'e');
        }
    }

    const long long hint =
        significantSeen ? (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent
                        : -1;
    std::string clean = mantissa;
    if (clean == ".")
        return 0.0;
    if (!significantSeen)
        return negative ? -0.0 : 0.0;
    clean += exponentText;
    return convertClean(clean, negative, hint);
}

std::optional<double> parseNumber(QStringView text) {
    const QString trimmed = text.trimmed().toString();
    if (trimmed.isEmpty())
        return std::nullopt;
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(trimmed.size()));
    for (const QChar c : trimmed) {
        if (c.unicode() > 127)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    if (*first == '+') {
        ++first;
        if (first != last && (*first == '-' || *first == '+'))
            return std::nullopt;
    }
    if (first == last)
        return std::nullopt;
    // from_chars does not take "inf" or "nan" as written by us, but it would read
    // them; those are not numbers of a calculation.
    const char c0 = *first == '-' ? (first + 1 < last ? first[1] : '\0') : *first;
    if (!(std::isdigit(static_cast<unsigned char>(c0)) || c0 == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

namespace {

// printf follows LC_NUMERIC, which QCoreApplication takes from the
// environment; for as long as this lives, this thread formats with the C
// locale's numbers, so that files, CSV and JSON keep "." in every language.
// (std::to_chars with a precision would do the same, but touches some
// hundred kilobytes of tables the window otherwise never needs.)
class CNumbers {
public:
    CNumbers() : previous_(::uselocale(cLocale())) {}
    ~CNumbers() { ::uselocale(previous_); }
    CNumbers(const CNumbers &) = delete;
    CNumbers &operator=(const CNumbers &) = delete;

private:
    // Null when it cannot be made; uselocale(0) then changes nothing.
    static locale_t cLocale() {
        static const locale_t c = ::newlocale(LC_NUMERIC_MASK, "C", locale_t{});
        return c;
    }
    locale_t previous_;
};

} // namespace

QString formatGeneral(double value, QChar decimalPoint) {
    if (value == 0.0)
        return QStringLiteral("0");
    std::array<char, 64> buffer{};
    {
        const CNumbers c;
        std::snprintf(buffer.data(), buffer.size(), "%.15G", value);
    }
    QString text = QString::fromLatin1(buffer.data());
    if (decimalPoint != u'.')
        text.replace(u'.', decimalPoint);
    return text;
}

QString formatFixed(double value, int decimals, QChar decimalPoint) {
    std::string text;
    {
        const CNumbers c;
        const int size = std::snprintf(nullptr, 0, "%.*f", decimals, value);
        if (size > 0) {
            text.resize(static_cast<std::size_t>(size) + 1);
            std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
            text.resize(static_cast<std::size_t>(size));
        }
    }
    // A value that prints as zero carries no sign ("-0.0" would read oddly).
    if (!text.empty() && text.front() == '-' &&
        text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    QString result = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (decimalPoint != u'.')
        result.replace(u'.', decimalPoint);
    return result;
}

QString formatShortest(double value) {
    std::array<char, 64> buffer{};
    const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(ptr - buffer.data()));
}

} // namespace vistrel
