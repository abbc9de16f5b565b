#include "files/languagefile.h"

#include "core/numbers.h"
#include "files/inifile.h"

namespace vistrel {

std::optional<QString> languageText(const IniFile &ini, LangKey key) {
    QString value = ini.value(kLanguageSection, languageKeyName(key));
    if (value.trimmed().isEmpty())
        return std::nullopt;
    return value;
}

LanguageLoad loadLanguage(const QString &path) {
    LanguageLoad load;
    Result<IniFile> read = IniFile::read(path);
    // A missing or unreadable file has no texts; one that is there but too
    // large or failing to read says why.
    if (!read && (read.error().number == ErrorNumber::BadRecordLength ||
                  read.error().number == ErrorNumber::DeviceIoError)) {
        load.error = read.error();
        return load;
    }
    const IniFile ini = read ? std::move(read.value()) : IniFile();
    for (int i = 0; i < kOptionalKeyCount; ++i) {
        const QString value =
            ini.value(kLanguageSection, optionalKeyName(static_cast<OptionalKey>(i)));
        if (!value.trimmed().isEmpty())
            load.texts.optional[static_cast<std::size_t>(i)] = value;
    }
    for (std::size_t i = 0; i < kErrorNames.size(); ++i) {
        const QString value = ini.value(
            kLanguageSection, QStringLiteral("err%1").arg(static_cast<int>(kErrorNames[i].number)));
        if (!value.trimmed().isEmpty())
            load.texts.errorNames[i] = value;
    }
    for (int i = 0; i < kLanguageKeyCount; ++i) {
        const auto key = static_cast<LangKey>(i);
        const std::optional<QString> text = languageText(ini, key);
        if (!text) {
            load.missingKey = languageKeyName(key);
            return load;
        }
        const QString &value = *text;
        if (key == LangKey::FontSize) {
            const auto size = roundToInt16(leadingNumber(value));
            if (!size) {
                load.error = makeError(
                    ErrorNumber::Overflow,
                    QStringLiteral("Overflow: FontSize %1 in %2 is out of range").arg(value, path));
                return load;
            }
            load.texts.fontSize = *size;
        }
        load.texts.values[static_cast<std::size_t>(i)] = value;
        load.keysRead = i + 1;
    }
    return load;
}

} // namespace vistrel
