#pragma once

#include "cliargs.h"
#include "core/apppaths.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vistrel {
class Session;
}

namespace vistrel::cli {

enum ExitStatus : int { Done = 0, Refused = 1, Failed = 2 };

// Writes the window itself (--pdf, --png): a view of the command line's own
// session, after the options were applied; returns why it could not, or nothing.
class WindowOutput {
public:
    virtual ~WindowOutput() = default;
    virtual QString write(Session &session, const CliOptions &options) = 0;
};

// The folder vistrel-cli stands in, with its data (ModelInfo.ini and
// Language.ini beside it, or in ../share/vistrel when installed).
QString programFolder();
// vistrel-render, which draws the window for vistrel-cli: beside it in the
// build folder, in ../libexec/vistrel when installed.
QString renderProgram();

// Runs vistrel-cli with `arguments` (without the program name); the default
// catalogue and texts are those the window would use. Without a
// `windowOutput`, --pdf and --png cannot be carried out.
int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err,
           WindowOutput *windowOutput = nullptr);

} // namespace vistrel::cli
