#include "app/fieldeditor.h"

#include "session/session.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

namespace vistrel::app {

namespace {

std::size_t slot(Field field) {
    return static_cast<std::size_t>(field);
}

} // namespace

FieldEditor::FieldEditor(Session &session, const std::array<QLineEdit *, 4> &fields,
                         const std::array<QToolButton *, 4> &buttons, QWidget *window)
    : QObject(window), session_(session), fields_(fields), buttons_(buttons), window_(window) {
    for (const FieldInfo &row : kFields) {
        const Field field = row.field;
        fields_[slot(field)]->installEventFilter(this);
        // An edit of the text (typing, pasting, deleting) shows the button; a
        // modifier, a menu shortcut or a cursor key changes nothing.
        connect(fields_[slot(field)], &QLineEdit::textEdited, this,
                [this, field] { showButton(field); });
        connect(buttons_[slot(field)], &QToolButton::clicked, this,
                [this, field] { confirm(field); });
    }
    showButton(std::nullopt);
}

std::optional<Field> FieldEditor::fieldOf(QObject *object) const {
    for (const FieldInfo &row : kFields) {
        if (fields_[slot(row.field)] == object)
            return row.field;
    }
    return std::nullopt;
}

bool FieldEditor::eventFilter(QObject *watched, QEvent *event) {
    const std::optional<Field> field = fieldOf(watched);
    if (!field)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // A message box, a menu or another window taking the focus for a
        // moment is not the user entering or leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason || !window_->isVisible())
            break;
        if (event->type() == QEvent::FocusIn)
            focused(*field);
        else
            confirm(*field);
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            confirm(*field);
            return true;
        }
        if (key == Qt::Key_Escape) {
            cancel(*field);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void FieldEditor::focused(Field field) {
    showButton(field);
    // Typing replaces the value; after the click that focused the field has
    // placed the cursor.
    QLineEdit *edit = fields_[slot(field)];
    QTimer::singleShot(0, edit, [edit] {
        if (edit->hasFocus())
            edit->selectAll();
    });
}

bool FieldEditor::confirm(Field field) {
    showButton(std::nullopt);
    // A failed calculation has been shown in its box, a refusal in the range message.
    const Result<Entered> entered = session_.enter(field, fields_[slot(field)]->text());
    return entered && *entered == Entered::Taken;
}

void FieldEditor::cancel(Field field) {
    showButton(std::nullopt);
    fields_[slot(field)]->setText(session_.controls().text(field));
}

bool FieldEditor::confirmPending() {
    if (!editing_)
        return true;
    return confirm(*editing_);
}

void FieldEditor::showButton(std::optional<Field> field) {
    editing_ = field;
    for (const FieldInfo &row : kFields)
        buttons_[slot(row.field)]->setVisible(row.field == field);
}

} // namespace vistrel::app
