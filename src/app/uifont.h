#pragma once

#include "core/language.h"

#include <QFont>

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

} // namespace vistrel::app
