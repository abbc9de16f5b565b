// Project files are exchanged between users and may have been edited by
// hand. What reads must be within the ranges the program relies on, writing
// it again must give a file that reads back to the same data and is written
// again byte for byte, and opening it in a calculator (as File > Open does)
// must either be refused with an error or leave a calculator that shows
// numbers.

#include "calc/planner.h"
#include "files/projectfile.h"
#include "fuzzcalc.h"
#include "fuzzsupport.h"
#include "session/calculationfile.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using vistrel::ProjectFileData;
using vistrel::fuzz::fail;
using vistrel::fuzz::require;

bool allFinite(const ProjectFileData &d) {
    const std::array<double, 11> values = {
        d.format.width, d.format.height, d.anamorphic,         d.screenDiagonal,
        d.screenWidth,  d.screenHeight,  d.projectionDistance, d.offset1,
        d.offset2,      d.planner.gain,  d.planner.ambientLux};
    for (const double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    vistrel::ModelRecord model = d.model;
    for (int field = 1; field < vistrel::kCatalogueFieldCount; ++field) {
        const double v = field < vistrel::kModelFieldCount ? vistrel::numericField(model, field)
                                                           : vistrel::plannerField(model, field);
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

void checkOpening(const ProjectFileData &d, const QByteArray &written) {
    const QString context = QString::fromUtf8(written);
    vistrel::fuzz::checkOpening(
        vistrel::restoreRequestFrom(d), context, [&](const vistrel::Calculator &calculator) {
            const vistrel::CalcState &s = calculator.state();
            if (s.anamorphic != d.anamorphic)
                fail("an opened file did not take its anamorphic factor", context);
            if (vistrel::checkSettings(d.planner))
                vistrel::fuzz::checkPlanner(*calculator.currentModel(), s, context);
        });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes = vistrel::fuzz::inputBytes(data, size);
    const auto first = vistrel::parseProjectFile(bytes, QStringLiteral("fuzz.vistrel"));
    if (!first) {
        require(!first.error().description.isEmpty(), "a file was refused without a reason");
        return 0;
    }
    const ProjectFileData &d = *first;
    require(allFinite(d), "a non-finite number was read");
    require(!d.model.name.isEmpty(), "a model without a name was read");
    require(vistrel::checkFormat(d.format).ok(), "a picture format out of range was read");
    require(vistrel::checkAnamorphic(d.anamorphic).ok(), "an anamorphic factor out of range");
    for (int field = vistrel::kModelFieldCount; field < vistrel::kCatalogueFieldCount; ++field) {
        vistrel::ModelRecord model = d.model;
        require(vistrel::validPlannerValue(field, vistrel::plannerField(model, field)),
                "planner data the catalogue would refuse was read");
    }

    const QByteArray written = vistrel::formatProjectFile(d);
    require(vistrel::startsAsProjectFile(written), "a written file does not open as a project");
    const auto second = vistrel::parseProjectFile(written, QStringLiteral("written.vistrel"));
    if (!second)
        fail("a written file was refused",
             second.error().description + u'\n' + QString::fromUtf8(written));
    if (!(*second == d))
        fail("a written file reads back to other data", QString::fromUtf8(written));
    if (vistrel::formatProjectFile(*second) != written)
        fail("writing the data read back gives another file", QString::fromUtf8(written));
    checkOpening(d, written);
    return 0;
}
