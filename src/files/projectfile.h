#pragma once

#include "catalogue/modelrecord.h"
#include "core/apperror.h"
#include "core/choices.h"
#include "core/pictureformat.h"
#include "core/plannersettings.h"
#include "core/roomsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace vistrel {

// A Vistrel project file (.vistrel): a calculation as this program keeps it,
// with what a calculation file cannot hold (any picture format, the
// anamorphic lens, the planner's inputs). UTF-8 JSON; docs/PROJECTFILE.md
// describes the layout. Lengths are inches.
struct ProjectFileData {
    // All the catalogue's fields, so that the file opens where the model is
    // not in the catalogue.
    ModelRecord model;
    Zoom zoomEnd = Zoom::Wide;
    Position screenPosition = Position::Bottom;
    Unit unit = Unit::Inches;
    PictureFormat format;
    double anamorphic = kNoAnamorphic;
    // The confirmed length: opening calculates the rest from it.
    double screenDiagonal = 0;
    // What the calculation gave, for whoever reads the file; opening does not use them.
    double screenWidth = 0;
    double screenHeight = 0;
    double projectionDistance = 0;
    double offset1 = 0;
    double offset2 = 0;
    PlannerSettings planner;
    // Written only when set, so a file without them reads as before.
    RoomSettings room;
    ProjectDetails details;

    bool operator==(const ProjectFileData &) const = default;
};

inline constexpr int kProjectFileVersion = 1;
// A project file is a few kilobytes; what a later version adds (a room)
// stays far below this, and a wrong file costs little to refuse.
inline constexpr qint64 kProjectFileMaxBytes = 1 << 20;

// Whether a file name asks for a project file: it ends in ".vistrel", in any case.
bool isProjectFileName(const QString &path);
// The name a calculation file's name becomes for a project file: ".cf"
// replaced by ".vistrel", any other name with ".vistrel" added.
QString projectFileNameFor(const QString &path);

// Whether the first bytes of a file are those of a project file: its first
// character past spaces (and a UTF-8 byte-order mark) opens a JSON object,
// where a calculation file starts with its model's name in quotation marks.
bool startsAsProjectFile(QByteArrayView start);
// How many first bytes are enough to tell: the program writes the brace first.
inline constexpr qint64 kProjectFileSniffBytes = 4096;

// The file, indented, with every number written so that it reads back to
// the same double.
QByteArray formatProjectFile(const ProjectFileData &data);

// Reads and checks every value the data holds; keys it does not know are
// left alone, for later versions that add to the file. Refused, with the key
// named: not JSON or cut short, no project file, a newer version, a key
// missing or of another type, a number out of range, a name without a row,
// a picture format or anamorphic factor the program does not take. `name`
// is what errors call the file.
Result<ProjectFileData> parseProjectFile(QByteArrayView bytes, const QString &name);

// The same from a file or an open device, of at most kProjectFileMaxBytes.
Result<ProjectFileData> readProjectFile(const QString &path);
Result<ProjectFileData> readProjectFile(QIODevice &device, const QString &name);

// Through the atomic writer: a failed save keeps the previous file.
[[nodiscard]] Result<void> writeProjectFile(const QString &path, const ProjectFileData &data);

} // namespace vistrel
