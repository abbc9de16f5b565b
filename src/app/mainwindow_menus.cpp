// The File, Option and About menus of the calculator window.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "catalogue/catalogueswitch.h"
#include "core/helpers.h"
#include "dialogs.h"
#include "print/printdialog.h"

#include <QDir>

namespace vistrel::app {

namespace {
const QString kCalculationFilter = QStringLiteral("CalculateFile (*.cf)");
const QString kModelFileFilter = QStringLiteral("ModelFile (*.ini)");
} // namespace

void MainWindow::showCaption(const QString &fileName) {
    setWindowTitle(captionWithFile(appTitle(), fileName));
}

void MainWindow::openCalculation() {
    const QString path = dialogs_.openFile(this, kCalculationFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Status s = openCalculationFile(calc_, path)) {
        dialogs_.error(this, s->boxText());
        return;
    }
    showCaption(path);
}

void MainWindow::saveWith(SaveKind kind) {
    bool named = false;
    const Status s = saveCalculateFile(
        calc_, kind,
        [this] {
            return dialogs_.saveFile(this, kCalculationFilter, QDir::currentPath(),
                                     QStringLiteral("cf"));
        },
        &named);
    if (named)
        showCaption(calc_.currentFileName());
    if (s)
        dialogs_.error(this, s->boxText());
}

void MainWindow::saveCalculation() {
    saveWith(SaveKind::Save);
}

void MainWindow::saveCalculationAs() {
    saveWith(SaveKind::SaveAs);
}

void MainWindow::printCalculation() {
    PrintDialog dialog(*this, dialogs_, texts_);
    dialog.exec();
}

void MainWindow::selectModelInfoFile() {
    const QString path = dialogs_.openFile(this, kModelFileFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Status s = prepareCatalogueFolder(paths_)) {
        dialogs_.error(this, s->boxText());
        return;
    }
    // A file that cannot be used leaves the catalogue in use as it is.
    Result<CatalogueSwitch> result = switchCatalogue(path, paths_.catalogueFolder);
    if (!result) {
        dialogs_.error(this, result.error().boxText());
        return;
    }
    if (result->outcome == CatalogueSwitch::Outcome::NoModels)
        dialogs_.message(this, replaceText(calc_.messages().general, QStringLiteral("%1"), path));
    if (Status s = calc_.replaceCatalogue(std::move(result.value().models)))
        dialogs_.error(this, s->boxText());
}

void MainWindow::showAbout() {
    AboutDialog dialog(texts_);
    dialog.exec();
}

} // namespace vistrel::app
