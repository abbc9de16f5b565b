// Language.ini is the one file translators edit by hand. Whatever they
// write, looking up the program's texts must not crash, values stay within
// the length the program allows, and key and section names match whatever
// their letter case.

#include "core/language.h"
#include "core/numbers.h"
#include "files/inifile.h"
#include "files/languagefile.h"
#include "files/textfile.h"
#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>

namespace {

using vistrel::fuzz::fail;
using vistrel::fuzz::require;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const vistrel::Result<QString> decoded =
        vistrel::decodeText(vistrel::fuzz::inputBytes(data, size));
    if (!decoded)
        return 0;
    const vistrel::Result<vistrel::IniFile> parsed = vistrel::IniFile::parse(*decoded);
    if (!parsed)
        return 0;
    const vistrel::IniFile &ini = *parsed;
    const QString upperSection = vistrel::kLanguageSection.toUpper();
    const QString lowerSection = vistrel::kLanguageSection.toLower();

    // The keys in the order loadLanguage() reads them, with the same stop at
    // the first blank one; the file is never written to disk here.
    for (int i = 0; i < vistrel::kLanguageKeyCount; ++i) {
        const auto key = static_cast<vistrel::LangKey>(i);
        const QString name = vistrel::languageKeyName(key);
        const QString value = ini.value(vistrel::kLanguageSection, name);
        require(value.size() <= vistrel::kIniValueLimit, "a value is longer than the limit");
        if (ini.value(upperSection, name.toUpper()) != value ||
            ini.value(lowerSection, name.toLower()) != value)
            fail("a lookup depends on letter case", name);
        if (value.trimmed().isEmpty())
            break;
        if (key == vistrel::LangKey::FontSize)
            static_cast<void>(vistrel::roundToInt16(vistrel::leadingNumber(value)));
        if (vistrel::labelWithBreaks(value).contains(QStringLiteral("<BR>")))
            fail("a line break marker survived in a label", value);
    }
    return 0;
}
