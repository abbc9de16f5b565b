#pragma once

#include "core/apperror.h"

#include <QString>

namespace vistrel {

// Where the program finds its texts and keeps its catalogue. Run from the
// build folder, both lie beside the executable; installed, the shipped files
// lie in share/vistrel, and when that folder cannot be written the catalogue
// the user switched to (with its backup) lives in the user's data folder,
// which then takes precedence.
struct AppPaths {
    QString dataFolder;        // Language.ini and the shipped ModelInfo.ini
    QString catalogueFolder;   // ModelInfo.ini, ~tmp.ini and OLD.ini of switches
    QString languageOverride;  // a file named on the command line instead
    QString catalogueOverride; // likewise

    QString languageFile() const;
    QString catalogueFile() const;

    static AppPaths resolve(const QString &executableFolder, const QString &userDataFolder);
    // The same, with the answer to "can the data folder be written?" given.
    static AppPaths resolve(const QString &executableFolder, const QString &userDataFolder,
                            bool dataFolderWritable);
};

// Makes sure the catalogue folder holds a ModelInfo.ini before a switch
// writes its backup there (a first switch in the user's data folder starts
// from the shipped catalogue).
Status prepareCatalogueFolder(const AppPaths &paths);

} // namespace vistrel
