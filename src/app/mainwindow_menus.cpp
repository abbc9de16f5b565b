// The File, Option and About menus of the calculator window.
#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/dialogs.h"
#include "app/fieldeditor.h"
#include "app/plaintext.h"
#include "app/plannermemory.h"
#include "app/plannerwindow.h"
#include "app/printmodule.h"
#include "print/report.h"
#include "session/calculationfile.h"
#include "session/sheet.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>

namespace vistrel::app {

namespace {
const QString kCalculationFilter = QStringLiteral("CalculateFile (*.cf)");
const QString kModelFileFilter = QStringLiteral("ModelFile (*.ini)");
const QString kReportFilter = QStringLiteral("PDF (*.pdf)");
} // namespace

void MainWindow::showCaption(const QString &fileName) {
    setWindowTitle(plainWindowTitle(captionWithFile(appTitle(), fileName)) + QStringLiteral("[*]"));
    showModified();
}

void MainWindow::showModified() {
    setWindowModified(session_.modified());
}

bool MainWindow::mayDropChanges() {
    if (!fieldEditor_->confirmPending())
        return false;
    if (!session_.modified())
        return true;
    switch (dialogs_.askToSave(this, texts().text(OptionalKey::UnsavedChanges))) {
    case Dialogs::Unsaved::Discard:
        return true;
    case Dialogs::Unsaved::Cancel:
        return false;
    case Dialogs::Unsaved::Save:
        saveWith(SaveKind::Save);
        return !session_.modified();
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (mayDropChanges())
        event->accept();
    else
        event->ignore();
}

void MainWindow::onFileOpen() {
    if (!mayDropChanges())
        return;
    const QString path = dialogs_.showOpenDialog(this, kCalculationFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Result<void> opened = session_.open(path); !opened) {
        showError(opened.error());
        return;
    }
    showCaption(path);
}

void MainWindow::saveWith(SaveKind kind) {
    if (!fieldEditor_->confirmPending())
        return;
    bool named = false;
    const Result<void> saved = session_.save(
        kind,
        [this] {
            return dialogs_.showSaveDialog(this, kCalculationFilter, QDir::currentPath(),
                                           QStringLiteral("cf"));
        },
        &named);
    if (named)
        showCaption(session_.currentFile());
    if (!saved)
        showError(saved.error());
    showModified();
}

void MainWindow::onFileSave() {
    saveWith(SaveKind::Save);
}

void MainWindow::onFileSaveAs() {
    saveWith(SaveKind::SaveAs);
}

void MainWindow::onFilePrint() {
    if (!fieldEditor_->confirmPending())
        return;
    const Result<PrinterWindow> printerWindow =
        loadPrinterWindow(QCoreApplication::applicationDirPath());
    if (!printerWindow) {
        showError(printerWindow.error());
        return;
    }
    printerWindow->show(*this, dialogs_, texts());
}

void MainWindow::onExportReport() {
    if (!fieldEditor_->confirmPending())
        return;
    // The sheet shows the planner's inputs as the planner window would.
    if (!planner_)
        recallPlannerSettings(session_);
    const QString path =
        dialogs_.showSaveDialog(this, kReportFilter, QDir::currentPath(), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (Result<void> written = print::writeReport(path, *this, composeSheet(session_)); !written)
        showError(written.error());
}

void MainWindow::onModelInfo() {
    const QString path = dialogs_.showOpenDialog(this, kModelFileFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    const auto confirm = [this](const QString &title, const QString &question) {
        return dialogs_.confirm(this, title, question);
    };
    if (Result<void> switched = session_.switchCatalogue(path, confirm); !switched)
        showError(switched.error());
}

void MainWindow::onPlanner() {
    if (!planner_)
        planner_ = new PlannerWindow(session_, dialogs_, this);
    planner_->present();
}

void MainWindow::onAbout() {
    AboutDialog dialog(texts());
    dialog.exec();
}

} // namespace vistrel::app
