// vistrel-cli: the calculation on Qt Core alone. A run that draws the
// window (--pdf, --png) is handed over, arguments unchanged, to
// vistrel-render, which holds the widgets.
#include "clirun.h"
#include "core/filewriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <unistd.h>

int main(int argc, char *argv[]) {
    vistrel::ignoreFileSizeSignal();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const vistrel::Result<QStringList> arguments = vistrel::cli::argumentsOf(argc, argv);
    if (!arguments) {
        err << "vistrel-cli: " << arguments.error().description << '\n';
        return vistrel::cli::Failed;
    }
    QCoreApplication app(argc, argv);
    if (vistrel::cli::needsWindow(*arguments)) {
        const QByteArray render = QFile::encodeName(vistrel::cli::renderProgram());
        execv(render.constData(), argv);
        err << "vistrel-cli: cannot draw the window: " << QFile::decodeName(render) << ": "
            << QString::fromLocal8Bit(std::strerror(errno)) << '\n';
        return vistrel::cli::Failed;
    }
    // The same name as the window, so both find the catalogue in the same user folder.
    QCoreApplication::setApplicationName(QStringLiteral("Vistrel"));

    const auto paths = vistrel::AppPaths::resolve(
        vistrel::cli::programFolder(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const int status = vistrel::cli::runCli(*arguments, paths, out, err);
    out.flush();
    err.flush();
    return status;
}
