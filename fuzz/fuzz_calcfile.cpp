// Calculation files are exchanged between users and may have been edited by
// hand. What reads must be within the ranges the calculator relies on,
// writing it again must give a file that reads back to the same data, and
// opening it in a calculator (as File > Open does) must either be refused
// with an error or leave a calculator that shows numbers.

#include "files/calcfile.h"
#include "files/textfile.h"
#include "fuzzcalc.h"
#include "fuzzsupport.h"
#include "session/calculationfile.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using vistrel::CalcFileData;
using vistrel::fuzz::fail;
using vistrel::fuzz::require;

bool allFinite(const CalcFileData &d) {
    const std::array<double, 9> values = {d.aspectRatio,        d.aspectHeight, d.aspectWidth,
                                          d.screenWidth,        d.screenHeight, d.screenDiagonal,
                                          d.projectionDistance, d.offsetA,      d.offsetB};
    for (const double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    if (!std::isfinite(d.maxDistance))
        return false;
    for (int field = 1; field < vistrel::kModelFieldCount; ++field) {
        if (!std::isfinite(vistrel::numericField(d.model, field)))
            return false;
    }
    return true;
}

void checkOpening(const CalcFileData &d, const QByteArray &written) {
    vistrel::fuzz::checkOpening(vistrel::restoreRequestFrom(d), QString::fromUtf8(written),
                                [](const vistrel::Calculator &) {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const vistrel::Result<QString> text =
        vistrel::decodeText(vistrel::fuzz::inputBytes(data, size));
    if (!text)
        return 0;
    const auto first = vistrel::parseCalcFile(*text);
    if (!first) {
        require(!first.error().description.isEmpty(), "a file was refused without a reason");
        return 0;
    }
    const CalcFileData &d = *first;
    // The codes are read into the choices they name, every one of which has a row.
    require(vistrel::choiceOf<vistrel::Zoom>(vistrel::codeOf(d.zoomEnd)).has_value(),
            "zoom end out of range");
    require(vistrel::choiceOf<vistrel::Position>(vistrel::codeOf(d.screenPosition)).has_value(),
            "screen position out of range");
    require(vistrel::choiceOf<vistrel::Unit>(vistrel::codeOf(d.unit)).has_value(),
            "unit out of range");
    require(allFinite(d), "a non-finite number was read");

    const QByteArray written = vistrel::formatCalcFile(d);
    if (written.count("\r\n") != vistrel::kCalcFileItems || !written.endsWith("\r\n"))
        fail("the written file does not hold one line per item", QString::fromUtf8(written));
    const vistrel::Result<QString> writtenText = vistrel::decodeText(written);
    if (!writtenText)
        fail("a written file cannot be decoded", QString::fromUtf8(written));
    const auto second = vistrel::parseCalcFile(*writtenText);
    if (!second)
        fail("a written file was refused",
             second.error().description + u'\n' + QString::fromUtf8(written));
    if (!(*second == d))
        fail("a written file reads back to other data", QString::fromUtf8(written));
    if (vistrel::formatCalcFile(*second) != written)
        fail("writing the data read back gives another file", QString::fromUtf8(written));
    checkOpening(d, written);
    return 0;
}
