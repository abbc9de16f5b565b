#include "draw/pixel.h"

#include "core/numbers.h"

namespace vistrel {

Result<std::int32_t> nint(double value) {
    const auto rounded = roundToInt32(value);
    if (!rounded)
        return makeError(ErrorNumber::Overflow,
                         QStringLiteral("Overflow: a drawing position is out of range"));
    return *rounded;
}

} // namespace vistrel
