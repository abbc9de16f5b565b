#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vistrel::cli {

enum ExitStatus : int { Done = 0, Refused = 1, Failed = 2 };

// Runs vistrel-cli with `arguments` (without the program name); the defaults
// for the catalogue and the texts are taken from `programFolder`.
int runCli(const QStringList &arguments, const QString &programFolder, QTextStream &out,
           QTextStream &err);

} // namespace vistrel::cli
