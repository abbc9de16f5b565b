#include "core/inifile.h"

#include "core/textfile.h"

namespace vistrel {

namespace {

QString unquote(const QString &value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile IniFile::load(const QString &path) {
    const Result<QString> text = readTextFile(path);
    return text ? parse(*text) : IniFile();
}

IniFile IniFile::parse(const QString &text) {
    IniFile ini;
    QString section;
    bool inSection = false;
    for (const QString &rawLine : splitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq < 0)
            continue;
        QString value = unquote(line.mid(eq + 1).trimmed());
        if (value.size() > kIniValueLimit)
            value.truncate(kIniValueLimit);
        ini.entries_.push_back({section, line.left(eq).trimmed(), value});
    }
    return ini;
}

QString IniFile::value(const QString &section, const QString &key) const {
    for (const Entry &e : entries_) {
        if (e.section.compare(section, Qt::CaseInsensitive) == 0 &&
            e.key.compare(key, Qt::CaseInsensitive) == 0)
            return e.value;
    }
    return QString();
}

QString ReadIniString(const QString &path, const QString &section, const QString &key) {
    return IniFile::load(path).value(section, key);
}

} // namespace vistrel
