#pragma once

#include "core/choices.h"

#include <QObject>

#include <array>
#include <optional>

class QLineEdit;
class QToolButton;

namespace vistrel {
class Session;
}

namespace vistrel::app {

// The four value fields as the user edits them: which one is being edited,
// its Enter button, and the keys and focus changes that confirm an edit or
// take it back. A confirmed text goes to the session, which decides what it
// means; the fields then show what the session stores.
class FieldEditor : public QObject {
    Q_OBJECT

public:
    FieldEditor(Session &session, const std::array<QLineEdit *, 4> &fields,
                const std::array<QToolButton *, 4> &buttons, QWidget *window);

    // Confirms the field being edited, if any, exactly as Enter would; false
    // when its value was refused. Saving and printing call it first, so that
    // what they write is what the fields show.
    bool confirmPending();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<Field> fieldOf(QObject *object) const;
    void focused(Field field);
    bool confirm(Field field);
    void cancel(Field field);
    void showButton(std::optional<Field> field);

    Session &session_;
    std::array<QLineEdit *, 4> fields_;
    std::array<QToolButton *, 4> buttons_;
    QWidget *window_;
    std::optional<Field> editing_; // the field whose Enter button shows
};

} // namespace vistrel::app
