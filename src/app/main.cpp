#include "app/widgetdialogs.h"
#include "app/mainwindow.h"
#include "app/qttranslations.h"
#include "app/singleinstance.h"
#include "session/application.h"
#include "core/apppaths.h"

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
    if (!displayAvailable()) {
        std::fputs("vistrel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Vistrel from a desktop session, use vistrel-cli for the calculation,\n"
                   "or run it off-screen with QT_QPA_PLATFORM=offscreen.\n",
                   stderr);
        return 1;
    }
    vistrel::Application<QApplication> app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/vistrel.png")));

    using vistrel::app::SingleInstance;
    SingleInstance instance(SingleInstance::defaultLockPath());
    switch (instance.acquire()) {
    case SingleInstance::Start::First:
        break;
    case SingleInstance::Start::AlreadyRunning:
        std::fputs(instance.askToRaise()
                       ? "vistrel: Vistrel is running already; its window was brought to the "
                         "front.\n"
                       : "vistrel: Vistrel is running already.\n",
                   stderr);
        return 0;
    case SingleInstance::Start::NoLock:
        // Nothing shows another copy runs; better two than none.
        std::fprintf(stderr, "vistrel: %s; starting all the same.\n",
                     qPrintable(instance.lockProblem()));
        break;
    }

    vistrel::app::WidgetDialogs dialogs;
    // The window shows offsets with the user's decimal separator.
    vistrel::Session session(QLocale().decimalPoint().front());
    vistrel::app::MainWindow window(session, dialogs);
    const auto paths = vistrel::AppPaths::resolve(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const auto qtTexts = vistrel::app::installQtTranslations(paths.languageFile());
    if (window.start(paths) != vistrel::app::MainWindow::StartResult::Ready)
        return 1;
    window.show();
    instance.listen([&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.show();
        window.raise();
        window.activateWindow();
    });
    return QApplication::exec();
}
