// Every number the program takes in (catalogue fields, calculation files,
// typed values) goes through leadingNumber() or parseNumber(). The input is
// tried twice: byte by byte as Latin-1, which keeps the short ASCII seeds
// readable to the fuzzer, and as UTF-16 code units, which reaches every
// character including lone surrogates.

#include "core/numbers.h"
#include "fuzzsupport.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using vistrel::fuzz::fail;

bool sameDouble(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

// Characters that both readers take the same way; a text made of them alone
// that parseNumber() accepts must read the same through leadingNumber().
bool plainNumberText(const QString &text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'.' || u == u'+' || u == u'-' || u == u'e' ||
              u == u'E' || u == u' '))
            return false;
    }
    return true;
}

void check(const QString &text) {
    const double lenient = vistrel::leadingNumber(text);
    if (std::isnan(lenient))
        fail("leadingNumber() gave NaN", text);

    const auto strict = vistrel::parseNumber(text);
    if (!strict)
        return;
    const double value = *strict;
    if (!std::isfinite(value))
        fail("parseNumber() gave a non-finite value", text);
    const QString shortest = vistrel::formatShortest(value);
    const auto again = vistrel::parseNumber(shortest);
    if (!again || !sameDouble(*again, value))
        fail("parseNumber() does not read formatShortest() back", text + u'\n' + shortest);
    if (!sameDouble(vistrel::leadingNumber(shortest), value))
        fail("leadingNumber() does not read formatShortest() back", text + u'\n' + shortest);
    if (plainNumberText(text) && !sameDouble(lenient, value))
        fail("leadingNumber() and parseNumber() disagree",
             text + u'\n' + vistrel::formatShortest(lenient) + u'\n' + shortest);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes = vistrel::fuzz::inputBytes(data, size);
    check(QString::fromLatin1(bytes));

    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    if (!units.isEmpty())
        std::memcpy(units.data(), data, static_cast<std::size_t>(units.size()) * 2);
    check(units);
    return 0;
}
