#include "render/windowoutput.h"

#include "app/mainwindow.h"
#include "app/silentdialogs.h"
#include "core/language.h"
#include "files/filewriter.h"
#include "print/report.h"
#include "print/roomsvg.h"
#include "print/windowimage.h"
#include "print/windowprinter.h"
#include "session/session.h"
#include "session/sheet.h"

#include <QPrinter>

#include <optional>
#include <utility>

namespace vistrel::cli {

namespace {

// The first error the engine raises while the window takes the session up,
// which the window would have shown in its box.
class FirstError : public EngineObserver {
public:
    explicit FirstError(Session &session) : session_(session) { session_.addObserver(*this); }
    ~FirstError() override { session_.removeObserver(*this); }
    FirstError(const FirstError &) = delete;
    FirstError &operator=(const FirstError &) = delete;

    void showMessage(const QString &) override {}
    void showError(const AppError &error) override {
        if (!error_)
            error_ = error;
    }
    // As the window's box words it, in the texts of the session.
    Result<void> result() const {
        if (!error_)
            return {};
        return lineError(error_->number, localizedBoxText(*error_, session_.texts()));
    }

private:
    Session &session_;
    std::optional<AppError> error_;
};

Result<void> writeOutput(const QString &path, const Result<QByteArray> &bytes) {
    if (!bytes)
        return bytes.error();
    return writeFileAtomically(path, *bytes);
}

} // namespace

Result<void> WindowRenderer::write(Session &session, const CliOptions &options,
                                   QStringList &written) {
    // The room's drawings need no window, only the sheet's vectors.
    if (!options.roomSvg.isEmpty() || !options.planSvg.isEmpty()) {
        const Sheet sheet = composeSheet(session);
        for (const auto &[file, drawing] : {std::pair{options.roomSvg, &sheet.elevation},
                                            std::pair{options.planSvg, &sheet.plan}}) {
            if (file.isEmpty())
                continue;
            if (Result<void> done = writeFileAtomically(file, print::roomSvg(*drawing)); !done)
                return boxLineError(done.error());
            written << file;
        }
    }
    if (options.pdf.isEmpty() && options.png.isEmpty() && options.report.isEmpty())
        return {};
    // The command line's own session, shown in the real window off-screen:
    // what the files show is what the options made of it.
    app::SilentDialogs dialogs;
    app::MainWindow window(session, dialogs);
    {
        const FirstError raised(session);
        window.showSession();
        VISTREL_TRY(raised.result());
    }
    window.show();

    if (!options.png.isEmpty()) {
        if (Result<void> done = print::writeWindowPng(window, options.png); !done)
            return boxLineError(done.error());
        written << options.png;
    }
    if (!options.pdf.isEmpty()) {
        // The page the printer would get, in its default layout.
        const QPrinter printer(QPrinter::HighResolution);
        if (Result<void> done =
                writeOutput(options.pdf, print::windowPagePdf(window, printer.pageLayout()));
            !done)
            return boxLineError(done.error());
        written << options.pdf;
    }
    if (!options.report.isEmpty()) {
        if (Result<void> done = print::writeReport(options.report, window, composeSheet(session));
            !done)
            return boxLineError(done.error());
        written << options.report;
    }
    return {};
}

} // namespace vistrel::cli
