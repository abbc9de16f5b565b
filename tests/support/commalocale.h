#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>

namespace vistrel::test {

// Sets LC_NUMERIC to German, whose decimal point is ",": from the system, or
// compiled into `scratch` when the system has only C. False when neither works.
inline bool useCommaLocale(const QTemporaryDir &scratch) {
    const auto comma = [] {
        return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
               QByteArray(std::localeconv()->decimal_point) == ",";
    };
    if (comma())
        return true;
    if (!scratch.isValid())
        return false;
    const QString target = scratch.filePath(QStringLiteral("de_DE.UTF-8"));
    // localedef exits 1 for mere warnings; what counts is the result.
    if (!QFile::exists(target))
        QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), target});
    // Only for this call: programs the tests start later must not inherit a
    // folder that is gone by then (glibc leaks the search path it cannot use).
    const QByteArray before = qgetenv("LOCPATH");
    const bool hadBefore = qEnvironmentVariableIsSet("LOCPATH");
    qputenv("LOCPATH", QFile::encodeName(scratch.path()));
    const bool set = comma();
    if (hadBefore)
        qputenv("LOCPATH", before);
    else
        qunsetenv("LOCPATH");
    return set;
}

} // namespace vistrel::test
