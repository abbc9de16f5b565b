#pragma once

#include "core/apperror.h"

#include <QString>
#include <QStringList>

namespace vistrel {

// Where the program finds its texts and keeps its catalogue. Run from the
// build folder, both lie beside the executable; installed, the shipped files
// lie in share/vistrel, and when that folder cannot be written the catalogue
// the user switched to (with its backup) lives in the user's data folder,
// which then takes precedence.
struct AppPaths {
    QString dataFolder;        // Language.ini, its translations and the shipped ModelInfo.ini
    QString catalogueFolder;   // ModelInfo.ini, ~tmp.ini and OLD.ini of switches
    QString languageOverride;  // a file named on the command line instead
    QString catalogueOverride; // likewise
    QString ownModelsFile;     // the user's own projectors; none without a user data folder
    QStringList uiLanguages;   // the user's languages, most wanted first ("de-DE", "fr", ...)

    // The override, else the translation Language.<code>.ini for the first of
    // `uiLanguages` that has one, else Language.ini. Language.ini holds the
    // English texts, so a user who puts English before another language gets it.
    QString languageFile() const;
    QString catalogueFile() const;

    // `uiLanguages` come from QLocale(), which follows LANGUAGE, LC_ALL,
    // LC_MESSAGES and LANG unless a default locale was set.
    static AppPaths resolve(const QString &executableFolder, const QString &userDataFolder);
    // The same, with the answer to "can the data folder be written?" given.
    static AppPaths resolve(const QString &executableFolder, const QString &userDataFolder,
                            bool dataFolderWritable);
};

} // namespace vistrel
