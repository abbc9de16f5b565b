#pragma once

#include "core/language.h"

#include <QFont>

namespace vistrel::app {

// `base` with the font name and size of Language.ini; a size of 0 or less
// leaves the size as it was.
inline QFont uiFont(QFont base, const LanguageTexts &texts) {
    base.setFamily(texts.text(LangKey::FontName));
    if (texts.fontSize > 0)
        base.setPointSizeF(texts.fontSize);
    return base;
}

} // namespace vistrel::app
