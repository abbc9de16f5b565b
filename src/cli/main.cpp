#include "clirun.h"
#include "core/filewriter.h"
#include "windowoutput.h"

#include <QApplication>
#include <QStandardPaths>

#include <memory>

int main(int argc, char *argv[]) {
    vistrel::ignoreFileSizeSignal();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const vistrel::Result<QStringList> arguments = vistrel::cli::argumentsOf(argc, argv);
    if (!arguments) {
        err << "vistrel-cli: " << arguments.error().description << '\n';
        return vistrel::cli::Failed;
    }

    // The window is drawn only for --pdf and --png, always off-screen.
    const bool window = vistrel::cli::needsWindow(*arguments);
    if (window) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The files show the window at its own size, whatever the user's screen scaling.
        for (const char *scaling :
             {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"})
            qunsetenv(scaling);
    }
    std::unique_ptr<QCoreApplication> app(window ? new QApplication(argc, argv)
                                                 : new QCoreApplication(argc, argv));
    // The same name as the window, so both find the catalogue in the same user folder.
    QCoreApplication::setApplicationName(QStringLiteral("Vistrel"));

    const auto paths = vistrel::AppPaths::resolve(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    vistrel::cli::WindowRenderer renderer;
    const int status = vistrel::cli::runCli(*arguments, paths, out, err, &renderer);
    out.flush();
    err.flush();
    return status;
}
