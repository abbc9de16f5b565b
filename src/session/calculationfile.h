#pragma once

#include "calc/calculator.h"
#include "files/calcfile.h"

namespace vistrel {

// What the calculator currently holds, as a calculation file stores it.
CalcFileData snapshotOf(const Calculator &calculator);

// What opening takes from a file: the model, the four options and the
// diagonal. The file's codes were checked when it was read.
RestoreRequest restoreRequestFrom(const CalcFileData &data);

// Window caption after a file was opened or saved: title [name without folder and extension].
QString captionWithFile(const QString &appTitle, const QString &path);

} // namespace vistrel
