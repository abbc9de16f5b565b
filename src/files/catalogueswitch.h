#pragma once

#include "core/apperror.h"
#include "core/apppaths.h"
#include "files/modelloader.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vistrel {

struct CatalogueSwitch {
    enum class Outcome {
        Installed, // the chosen file is now ModelInfo.ini; the previous one is OLD.ini
        NoModels,  // the chosen file lists no model; nothing was installed
        Declined,  // the user would not have its doubtful values; nothing changed
    };
    Outcome outcome = Outcome::Installed;
    // The catalogue to use from now on: the installed file's, or the current
    // ModelInfo.ini read again after a refusal (none after Declined).
    Catalogue catalogue;
    // After a refusal: why the current ModelInfo.ini could not be read again
    // or used (the catalogue in use then stays as it is).
    std::optional<AppError> reloadError;
};

// Whether a catalogue can be used: its first model selected, calculated and
// drawn exactly as the next start-up will (the caller knows how).
using CatalogueCheck = std::function<Result<void>(const std::vector<ModelRecord> &models)>;
// Asked before a file whose values look wrong (text read as 0, limits the
// wrong way round, limits without a lens line) replaces the catalogue: true
// to replace it all the same.
using ReplaceQuestion = std::function<bool(const std::vector<CatalogueNote> &doubts)>;

// Installs `chosenPath` as the catalogue of the catalogue folder of `paths`
// (in the user's data folder when the program's own cannot be written: a
// first switch there starts from a copy of the shipped catalogue). The chosen file is read
// and checked first (it loads, lists a model, and passes `check`); a file that
// fails changes nothing on disk, and the error names it and the reason. One
// with doubtful values is installed only when `replaceAnyway` says so. A file
// without models is left as ~tmp.ini, as the program always did. Otherwise
// the current ModelInfo.ini becomes OLD.ini and the chosen bytes
// ModelInfo.ini, each written fresh and renamed into place: a link or other
// entry at those names is replaced, never written through, so the folder
// always ends with two complete regular files. Choosing ~tmp.ini, OLD.ini or
// ModelInfo.ini itself loses nothing. On an error ModelInfo.ini is unchanged.
Result<CatalogueSwitch> switchCatalogue(const QString &chosenPath, const AppPaths &paths,
                                        const CatalogueCheck &check,
                                        const ReplaceQuestion &replaceAnyway);

} // namespace vistrel
