#pragma once

#include "cliargs.h"
#include "core/apppaths.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

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

// What vistrel-cli and vistrel-render do first: a write cut short by the
// file size limit is reported instead of killing the program, and arguments
// that are not valid UTF-8 are refused with a message on err (nothing is
// returned then).
std::optional<QStringList> startArguments(int argc, char *argv[], QTextStream &err);

// runCli with the data of the vistrel-cli in `cliFolder` and the window's
// user folder, once the application object exists; out and err are flushed.
int runWithDataOf(const QString &cliFolder, const QStringList &arguments, QTextStream &out,
                  QTextStream &err, WindowOutput *windowOutput = nullptr);

// Runs vistrel-cli with `arguments` (without the program name); the default
// catalogue and texts are those the window would use. Without a
// `windowOutput`, --pdf and --png cannot be carried out.
int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err,
           WindowOutput *windowOutput = nullptr);

} // namespace vistrel::cli
