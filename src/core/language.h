#pragma once

#include "core/apperror.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vistrel {

// The keys of Language.ini, in the order in which they are read; each
// key's name in the file is in languageKeyName().
enum class LangKey : int {
    Caption,
    FontName,
    FontSize,
    NoModelsMessage,
    TooLargeInches,
    TooLargeFeet,
    TooLargeCentimeters,
    TooSmallInches,
    TooSmallFeet,
    TooSmallCentimeters,
    FileMenu,
    OpenCommand,
    SaveCommand,
    SaveAsCommand,
    PrintCommand,
    QuitCommand,
    OptionMenu,
    ModelInfoCommand,
    AboutMenu,
    AboutCommand,
    ModelCaption,
    UnitsCaption,
    InchesCaption,
    FeetCaption,
    CentimetersCaption,
    ZoomCaption,
    WideCaption,
    TeleCaption,
    PositionCaption,
    TopCaption,
    BottomCaption,
    AspectCaption,
    DistanceCaption,
    DiagonalCaption,
    WidthCaption,
    HeightCaption,
    OffsetCaption,
    PrintTitle,
    PrinterCaption,
    PrintButton,
    CancelButton,
};
inline constexpr int kLanguageKeyCount = 41;
static_assert(static_cast<int>(LangKey::CancelButton) + 1 == kLanguageKeyCount);

QString languageKeyName(LangKey key);

// Shown, and the program ends, when a key of Language.ini is missing or blank.
inline const QString kLanguageErrorMessage = QStringLiteral("LANGUAGE.INI ERRER !!!! ");
inline const QString kLanguageSection = QStringLiteral("Language");

// Texts added after the first 41 keys. Language.ini files written before
// them lack them, so each has a built-in English text and its absence ends
// nothing.
enum class OptionalKey : int {
    NoPrinter,     // the printer window's word for an empty printer list
    IsometricName, // what a screen reader calls the upper drawing
    SideViewName,  // and the lower one
    // The installation planner: its menu entries, window, report and messages.
    MenuPlanner,
    MenuExportReport,
    PlannerTitle,
    Gain,
    Ambient,
    ThrowRange,
    ThrowRatio,
    Brightness,
    Lumens,
    OnScreen,
    Needed16fL,
    Against16fL,
    Contrast,
    Seat30,
    Seat36,
    Seat40,
    Acuity,
    Unknown,
    Chart,
    Copy,
    ExportCsv,
    ReportTitle,
    NotPositive,
    Negative,
    // A catalogue's planner data taken as unknown, and the question before a
    // doubtful catalogue replaces the one in use.
    PlannerDataUnknown,
    ReplaceCatalogueTitle,
    ReplaceCatalogueDoubts,
    ReplaceCatalogueQuestion,
    AtMost, // a figure known only as an upper bound
    SeatsFromScreen,
    LensThrowRatio,
    AcuityNote,
    OffsetNote,
    UnsavedChanges, // asked before unsaved changes would be lost
    VersionWord,    // "Version" in the About window
    // Picture formats on the panel, the anamorphic lens and the project file.
    OtherFormat,       // the fourth aspect option
    CustomFormat,      // the last entry of its list
    FormatListName,    // what a screen reader calls the list
    FormatRefused,     // a typed format that is none
    Anamorphic,        // the planner's input
    AnamorphicRefused, // a factor it does not take
    PictureFormat,     // the sheet's caption for the format
    Panel,             // the planner's row: the panel in use
    PanelShape,        // "%1 panel"
    PanelWithPixels,   // "%1 panel, %2 x %3"
    PictureShare,      // the picture's share of the panel
    ProjectFiles,      // the file dialogs' filter
    CalcFiles,
    CalcFileCannotHold, // saving a format a calculation file cannot hold
    // The projectors window: the own models' editor, imports and exports, and
    // which projectors fit the screen.
    MenuProjectors,
    ProjectorsTitle,
    ModelsPage,
    FitPage,
    NameCaption,
    SourceCaption,
    OwnSource,
    CatalogueSource,
    SheetThrowRatio,
    OffsetColumn,
    AddModel,
    DuplicateModel,
    EditModel,
    DeleteModel,
    ImportModels,
    ExportModels,
    ExportOwn,
    ExportAll,
    SaveModel,
    CatalogueWarnings,
    Resolution,
    Pixels,
    FixedLens,
    LensGiven,
    Formula,
    FormulaCaption,
    FormulaShape,
    FormulaUnits,
    OffsetGiven,
    OffsetN,
    LensShift,
    ScreenSizes,
    SizesOf,
    PanelOwnShape,
    TeleLight,
    AsFactor,
    AsLumens,
    NativeContrast,
    Mirrored,
    NameHint,
    ResolutionHint,
    ThrowHint,
    FormulaHint,
    OffsetHint,
    ShiftHint,
    CeilingNote,
    SizesHint,
    LumensHint,
    TeleLightHint,
    ContrastHint,
    MirrorHint,
    PreviewHeading,
    WarningsHeading,
    NotANumber,
    SaveWithWarnings,
    DeleteQuestion,
    OwnFileError,
    ImportTitle,
    ImportNote,
    ImportFiles,
    RoomFrom,
    RoomTo,
    FitsCaption,
    RangeCaption,
    WhyNot,
    YesWord,
    NoWord,
    RoomRefused,
    FitSubject,
    RoomHeading,
    ScreenBottomCaption,
    CeilingCaption,
    RoomDepthCaption,
    MountDepthCaption,
    BodyLengthCaption,
    SeatRowsCaption,
    SeatOffsetCaption,
    HeadClearanceCaption,
    ElementHeightCaption,
    LensAxisLine,
    CeilingDropLine,
    TableHeightLine,
    DoesNotFit,
    RangeText,
    DepthLeftLine,
    ShortBy,
    DiscasHeightLine,
    DiscasMetLine,
    AnalyticalLine,
    SeatTableTitle,
    RowName,
    DistanceColumn,
    EyesColumn,
    RiserColumn,
    UpColumn,
    DownColumn,
    WidthAngleColumn,
    OffAxisColumn,
    AboveCeilingLine,
    BelowFloorLine,
    ProjectCaption,
    ClientCaption,
    RoomNameCaption,
    DateCaption,
    PreparedByCaption,
    ElevationHeading,
    PlanHeading,
    ChecksHeading,
    AllChecksPass,
    ViewingAngle,
    TooSteep,
    NoMount,
    TooShallow,
    TopAboveCeiling,
    DiscasShort,
    RowBehindWall,
    ElementRefused,
    RowsRefused,
    RoomNotKept,
    PlannerPage, // the planner window's first tab, beside the room's
    LightHeading,
    LightAgeCaption,
    TargetCaption,
    HalfGainCaption,
    AgeNew,
    AgeMidLife,
    AgeEndOfLife,
    AgeTyped,
    NotSet,
    TargetsTitle,
    Target48,
    Target16fL,
    Target108,
    Target300,
    TargetOwn,
    TargetColumn,
    ScreenLumensColumn,
    RatedLumensColumn,
    PictureColumn,
    TasksTitle,
    TasksNote,
    TaskPassive,
    TaskBasic,
    TaskAnalytical,
    TaskVideo,
    TaskColumn,
    ContrastColumn,
    WhiteColumn,
    LumensColumn,
    ReachedColumn,
    NotReachable,
    OutsideHalfGain,
    InsideHalfGain,
    OffAxisText,
    AgeRefused,
    TargetRefused,
    HalfGainRefused,
};
inline constexpr int kOptionalKeyCount = 209;
static_assert(static_cast<int>(OptionalKey::HalfGainRefused) + 1 == kOptionalKeyCount);

// The names of the errors the common error box shows after "Err : NN", by
// number; a description that starts with the English name and a colon
// shows the translation instead (keys "err5", "err6", ...).
struct ErrorName {
    ErrorNumber number;
    const char *english;
};
inline constexpr std::array<ErrorName, 16> kErrorNames{{
    {ErrorNumber::InvalidArgument, "Invalid procedure call or argument"},
    {ErrorNumber::Overflow, "Overflow"},
    {ErrorNumber::OutOfMemory, "Out of memory"},
    {ErrorNumber::SubscriptOutOfRange, "Subscript out of range"},
    {ErrorNumber::DivisionByZero, "Division by zero"},
    {ErrorNumber::TypeMismatch, "Type mismatch"},
    {ErrorNumber::BadFileName, "Bad file name or number"},
    {ErrorNumber::FileNotFound, "File not found"},
    {ErrorNumber::DeviceIoError, "Device I/O error"},
    {ErrorNumber::BadRecordLength, "Bad record length"},
    {ErrorNumber::InputPastEndOfFile, "Input past end of file"},
    {ErrorNumber::PermissionDenied, "Permission denied"},
    {ErrorNumber::PathFileAccessError, "Path/File access error"},
    {ErrorNumber::PathNotFound, "Path not found"},
    {ErrorNumber::InvalidPropertyValue, "Invalid property value"},
    {ErrorNumber::InvalidPropertyArrayIndex, "Invalid property array index"},
}};
inline constexpr int kErrorNameCount = static_cast<int>(kErrorNames.size());

QString optionalKeyName(OptionalKey key);
QString optionalKeyDefault(OptionalKey key);

struct LanguageTexts {
    std::array<QString, kLanguageKeyCount> values; // exactly as read, untrimmed
    std::array<QString, kOptionalKeyCount> optional = defaultOptionalTexts();
    std::array<QString, kErrorNameCount> errorNames = defaultErrorNames(); // by kErrorNames
    std::int16_t fontSize = 0;

    const QString &text(LangKey key) const { return values[static_cast<std::size_t>(key)]; }
    const QString &text(OptionalKey key) const { return optional[static_cast<std::size_t>(key)]; }

    static std::array<QString, kOptionalKeyCount> defaultOptionalTexts();
    static std::array<QString, kErrorNameCount> defaultErrorNames();
};

// The outcome of reading Language.ini key by key. Reading stops at the first
// key that is missing or blank (`missingKey`), or at a font size beyond the
// 16-bit range, a file beyond the reader's limits or a read error (`error`);
// the keys before it are in `texts` (`keysRead` of them).
struct LanguageLoad {
    LanguageTexts texts;
    int keysRead = 0;
    QString missingKey;
    std::optional<AppError> error;

    bool complete() const { return keysRead == kLanguageKeyCount; }
};

// The common error box's text in the user's language: "Err : NN", a line
// break, and the description with the error's name translated.
QString localizedBoxText(const AppError &error, const LanguageTexts &texts);

// A caption as it reads: without the mark of its keyboard shortcut ("&&" is
// a written "&").
QString withoutMnemonic(const QString &caption);

// A message about a control: its "%1" becomes the control's caption as it
// reads, on one line.
QString messageAbout(const QString &message, const QString &caption);

// Captions of the value labels: every "<BR>" becomes a line break.
QString labelWithBreaks(const QString &caption);

} // namespace vistrel
