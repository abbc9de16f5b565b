// How the calculator window shows what the engine reports.
#include "mainwindow.h"

#include "diagrampainter.h"
#include "dialogs.h"
#include "drawbox.h"
#include "optionframe.h"
#include "twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace vistrel::app {

namespace {

int pixel(double value) {
    return static_cast<int>(std::lround(std::clamp(value, -1e6, 1e6)));
}

void place(QWidget *widget, const PlaceF &at) {
    widget->move(pixel(at.left), pixel(at.top));
}

void showText(QLineEdit *edit, const QString &text) {
    if (edit->text() != text)
        edit->setText(text);
}

QRect twipsRect(double left, double top, double width, double height) {
    return QRect(pixel(left / kTwipsPerPixel), pixel(top / kTwipsPerPixel),
                 pixel(width / kTwipsPerPixel), pixel(height / kTwipsPerPixel));
}

} // namespace

void MainWindow::showMessage(const QString &text) {
    dialogs_.message(this, text);
}

void MainWindow::showError(const AppError &error) {
    dialogs_.error(this, error.boxText());
}

void MainWindow::fieldsChanged() {
    const Controls &c = calc_.controls();
    for (std::size_t i = 0; i < txtValue_.size(); ++i)
        showText(txtValue_[i], c.fieldText[i]);
    for (std::size_t i = 0; i < txtOffset_.size(); ++i)
        showText(txtOffset_[i], c.offsetText[i]);
    describeDiagrams();
}

void MainWindow::controlsChanged() {
    const Controls &c = calc_.controls();
    fraUnits_->showSelected(c.unit);
    fraWIDE_->showSelected(c.zoom);
    fraPosition_->showSelected(c.position);
    fraAspect_->showSelected(c.aspect);
    for (int i = 0; i < 2; ++i)
        fraWIDE_->button(i)->setEnabled(c.zoomEnabled[static_cast<std::size_t>(i)]);
    fraAspect_->button(2)->setEnabled(c.aspect169Enabled);

    // Rebuilt only when the catalogue changed: a list of 1000 models is not
    // compared on every refresh.
    if (shownModelList_ != c.modelListVersion || cboModel_->count() != c.modelItems.size()) {
        cboModel_->clear();
        for (qsizetype i = 0; i < c.modelItems.size(); ++i)
            cboModel_->addItem(c.modelItems.at(i), c.modelItemData[static_cast<std::size_t>(i)]);
        shownModelList_ = c.modelListVersion;
    }
    cboModel_->setCurrentIndex(c.modelSelected);

    for (std::size_t i = 0; i < cmdEnter_.size(); ++i)
        cmdEnter_[i]->setVisible(static_cast<int>(i) == c.visibleEnter);

    const AspectSample &s = c.aspectSample;
    lblAspectBox_->setGeometry(twipsRect(s.boxLeft, s.boxTop, s.boxWidth, s.boxHeight));
    lblAspect_->setGeometry(twipsRect(s.labelLeft, s.labelTop, s.labelWidth, s.labelHeight));
    lblAspect_->setText(s.caption);
}

void MainWindow::isometricChanged() {
    picDraw1_->clearImage();
    if (const auto &g = calc_.isometric()) {
        paintIsometric(picDraw1_->image(), *g, kit_, Pictures::get());
        for (std::size_t i = 0; i < 4; ++i) {
            place(txtValue_[i], g->value[i]);
            place(cmdEnter_[i], g->enter[i]);
            place(lblValue_[i], g->label[i]);
        }
    }
    picDraw1_->imageChanged();
}

void MainWindow::sideViewChanged() {
    picDraw2_->clearImage();
    if (const auto &g = calc_.sideView()) {
        txtOffset_[1]->setVisible(g->showSecondOffset);
        imgKara_->setVisible(g->showSecondOffset);
        paintSideView(picDraw2_->image(), *g, kit_, Pictures::get());
        place(txtOffset_[0], g->offset[0]);
        place(txtOffset_[1], g->offset[1]);
        place(imgKara_, g->kara);
        place(lblOffset_, g->label);
    }
    describeDiagrams();
    picDraw2_->imageChanged();
}

} // namespace vistrel::app
