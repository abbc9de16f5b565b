#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/textfile.h"

#include <QString>

#include <vector>

namespace vistrel {

// A real catalogue line is about a hundred bytes and a full catalogue of
// 1000 models about a hundred kilobytes: 4 MiB and 16 KiB a line leave
// room for forty times that.
inline constexpr ReadLimits kCatalogueLimits{4 << 20, 16 << 10, false};

// Reads a model information file: a header line, then one comma-separated
// line of 19 fields per model. All or nothing: the error says why the file
// could not be used (missing or unreadable file, more than 1000 models, a
// number out of range, a line or file beyond kCatalogueLimits). Reading stops
// at the 1001st model line. `bytesRead`, when given, receives the bytes read.
Result<std::vector<ModelRecord>> loadCatalogue(const QString &path,
                                               QByteArray *bytesRead = nullptr);
// The same from an open device; `name` is what errors call it.
Result<std::vector<ModelRecord>> loadCatalogue(QIODevice &device, const QString &name);
Result<std::vector<ModelRecord>> parseCatalogue(const QString &text, const QString &path);

} // namespace vistrel
