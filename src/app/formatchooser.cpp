#include "app/formatchooser.h"

#include "app/dialogs.h"
#include "app/optionframe.h"
#include "core/numbers.h"
#include "core/pictureformat.h"
#include "session/session.h"

#include <QComboBox>
#include <QLineEdit>

namespace vistrel::app {

FormatChooser::FormatChooser(Session &session, Dialogs &dialogs, OptionFrame *frame,
                             QComboBox *list, QLineEdit *typed, QWidget *window)
    : QObject(window), session_(session), dialogs_(dialogs), frame_(frame), list_(list),
      typed_(typed), window_(window) {
    for (const FormatInfo &row : kOtherFormats)
        list_->addItem(QLatin1String(row.label));
    list_->addItem(QStringLiteral("Custom...")); // until the texts are read
    connect(frame_->button(kOtherId), &QRadioButton::clicked, this, &FormatChooser::chooseOther);
    connect(list_, &QComboBox::activated, this, &FormatChooser::chooseRow);
    connect(typed_, &QLineEdit::editingFinished, this, &FormatChooser::confirmTyped);
}

int FormatChooser::customRow() const {
    return static_cast<int>(kOtherFormats.size());
}

void FormatChooser::showTexts(const LanguageTexts &texts) {
    frame_->button(kOtherId)->setText(texts.text(OptionalKey::OtherFormat));
    list_->setItemText(customRow(), texts.text(OptionalKey::CustomFormat));
}

void FormatChooser::showControls(const Controls &controls) {
    frame_->showSelected(controls.otherChosen ? kOtherId
                         : controls.aspect    ? codeOf(*controls.aspect)
                                              : -1);
    for (const AspectInfo &row : kAspects)
        frame_->button(codeOf(row.aspect))->setEnabled(controls.enabled(row.aspect));
    frame_->button(kOtherId)->setEnabled(controls.wideScreenEnabled);

    const FormatInfo *listed = otherFormatOf(controls.otherFormat);
    list_->setCurrentIndex(listed ? static_cast<int>(listed - kOtherFormats.data()) : customRow());
    list_->setEnabled(controls.otherChosen);
    const QString label = formatLabel(controls.otherFormat);
    if (typed_->text() != label)
        typed_->setText(label);
    typed_->setEnabled(controls.otherChosen && !listed);
}

void FormatChooser::chooseOther() {
    if (!session_.select(session_.controls().otherFormat))
        showControls(session_.controls());
}

void FormatChooser::chooseRow(int row) {
    if (row == customRow()) {
        // The format is typed in the field; until then the one in use stays.
        typed_->setEnabled(true);
        return;
    }
    Q_ASSERT(row >= 0 && row < customRow());
    const FormatInfo &listed = kOtherFormats[static_cast<std::size_t>(row)];
    if (!session_.select(PictureFormat{listed.width, listed.height}))
        showControls(session_.controls());
}

// A format the field does not take is put back, and the message says how to
// write one; nothing else changes.
void FormatChooser::confirmTyped() {
    // The field's own text, put back or shown anew, is no new format.
    if (!typed_->isModified())
        return;
    const Result<PictureFormat> format =
        parseFormat(withDotDecimal(typed_->text(), session_.decimalPoint()));
    if (!format) {
        // Put back first: the message box takes the focus, which ends the edit again.
        typed_->setText(formatLabel(session_.controls().otherFormat));
        dialogs_.message(window_, session_.texts().text(OptionalKey::FormatRefused));
        return;
    }
    // Written as the list writes formats, also when it is the one in use already.
    typed_->setText(formatLabel(*format));
    if (!session_.select(*format))
        showControls(session_.controls());
}

} // namespace vistrel::app
