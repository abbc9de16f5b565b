// Renders the calculator window in its start-up state to a PNG, without a display.
#include "app/dialogs.h"
#include "app/mainwindow.h"
#include "core/apppaths.h"
#include "files/filewriter.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[]) {
    vistrel::ignoreFileSizeSignal();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
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
    // Encoded first, then written whole like every file the program writes.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !window.grab().save(&buffer, "PNG")) {
        std::fputs("vistrel-snapshot: cannot encode the window image\n", stderr);
        return 1;
    }
    if (const auto written = vistrel::writeFileAtomically(QFile::decodeName(argv[1]), png);
        !written) {
        std::fprintf(stderr, "vistrel-snapshot: %s\n", qPrintable(written.error().boxText()));
        return 1;
    }
    return 0;
}
