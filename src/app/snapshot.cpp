// Renders the calculator window in its start-up state to a PNG, without a display.
#include "core/apppaths.h"
#include "dialogs.h"
#include "mainwindow.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    if (argc != 2) {
        std::fputs("usage: vistrel-snapshot OUTPUT.png\n", stderr);
        return 2;
    }
    vistrel::app::WidgetDialogs dialogs;
    vistrel::app::MainWindow window(dialogs);
    const auto paths = vistrel::AppPaths::resolve(QApplication::applicationDirPath(), QString());
    if (window.start(paths) != vistrel::app::MainWindow::StartResult::Ready)
        return 1;
    window.show();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vistrel-snapshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
