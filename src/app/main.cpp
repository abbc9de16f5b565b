#include "core/apppaths.h"
#include "core/filewriter.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "singleinstance.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

#include <cstdio>

namespace {

// Without a display Qt would stop with a bare platform error; say what to do instead.
bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[]) {
    vistrel::ignoreFileSizeSignal();
    if (!displayAvailable()) {
        std::fputs("vistrel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Vistrel from a desktop session, use vistrel-cli for the calculation,\n"
                   "or run it off-screen with QT_QPA_PLATFORM=offscreen.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/vistrel.png")));

    vistrel::app::SingleInstance instance(vistrel::app::SingleInstance::defaultLockPath());
    if (!instance.acquire())
        return 0;

    vistrel::app::WidgetDialogs dialogs;
    // The window shows offsets with the user's decimal separator.
    vistrel::Session session(QLocale().decimalPoint().front());
    vistrel::app::MainWindow window(session, dialogs);
    const auto paths = vistrel::AppPaths::resolve(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (window.start(paths) != vistrel::app::MainWindow::StartResult::Ready)
        return 1;
    window.show();
    return QApplication::exec();
}
