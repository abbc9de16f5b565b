#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"

#include <QString>

#include <optional>
#include <vector>

namespace vistrel {

inline const QString kModelInfoFile = QStringLiteral("ModelInfo.ini");
inline const QString kWorkingCopyFile = QStringLiteral("~tmp.ini");
inline const QString kBackupFile = QStringLiteral("OLD.ini");

struct CatalogueSwitch {
    enum class Outcome {
        Installed, // the chosen file is now ModelInfo.ini; the previous one is OLD.ini
        NoModels,  // the chosen file lists no model; nothing was installed
    };
    Outcome outcome = Outcome::Installed;
    // The catalogue to use from now on: the installed file's models, or the
    // current ModelInfo.ini read again after a refusal.
    std::vector<ModelRecord> models;
    // After a refusal: why the current ModelInfo.ini could not be read again
    // (the catalogue in use then stays as it is).
    std::optional<AppError> reloadError;
};

// Installs `chosenPath` as the catalogue of `folder`: copies it to ~tmp.ini,
// checks that it loads and lists at least one model, keeps the current
// ModelInfo.ini as OLD.ini and moves the copy in its place. Every file is
// replaced by an atomic rename, so the folder always holds a ModelInfo.ini,
// and the chosen file is read before anything is written, so choosing
// ~tmp.ini, OLD.ini or ModelInfo.ini itself loses nothing. On an error
// ModelInfo.ini is unchanged.
Result<CatalogueSwitch> switchCatalogue(const QString &chosenPath, const QString &folder);

} // namespace vistrel
