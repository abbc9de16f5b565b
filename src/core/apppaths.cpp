#include "core/apppaths.h"

#include "catalogue/catalogueswitch.h"
#include "catalogue/modelloader.h"
#include "core/filewriter.h"
#include "core/helpers.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace vistrel {

namespace {

bool writableFolder(const QString &folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

QString AppPaths::languageFile() const {
    if (!languageOverride.isEmpty())
        return languageOverride;
    return AddBackslash(dataFolder) + QStringLiteral("Language.ini");
}

QString AppPaths::catalogueFile() const {
    if (!catalogueOverride.isEmpty())
        return catalogueOverride;
    const QString own = AddBackslash(catalogueFolder) + kModelInfoFile;
    if (catalogueFolder == dataFolder || FileExists(own))
        return own;
    return AddBackslash(dataFolder) + kModelInfoFile;
}

namespace {

QString dataFolderOf(const QString &executableFolder) {
    const QString installed =
        QDir(executableFolder).absoluteFilePath(QStringLiteral("../share/vistrel"));
    const bool besideExecutable =
        FileExists(AddBackslash(executableFolder) + QStringLiteral("Language.ini")) ||
        !QFileInfo(installed).isDir();
    return besideExecutable ? executableFolder : QDir::cleanPath(installed);
}

} // namespace

AppPaths AppPaths::resolve(const QString &executableFolder, const QString &userDataFolder) {
    return resolve(executableFolder, userDataFolder,
                   writableFolder(dataFolderOf(executableFolder)));
}

AppPaths AppPaths::resolve(const QString &executableFolder, const QString &userDataFolder,
                           bool dataFolderWritable) {
    AppPaths paths;
    paths.dataFolder = dataFolderOf(executableFolder);
    paths.catalogueFolder =
        dataFolderWritable || userDataFolder.isEmpty() ? paths.dataFolder : userDataFolder;
    return paths;
}

Status prepareCatalogueFolder(const AppPaths &paths) {
    if (paths.catalogueFolder == paths.dataFolder)
        return std::nullopt;
    if (!QDir().mkpath(paths.catalogueFolder))
        return makeError(ErrorNumber::PathNotFound,
                         QStringLiteral("Path not found: %1").arg(paths.catalogueFolder));
    const QString own = AddBackslash(paths.catalogueFolder) + kModelInfoFile;
    if (FileExists(own))
        return std::nullopt;
    const Result<QByteArray> shipped = readFileBytes(
        AddBackslash(paths.dataFolder) + kModelInfoFile, kCatalogueLimits.maxFileBytes);
    if (!shipped)
        return shipped.error();
    return writeFileAtomically(own, *shipped, WriteTarget::OwnFile);
}

} // namespace vistrel
