#pragma once

#include "core/language.h"

#include <QString>

#include <optional>

namespace vistrel {

class IniFile;

// One text of section "Language"; nothing when the key is missing or holds
// only blanks, which stops the program. The value is returned untrimmed.
std::optional<QString> languageText(const IniFile &ini, LangKey key);

LanguageLoad loadLanguage(const QString &path);

} // namespace vistrel
