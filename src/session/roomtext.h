#pragma once

#include "calc/room.h"
#include "core/language.h"
#include "draw/roomdrawing.h"
#include "session/sheet.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

// The room as the installer types it and reads it, the same in the planner
// window, on the sheet and on the command line: lengths in the user's unit
// named by the unit's caption, angles in degrees with one decimal.

// What the user types into the room.
enum class RoomInput : int {
    ScreenBottom,
    Ceiling,
    Depth,
    MountDepth,
    BodyLength,
    SeatOffset,
    Rows,
    HeadClearance,
    ElementHeight,
};

struct RoomInputInfo {
    RoomInput input;
    OptionalKey caption;
    OptionalKey refusal; // "%1" the caption
};

inline constexpr std::array<RoomInputInfo, 9> kRoomInputs{{
    {RoomInput::ScreenBottom, OptionalKey::ScreenBottomCaption, OptionalKey::RoomRefused},
    {RoomInput::Ceiling, OptionalKey::CeilingCaption, OptionalKey::RoomRefused},
    {RoomInput::Depth, OptionalKey::RoomDepthCaption, OptionalKey::RoomRefused},
    {RoomInput::MountDepth, OptionalKey::MountDepthCaption, OptionalKey::RoomRefused},
    {RoomInput::BodyLength, OptionalKey::BodyLengthCaption, OptionalKey::RoomRefused},
    {RoomInput::SeatOffset, OptionalKey::SeatOffsetCaption, OptionalKey::RoomRefused},
    {RoomInput::Rows, OptionalKey::SeatRowsCaption, OptionalKey::RowsRefused},
    {RoomInput::HeadClearance, OptionalKey::HeadClearanceCaption, OptionalKey::RoomRefused},
    {RoomInput::ElementHeight, OptionalKey::ElementHeightCaption, OptionalKey::ElementRefused},
}};

const RoomInputInfo &info(RoomInput input);

// `room` with `text`, in `unit`, as the value of `input`. Nothing typed
// unsets a length, restores the usual head clearance or element height, and
// leaves no seat rows. Rows are "distance[@eyes]" separated by ";", in any
// order (they are kept nearest first). Refused with the input's message, or
// with the room's own reason (a ceiling below the screen), and nothing changes.
[[nodiscard]] Result<RoomSettings> withRoomInput(RoomSettings room, RoomInput input,
                                                 QStringView text, Unit unit,
                                                 const LanguageTexts &texts, QChar decimalPoint);
// Several inputs typed together (the command line's options): each read as
// above, the room checked once they are all in, so that a new screen height
// and a new ceiling are judged together.
struct TypedRoomInput {
    RoomInput input;
    QString text;
};
[[nodiscard]] Result<RoomSettings> withRoomInputs(RoomSettings room,
                                                  const std::vector<TypedRoomInput> &typed,
                                                  Unit unit, const LanguageTexts &texts,
                                                  QChar decimalPoint);
// The value of `input` as its field shows it.
QString roomInputText(const RoomSettings &room, RoomInput input, Unit unit, QChar decimalPoint);
// One row as "distance[@eyes]", in `unit`; the eyes default to a seated viewer's.
std::optional<SeatRow> parseSeatRow(QStringView text, Unit unit, QChar decimalPoint);

// The report's title block.
enum class DetailInput : int { Project, Client, Room, Date, PreparedBy };
inline constexpr std::array<DetailInput, 5> kDetailInputs{DetailInput::Project, DetailInput::Client,
                                                          DetailInput::Room, DetailInput::Date,
                                                          DetailInput::PreparedBy};
OptionalKey captionOf(DetailInput input);
QString &detailOf(ProjectDetails &details, DetailInput input);
const QString &detailOf(const ProjectDetails &details, DetailInput input);
// The lines the user filled in, each with its caption.
std::vector<SheetLine> detailLines(const ProjectDetails &details, const LanguageTexts &texts);

// A length of the room in `unit`, with the unit's name.
QString roomLength(double inches, Unit unit, const LanguageTexts &texts, QChar decimalPoint);
QString angleText(double degrees, QChar decimalPoint);

// The lens axis window, the mount, the depth left at each end and the DISCAS
// figures, as far as the room's inputs give them.
std::vector<SheetLine> roomLines(const RoomReport &report, const RoomSettings &room, Unit unit,
                                 const LanguageTexts &texts, QChar decimalPoint);
// Every failing check in words, with what to change.
QStringList roomProblems(const RoomReport &report, const RoomSettings &room, Unit unit,
                         const LanguageTexts &texts, QChar decimalPoint);
// A row per seat row: its distance, eye height, riser, the angles up and
// down, the angle the picture's width fills and the off-axis angle.
SheetTable seatTable(const RoomReport &report, const RoomSettings &room, Unit unit,
                     const LanguageTexts &texts, QChar decimalPoint);

// What the drawings show of the room and the calculation.
ElevationInput elevationInputOf(const RoomReport &report, const RoomSettings &room,
                                const LanguageTexts &texts);
PlanInput planInputOf(const RoomReport &report, const RoomSettings &room,
                      const LanguageTexts &texts, QChar decimalPoint);
RoomLengthText roomLengthWriter(Unit unit, const LanguageTexts &texts, QChar decimalPoint);

} // namespace vistrel
