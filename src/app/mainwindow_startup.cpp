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
    const bool complete = ApplyLanguage(language);
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
    ApplyLanguage(session_.language());
    setWindowTitle(plainWindowTitle(appTitle()) + QStringLiteral("[*]"));
    nameControlsForScreenReaders();
    measureForTheDiagrams();
    controlsChanged();
    session_.redraw();
}

// The diagrams place the fields, buttons and labels by their real sizes.
void MainWindow::measureForTheDiagrams() {
    IsometricMetrics iso;
    iso.box = sizeOf(picDraw1_);
    for (std::size_t i = 0; i < 4; ++i) {
        iso.value[i] = sizeOf(txtValue_[i]);
        iso.enter[i] = sizeOf(cmdEnter_[i]);
        iso.label[i] = sizeOf(lblValue_[i]);
    }
    SideMetrics side;
    side.box = sizeOf(picDraw2_);
    side.offset = {sizeOf(txtOffset_[0]), sizeOf(txtOffset_[1])};
    side.kara = sizeOf(imgKara_);
    side.offsetLabelHeight = lblOffset_->height();
    session_.setMetrics(iso, side);
}

// Applies the texts in the order they are read, so that when a key is
// missing everything read before it is already in place.
bool MainWindow::ApplyLanguage(const LanguageLoad &load) {
    const auto has = [&load](LangKey key) { return static_cast<int>(key) < load.keysRead; };
    const auto text = [&load](LangKey key) { return load.texts.text(key); };

    const std::array<std::pair<LangKey, QMenu *>, 3> menus{{{LangKey::MnuFile, nmuFile_},
                                                            {LangKey::MnuOption, mnuOption_},
                                                            {LangKey::MnuAbout, mnuAbout_}}};
    const std::array<std::pair<LangKey, QAction *>, 7> actions{{
        {LangKey::MnuFileOpen, mnuFileOpen_},
        {LangKey::MnuFileSave, mnuFileSave_},
        {LangKey::MnuFileSaveAs, mnuFileSaveAs_},
        {LangKey::MnuFilePrint, mnuFilePrint_},
        {LangKey::MnuFileQuit, mnuFileQuit_},
        {LangKey::MnuOptionModelInfo, mnuOptionModelInfo_},
        {LangKey::MnuAboutAbout, mnuAboutAbout_},
    }};
    for (const auto &[key, menu] : menus)
        if (has(key))
            menu->setTitle(text(key));
    for (const auto &[key, action] : actions)
        if (has(key))
            action->setText(text(key));
    if (!has(LangKey::Lbl1))
        return false;

    applyUiFont();
    const std::array<std::pair<LangKey, QWidget *>, 12> captions{{
        {LangKey::Lbl1, lblModel_},
        {LangKey::Lbl2, fraUnits_},
        {LangKey::Lbl3, fraUnits_->button(0)},
        {LangKey::Lbl4, fraUnits_->button(1)},
        {LangKey::Lbl5, fraUnits_->button(2)},
        {LangKey::Lbl6, fraWIDE_},
        {LangKey::Lbl7, fraWIDE_->button(0)},
        {LangKey::Lbl8, fraWIDE_->button(1)},
        {LangKey::Lbl9, fraPosition_},
        {LangKey::Lbl10, fraPosition_->button(0)},
        {LangKey::Lbl11, fraPosition_->button(1)},
        {LangKey::Lbl12, fraAspect_},
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
    const std::array<std::pair<LangKey, QLabel *>, 5> labels{{{LangKey::Lbl13, lblValue_[0]},
                                                              {LangKey::Lbl14, lblValue_[1]},
                                                              {LangKey::Lbl15, lblValue_[2]},
                                                              {LangKey::Lbl16, lblValue_[3]},
                                                              {LangKey::Lbl17, lblOffset_}}};
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
    const std::array<QWidget *, 10> controls{lblModel_,    fraUnits_,    fraWIDE_,     fraPosition_,
                                             fraAspect_,   lblValue_[0], lblValue_[1], lblValue_[2],
                                             lblValue_[3], lblOffset_};
    const QFont font = uiFont(lblModel_->font(), texts());
    for (QWidget *w : controls)
        w->setFont(font);
}

} // namespace vistrel::app
