#include "files/catalogueswitch.h"

#include "core/filenames.h"
#include "core/helpers.h"
#include "files/filewriter.h"
#include "files/modelloader.h"
#include "files/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace vistrel {

namespace {

// The chosen catalogue, read and parsed under its own name, with its bytes.
Result<Catalogue> readChosen(const QString &path, QByteArray &bytes) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir() && !info.isFile())
        return makeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("Path/File access error: %1 is not a regular file").arg(path));
    return loadCatalogue(path, &bytes);
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
    Result<Catalogue> reloaded = loadCatalogue(current);
    if (!reloaded) {
        result.reloadError = reloaded.error();
    } else if (Result<void> usable = check(reloaded->models); !usable) {
        result.reloadError = unusable(usable.error(), current);
    } else {
        result.catalogue = std::move(reloaded.value());
    }
}

// Makes sure the catalogue folder holds a ModelInfo.ini before a switch
// writes its backup there.
Result<void> prepareCatalogueFolder(const AppPaths &paths) {
    if (paths.catalogueFolder == paths.dataFolder)
        return {};
    if (!QDir().mkpath(paths.catalogueFolder))
        return makeError(ErrorNumber::PathNotFound,
                         QStringLiteral("Path not found: %1").arg(paths.catalogueFolder));
    const QString own = addSeparator(paths.catalogueFolder) + kModelInfoFile;
    if (fileExists(own))
        return {};
    QByteArray shipped;
    VISTREL_TRY_ASSIGN(shipped, readFileBytes(addSeparator(paths.dataFolder) + kModelInfoFile,
                                              kCatalogueLimits.maxFileBytes));
    return writeFileAtomically(own, shipped, WriteTarget::OwnFile);
}

} // namespace

Result<CatalogueSwitch> switchCatalogue(const QString &chosenPath, const AppPaths &paths,
                                        const CatalogueCheck &check,
                                        const ReplaceQuestion &replaceAnyway) {
    VISTREL_TRY(prepareCatalogueFolder(paths));
    const QString dir = addSeparator(paths.catalogueFolder);
    const QString current = dir + kModelInfoFile;

    QByteArray chosen;
    CatalogueSwitch result;
    VISTREL_TRY_ASSIGN(result.catalogue, readChosen(chosenPath, chosen));
    if (result.catalogue.models.empty()) {
        result.outcome = CatalogueSwitch::Outcome::NoModels;
        // The refused file stays beside the catalogue as its working copy.
        VISTREL_TRY(writeFileAtomically(dir + kWorkingCopyFile, chosen, WriteTarget::OwnFile));
        reloadCurrent(result, current, check);
        return result;
    }
    if (Result<void> usable = check(result.catalogue.models); !usable)
        return unusable(usable.error(), chosenPath);
    if (!result.catalogue.doubts.empty() && !replaceAnyway(result.catalogue.doubts)) {
        result.outcome = CatalogueSwitch::Outcome::Declined;
        result.catalogue = {};
        return result;
    }

    if (QFileInfo::exists(current)) {
        QByteArray previous;
        VISTREL_TRY_ASSIGN(previous, readFileBytes(current, kCatalogueLimits.maxFileBytes));
        VISTREL_TRY(writeFileAtomically(dir + kBackupFile, previous, WriteTarget::OwnFile));
    }
    VISTREL_TRY(writeFileAtomically(current, chosen, WriteTarget::OwnFile));
    VISTREL_TRY(removeOwnFile(dir + kWorkingCopyFile));
    return result;
}

} // namespace vistrel
