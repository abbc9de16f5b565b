#pragma once

#include "calc/datasheet.h"
#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/perzoom.h"
#include "core/pictureformat.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace vistrel {

// A zoom end's lens as a sheet prints it: a throw ratio, or a formula.
struct SheetLens {
    std::optional<double> throwRatio;
    std::optional<LensFormula> formula;

    bool operator==(const SheetLens &) const = default;
};

// The picture's near edge seen from the lens axis, in % of the picture's
// height (a catalogue offset coefficient x 100): "offset N %" is N - 100,
// a lens-shift range its lowest and highest position.
struct SheetOffset {
    double low = 0;
    std::optional<double> high;

    bool operator==(const SheetOffset &) const = default;
};

// The screen sizes a sheet allows at one zoom end: diagonals of a picture of
// `shape`, or of the whole panel's picture when it has none.
struct SheetSizes {
    double min = 0;
    double max = 0;
    std::optional<PictureFormat> shape;

    bool operator==(const SheetSizes &) const = default;
};

// A projector in the terms of its data sheet. A fixed lens has one end, WIDE.
struct ProjectorSheet {
    QString name;
    double pixelsWide = 0; // 0: not known
    double pixelsHigh = 0;
    PerZoom<std::optional<SheetLens>> lens;
    PerZoom<SheetOffset> offset;
    PerZoom<std::optional<SheetSizes>> sizes;
    double lumens = 0;
    double teleFactor = 0; // light at TELE over WIDE; or, instead,
    double teleLumens = 0; // the light at TELE itself
    double contrast = 0;
    bool mirrored = false; // DrawFlag: the side view mirrors the near edge
    // What a catalogue line may say beyond its sheet, kept so that a model
    // shown in these terms turns back into the same line; a model made from
    // a sheet leaves them to the panel.
    std::optional<std::int16_t> wideScreenMode;
    std::optional<PerZoom<DiagonalRange>> limits169;

    bool operator==(const ProjectorSheet &) const = default;
};

// Something about a model that computes but is probably not what its
// author meant; `term` is the sheet term it concerns (`throw_tele`), so that
// the editor can show it beside that field.
struct ModelWarning {
    QString term;
    QString text;
};

struct SheetRecord {
    ModelRecord record;
    std::vector<ModelWarning> warnings;
};

// The panel's aspect a sheet implies: its pixels, else 16 : 9.
double sheetPanelAspect(const ProjectorSheet &sheet);

// A name a catalogue line can hold as it is: not empty, no comma or line
// break, no space at either end.
[[nodiscard]] Result<void> checkModelName(const QString &name);

// The catalogue's fields of a sheet. Refused, naming the term, only for what
// cannot compute: an empty name or one a catalogue line cannot hold (a
// comma, a line break), no zoom end with a lens, a throw ratio or formula
// that gives no lens. Sizes left out are taken as 30 to 300 inches of the
// whole panel's picture, with a warning.
[[nodiscard]] Result<SheetRecord> recordOf(const ProjectorSheet &sheet);
// The term a refusal of recordOf names ("throw_tele"), so that an editor
// can show it beside that field; empty for any other error.
QString refusedTermOf(const AppError &error);
// A catalogue field (1 to 23) given as it stands, taking the place of what
// the sheet gives for it: an import may hold either.
struct FieldValue {
    int field = 0;
    double value = 0;
};
[[nodiscard]] Result<SheetRecord> recordOf(const ProjectorSheet &sheet,
                                           const std::vector<FieldValue> &fields);
// The model in sheet terms: a lens line through the origin as its throw
// ratio, one with an intercept as its formula of the 4 : 3 diagonal in
// inches, the sizes of the whole panel's picture. recordOf gives the fields back.
ProjectorSheet sheetOf(const ModelRecord &record);

// A lens as a list of projectors quotes it: the distance for a picture of
// `diagonal` inches of the panel's own shape, and the throw ratio there
// (that distance over the picture's width). A line through the origin has
// the sheet's throw ratio at every size; one with an intercept has one for
// each size, so the list names the size it quotes.
inline constexpr double kQuotedDiagonal = 100;
struct QuotedThrow {
    double distance = 0; // inches
    double throwRatio = 0;
};
// Nothing for an end the model lacks, or a lens that gives no distance in
// front of it at that size.
std::optional<QuotedThrow> quotedThrow(const ModelRecord &record, Zoom zoom,
                                       double diagonal = kQuotedDiagonal);

// What looks wrong in a model: sizes the wrong way round, a throw ratio
// outside 0.1 to 10 or shorter at TELE than at WIDE, an offset beyond 200 %
// of the height, more than 100 000 lumens, a panel flatter than 1 : 1 or
// wider than 4 : 1, a negative offset without the mirror flag or the flag
// without one.
std::vector<ModelWarning> warningsOf(const ModelRecord &record);
// Each warning of each model, "Aster 2000: ...", one a line.
QStringList describeWarnings(const std::vector<ModelRecord> &models);

} // namespace vistrel
