// vistrel-cli: the calculation on Qt Core alone. A run that draws the
// window (--pdf, --png, --report) is handed over, arguments unchanged, to
// vistrel-render, which holds the widgets.
#include "cli/clirun.h"
#include "cli/clistart.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// vistrel-render runs as a child and is waited for: when memory runs out
// deep inside Qt it may die on a signal where it could not report, and the
// user is still told, with status 2. Every file it writes goes through the
// atomic writer, so the one it was writing then is unchanged. It ends with
// this program: a caller that gives up on vistrel-cli leaves nothing behind
// that writes later.
int drawWindow(char *argv[], QTextStream &err) {
    const QByteArray render = QFile::encodeName(vistrel::cli::renderProgram());
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(vistrel::cli::Failed);
        execv(render.constData(), argv);
        std::fprintf(stderr, "vistrel-cli: cannot draw the window: %s: %s\n", render.constData(),
                     std::strerror(errno));
        _exit(vistrel::cli::Failed);
    }
    if (child < 0) {
        err << "vistrel-cli: cannot draw the window: "
            << QString::fromLocal8Bit(std::strerror(errno)) << '\n';
        return vistrel::cli::Failed;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            err << "vistrel-cli: lost the drawing of the window: "
                << QString::fromLocal8Bit(std::strerror(errno)) << '\n';
            return vistrel::cli::Failed;
        }
    }
    // Its own statuses are ours; any other is a start that failed (127 when
    // the system could not even load it) or an end on a signal.
    if (WIFEXITED(status) && WEXITSTATUS(status) <= vistrel::cli::Failed)
        return WEXITSTATUS(status);
    const QString how = WIFEXITED(status)
                            ? QStringLiteral("with status %1").arg(WEXITSTATUS(status))
                            : QStringLiteral("on signal %1 (%2)")
                                  .arg(WTERMSIG(status))
                                  .arg(QString::fromLocal8Bit(strsignal(WTERMSIG(status))));
    err << "vistrel-cli: the window could not be drawn: vistrel-render ended " << how
        << " (it does so when memory runs out); a file it was writing then is unchanged\n";
    return vistrel::cli::Failed;
}

} // namespace

int main(int argc, char *argv[]) {
    vistrel::cli::CliStart<QCoreApplication> start(argc, argv);
    if (!start.arguments())
        return vistrel::cli::Failed;
    const QStringList &arguments = *start.arguments();
    if (vistrel::cli::needsWindow(arguments)) {
        start.err().flush();
        start.out().flush();
        return drawWindow(argv, start.err());
    }
    return vistrel::cli::runWithDataOf(vistrel::cli::programFolder(), arguments, start.out(),
                                       start.err());
}
