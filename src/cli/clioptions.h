#pragma once

#include "core/choices.h"
#include "core/pictureformat.h"
#include "session/lighttext.h"
#include "session/roomtext.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>

namespace vistrel::cli {

// Every option of vistrel-cli is one row of kOptions: the parser, the usage
// text, the check of what goes with --list-models and the bash completion
// (written from this table at build time) all read it, and the tests hold
// the manual to it.

// The options, as the parser stores them. The rows of the typed value
// (--distance, --diagonal, ...) share Value and tell their field.
enum class OptionId {
    Catalogue,
    Language,
    Open,
    Model,
    Zoom,
    Aspect,
    Anamorphic,
    Unit,
    Position,
    Value,
    Save,
    Pdf,
    Png,
    Gain,
    Ambient,
    Light,
    Planner,
    Chart,
    Report,
    Room,
    Detail,
    RoomSvg,
    PlanSvg,
    AddModel,
    Replace,
    ModelsImport,
    ModelsExport,
    AllModels,
    DryRun,
    Fit,
    FitDistance,
    ModelTerms,
    ListModels,
    Json,
    Help,
};

// What follows an option's name, as the next argument or after "=".
enum class Argument {
    None,   // nothing: a switch (and "--switch=..." is no option at all)
    File,   // a file name, never an empty one
    Name,   // a model's name, as the catalogue lists it
    Choice, // one of the names `choices` gives, in any case
    Number, // a number, read as the fields read one
    Text,   // typed into `field` (or the room's input) as the window's user would type it
    Phrase, // read by the option's own rules: KEY=VALUE terms, a range
};

struct CliOption {
    OptionId id = OptionId::Help;
    const char *name = nullptr; // "--catalogue"; of a typed value, from kFields
    Argument argument = Argument::None;
    const char *placeholder = ""; // the usage's "--catalogue FILE"; a choice shows its names
    // The usage's description; each "\n" starts another line of its column.
    // Rows next to each other with the same description share one entry.
    const char *help = "";
    bool withListModels = false; // may go with --list-models, which leaves every other unused
    // May go with --models-export -, whose file is standard output: every
    // option that prints there is refused beside it.
    bool withExportToStdout = false;
    const char *files = nullptr; // File: the endings of the files the completion offers, "a|b"
    QStringList (*choices)() = nullptr;        // Choice: its names
    Field field = Field::Distance;             // Text: the field typed into
    RoomInput room = RoomInput::ScreenBottom;  // Room: the room's input typed into
    DetailInput detail = DetailInput::Project; // Detail: the title block's line
    LightInput light = LightInput::Age;        // Light: the light budget's input typed into
    const char *alias = nullptr;               // a second name, for the parser alone ("-h")
};

// The `cli` names of a choice table, in its order.
template <const auto &kTable> QStringList cliNames() {
    QStringList names;
    for (const auto &row : kTable)
        names << QLatin1String(row.cli);
    return names;
}

// The formats --aspect names: the three aspect options', then the others'.
inline QStringList formatNames() {
    return cliNames<kAspects>() + cliNames<kOtherFormats>();
}

namespace detail {

// In the order the usage and the completion list them. The one Value row
// stands for a row per field of kFields.
inline constexpr CliOption kRows[]{
    {.id = OptionId::Catalogue,
     .name = "--catalogue",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "model information file (default: ModelInfo.ini beside the program)",
     .withListModels = true,
     .withExportToStdout = true,
     .files = "ini"},
    {.id = OptionId::Language,
     .name = "--language",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "text file (default: chosen from the user's languages)",
     .withListModels = true,
     .withExportToStdout = true,
     .files = "ini"},
    {.id = OptionId::Open,
     .name = "--open",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "open a calculation file or a Vistrel project file",
     .files = "cf|vistrel"},
    {.id = OptionId::Model,
     .name = "--model",
     .argument = Argument::Name,
     .placeholder = "NAME",
     .help = "select the first model of that name"},
    {.id = OptionId::Zoom,
     .name = "--zoom",
     .argument = Argument::Choice,
     .help = "zoom end",
     .choices = &cliNames<kZoomEnds>},
    {.id = OptionId::Aspect,
     .name = "--aspect",
     .argument = Argument::Choice,
     .help = "picture format: one of these, W:H or a ratio from 1 to 4",
     .choices = &formatNames},
    {.id = OptionId::Anamorphic,
     .name = "--anamorphic",
     .argument = Argument::Number,
     .placeholder = "K",
     .help = "anamorphic lens factor, 1 (none) to 2"},
    {.id = OptionId::Unit,
     .name = "--unit",
     .argument = Argument::Choice,
     .help = "unit of the fields",
     .choices = &cliNames<kUnits>},
    {.id = OptionId::Position,
     .name = "--position",
     .argument = Argument::Choice,
     .help = "projector position",
     .choices = &cliNames<kPositions>},
    {.id = OptionId::Value,
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "type TEXT into that field and press Enter"},
    {.id = OptionId::Save,
     .name = "--save",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the calculation file; a name ending in .vistrel\n"
             "writes a Vistrel project file, which also keeps any\n"
             "picture format, the anamorphic lens and the planner's inputs",
     .files = "cf|vistrel"},
    {.id = OptionId::Pdf,
     .name = "--pdf",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the page the printer would get, as a PDF",
     .files = "pdf"},
    {.id = OptionId::Png,
     .name = "--png",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the window image",
     .files = "png"},
    {.id = OptionId::Gain,
     .name = "--gain",
     .argument = Argument::Number,
     .placeholder = "G",
     .help = "screen gain for the planner (default 1)"},
    {.id = OptionId::Ambient,
     .name = "--ambient",
     .argument = Argument::Number,
     .placeholder = "LUX",
     .help = "light falling on the screen, lux (default 0: a dark room)"},
    {.id = OptionId::Light,
     .name = "--age",
     .argument = Argument::Text,
     .placeholder = "F|new|mid|end",
     .help = "the light source's age: new, mid (mid-life), end (end of life) or\n"
             "the share of its light left, 0.1 to 1 (default new), for every\n"
             "figure of light; it, --target-nits and --half-gain add the light\n"
             "budget to the result",
     .light = LightInput::Age},
    {.id = OptionId::Light,
     .name = "--target-nits",
     .argument = Argument::Text,
     .placeholder = "N",
     .help = "your own target for the picture's white, in nits, or \"N fL\"",
     .light = LightInput::Target},
    {.id = OptionId::Light,
     .name = "--half-gain",
     .argument = Argument::Text,
     .placeholder = "DEG",
     .help = "the screen's half-gain angle from its data sheet, degrees; with\n"
             "--seat-offset, each row's outermost seat against its cone",
     .light = LightInput::HalfGain},
    {.id = OptionId::Planner,
     .name = "--planner",
     .help = "print the planner's numbers after the result (--gain, --ambient and\n"
             "the light budget's options do too)"},
    {.id = OptionId::Chart,
     .name = "--chart",
     .help = "print the throw chart as CSV (with --json: a JSON array)"},
    {.id = OptionId::Report,
     .name = "--report",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the installation sheet (window, numbers, chart) as a PDF",
     .files = "pdf"},
    {.id = OptionId::Room,
     .name = "--screen-bottom",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "the room: the picture's bottom edge above the floor; lengths of the\n"
             "room are in the unit of the fields, applied after the calculation\n"
             "and after --open",
     .room = RoomInput::ScreenBottom},
    {.id = OptionId::Room,
     .name = "--ceiling",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "the ceiling's height above the floor",
     .room = RoomInput::Ceiling},
    {.id = OptionId::Room,
     .name = "--room-depth",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "from the screen wall to the back wall",
     .room = RoomInput::Depth},
    {.id = OptionId::Room,
     .name = "--mount-depth",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "from the lens axis to the mount plate or the table top",
     .room = RoomInput::MountDepth},
    {.id = OptionId::Room,
     .name = "--body-length",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "the projector's length behind its lens",
     .room = RoomInput::BodyLength},
    {.id = OptionId::Room,
     .name = "--row",
     .argument = Argument::Text,
     .placeholder = "DIST[@EYE]",
     .help = "a seat row: its distance from the screen and its eye height\n"
             "(default 40 in); may be given more than once",
     .room = RoomInput::Rows},
    {.id = OptionId::Room,
     .name = "--seat-offset",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "the outermost seat from the screen's centre line",
     .room = RoomInput::SeatOffset},
    {.id = OptionId::Room,
     .name = "--head-clearance",
     .argument = Argument::Text,
     .placeholder = "L",
     .help = "what a row must see over the heads in front (default 4 in)",
     .room = RoomInput::HeadClearance},
    {.id = OptionId::Room,
     .name = "--eh",
     .argument = Argument::Text,
     .placeholder = "PCT",
     .help = "the content's smallest element, % of the picture height (default 3.5)",
     .room = RoomInput::ElementHeight},
    {.id = OptionId::Detail,
     .name = "--project",
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "the title block of the report",
     .detail = DetailInput::Project},
    {.id = OptionId::Detail,
     .name = "--client",
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "the title block of the report",
     .detail = DetailInput::Client},
    {.id = OptionId::Detail,
     .name = "--room-name",
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "the title block of the report",
     .detail = DetailInput::Room},
    {.id = OptionId::Detail,
     .name = "--date",
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "the title block of the report",
     .detail = DetailInput::Date},
    {.id = OptionId::Detail,
     .name = "--prepared-by",
     .argument = Argument::Text,
     .placeholder = "TEXT",
     .help = "the title block of the report",
     .detail = DetailInput::PreparedBy},
    {.id = OptionId::RoomSvg,
     .name = "--room-svg",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the room's elevation, drawn to scale, as an SVG",
     .files = "svg"},
    {.id = OptionId::PlanSvg,
     .name = "--plan-svg",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "write the room's plan, drawn to scale, as an SVG",
     .files = "svg"},
    {.id = OptionId::AddModel,
     .name = "--add-model",
     .argument = Argument::Phrase,
     .placeholder = "TERMS",
     .help = "add one of your own models from its data sheet's terms,\n"
             "\"name=Lumen X1,px=1920x1080,throw=1.36-2.18,offset=110%\";\n"
             "may be given more than once; the run then computes with it"},
    {.id = OptionId::Replace,
     .name = "--replace",
     .help = "let --add-model and --models-import replace your own\n"
             "model of the same name"},
    {.id = OptionId::ModelsImport,
     .name = "--models-import",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "import your own models from a CSV, JSON or catalogue file;\n"
             "a refused row is listed and stops none of the others",
     .files = "csv|json|ini|txt"},
    {.id = OptionId::ModelsExport,
     .name = "--models-export",
     .argument = Argument::File,
     .placeholder = "FILE",
     .help = "export your own models in data-sheet terms to a CSV or JSON file\n"
             "(\"-\": standard output, JSON with --json, else CSV)",
     .withExportToStdout = true,
     .files = "csv|json"},
    {.id = OptionId::AllModels,
     .name = "--all-models",
     .help = "export every model of the list, the catalogue's too",
     .withExportToStdout = true},
    {.id = OptionId::DryRun,
     .name = "--dry-run",
     .help = "print what --add-model, --models-import or --models-export\n"
             "would change, and write nothing",
     .withExportToStdout = true},
    {.id = OptionId::Fit,
     .name = "--fit",
     .help = "print which models can fill the run's screen, and where\n"
             "they may stand"},
    {.id = OptionId::FitDistance,
     .name = "--fit-distance",
     .argument = Argument::Phrase,
     .placeholder = "MIN-MAX",
     .help = "with --fit, the distances the projector may stand at, in the unit\n"
             "of the fields (implies --fit)"},
    {.id = OptionId::ModelTerms,
     .name = "--model-terms",
     .help = "print the model in use as --add-model takes it; with --json,\n"
             "\"model_terms\" gives its catalogue fields and data-sheet terms"},
    {.id = OptionId::ListModels,
     .name = "--list-models",
     .help = "print INDEX<TAB>NAME per model and exit; with --json,\n"
             "a JSON array of {\"index\", \"name\"} objects instead.\n"
             "Only --catalogue, --language and --json go with it;\n"
             "any other option is an error",
     .withListModels = true},
    {.id = OptionId::Json,
     .name = "--json",
     .help = "print the result as one JSON object; its \"planner\" gives lengths in the unit of "
             "the fields, null where the catalogue does not tell",
     .withListModels = true,
     .withExportToStdout = true},
    {.id = OptionId::Help,
     .name = "--help",
     .help = "print this text",
     .withListModels = true,
     .withExportToStdout = true,
     .alias = "-h"},
};

constexpr std::size_t kRowCount = std::size(kRows) - 1 + kFields.size();

// The options of the typed values, by kFields: "--" and the field's name.
inline constexpr std::array<const char *, kFields.size()> kFieldOptionNames{
    "--distance", "--diagonal", "--width", "--height"};

constexpr bool namesTheField(const char *option, const char *field) {
    if (option[0] != '-' || option[1] != '-')
        return false;
    const char *a = option + 2;
    while (*a != '\0' && *a == *field) {
        ++a;
        ++field;
    }
    return *a == *field;
}

constexpr bool fieldOptionsNameTheirFields() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (!namesTheField(kFieldOptionNames[i], kFields[i].cli))
            return false;
    }
    return true;
}
static_assert(fieldOptionsNameTheirFields(),
              "a typed value's option is \"--\" and its field's name");

// The light budget's options are named where its inputs are (kLightInputs),
// one row each.
constexpr bool lightOptionsNameTheirInputs() {
    std::size_t rows = 0;
    for (const CliOption &row : kRows) {
        if (row.id != OptionId::Light)
            continue;
        ++rows;
        if (!namesTheField(row.name, kLightInputs[static_cast<std::size_t>(row.light)].cli))
            return false;
    }
    return rows == kLightInputs.size();
}
static_assert(lightOptionsNameTheirInputs(),
              "each light input has one option, \"--\" and the input's command-line name");

} // namespace detail

inline constexpr std::array<CliOption, detail::kRowCount> kOptions = [] {
    std::array<CliOption, detail::kRowCount> options{};
    std::size_t next = 0;
    for (const CliOption &row : detail::kRows) {
        if (row.id != OptionId::Value) {
            options[next++] = row;
            continue;
        }
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            CliOption typed = row;
            typed.name = detail::kFieldOptionNames[i];
            typed.field = kFields[i].field;
            options[next++] = typed;
        }
    }
    return options;
}();

// Names the parser splits at "=" and the completion writes unquoted: "--"
// and then lower-case letters and hyphens only.
constexpr bool isPlainName(const char *name) {
    if (name == nullptr || name[0] != '-' || name[1] != '-' || name[2] == '\0')
        return false;
    for (const char *c = name + 2; *c != '\0'; ++c) {
        if (!((*c >= 'a' && *c <= 'z') || *c == '-'))
            return false;
    }
    return true;
}

constexpr bool sameName(const char *a, const char *b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// A name given twice would leave its second row unreachable.
constexpr bool namesPlainAndDistinct() {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        if (!isPlainName(kOptions[i].name))
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (sameName(kOptions[i].name, kOptions[j].name))
                return false;
        }
    }
    return true;
}
static_assert(namesPlainAndDistinct(),
              "each option's name is its own: -- and lower-case letters or hyphens");

// The row of an option name or alias, or none.
const CliOption *optionNamed(QStringView name);

// The name of an option's first row.
QString nameOf(OptionId id);

// "--zoom wide|tele", "--catalogue FILE", "--json": how the usage shows it.
QString usageLabel(const CliOption &option);

} // namespace vistrel::cli
