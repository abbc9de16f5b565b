#include "files/inifile.h"

#include "files/textfile.h"

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
    Result<IniFile> ini = read(path);
    return ini ? std::move(ini.value()) : IniFile();
}

Result<IniFile> IniFile::read(const QString &path) {
    IniFile ini;
    VISTREL_TRY(readTextLines(path, kSettingsLimits, [&ini](QStringView line) {
        ini.take(line);
        return Result<LineStep>(LineStep::More);
    }));
    return ini;
}

Result<IniFile> IniFile::parse(const QString &text) {
    IniFile ini;
    VISTREL_TRY(forEachLine(text, [&ini](QStringView line) {
        ini.take(line);
        return Result<LineStep>(LineStep::More);
    }));
    return ini;
}

void IniFile::take(QStringView rawLine) {
    const QStringView line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(u';'))
        return;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        section_ = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
        inSection_ = true;
        return;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (!inSection_ || eq < 0)
        return;
    const QString name = nameOf(section_, line.left(eq).trimmed());
    if (values_.contains(name))
        return;
    QString value = unquote(line.mid(eq + 1).trimmed().toString());
    if (value.size() > kIniValueLimit)
        value.truncate(kIniValueLimit);
    values_.insert(name, value);
}

namespace {

// Every start folds hundreds of names, all of them ASCII in the files the
// program ships, and Qt's full case folding costs the command line more than
// the rest of reading its texts: ASCII is folded here, anything else by Qt.
// Writes `text` folded at `out`, or says that it is not ASCII.
bool foldAscii(QStringView text, QChar *out) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return false;
        *out++ = u >= u'A' && u <= u'Z' ? QChar(u + (u'a' - u'A')) : c;
    }
    return true;
}

} // namespace

QString IniFile::nameOf(QStringView section, QStringView key) {
    QString name(section.size() + 1 + key.size(), Qt::Uninitialized);
    QChar *out = name.data();
    out[section.size()] = u'\n';
    if (foldAscii(section, out) && foldAscii(key, out + section.size() + 1))
        return name;
    return section.toString().toCaseFolded() + u'\n' + key.toString().toCaseFolded();
}

QString IniFile::value(const QString &section, const QString &key) const {
    return values_.value(nameOf(section, key));
}

} // namespace vistrel
