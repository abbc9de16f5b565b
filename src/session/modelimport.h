#pragma once

#include "calc/projectorsheet.h"
#include "catalogue/modelrecord.h"
#include "files/modeltable.h"

#include <QString>

#include <functional>
#include <vector>

namespace vistrel {

// What an import does with one row of a table.
struct ImportEntry {
    enum class Action {
        Add,     // a new own model
        Replace, // takes the place of the own model of its name (asked)
        Refuse,  // left out, for `reason`
    };
    qsizetype line = 0;
    Action action = Action::Add;
    ModelRecord record; // for Add and Replace
    QString reason;     // for Refuse
    std::vector<ModelWarning> warnings;
};

// What importing `table` would do to the own models `own`, row by row; a
// refused row never stops the others. Refused: a row that cannot be read or
// converted, one of a name an earlier row of the table has, one beyond the
// `room` the model list has left. Nothing is written.
std::vector<ImportEntry> previewImport(const ModelTable &table, const std::vector<ModelRecord> &own,
                                       std::size_t room);
// The own models after the import: added ones after them, each replacement
// in place where `replace` says yes (every one without it).
std::vector<ModelRecord>
importedModels(const std::vector<ModelRecord> &own, const std::vector<ImportEntry> &entries,
               const std::function<bool(const ImportEntry &)> &replace = {});
// "3 added, 1 replaced, 2 refused".
QString importSummary(const std::vector<ImportEntry> &entries);
// How an entry reads in a preview: "line 4: Lumen X1: added", "line 5:
// refused: ...".
QString describe(const ImportEntry &entry);

// Models as an export writes them: their sheet terms, under sheetTermKeys().
std::vector<TermRow> exportRows(const std::vector<ModelRecord> &models);

} // namespace vistrel
