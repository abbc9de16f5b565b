#pragma once

#include "app/plaintext.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

namespace vistrel::app {

// What a field of the projector form is for, on one line: its tooltip, and
// what a screen reader and the form's hint line say of it.
inline void describeField(QWidget *field, const QString &hint) {
    field->setToolTip(plainToolTip(hint));
    field->setAccessibleDescription(hint);
}

// The label beside fields for what the engine says of them, in red, hidden
// while it says nothing.
inline QLabel *noteLabel(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->hide();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(176, 0, 0));
    label->setPalette(palette);
    return label;
}

} // namespace vistrel::app
