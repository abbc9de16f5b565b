#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/calcstate.h"
#include "files/textfile.h"

#include <QByteArray>
#include <QString>

namespace vistrel {

// The 34 items of a calculation file: the selected model's record, then the
// options and the computed quantities (inches).
struct CalcFileData : Installation {
    ModelRecord model;

    bool operator==(const CalcFileData &) const = default;
};

inline constexpr int kCalcFileItems = 34;
// A real calculation file is well under a kilobyte; a line holds at most a
// model name of a catalogue line.
inline constexpr ReadLimits kCalcFileLimits{16 << 20, 256 << 10, false};

// 34 lines ended by CR LF, UTF-8; strings in quotation marks, numbers with "."
// and enough digits to read back the same double.
QByteArray formatCalcFile(const CalcFileData &data);

// Reads all 34 items and checks their types and ranges. After the 34th
// line, one empty line may follow; anything more refuses the file.
Result<CalcFileData> parseCalcFile(const QString &text);

Result<CalcFileData> readCalcFile(const QString &path);
// The same from an open device; `name` is what errors call it.
Result<CalcFileData> readCalcFile(QIODevice &device, const QString &name);

// Writes through a temporary file in the same folder that replaces the target
// only when everything was written, so a failed save keeps the previous file.
[[nodiscard]] Result<void> writeCalcFile(const QString &path, const CalcFileData &data);

} // namespace vistrel
