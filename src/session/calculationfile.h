#pragma once

#include "calc/calculator.h"
#include "core/plannersettings.h"
#include "files/calcfile.h"
#include "files/projectfile.h"

namespace vistrel {

// What the calculator currently holds, as a calculation file stores it.
CalcFileData snapshotOf(const Calculator &calculator);

// What opening takes from a file: the model, the four options and the
// diagonal. The file's codes were checked when it was read.
RestoreRequest restoreRequestFrom(const CalcFileData &data);

// What the calculator currently holds and the planner's inputs, as a project file stores them.
ProjectFileData projectOf(const Calculator &calculator, const PlannerSettings &planner);
// What opening a project file restores: everything a calculation file does,
// the picture format as it is, and the anamorphic lens.
RestoreRequest restoreRequestFrom(const ProjectFileData &data);

// Whether a calculation file can hold the calculation as it is: one of the
// three aspect options, without an anamorphic lens.
bool calcFileHolds(const CalcState &state);

// Window caption after a file was opened or saved: title [name without folder and extension].
QString captionWithFile(const QString &appTitle, const QString &path);

} // namespace vistrel
