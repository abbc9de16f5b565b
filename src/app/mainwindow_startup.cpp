// Start-up of the calculator window and its texts from Language.ini.
#include "app/mainwindow.h"

#include "app/dialogs.h"
#include "app/drawbox.h"
#include "app/optionframe.h"
#include "app/plaintext.h"
#include "app/uifont.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace vistrel::app {

namespace {

SizeF sizeOf(const QWidget *w) {
    return {double(w->width()), double(w->height())};
}

// A translated caption may need more room than the design gave it; the
// diagrams place the labels by their real size.
void fitLabel(QLabel *label) {
    label->resize(label->size().expandedTo(label->sizeHint()));
}

} // namespace

MainWindow::StartResult MainWindow::start(const AppPaths &paths) {
    const LanguageLoad &language = session_.readTexts(paths);
    const bool complete = applyLanguage(language);
    if (language.error) {
        dialogs_.error(this, language.error->boxText());
        return StartResult::Failed;
    }
    if (!complete) {
        dialogs_.message(this, kLanguageErrorMessage);
        return StartResult::LanguageError;
    }
    setWindowTitle(plainWindowTitle(appTitle()) + QStringLiteral("[*]"));
    nameControlsForScreenReaders();
    measureForTheDiagrams();
    if (Result<void> started = session_.start(); !started) {
        showError(started.error());
        return StartResult::Failed;
    }
    showModified();
    return StartResult::Ready;
}

void MainWindow::showSession() {
    applyLanguage(session_.language());
    setWindowTitle(plainWindowTitle(appTitle()) + QStringLiteral("[*]"));
    nameControlsForScreenReaders();
    measureForTheDiagrams();
    controlsChanged();
    session_.redraw();
}

// The diagrams place the fields, buttons and labels by their real sizes.
void MainWindow::measureForTheDiagrams() {
    IsometricMetrics iso;
    iso.box = sizeOf(isometricBox_);
    for (std::size_t i = 0; i < 4; ++i) {
        iso.value[i] = sizeOf(lengthEdits_[i]);
        iso.enter[i] = sizeOf(confirmButtons_[i]);
        iso.label[i] = sizeOf(lengthLabels_[i]);
    }
    SideMetrics side;
    side.box = sizeOf(sideViewBox_);
    side.offset = {sizeOf(offsetEdits_[0]), sizeOf(offsetEdits_[1])};
    side.tilde = sizeOf(tildeMark_);
    side.offsetLabelHeight = offsetLabel_->height();
    session_.setMetrics(iso, side);
}

// Applies the texts in the order they are read, so that when a key is
// missing everything read before it is already in place.
bool MainWindow::applyLanguage(const LanguageLoad &load) {
    const auto has = [&load](LangKey key) { return static_cast<int>(key) < load.keysRead; };
    const auto text = [&load](LangKey key) { return load.texts.text(key); };

    const std::array<std::pair<LangKey, QMenu *>, 3> menus{{{LangKey::FileMenu, fileMenu_},
                                                            {LangKey::OptionMenu, optionMenu_},
                                                            {LangKey::AboutMenu, aboutMenu_}}};
    const std::array<std::pair<LangKey, QAction *>, 7> actions{{
        {LangKey::OpenCommand, openAction_},
        {LangKey::SaveCommand, saveAction_},
        {LangKey::SaveAsCommand, saveAsAction_},
        {LangKey::PrintCommand, printAction_},
        {LangKey::QuitCommand, quitAction_},
        {LangKey::ModelInfoCommand, modelInfoAction_},
        {LangKey::AboutCommand, aboutAction_},
    }};
    for (const auto &[key, menu] : menus)
        if (has(key))
            menu->setTitle(text(key));
    for (const auto &[key, action] : actions)
        if (has(key))
            action->setText(text(key));
    if (!has(LangKey::ModelCaption))
        return false;

    applyUiFont();
    const std::array<std::pair<LangKey, QWidget *>, 12> captions{{
        {LangKey::ModelCaption, modelLabel_},
        {LangKey::UnitsCaption, unitFrame_},
        {LangKey::InchesCaption, unitFrame_->button(0)},
        {LangKey::FeetCaption, unitFrame_->button(1)},
        {LangKey::CentimetersCaption, unitFrame_->button(2)},
        {LangKey::ZoomCaption, zoomFrame_},
        {LangKey::WideCaption, zoomFrame_->button(0)},
        {LangKey::TeleCaption, zoomFrame_->button(1)},
        {LangKey::PositionCaption, positionFrame_},
        {LangKey::TopCaption, positionFrame_->button(0)},
        {LangKey::BottomCaption, positionFrame_->button(1)},
        {LangKey::AspectCaption, aspectFrame_},
    }};
    for (const auto &[key, widget] : captions) {
        if (!has(key))
            return false;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(text(key));
            fitLabel(label);
        } else if (auto *frame = qobject_cast<QGroupBox *>(widget))
            frame->setTitle(text(key));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text(key));
    }
    const std::array<std::pair<LangKey, QLabel *>, 5> labels{
        {{LangKey::DistanceCaption, lengthLabels_[0]},
         {LangKey::DiagonalCaption, lengthLabels_[1]},
         {LangKey::WidthCaption, lengthLabels_[2]},
         {LangKey::HeightCaption, lengthLabels_[3]},
         {LangKey::OffsetCaption, offsetLabel_}}};
    for (const auto &[key, label] : labels) {
        if (!has(key))
            return false;
        label->setText(
            labelWithBreaks(text(key)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        fitLabel(label);
    }
    return load.complete();
}

// The option buttons take the font from their frames.
void MainWindow::applyUiFont() {
    const std::array<QWidget *, 10> controls{
        modelLabel_,      unitFrame_,       zoomFrame_,       positionFrame_,   aspectFrame_,
        lengthLabels_[0], lengthLabels_[1], lengthLabels_[2], lengthLabels_[3], offsetLabel_};
    const QFont font = uiFont(modelLabel_->font(), texts());
    for (QWidget *w : controls)
        w->setFont(font);
}

} // namespace vistrel::app
