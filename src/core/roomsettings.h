#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace vistrel {

// The room around the screen as the installer describes it, and the project
// it belongs to. A project file keeps both; calc/room.h computes with the
// room. Lengths are inches, heights above the floor; whatever the user has
// not set is absent.

inline constexpr double kSeatedEyeHeight = 40;
inline constexpr double kHeadClearance = 4;
// The smallest element of the content as a share of the picture height, %
// (AVIXA V202.01: 3.5 % for general content).
inline constexpr double kElementHeightPercent = 3.5;

// Beyond these a value is a slip: no room is a mile deep, no cinema seats
// fifty rows, and a smallest element is some share of the picture.
inline constexpr double kLargestRoomLength = 100000; // inches, 2.5 km
inline constexpr std::size_t kMostSeatRows = 50;
inline constexpr double kSmallestElementPercent = 0.1;
inline constexpr double kLargestElementPercent = 100;

struct SeatRow {
    double distance = 0; // from the screen
    double eyeHeight = kSeatedEyeHeight;
    bool operator==(const SeatRow &) const = default;
};

struct RoomSettings {
    std::optional<double> screenBottom; // the picture's bottom edge above the floor
    std::optional<double> ceiling;
    std::optional<double> depth;      // screen wall to back wall
    std::optional<double> mountDepth; // lens axis to the mount plate or table top
    std::optional<double> bodyLength; // the projector behind its lens
    std::optional<double> seatOffset; // the outermost seat from the centre line
    std::vector<SeatRow> rows;        // nearest first
    double headClearance = kHeadClearance;
    double elementHeightPercent = kElementHeightPercent;

    bool operator==(const RoomSettings &) const = default;
    bool isEmpty() const { return *this == RoomSettings{}; }
};

// The report's title block: what the installer types, each optional.
struct ProjectDetails {
    QString project;
    QString client;
    QString room;
    QString date;
    QString preparedBy;

    bool operator==(const ProjectDetails &) const = default;
    bool isEmpty() const { return *this == ProjectDetails{}; }
};
// Longer than a title line holds is a slip (or a pasted document).
inline constexpr qsizetype kLongestDetail = 200;

} // namespace vistrel
