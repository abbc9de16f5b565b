// What a screen reader hears: the controls by their captions, the drawings
// by the numbers they show.
#include "app/mainwindow.h"

#include "app/drawbox.h"
#include "app/optionframe.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace vistrel::app {

namespace {

// A caption as spoken: one line, without the underline mark of a shortcut.
QString spoken(const QString &caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i >= caption.size())
            break;
        text += caption[i];
    }
    return text.simplified();
}

} // namespace

void MainWindow::nameControlsForScreenReaders() {
    modelCombo_->setAccessibleName(spoken(modelLabel_->text()));
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        lengthEdits_[i]->setAccessibleName(spoken(lengthLabels_[i]->text()));
    for (std::size_t i = 0; i < offsetEdits_.size(); ++i)
        offsetEdits_[i]->setAccessibleName(
            QStringLiteral("%1 %2").arg(spoken(offsetLabel_->text())).arg(i + 1));
    for (OptionFrame *frame : {unitFrame_, zoomFrame_, positionFrame_, aspectFrame_})
        for (int i = 0; i < frame->count(); ++i)
            frame->button(i)->setAccessibleName(spoken(frame->button(i)->text()));
    isometricBox_->setAccessibleName(texts().text(OptionalKey::IsometricName));
    sideViewBox_->setAccessibleName(texts().text(OptionalKey::SideViewName));
}

MainWindow::SideFacts MainWindow::sideFacts() const {
    return {session_.controls().position, offsetEdits_[1]->isVisibleTo(sideViewBox_)};
}

void MainWindow::describeDiagrams() {
    const Controls &c = session_.controls();
    describedSide_ = sideFacts();
    const QString unit = spoken(unitFrame_->button(codeOf(c.unit.value_or(Unit::Inches)))->text());
    QStringList lengths;
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        lengths << QStringLiteral("%1: %2 %3")
                       .arg(spoken(lengthLabels_[i]->text()), c.fieldText[i], unit);
    isometricBox_->setAccessibleDescription(lengths.join(QStringLiteral(", ")));

    QString offsets = c.offsetText[0];
    if (describedSide_->secondOffset)
        offsets += QStringLiteral(" ~ ") + c.offsetText[1];
    sideViewBox_->setAccessibleDescription(
        QStringLiteral("%1: %2, %3: %4 %5")
            .arg(spoken(positionFrame_->title()),
                 spoken(
                     positionFrame_->button(codeOf(c.position.value_or(Position::Bottom)))->text()),
                 spoken(offsetLabel_->text()), offsets, unit));
}

} // namespace vistrel::app
