#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "files/textfile.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vistrel {

// A real catalogue line is about a hundred bytes and a full catalogue of
// 1000 models about a hundred kilobytes: 4 MiB and 16 KiB a line leave
// room for forty times that.
inline constexpr ReadLimits kCatalogueLimits{4 << 20, 16 << 10, false};

// Something in a model line that loads but is probably not what its author meant.
struct CatalogueNote {
    enum class Kind {
        PlannerUnknown,   // a planner field that is no valid planner data, taken as unknown
        TextReadAsZero,   // a calculator field holding text without a number
        LimitsReversed,   // a largest diagonal below the smallest (`field` is the largest)
        LimitWithoutLens, // diagonal limits for a zoom end that has no lens line
    };
    Kind kind = Kind::PlannerUnknown;
    qsizetype line = 0; // in the file, the header being line 1
    int field = 0;
    QString value; // the field's text as written

    // "line 3, field 20 (TeleLumenFactor): "9"", names and values made visible.
    QString describe() const;
};

// Each note described, one a line.
QStringList describeAll(const std::vector<CatalogueNote> &notes);

struct Catalogue {
    std::vector<ModelRecord> models;
    // Planner data that could not be used: the fields are unknown, the load goes on.
    std::vector<CatalogueNote> warnings;
    // Calculator data that reads, as it always has, but looks wrong: worth a
    // question before such a file replaces the catalogue in use.
    std::vector<CatalogueNote> doubts;
};

// Reads a model information file: a header line, then one comma-separated
// line of 19 fields per model, and the planner's optional fields after them.
// Only the 19 fields decide whether the file can be used, all or nothing: the
// error says why not (missing or unreadable file, more than 1000 models, a
// number out of range, a line or file beyond kCatalogueLimits). Reading stops
// at the 1001st model line. `bytesRead`, when given, receives the bytes read.
Result<Catalogue> loadCatalogue(const QString &path, QByteArray *bytesRead = nullptr);
// The same from an open device; `name` is what errors call it.
Result<Catalogue> loadCatalogue(QIODevice &device, const QString &name);
Result<Catalogue> parseCatalogue(const QString &text, const QString &path);

} // namespace vistrel
