#pragma once

#include "calc/calculator.h"
#include "cliargs.h"

#include <functional>
#include <optional>

namespace vistrel::cli {

struct ApplyResult {
    bool accepted = true; // the typed value, if any, was within the limits
    QString failure;      // non-empty: why the request could not be carried out
};

// Applies --open, --model, --zoom, --aspect, --unit, --position and the typed
// value to a started calculator, in that order, exactly as the window's
// handlers would. `engineError` tells the first error the calculator has
// reported so far.
ApplyResult applyOptions(Calculator &calculator, const CliOptions &options,
                         const std::function<std::optional<AppError>()> &engineError);

} // namespace vistrel::cli
