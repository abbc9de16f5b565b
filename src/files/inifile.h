#pragma once

#include "files/textfile.h"

#include <QHash>
#include <QString>

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
    // The same, with the reason a file could not be read.
    static Result<IniFile> read(const QString &path);
    static Result<IniFile> parse(const QString &text);

    QString value(const QString &section, const QString &key) const;

private:
    static QString nameOf(QStringView section, QStringView key);
    void take(QStringView rawLine);

    QHash<QString, QString> values_; // by case-folded section and key
    QString section_;
    bool inSection_ = false;
};

inline constexpr qsizetype kIniValueLimit = 1023;

// A real settings file is a few kilobytes; a longer line is cut (its value
// would be cut to kIniValueLimit characters anyway).
inline constexpr ReadLimits kSettingsLimits{2 << 20, 64 << 10, true};

} // namespace vistrel
