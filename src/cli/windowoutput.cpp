#include "windowoutput.h"

#include "clisession.h"
#include "core/textfile.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "print/windowprinter.h"

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

    if (!options.png.isEmpty() && !window.grab().save(options.png, "PNG"))
        return QStringLiteral("cannot write %1").arg(options.png);
    if (!options.pdf.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const Result<QByteArray> page = app::windowPagePdf(window, printer.pageLayout());
        if (!page)
            return page.error().boxText();
        if (Status s = writeFileAtomically(options.pdf, *page))
            return s->boxText();
    }
    return QString();
}

} // namespace vistrel::cli
