#include "core/helpers.h"

#include <QFileInfo>

#include <bit>
#include <cmath>
#include <cstdint>

namespace vistrel {

namespace {
bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}
} // namespace

QString addSeparator(const QString &path) {
    if (!path.isEmpty() && isSeparator(path.back()))
        return path;
    // A Windows path keeps its own separator; everything else gets the native one.
    const bool windowsStyle = path.contains(u'\\') && !path.contains(u'/');
    return path + (windowsStyle ? u'\\' : u'/');
}

QString fileNameOfPath(const QString &path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path.at(i)))
            return path.mid(i + 1);
    }
    return QString();
}

QString stripExtension(const QString &fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

bool fileExists(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

QString replaceText(const QString &text, const QString &search, const QString &replacement) {
    if (search.isEmpty())
        return text;
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(search, from);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += replacement;
        from = at + search.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

QString headedList(const QString &heading, const QStringList &lines, qsizetype shown) {
    QStringList text{heading};
    text += lines.mid(0, shown);
    if (lines.size() > shown)
        text << QStringLiteral("... and %1 more").arg(lines.size() - shown);
    return text.join(u'\n');
}

double maxOf(double a, double b) {
    return a > b ? a : b;
}

double roundUp(double value) {
    // The double closest to 0.99999999999; spelled as its bit pattern so that
    // no compiler rounding of the literal can change which fractions are dropped.
    static const double almostOne = std::bit_cast<double>(std::uint64_t{0x3FEFFFFFFFFEA028});
    return std::floor(value + almostOne);
}

} // namespace vistrel
