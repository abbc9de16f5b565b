// The File, Option and About menus of the calculator window.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "calc/catalogueprobe.h"
#include "catalogue/catalogueswitch.h"
#include "core/helpers.h"
#include "dialogs.h"
#include "plaintext.h"
#include "print/printdialog.h"

#include <QDir>

namespace vistrel::app {

namespace {
const QString kCalculationFilter = QStringLiteral("CalculateFile (*.cf)");
const QString kModelFileFilter = QStringLiteral("ModelFile (*.ini)");
} // namespace

void MainWindow::showCaption(const QString &fileName) {
    setWindowTitle(plainWindowTitle(captionWithFile(appTitle(), fileName)));
}

void MainWindow::mnuFileOpen_Click() {
    const QString path = dialogs_.ShowOpenDialog(this, kCalculationFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Status s = OpenCalculateFile(calc_, path)) {
        dialogs_.error(this, s->boxText());
        return;
    }
    showCaption(path);
}

void MainWindow::saveWith(SaveKind kind) {
    if (!calc_.confirmPendingEdit())
        return;
    bool named = false;
    const Status s = SaveCalculateFile(
        calc_, kind,
        [this] {
            return dialogs_.ShowSaveDialog(this, kCalculationFilter, QDir::currentPath(),
                                           QStringLiteral("cf"));
        },
        &named);
    if (named)
        showCaption(calc_.CurrentFileName());
    if (s)
        dialogs_.error(this, s->boxText());
}

void MainWindow::mnuFileSave_Click() {
    saveWith(SaveKind::Save);
}

void MainWindow::mnuFileSaveAs_Click() {
    saveWith(SaveKind::SaveAs);
}

void MainWindow::mnuFilePrint_Click() {
    if (!calc_.confirmPendingEdit())
        return;
    PrintDialog dialog(*this, dialogs_, texts_);
    dialog.exec();
}

void MainWindow::mnuOptionModelInfo_Click() {
    const QString path = dialogs_.ShowOpenDialog(this, kModelFileFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Status s = prepareCatalogueFolder(paths_)) {
        dialogs_.error(this, s->boxText());
        return;
    }
    // A file that cannot be used leaves the catalogue in use, and the files, as they are.
    Result<CatalogueSwitch> result =
        switchCatalogue(path, paths_.catalogueFolder, [this](const std::vector<ModelRecord> &m) {
            return probeCatalogue(calc_, m);
        });
    if (!result) {
        dialogs_.error(this, result.error().boxText());
        return;
    }
    if (result->outcome == CatalogueSwitch::Outcome::NoModels) {
        dialogs_.message(this, ReplaceText(calc_.messages().MsgGeneral, QStringLiteral("%1"),
                                           visibleText(path)));
        if (result->reloadError) {
            dialogs_.error(this, result->reloadError->boxText());
            return;
        }
    }
    if (Status s = calc_.replaceCatalogue(std::move(result.value().models)))
        dialogs_.error(this, s->boxText());
}

void MainWindow::mnuAboutAbout_Click() {
    AboutDialog dialog(texts_);
    dialog.exec();
}

} // namespace vistrel::app
