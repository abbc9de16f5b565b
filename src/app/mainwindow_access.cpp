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
    cboModel_->setAccessibleName(spoken(lblModel_->text()));
    for (std::size_t i = 0; i < txtValue_.size(); ++i)
        txtValue_[i]->setAccessibleName(spoken(lblValue_[i]->text()));
    for (std::size_t i = 0; i < txtOffset_.size(); ++i)
        txtOffset_[i]->setAccessibleName(
            QStringLiteral("%1 %2").arg(spoken(lblOffset_->text())).arg(i + 1));
    for (OptionFrame *frame : {fraUnits_, fraWIDE_, fraPosition_, fraAspect_})
        for (int i = 0; i < frame->count(); ++i)
            frame->button(i)->setAccessibleName(spoken(frame->button(i)->text()));
    picDraw1_->setAccessibleName(texts().text(OptionalKey::IsometricName));
    picDraw2_->setAccessibleName(texts().text(OptionalKey::SideViewName));
}

MainWindow::SideFacts MainWindow::sideFacts() const {
    return {session_.controls().position, txtOffset_[1]->isVisibleTo(picDraw2_)};
}

void MainWindow::describeDiagrams() {
    const Controls &c = session_.controls();
    describedSide_ = sideFacts();
    const QString unit = spoken(fraUnits_->button(codeOf(c.unit.value_or(Unit::Inches)))->text());
    QStringList lengths;
    for (std::size_t i = 0; i < txtValue_.size(); ++i)
        lengths
            << QStringLiteral("%1: %2 %3").arg(spoken(lblValue_[i]->text()), c.fieldText[i], unit);
    picDraw1_->setAccessibleDescription(lengths.join(QStringLiteral(", ")));

    QString offsets = c.offsetText[0];
    if (describedSide_->secondOffset)
        offsets += QStringLiteral(" ~ ") + c.offsetText[1];
    picDraw2_->setAccessibleDescription(
        QStringLiteral("%1: %2, %3: %4 %5")
            .arg(
                spoken(fraPosition_->title()),
                spoken(fraPosition_->button(codeOf(c.position.value_or(Position::Bottom)))->text()),
                spoken(lblOffset_->text()), offsets, unit));
}

} // namespace vistrel::app
