// Renders the calculator window in its start-up state to a PNG, without a display.
#include "app/widgetdialogs.h"
#include "app/mainwindow.h"
#include "session/application.h"
#include "core/apppaths.h"
#include "print/offscreen.h"
#include "print/windowimage.h"

#include <QApplication>
#include <QFile>
#include <QLocale>

#include <cstdio>

int main(int argc, char *argv[]) {
    vistrel::print::drawOffScreen(vistrel::print::OffScreen::Always);
    vistrel::Application<QApplication> app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vistrel-snapshot OUTPUT.png\n", stderr);
        return 2;
    }
    vistrel::app::WidgetDialogs dialogs;
    vistrel::Session session(QLocale().decimalPoint().front());
    vistrel::app::MainWindow window(session, dialogs);
    const auto paths = vistrel::AppPaths::resolve(QApplication::applicationDirPath(), QString());
    if (window.start(paths) != vistrel::app::MainWindow::StartResult::Ready)
        return 1;
    window.show();
    if (const auto written = vistrel::print::writeWindowPng(window, QFile::decodeName(argv[1]));
        !written) {
        std::fprintf(stderr, "vistrel-snapshot: %s\n", qPrintable(written.error().boxText()));
        return 1;
    }
    return 0;
}
