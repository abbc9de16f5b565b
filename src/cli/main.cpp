#include "clirun.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // The same name as the window, so both find the catalogue in the same user folder.
    QCoreApplication::setApplicationName(QStringLiteral("Vistrel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const auto paths = vistrel::AppPaths::resolve(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const int status = vistrel::cli::runCli(arguments, paths, out, err);
    out.flush();
    err.flush();
    return status;
}
