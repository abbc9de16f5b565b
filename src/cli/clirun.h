#pragma once

#include "core/apppaths.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vistrel::cli {

enum ExitStatus : int { Done = 0, Refused = 1, Failed = 2 };

// Runs vistrel-cli with `arguments` (without the program name); the default
// catalogue and texts are those the window would use.
int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err);

} // namespace vistrel::cli
