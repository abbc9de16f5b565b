#include "catalogue/catalogueswitch.h"

#include "catalogue/modelloader.h"
#include "core/filewriter.h"
#include "core/helpers.h"
#include "core/textfile.h"

#include <QFileInfo>

namespace vistrel {

namespace {

// The chosen catalogue, read and parsed under its own name, with its bytes.
Result<std::vector<ModelRecord>> readChosen(const QString &path, QByteArray &bytes) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir() && !info.isFile())
        return makeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("Path/File access error: %1 is not a regular file").arg(path));
    return LoadModelInfo(path, &bytes);
}

AppError unusable(const AppError &reason, const QString &path) {
    return makeError(reason.number,
                     QStringLiteral("%1 cannot be the model information file, nothing was "
                                    "changed: %2")
                         .arg(path, reason.description));
}

// After a refused file the catalogue in use is read again, and used only if
// it still passes the check.
void reloadCurrent(CatalogueSwitch &result, const QString &current, const CatalogueCheck &check) {
    Result<std::vector<ModelRecord>> reloaded = LoadModelInfo(current);
    if (!reloaded) {
        result.reloadError = reloaded.error();
    } else if (Status s = check(*reloaded)) {
        result.reloadError = unusable(*s, current);
    } else {
        result.models = std::move(reloaded.value());
    }
}

} // namespace

Result<CatalogueSwitch> switchCatalogue(const QString &chosenPath, const QString &folder,
                                        const CatalogueCheck &check) {
    const QString dir = AddBackslash(folder);
    const QString current = dir + kModelInfoFile;

    QByteArray chosen;
    CatalogueSwitch result;
    VISTREL_TRY_ASSIGN(result.models, readChosen(chosenPath, chosen));
    if (result.models.empty()) {
        result.outcome = CatalogueSwitch::Outcome::NoModels;
        // The refused file stays beside the catalogue as its working copy.
        if (Status s = writeFileAtomically(dir + kWorkingCopyFile, chosen, WriteTarget::OwnFile))
            return *s;
        reloadCurrent(result, current, check);
        return result;
    }
    if (Status s = check(result.models))
        return unusable(*s, chosenPath);

    if (QFileInfo::exists(current)) {
        QByteArray previous;
        VISTREL_TRY_ASSIGN(previous, readFileBytes(current, kCatalogueLimits.maxFileBytes));
        if (Status s = writeFileAtomically(dir + kBackupFile, previous, WriteTarget::OwnFile))
            return *s;
    }
    if (Status s = writeFileAtomically(current, chosen, WriteTarget::OwnFile))
        return *s;
    if (Status s = removeOwnFile(dir + kWorkingCopyFile))
        return *s;
    return result;
}

} // namespace vistrel
