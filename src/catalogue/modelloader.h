#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"

#include <QString>

#include <vector>

namespace vistrel {

// Reads a model information file: a header line, then one comma-separated
// line of 19 fields per model. All or nothing: the error says why the file
// could not be used (missing or unreadable file, more than 1000 models, a
// number out of range).
Result<std::vector<ModelRecord>> LoadModelInfo(const QString &path);
Result<std::vector<ModelRecord>> parseModelInfo(const QString &text, const QString &path);

} // namespace vistrel
