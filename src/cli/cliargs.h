#pragma once

#include "core/apperror.h"
#include "core/choices.h"
#include "core/pictureformat.h"
#include "files/modeltable.h"
#include "session/lighttext.h"
#include "session/roomtext.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace vistrel::cli {

// The command line of vistrel-cli. Options are applied in a fixed order,
// whatever their order on the command line.
struct CliOptions {
    QString catalogue; // empty: ModelInfo.ini of the program's folder
    QString language;  // empty: Language.ini of the program's folder
    QString open;
    std::optional<QString> model;
    std::optional<Zoom> zoom;
    std::optional<PictureFormat> aspect;
    std::optional<double> anamorphic;
    std::optional<Unit> unit;
    std::optional<Position> position;
    std::optional<Field> valueField; // the field typed into, with valueText
    QString valueText;
    QString save;
    QString pdf;                   // the printed page of the window, as a PDF file
    QString png;                   // the window image
    std::optional<double> gain;    // the planner's screen gain
    std::optional<double> ambient; // the planner's room light, lux
    bool chart = false;            // print the throw chart instead of the result
    bool planner = false;          // print the planner's numbers after the text result
    QString report;                // the installation sheet, as a PDF file
    // The light budget's inputs as typed, by kLightInputs' order.
    std::array<std::optional<QString>, kLightInputs.size()> lightTexts;
    // The room's inputs as typed, by kRoomInputs' order; the rows of every
    // --row joined by "; ", as the room's field takes them.
    std::array<std::optional<QString>, kRoomInputs.size()> roomTexts;
    std::array<std::optional<QString>, kDetailInputs.size()> details; // by kDetailInputs' order
    QString roomSvg;                                                  // the room's elevation
    QString planSvg;                                                  // the room's plan
    QStringList addModels; // each --add-model's terms, as given
    bool replace = false;  // own models of the same name are replaced
    QString modelsImport;
    std::optional<TableFormat> importFormat; // by the file's ending
    QString modelsExport;                    // "-": standard output
    std::optional<TableFormat> exportFormat; // none for standard output
    bool allModels = false;                  // the export holds the catalogue's models too
    bool dryRun = false;
    bool fit = false;
    std::optional<std::pair<double, double>> fitDistance; // in the unit of the fields
    bool modelTerms = false;
    bool json = false;
    bool listModels = false;
    bool help = false;

    // --add-model or --models-import: the own models change.
    bool changesModels() const { return !addModels.isEmpty() || !modelsImport.isEmpty(); }
    // The runs that list the models' warnings, and whose JSON describes the
    // model in use in both forms: no run of the options before them changes.
    bool modelCommand() const { return changesModels() || !modelsExport.isEmpty() || fit; }
    // Whether the run asks for a result on standard output beyond what its
    // model commands print: an option of the calculation or of its output.
    bool asksForResult() const;
    // Whether any option of the room or of the title block is given.
    bool changesRoom() const;
    // Whether any input of the light budget is given.
    bool changesLight() const;
};

// The name --models-export takes for standard output.
inline const QString kStandardOutput = QStringLiteral("-");

// Each failure of the command line is told on one line of stderr: `text`
// with its CR LF line breaks read as blanks and control characters escaped.
QString oneLine(QString text);
// A failure whose description is that line, ready to print.
AppError lineError(ErrorNumber number, const QString &text);

// The arguments without the program name; a refusal is the line to print.
Result<CliOptions> parseArgs(const QStringList &arguments);

// The program's arguments as text (without the program name). An argument
// that is not valid UTF-8 is refused: as a file name it could not be written
// or read under exactly the bytes the user gave.
Result<QStringList> argumentsOf(int argc, const char *const *argv);

// Whether the arguments ask for the window itself (--pdf, --png): the
// program then needs the widgets, off-screen.
bool needsWindow(const QStringList &arguments);

QString usageText();

} // namespace vistrel::cli
