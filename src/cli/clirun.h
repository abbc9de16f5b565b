#pragma once

#include "cli/cliargs.h"
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

// An error of the common error box, told as the box tells it: its number,
// then its description (a lineError).
AppError boxLineError(const AppError &error);

// Writes the window itself (--pdf, --png, --report): a view of the command
// line's own session, after the options were applied. A failure is a
// lineError or boxLineError, printed as it is. Each file written is added to
// `written`.
class WindowOutput {
public:
    virtual ~WindowOutput() = default;
    virtual Result<void> write(Session &session, const CliOptions &options,
                               QStringList &written) = 0;
};

// The folder vistrel-cli stands in, with its data (ModelInfo.ini and
// Language.ini beside it, or in ../share/vistrel when installed).
QString programFolder();
// vistrel-render, which draws the window for vistrel-cli: beside it in the
// build folder, in ../libexec/vistrel when installed.
QString renderProgram();

// What vistrel-cli and vistrel-render do first: arguments that are not valid
// UTF-8 are refused with a message on err (nothing is returned then).
std::optional<QStringList> startArguments(int argc, char *argv[], QTextStream &err);

// Qt's own notes to the developer ("XDG_RUNTIME_DIR not set", "This plugin
// does not support raise()") are nothing the user of the command line can
// act on: only its critical and fatal messages reach stderr.
void keepQtNotesOffStderr();

// The arguments the application object is made with: the program name
// alone, so that Qt takes none of the user's arguments (a file named
// "-platform" or "-reverse") for an option of its own.
struct QtArguments {
    explicit QtArguments(char *programName) : argv{programName, nullptr} {}
    int argc = 1;
    char *argv[2];
};

// runCli with the data of the vistrel-cli in `cliFolder` and the window's
// user folder, once the application object exists; out and err are flushed.
// Memory that runs out on the way ends the run with error 7 and status 2;
// the atomic writer has kept every previous file whole by then.
int runWithDataOf(const QString &cliFolder, const QStringList &arguments, QTextStream &out,
                  QTextStream &err, WindowOutput *windowOutput = nullptr);

// Runs vistrel-cli with `arguments` (without the program name); the default
// catalogue and texts are those the window would use. Without a
// `windowOutput`, --pdf and --png cannot be carried out.
int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err,
           WindowOutput *windowOutput = nullptr);

} // namespace vistrel::cli
