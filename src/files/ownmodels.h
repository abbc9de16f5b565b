#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "files/modelloader.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace vistrel {

// Models as a catalogue file holds them: the header of the 24 field names,
// then one line a model, numbers in their shortest exact form and unknown
// planner data left empty. Names hold no comma or line break (recordOf
// refuses them).
QByteArray catalogueText(const std::vector<ModelRecord> &models);

// The user's own projectors: a catalogue file of their own, so that it can
// be shared and opened as a catalogue anywhere. A file that is not there
// holds no model; one that cannot be read is an error, and the caller must
// then leave it alone rather than write over what it holds.
[[nodiscard]] Result<Catalogue> loadOwnModels(const QString &path);
// Written through the atomic writer, its folder made first when it is not
// there: a link to a regular file writes that file, anything else but a
// regular file is refused and left as it is.
[[nodiscard]] Result<void> saveOwnModels(const QString &path,
                                         const std::vector<ModelRecord> &models);

} // namespace vistrel
