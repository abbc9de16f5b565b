// vistrel-render: vistrel-cli for the runs that draw the window (--pdf,
// --png, --report). vistrel-cli hands such runs over to it, so that the
// calculation alone never loads the widgets.
#include "cli/clirun.h"
#include "render/windowoutput.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<QStringList> arguments = vistrel::cli::startArguments(argc, argv, err);
    if (!arguments)
        return vistrel::cli::Failed;

    // Always off-screen, and the files show the window at its own size,
    // whatever the user's screen scaling.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char *scaling :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"})
        qunsetenv(scaling);
    vistrel::cli::keepQtNotesOffStderr();
    vistrel::cli::QtArguments qtArguments(argv[0]);
    QApplication app(qtArguments.argc, qtArguments.argv);
    vistrel::cli::WindowRenderer renderer;
    return vistrel::cli::runWithDataOf(cliFolder(), *arguments, out, err, &renderer);
}
