#pragma once

#include "core/language.h"

#include <QFont>
#include <QLabel>

namespace vistrel::app {

// Font sizes of Language.ini the window takes; any other leaves the size as
// it was (a size of 200 would push every caption out of its control).
inline constexpr int kSmallestFontSize = 1;
inline constexpr int kLargestFontSize = 72;

// `base` with the font name and size of Language.ini.
inline QFont uiFont(QFont base, const LanguageTexts &texts) {
    base.setFamily(texts.text(LangKey::FontName));
    if (texts.fontSize >= kSmallestFontSize && texts.fontSize <= kLargestFontSize)
        base.setPointSizeF(texts.fontSize);
    return base;
}

// A label in bold, heading the lines below it.
inline QLabel *headingLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace vistrel::app
