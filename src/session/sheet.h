#pragma once

#include "draw/roomdrawing.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vistrel {

class Session;

// The installation sheet as words, before anyone lays it out: every text
// already in the user's language, unit and decimal point. The PDF sheet sets
// it in type and the command line prints its sections, so both say the same
// because only composeSheet() decides what the sheet says.

// One line of a section: a caption and its value, and the heading it stands
// under (empty for none; lines of one heading follow each other).
struct SheetLine {
    QString heading;
    QString caption;
    QString value;
};

// A title over its lines, and beneath them what a caption cannot say in a
// few words. Only paper has room for the notes; a terse listing leaves them out.
struct SheetSection {
    QString title;
    std::vector<SheetLine> lines;
    QStringList notes;
};

// A table with a header per column and rows of cells as they are written
// (an absent number is an empty cell), under a title and what it is of.
struct SheetTable {
    QString title;
    QString subject;
    QStringList headers;
    std::vector<QStringList> rows;
};

struct Sheet {
    QString title;
    QString fontName; // the language's font: some scripts need their own
    SheetSection calculation;
    SheetSection planner;
    SheetTable chart;
    // The title block: the lines the user filled in, none when none is.
    std::vector<SheetLine> titleBlock;
    // The room's figures with every failing check as a note, its seat rows
    // and both drawings; all empty while no room is set.
    SheetSection room;
    SheetTable seats;
    RoomDrawing elevation;
    RoomDrawing plan;
    // The light budget: the light source's age, the half-gain angle and the
    // rows outside its cone, the targets, and the lumens for the room's
    // viewing tasks (its note says which contrast it is).
    SheetSection light;
    SheetTable targets;
    SheetTable tasks;
    // What stands over the checks (the room's notes) and over each drawing.
    QString checksHeading;
    QString elevationHeading;
    QString planHeading;
    bool hasRoom() const {
        return !room.lines.empty() || !seats.rows.empty() || !room.notes.empty();
    }
};

// The sheet of the session as it is now.
Sheet composeSheet(const Session &session);

// The sheet's room alone, for a window that shows it without the rest;
// empty while no room is set.
struct RoomSheet {
    SheetSection room; // every failing check a note, else "every check passes"
    SheetTable seats;
    RoomDrawing elevation;
    RoomDrawing plan;
    bool failing = false; // the notes are failing checks
};
RoomSheet composeRoom(const Session &session);

struct LightSheet {
    SheetSection light;
    SheetTable targets;
    SheetTable tasks;
};
LightSheet composeLight(const Session &session);

} // namespace vistrel
