// vistrel-render: vistrel-cli for the runs that draw the window (--pdf,
// --png, --report). vistrel-cli hands such runs over to it, so that the
// calculation alone never loads the widgets.
#include "cli/clirun.h"
#include "cli/clistart.h"
#include "print/offscreen.h"
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
    vistrel::print::drawOffScreen(vistrel::print::OffScreen::AtOwnSize);
    vistrel::cli::CliStart<QApplication> start(argc, argv);
    if (!start.arguments())
        return vistrel::cli::Failed;
    vistrel::cli::WindowRenderer renderer;
    return vistrel::cli::runWithDataOf(cliFolder(), *start.arguments(), start.out(), start.err(),
                                       &renderer);
}
