// vistrel-render: vistrel-cli for the runs that draw the window (--pdf,
// --png, --report). vistrel-cli hands such runs over to it, so that the
// calculation alone never loads the widgets.
#include "clirun.h"
#include "core/filewriter.h"
#include "windowoutput.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The folder of the vistrel-cli that handed the run over, whose files it
// uses: beside this program in a build folder; installed, this program
// lies in LIBEXECDIR/vistrel and vistrel-cli in BINDIR.
QString cliFolder() {
    const QDir own(vistrel::cli::programFolder());
    if (QFileInfo::exists(own.filePath(QStringLiteral("vistrel-cli"))))
        return own.path();
    return QDir::cleanPath(own.filePath(QStringLiteral(VISTREL_RENDER_TO_CLI)));
}

} // namespace

int main(int argc, char *argv[]) {
    vistrel::ignoreFileSizeSignal();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const vistrel::Result<QStringList> arguments = vistrel::cli::argumentsOf(argc, argv);
    if (!arguments) {
        err << "vistrel-cli: " << arguments.error().description << '\n';
        return vistrel::cli::Failed;
    }

    // Always off-screen, and the files show the window at its own size,
    // whatever the user's screen scaling.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char *scaling :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"})
        qunsetenv(scaling);
    QApplication app(argc, argv);
    // The same name as the window, so both find the catalogue in the same user folder.
    QCoreApplication::setApplicationName(QStringLiteral("Vistrel"));

    const auto paths = vistrel::AppPaths::resolve(
        cliFolder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    vistrel::cli::WindowRenderer renderer;
    const int status = vistrel::cli::runCli(*arguments, paths, out, err, &renderer);
    out.flush();
    err.flush();
    return status;
}
