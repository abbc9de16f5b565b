#include "session/modelimport.h"

#include "calc/sheetterms.h"

#include <algorithm>

namespace vistrel {

namespace {

ImportEntry refusedEntry(qsizetype line, QString reason) {
    ImportEntry entry;
    entry.line = line;
    entry.action = ImportEntry::Action::Refuse;
    entry.reason = std::move(reason);
    return entry;
}

bool named(const std::vector<ModelRecord> &models, const QString &name) {
    return std::any_of(models.begin(), models.end(),
                       [&name](const ModelRecord &m) { return m.name == name; });
}

} // namespace

std::vector<ImportEntry> previewImport(const ModelTable &table, const std::vector<ModelRecord> &own,
                                       std::size_t room) {
    std::vector<ImportEntry> entries;
    std::vector<ModelRecord> taken;
    for (const TableProblem &problem : table.problems)
        entries.push_back(refusedEntry(problem.line, problem.reason));
    for (const TermRow &row : table.rows) {
        const Result<SheetRecord> converted = recordFromTerms(row.terms);
        if (!converted) {
            entries.push_back(refusedEntry(row.line, converted.error().description));
            continue;
        }
        const ModelRecord &record = converted->record;
        if (named(taken, record.name)) {
            entries.push_back(refusedEntry(
                row.line, QStringLiteral("an earlier row has the name \"%1\"").arg(record.name)));
            continue;
        }
        ImportEntry entry;
        entry.line = row.line;
        entry.record = record;
        entry.warnings = converted->warnings;
        if (named(own, record.name)) {
            entry.action = ImportEntry::Action::Replace;
        } else if (room == 0) {
            entries.push_back(refusedEntry(
                row.line,
                QStringLiteral("the model list is full (%1 models)").arg(kModelCapacity)));
            continue;
        } else {
            --room;
        }
        taken.push_back(record);
        entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ImportEntry &a, const ImportEntry &b) { return a.line < b.line; });
    return entries;
}

std::vector<ModelRecord> importedModels(const std::vector<ModelRecord> &own,
                                        const std::vector<ImportEntry> &entries,
                                        const std::function<bool(const ImportEntry &)> &replace) {
    std::vector<ModelRecord> models = own;
    for (const ImportEntry &entry : entries) {
        if (entry.action == ImportEntry::Action::Add) {
            models.push_back(entry.record);
        } else if (entry.action == ImportEntry::Action::Replace && (!replace || replace(entry))) {
            for (ModelRecord &model : models) {
                if (model.name == entry.record.name)
                    model = entry.record;
            }
        }
    }
    return models;
}

QString importSummary(const std::vector<ImportEntry> &entries) {
    std::array<int, 3> counts{};
    for (const ImportEntry &entry : entries)
        ++counts[static_cast<std::size_t>(entry.action)];
    return QStringLiteral("%1 added, %2 replaced, %3 refused")
        .arg(counts[0])
        .arg(counts[1])
        .arg(counts[2]);
}

QString describe(const ImportEntry &entry) {
    const QString where = QStringLiteral("line %1: ").arg(entry.line);
    switch (entry.action) {
    case ImportEntry::Action::Add:
        return visibleText(where + entry.record.name + QStringLiteral(": added"));
    case ImportEntry::Action::Replace:
        return visibleText(where + entry.record.name +
                           QStringLiteral(": replaces your own model of that name"));
    case ImportEntry::Action::Refuse:
        break;
    }
    return visibleText(where + QStringLiteral("refused: ") + entry.reason);
}

std::vector<TermRow> exportRows(const std::vector<ModelRecord> &models) {
    std::vector<TermRow> rows;
    rows.reserve(models.size());
    qsizetype line = 1;
    for (const ModelRecord &model : models)
        rows.push_back({++line, sheetTermsOf(model)});
    return rows;
}

} // namespace vistrel
