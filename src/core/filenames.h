#pragma once

#include <QString>

namespace vistrel {

// The files the program keeps in its folders.
inline const QString kLanguageFile = QStringLiteral("Language.ini");
// A translation: Language.de.ini for German.
inline const QString kTranslatedLanguageFile = QStringLiteral("Language.%1.ini");
inline const QString kModelInfoFile = QStringLiteral("ModelInfo.ini");
// A catalogue file that listed no model is left here by a switch.
inline const QString kWorkingCopyFile = QStringLiteral("~tmp.ini");
// The catalogue in use before the last switch.
inline const QString kBackupFile = QStringLiteral("OLD.ini");
// The user's own projectors, in the user's data folder.
inline const QString kOwnModelsFile = QStringLiteral("MyProjectors.ini");

} // namespace vistrel
