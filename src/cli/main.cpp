// vistrel-cli: the calculation on Qt Core alone. A run that draws the
// window (--pdf, --png, --report) is handed over, arguments unchanged, to
// vistrel-render, which holds the widgets.
#include "clirun.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

int main(int argc, char *argv[]) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<QStringList> arguments = vistrel::cli::startArguments(argc, argv, err);
    if (!arguments)
        return vistrel::cli::Failed;
    vistrel::cli::keepQtNotesOffStderr();
    vistrel::cli::QtArguments qtArguments(argv[0]);
    QCoreApplication app(qtArguments.argc, qtArguments.argv);
    if (vistrel::cli::needsWindow(*arguments)) {
        const QByteArray render = QFile::encodeName(vistrel::cli::renderProgram());
        execv(render.constData(), argv);
        err << "vistrel-cli: cannot draw the window: " << QFile::decodeName(render) << ": "
            << QString::fromLocal8Bit(std::strerror(errno)) << '\n';
        return vistrel::cli::Failed;
    }
    return vistrel::cli::runWithDataOf(vistrel::cli::programFolder(), *arguments, out, err);
}
