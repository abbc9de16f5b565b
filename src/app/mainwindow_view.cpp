// How the calculator window shows what the engine reports.
#include "app/mainwindow.h"

#include "app/diagrampainter.h"
#include "app/dialogs.h"
#include "app/drawbox.h"
#include "app/optionframe.h"
#include "app/twips.h"

#include "core/helpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace vistrel::app {

namespace {

int pixel(double value) {
    // NaN passes a clamp; it places nothing anywhere sensible, so at 0.
    if (std::isnan(value))
        return 0;
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
    dialogs_.error(this, localizedBoxText(error, texts()));
}

void MainWindow::showWarnings(const QString &heading, const QStringList &lines) {
    dialogs_.warning(this, headedList(heading, lines));
}

void MainWindow::fieldsChanged() {
    const Controls &c = session_.controls();
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        showText(lengthEdits_[i], c.fieldText[i]);
    for (std::size_t i = 0; i < offsetEdits_.size(); ++i)
        showText(offsetEdits_[i], c.offsetText[i]);
    describeDiagrams();
    showModified();
}

namespace {

// The option id a group shows: the choice's code, -1 for none.
template <typename Choice> int idOf(const std::optional<Choice> &choice) {
    return choice ? codeOf(*choice) : -1;
}

} // namespace

void MainWindow::controlsChanged() {
    const Controls &c = session_.controls();
    unitFrame_->showSelected(idOf(c.unit));
    zoomFrame_->showSelected(idOf(c.zoom));
    positionFrame_->showSelected(idOf(c.position));
    aspectFrame_->showSelected(idOf(c.aspect));
    for (const ZoomInfo &row : kZoomEnds)
        zoomFrame_->button(codeOf(row.zoom))
            ->setEnabled(c.zoomEnabled[static_cast<std::size_t>(row.zoom)]);
    for (const AspectInfo &row : kAspects)
        aspectFrame_->button(codeOf(row.aspect))->setEnabled(c.enabled(row.aspect));

    // Rebuilt only when the catalogue changed: a list of 1000 models is not
    // compared on every refresh.
    if (shownModelList_ != c.modelListVersion || modelCombo_->count() != c.modelItems.size()) {
        modelCombo_->clear();
        for (qsizetype i = 0; i < c.modelItems.size(); ++i)
            modelCombo_->addItem(c.modelItems.at(i), c.modelItemData[static_cast<std::size_t>(i)]);
        shownModelList_ = c.modelListVersion;
    }
    modelCombo_->setCurrentIndex(c.modelSelected);
    if (c.aspect)
        showAspectSample(*c.aspect);
    showModified();
}

// The sample keeps its height and centre, and its width shows the shape.
void MainWindow::showAspectSample(Aspect aspect) {
    // The design, in twips of the frame: the box and the caption centred in it.
    constexpr double kBoxCentre = 120 + 1695 / 2.0, kBoxTop = 240, kBoxHeight = 735;
    constexpr double kCaptionWidth = 615, kCaptionHeight = 255;
    const AspectInfo &row = info(aspect);
    const double width = std::nearbyint(kBoxHeight * row.width / row.height);
    const double left = kBoxCentre - width / 2;
    aspectSampleBox_->setGeometry(twipsRect(left, kBoxTop, width, kBoxHeight));
    aspectSample_->setGeometry(twipsRect((width - kCaptionWidth) / 2 + left,
                                         (kBoxHeight - kCaptionHeight) / 2 + kBoxTop, kCaptionWidth,
                                         kCaptionHeight));
    aspectSample_->setText(QLatin1String(row.label));
}

void MainWindow::isometricChanged() {
    const std::optional<IsometricGeometry> &g = session_.calculator().isometric();
    if (g) {
        for (std::size_t i = 0; i < 4; ++i) {
            place(lengthEdits_[i], g->value[i]);
            place(confirmButtons_[i], g->enter[i]);
            place(lengthLabels_[i], g->label[i]);
        }
    }
    if (isometricBox_->holdsDrawing() && drawnIsometric_ == g)
        return;
    DrawnArea drawn = isometricBox_->startDrawing();
    if (g)
        paintIsometric(isometricBox_->image(), *g, kit_, drawn);
    isometricBox_->finishDrawing(drawn);
    drawnIsometric_ = g;
}

void MainWindow::sideViewChanged() {
    showModified(); // the position is part of the calculation
    const std::optional<SideGeometry> &g = session_.calculator().sideView();
    if (g) {
        offsetEdits_[1]->setVisible(g->showSecondOffset);
        tildeMark_->setVisible(g->showSecondOffset);
        place(offsetEdits_[0], g->offset[0]);
        place(offsetEdits_[1], g->offset[1]);
        place(tildeMark_, g->tilde);
        place(offsetLabel_, g->label);
    }
    // The fields' texts were described with them; the side view adds the
    // position and whether the second offset shows.
    if (describedSide_ != sideFacts())
        describeDiagrams();
    if (sideViewBox_->holdsDrawing() && drawnSide_ == g)
        return;
    DrawnArea drawn = sideViewBox_->startDrawing();
    if (g)
        paintSideView(sideViewBox_->image(), *g, kit_, drawn);
    sideViewBox_->finishDrawing(drawn);
    drawnSide_ = g;
}

} // namespace vistrel::app
