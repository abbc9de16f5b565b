#include "catalogue/catalogueswitch.h"

#include "catalogue/modelloader.h"
#include "core/helpers.h"
#include "core/textfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vistrel {

namespace {

Result<QByteArray> readBytes(const QString &path) {
    // Any regular file the user chose counts, hidden or not.
    if (!QFileInfo(path).isFile())
        return makeError(ErrorNumber::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return makeError(ErrorNumber::PermissionDenied,
                         QStringLiteral("Permission denied: %1").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return makeError(ErrorNumber::DeviceIoError,
                         QStringLiteral("Device I/O error while reading %1").arg(path));
    return bytes;
}

// Replaces `to` by `from` in one step; QFile::rename refuses an existing target.
Status replaceFile(const QString &from, const QString &to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return makeError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: cannot rename %1 to %2: %3")
                             .arg(from, to, QString::fromLocal8Bit(std::strerror(errno))));
    return std::nullopt;
}

} // namespace

Result<CatalogueSwitch> switchCatalogue(const QString &chosenPath, const QString &folder) {
    const QString dir = AddBackslash(folder);
    const QString current = dir + kModelInfoFile;
    const QString workingCopy = dir + kWorkingCopyFile;
    const QString backup = dir + kBackupFile;

    QByteArray chosen;
    VISTREL_TRY_ASSIGN(chosen, readBytes(chosenPath));
    if (Status s = writeFileAtomically(workingCopy, chosen))
        return *s;

    CatalogueSwitch result;
    VISTREL_TRY_ASSIGN(result.models, parseModelInfo(decodeText(chosen), workingCopy));
    if (result.models.empty()) {
        result.outcome = CatalogueSwitch::Outcome::NoModels;
        Result<std::vector<ModelRecord>> reloaded = LoadModelInfo(current);
        if (reloaded)
            result.models = std::move(reloaded.value());
        else
            result.reloadError = reloaded.error();
        return result;
    }

    if (FileExists(current)) {
        QByteArray previous;
        VISTREL_TRY_ASSIGN(previous, readBytes(current));
        if (Status s = writeFileAtomically(backup, previous))
            return *s;
    }
    if (Status s = replaceFile(workingCopy, current))
        return *s;
    return result;
}

} // namespace vistrel
