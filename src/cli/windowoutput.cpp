#include "windowoutput.h"

#include "clisession.h"
#include "core/filewriter.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "print/windowprinter.h"

#include <QBuffer>
#include <QPixmap>
#include <QPrinter>

namespace vistrel::cli {

namespace {

// The command line already reported every message; the window's copies of
// them are not shown again. Nothing here asks for a file.
class SilentDialogs : public app::Dialogs {
public:
    void message(QWidget *, const QString &) override {}
    void error(QWidget *, const QString &text) override {
        if (firstError.isEmpty())
            firstError = text;
    }
    QString ShowOpenDialog(QWidget *, const QString &, const QString &) override {
        return QString();
    }
    QString ShowSaveDialog(QWidget *, const QString &, const QString &, const QString &) override {
        return QString();
    }

    QString firstError;
};

// Both files are made in memory and written whole by the atomic writer, so a
// full disk never leaves a truncated file or destroys the previous one.
Result<QByteArray> windowImage(QWidget &window) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !window.grab().save(&buffer, "PNG"))
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error: cannot encode the window image"));
    return png;
}

Status writeOutput(const QString &path, const Result<QByteArray> &bytes) {
    if (!bytes)
        return bytes.error();
    return writeFileAtomically(path, *bytes);
}

} // namespace

QString WindowRenderer::write(const CliOptions &options, const AppPaths &paths) {
    SilentDialogs dialogs;
    app::MainWindow window(dialogs);
    if (window.start(paths) != app::MainWindow::StartResult::Ready)
        return dialogs.firstError.isEmpty() ? QStringLiteral("the window could not start")
                                            : dialogs.firstError;
    const ApplyResult applied =
        applyOptions(window.calculator(), options, [&]() -> std::optional<AppError> {
            if (dialogs.firstError.isEmpty())
                return std::nullopt;
            return makeError(ErrorNumber::InvalidArgument, dialogs.firstError);
        });
    if (!applied.failure.isEmpty())
        return applied.failure;
    window.show();

    if (!options.png.isEmpty()) {
        if (Status s = writeOutput(options.png, windowImage(window)))
            return s->boxText();
    }
    if (!options.pdf.isEmpty()) {
        // The page the printer would get, in its default layout.
        const QPrinter printer(QPrinter::HighResolution);
        if (Status s = writeOutput(options.pdf, app::windowPagePdf(window, printer.pageLayout())))
            return s->boxText();
    }
    return QString();
}

} // namespace vistrel::cli
