#include "clirun.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int status =
        vistrel::cli::runCli(arguments, QCoreApplication::applicationDirPath(), out, err);
    out.flush();
    err.flush();
    return status;
}
