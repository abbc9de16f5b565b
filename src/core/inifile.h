#pragma once

#include <QString>

#include <vector>

namespace vistrel {

// A sectioned settings file ("[Section]" lines and "key=value" lines), read
// with the rules the program relies on: section and key names compared
// without regard to letter case, quotation marks that enclose a whole value
// removed, values cut to 1023 characters. Lines starting with ";" are
// comments. Where a section or key occurs twice, the first one counts.
class IniFile {
public:
    // A missing or unreadable file reads as an empty one: every value is empty.
    static IniFile load(const QString &path);
    static IniFile parse(const QString &text);

    QString value(const QString &section, const QString &key) const;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    std::vector<Entry> entries_;
};

inline constexpr qsizetype kIniValueLimit = 1023;

// One value of a settings file; empty text when the file, section or key is
// missing or the value is empty.
QString ReadIniString(const QString &path, const QString &section, const QString &key);

} // namespace vistrel
