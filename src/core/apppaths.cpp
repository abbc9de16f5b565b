#include "core/apppaths.h"

#include "core/filenames.h"
#include "core/helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace vistrel {

namespace {

bool writableFolder(const QString &folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// The language part of a tag such as "de-DE" or "de_DE"; empty unless it is
// a plain two- or three-letter code, so no tag can reach outside the folder.
QString languageCode(const QString &tag) {
    const QString code = tag.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
    const bool letters =
        std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
    return letters && code.size() >= 2 && code.size() <= 3 ? code : QString();
}

} // namespace

QString AppPaths::languageFile() const {
    if (!languageOverride.isEmpty())
        return languageOverride;
    const QString folder = addSeparator(dataFolder);
    for (const QString &tag : uiLanguages) {
        const QString code = languageCode(tag);
        if (code == u"en")
            break;
        const QString translation = folder + kTranslatedLanguageFile.arg(code);
        if (!code.isEmpty() && fileExists(translation))
            return translation;
    }
    return folder + kLanguageFile;
}

QString AppPaths::catalogueFile() const {
    if (!catalogueOverride.isEmpty())
        return catalogueOverride;
    const QString own = addSeparator(catalogueFolder) + kModelInfoFile;
    if (catalogueFolder == dataFolder || fileExists(own))
        return own;
    return addSeparator(dataFolder) + kModelInfoFile;
}

namespace {

QString dataFolderOf(const QString &executableFolder) {
    const QString installed =
        QDir(executableFolder).absoluteFilePath(QStringLiteral("../share/vistrel"));
    const bool besideExecutable =
        fileExists(addSeparator(executableFolder) + kLanguageFile) || !QFileInfo(installed).isDir();
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
    paths.uiLanguages = QLocale().uiLanguages();
    paths.catalogueFolder =
        dataFolderWritable || userDataFolder.isEmpty() ? paths.dataFolder : userDataFolder;
    if (!userDataFolder.isEmpty())
        paths.ownModelsFile = addSeparator(userDataFolder) + kOwnModelsFile;
    return paths;
}

} // namespace vistrel
