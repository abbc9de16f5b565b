#pragma once

#include "core/language.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace vistrel {

// The user's choices, each with one table that holds everything about it:
// its code (the number calculation files store), its texts, its names on
// the command line and in JSON, and its numbers. A new unit or aspect ratio
// is a new enumerator and a new row.

// Every length is held in inches; a unit only matters where a number is
// typed or shown.
enum class Unit : int { Inches, Feet, Centimeters };

// How finely a length is shown: whole tens, whole units or tenths.
enum class Step : int { Tens, Units, Tenths };

struct UnitInfo {
    Unit unit;
    double perInch;    // inches x perInch = the length in this unit
    const char *cli;   // --unit
    const char *json;  // "unit" of the JSON report
    LangKey caption;   // the option's caption in Language.ini
    Step lengthStep;   // width, height, diagonal
    Step distanceStep; // projection distance
    Step offsetStep;   // both offsets; tenths are shown with one decimal
    double chartStep;  // between two screen sizes of the throw chart
};

// The longest length the program works with, in inches (some 25 million
// kilometres): sixteen digits at most in any unit, and room to convert and
// round without leaving the range of a double. A model whose limits or lens
// lines give more is refused as an overflow; a figure beyond it is unknown.
inline constexpr double kLongestLength = 1e15;

inline constexpr std::array<UnitInfo, 3> kUnits{{
    {Unit::Inches, 1.0, "in", "inches", LangKey::InchesCaption, Step::Units, Step::Units,
     Step::Tenths, 10},
    // One twelfth, as the double closest to it; entry divides by it.
    {Unit::Feet, 0.08333333333333333, "ft", "feet", LangKey::FeetCaption, Step::Units, Step::Units,
     Step::Tenths, 1},
    {Unit::Centimeters, 2.54, "cm", "centimeters", LangKey::CentimetersCaption, Step::Units,
     Step::Tens, Step::Units, 25},
}};

enum class Zoom : int { Wide, Tele };

struct ZoomInfo {
    Zoom zoom;
    const char *name; // "WIDE"
    const char *cli;  // --zoom
    LangKey caption;
};

inline constexpr std::array<ZoomInfo, 2> kZoomEnds{{
    {Zoom::Wide, "WIDE", "wide", LangKey::WideCaption},
    {Zoom::Tele, "TELE", "tele", LangKey::TeleCaption},
}};

// Where the projector is: hung above the picture or standing below it.
enum class Position : int { Top, Bottom };

struct PositionInfo {
    Position position;
    const char *cli; // --position, and "position" of the JSON report
    LangKey caption;
};

inline constexpr std::array<PositionInfo, 2> kPositions{{
    {Position::Top, "top", LangKey::TopCaption},
    {Position::Bottom, "bottom", LangKey::BottomCaption},
}};

enum class Aspect : int { Ratio4x3, Ratio5x4, Ratio16x9 };

// How a picture of the aspect follows from the lens line, which gives the
// diagonal of a 4 : 3 picture.
enum class AspectRule {
    Lens43,     // the lens line itself
    SameHeight, // as high as the 4 : 3 picture
    WideScreen, // by the model's 16 : 9 conversion
};

// The catalogue gives screen limits (and the diagram its longest distance)
// twice: for the 4 : 3 group, which 5 : 4 shares, and for 16 : 9.
enum class AspectGroup : int { FourThree, SixteenNine };

struct AspectInfo {
    Aspect aspect;
    double width;
    double height;
    const char *label; // "4 : 3": the option and the sample, the same in every language
    const char *cli;   // --aspect
    AspectRule rule;
    AspectGroup group;
};

inline constexpr std::array<AspectInfo, 3> kAspects{{
    {Aspect::Ratio4x3, 4, 3, "4 : 3", "4:3", AspectRule::Lens43, AspectGroup::FourThree},
    {Aspect::Ratio5x4, 5, 4, "5 : 4", "5:4", AspectRule::SameHeight, AspectGroup::FourThree},
    {Aspect::Ratio16x9, 16, 9, "16 : 9", "16:9", AspectRule::WideScreen, AspectGroup::SixteenNine},
}};

// The four value fields; the typed one says what the calculation starts from.
enum class Field : int { Distance, Diagonal, Width, Height };

struct FieldInfo {
    Field field;
    const char *cli;  // --distance TEXT
    const char *json; // key in "fields" of the JSON report
    LangKey caption;
};

inline constexpr std::array<FieldInfo, 4> kFields{{
    {Field::Distance, "distance", "distance", LangKey::DistanceCaption},
    {Field::Diagonal, "diagonal", "diagonal", LangKey::DiagonalCaption},
    {Field::Width, "width", "width", LangKey::WidthCaption},
    {Field::Height, "height", "height", LangKey::HeightCaption},
}};

// What a calculation starts from: a typed field (the first four share the
// field's number), or the stored diagonal. No file or output holds a mode.
enum class CalcMode : int { Distance, Diagonal, Width, Height, StoredDiagonal };

CalcMode modeOf(Field field);

const UnitInfo &info(Unit unit);
const ZoomInfo &info(Zoom zoom);
const PositionInfo &info(Position position);
const AspectInfo &info(Aspect aspect);
const FieldInfo &info(Field field);

// The index of a choice in its table, which is also its code in files.
template <typename Choice> constexpr int codeOf(Choice choice) {
    return static_cast<int>(choice);
}
// A code read from a file or a list position; nothing for a code without a row.
template <typename Choice> std::optional<Choice> choiceOf(int code);
// A name given on the command line (`cli` of the tables).
template <typename Choice>
std::optional<Choice> choiceNamed(QStringView cli, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// The rows whose pair of sides is exactly (width, height); other pairs match none.
std::optional<Aspect> aspectOf(double width, double height);

double toInches(double value, Unit unit);
double fromInches(double inches, Unit unit);

} // namespace vistrel
