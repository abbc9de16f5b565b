#pragma once

#include "calc/calculator.h"

#include <vector>

namespace vistrel {

// Whether `models` can become the catalogue of `current`: its first model is
// selected, calculated and both diagrams laid out as the next start-up does
// (default options), and again with the options `current` shows, as the
// switch in the running window does. Runs on a scratch calculator with the
// same texts and drawing sizes; `current` is not touched and nothing is shown.
[[nodiscard]] Result<void> probeCatalogue(const Calculator &current,
                                          const std::vector<ModelRecord> &models);

} // namespace vistrel
