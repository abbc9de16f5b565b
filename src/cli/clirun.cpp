#include "cli/clirun.h"

#include "calc/chartformat.h"
#include "calc/sheetterms.h"
#include "cli/clioptions.h"
#include "cli/clireport.h"
#include "files/filewriter.h"
#include "files/modeltable.h"
#include "session/fittext.h"
#include "session/lighttext.h"
#include "session/session.h"
#include "session/sheet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <tuple>
#include <utility>

namespace vistrel::cli {

namespace {

// Where a run is when the engine reports: the steps in the order they are
// applied, named as JSON's "messageSteps" names them.
enum class Step {
    Start,
    Models,
    Open,
    Model,
    Zoom,
    Aspect,
    Anamorphic,
    Unit,
    Position,
    Value,
    Planner,
    Room,
    Save
};

QString stepName(Step step) {
    static constexpr std::array<const char *, 13> kNames = {
        "start", "models",   "open",  "model",   "zoom", "aspect", "anamorphic",
        "unit",  "position", "value", "planner", "room", "save"};
    static_assert(kNames.size() == static_cast<std::size_t>(Step::Save) + 1);
    return QLatin1String(kNames[static_cast<std::size_t>(step)]);
}

// Every message box the window would show goes to stderr, one line each;
// with a typed value to come, the range messages of the steps before it are
// history by the time the result is printed, and only the JSON keeps them.
class CliObserver : public EngineObserver {
public:
    CliObserver(QTextStream &err, bool quietBeforeValue)
        : err_(err), quietBeforeValue_(quietBeforeValue) {}

    void enter(Step step) { step_ = step; }

    void showMessage(const QString &text) override {
        messages.append(text);
        steps.append(stepName(step_));
        if (!quietBeforeValue_ || step_ >= Step::Value)
            err_ << oneLine(text) << '\n';
        else
            held_ << text;
    }
    // A typed value that was refused leaves the result of the steps before
    // it, and their messages explain it after all.
    void printHeld() {
        for (const QString &text : std::exchange(held_, {}))
            err_ << oneLine(text) << '\n';
    }
    void showError(const AppError &error) override {
        if (!firstError)
            firstError = error;
        messages.append(error.boxText());
        steps.append(stepName(step_));
        err_ << oneLine(error.boxText()) << '\n';
    }

    void showWarnings(const QString &heading, const QStringList &lines) override {
        err_ << "vistrel-cli: " << oneLine(heading) << '\n';
        for (const QString &line : lines)
            err_ << "vistrel-cli: " << oneLine(line) << '\n';
    }

    QStringList messages;
    QStringList steps; // of each message
    std::optional<AppError> firstError;

private:
    QTextStream &err_;
    bool quietBeforeValue_;
    QStringList held_; // kept back until the typed value is taken
    Step step_ = Step::Start;
};

// One run of the command line: a session started from the program's
// files, the options applied in a fixed order, then the outputs.
class Run {
public:
    Run(const CliOptions &options, const AppPaths &paths, QTextStream &out, QTextStream &err,
        WindowOutput *windowOutput)
        : o_(options), paths_(paths), out_(out), err_(err), windowOutput_(windowOutput),
          observer_(err, !options.json && options.valueField.has_value()) {
        session_.addObserver(observer_);
    }

    int run() {
        if (Result<void> started = start(); !started)
            return fail(started.error());
        if (o_.listModels) {
            const auto &models = session_.calculator().models();
            out_ << (o_.json ? jsonModelList(models) : textModelList(models));
            return Done;
        }
        if (o_.modelCommand())
            listModelWarnings();
        if (Result<void> changed = changeModels(); !changed)
            return fail(changed.error());
        const Result<bool> accepted = apply();
        if (!accepted)
            return fail(accepted.error());
        if (o_.fit)
            fitLines_ = fitLines();
        if (Result<void> written = writeFiles(); !written)
            return fail(written.error());
        if (Result<void> exported = exportModels(); !exported)
            return fail(exported.error());
        if (o_.modelsExport == kStandardOutput && !o_.dryRun)
            out_ << exportText_;
        else if (o_.json)
            out_ << jsonResult(*accepted);
        else
            out_ << textResult();
        return *accepted ? Done : Refused;
    }

private:
    // The JSON of the run: the chart alone, or the report, which a run of a
    // model command or --model-terms extends.
    QString jsonResult(bool accepted) const {
        if (o_.chart)
            return jsonChart(session_.chart());
        const QString report =
            jsonReport(session_, {observer_.messages, observer_.steps}, accepted, asksForLight());
        if (!o_.modelCommand() && !o_.modelTerms)
            return report;
        const ModelRecord *model = session_.calculator().currentModel();
        QStringList members{QStringLiteral("\"model_terms\": ") +
                            (model ? jsonModelTerms(*model) : QStringLiteral("null"))};
        if (o_.changesModels())
            members << QStringLiteral("\"model_changes\": ") + jsonModelChanges(changes_);
        if (o_.fit)
            members << QStringLiteral("\"fit\": ") + jsonFit(fitLines_, session_.state().unit);
        if (!o_.modelsExport.isEmpty())
            members << QStringLiteral("\"export\": {\"file\": %1, \"models\": %2, \"written\": %3}")
                           .arg(jsonString(o_.modelsExport), QString::number(exportCount_),
                                exportWritten_ ? QStringLiteral("true") : QStringLiteral("false"));
        members << QStringLiteral("\"dry_run\": ") +
                       (o_.dryRun ? QStringLiteral("true") : QStringLiteral("false"));
        return withMembers(report, members);
    }

    // The light budget is added to the result only when the run asks for
    // it, so that every other run reads as it always did: an input of it
    // given, or a project file opened that keeps one away from its default.
    bool asksForLight() const {
        if (o_.changesLight())
            return true;
        if (o_.open.isEmpty())
            return false;
        const PlannerSettings &settings = session_.plannerSettings();
        const PlannerSettings defaults;
        return settings.lightAge != defaults.lightAge ||
               settings.targetNits != defaults.targetNits ||
               settings.halfGainAngle != defaults.halfGainAngle;
    }

    // The text of the run: what its model commands did, then the result,
    // unless the run asks for none beyond them.
    QString textResult() const {
        QString text = modelLines_;
        if (o_.asksForResult() || (!o_.changesModels() && o_.modelsExport.isEmpty())) {
            const Unit unit = session_.state().unit;
            if (o_.chart) {
                text += chartTable(session_.chart(), u',', csvColumns(unit));
            } else if (o_.fit || o_.modelTerms) {
                if (o_.modelTerms && session_.calculator().currentModel())
                    text += termsLine(*session_.calculator().currentModel());
                if (o_.fit)
                    text += textFit(fitLines_, unit);
            } else {
                const Sheet sheet = composeSheet(session_);
                text += textLines(sheet.titleBlock);
                text += textLines(sheet.calculation.lines);
                if (o_.planner || o_.gain || o_.ambient || o_.changesLight())
                    text += textLines(sheet.planner.lines);
                text += textRoom(sheet);
                if (asksForLight())
                    text += textLight(sheet);
            }
        }
        if (o_.dryRun)
            text += QStringLiteral("dry run: nothing was written\n");
        return text;
    }

    // The warnings of the catalogue's models and of the own ones, once, under
    // the name of the file each comes from.
    void listModelWarnings() {
        const auto list = [this](const QString &file, const std::vector<ModelRecord> &models) {
            const QStringList lines = describeWarnings(models);
            if (lines.isEmpty())
                return;
            err_ << "vistrel-cli: "
                 << oneLine(QStringLiteral("warnings about the models of %1:").arg(file)) << '\n';
            for (const QString &line : lines)
                err_ << "vistrel-cli: " << oneLine(line) << '\n';
        };
        list(paths_.catalogueFile(), session_.catalogueModels());
        list(paths_.ownModelsFile, session_.ownModels());
    }

    // The table --add-model or --models-import brings: each --add-model a row.
    Result<ModelTable> tableToImport() const {
        if (o_.addModels.isEmpty()) {
            Result<ModelTable> table = readModelTable(o_.modelsImport, *o_.importFormat);
            if (!table)
                return boxLineError(table.error());
            return table;
        }
        ModelTable table;
        for (qsizetype i = 0; i < o_.addModels.size(); ++i) {
            Result<Terms> terms = parseTerms(o_.addModels[i]);
            if (!terms)
                return lineError(terms.error().number,
                                 QStringLiteral("--add-model: ") + terms.error().description);
            table.rows.push_back({i + 1, std::move(*terms)});
        }
        return table;
    }

    // --add-model and --models-import, before the calculation, which may then
    // use the models they bring. An --add-model that is refused, or that
    // would replace an own model without --replace, changes nothing at all; a
    // row of a file that is refused leaves the others to be imported.
    Result<void> changeModels() {
        if (!o_.changesModels())
            return {};
        observer_.enter(Step::Models);
        ModelTable table;
        VISTREL_TRY_ASSIGN(table, tableToImport());
        const std::vector<ImportEntry> entries = session_.previewImport(table);
        const bool fromFile = o_.addModels.isEmpty();
        bool changes = false;
        for (const ImportEntry &entry : entries) {
            const bool kept = entry.action == ImportEntry::Action::Replace && !o_.replace;
            if (!fromFile && entry.action == ImportEntry::Action::Refuse)
                return lineError(ErrorNumber::InvalidPropertyValue,
                                 QStringLiteral("--add-model: ") + entry.reason);
            if (!fromFile && kept)
                return lineError(ErrorNumber::InvalidPropertyValue,
                                 QStringLiteral("--add-model: %1 is the name of one of your own "
                                                "models; --replace replaces it")
                                     .arg(entry.record.name));
            changes = changes || entry.action == ImportEntry::Action::Add ||
                      (entry.action == ImportEntry::Action::Replace && o_.replace);
            changes_.push_back({entry, fromFile, kept});
        }
        for (const ModelChange &change : changes_) {
            modelLines_ += textModelChange(change);
            if (!fromFile) {
                for (const ModelWarning &warning : change.entry.warnings)
                    err_ << "vistrel-cli: "
                         << oneLine(
                                QStringLiteral("warning: %1: %2").arg(warning.term, warning.text))
                         << '\n';
            }
        }
        if (fromFile)
            modelLines_ += importSummaryLine();
        if (o_.dryRun || !changes)
            return {};
        if (Result<void> imported =
                session_.importModels(entries, [this](const ImportEntry &) { return o_.replace; });
            !imported)
            return boxLineError(imported.error());
        written_ << paths_.ownModelsFile;
        return {};
    }

    // importSummary's counts, the replacements --replace was not given for
    // kept apart.
    QString importSummaryLine() const {
        std::vector<ImportEntry> done;
        qsizetype kept = 0;
        for (const ModelChange &change : changes_) {
            if (change.kept)
                ++kept;
            else
                done.push_back(change.entry);
        }
        QString line = importSummary(done);
        if (kept > 0)
            line += QStringLiteral(", %1 kept").arg(kept);
        return line + u'\n';
    }

    // The fit table for the screen of the calculation: models that fit
    // first, each group in list order.
    std::vector<FitLine> fitLines() const {
        FitRequest request = session_.fitRequest();
        const Unit unit = session_.state().unit;
        if (o_.fitDistance) {
            request.nearest = toInches(o_.fitDistance->first, unit);
            request.farthest = toInches(o_.fitDistance->second, unit);
        }
        std::vector<FitRow> rows = session_.fit(request);
        std::stable_partition(rows.begin(), rows.end(),
                              [](const FitRow &row) { return row.fits(); });
        const std::vector<ModelRecord> &models = session_.calculator().models();
        std::vector<FitLine> lines;
        lines.reserve(rows.size());
        for (FitRow &row : rows) {
            const auto index = static_cast<std::size_t>(row.modelIndex);
            const QString name = index < models.size() ? models[index].name : QString();
            const bool own = session_.isOwnModel(row.modelIndex);
            QString reason = fitReason(row, request, unit);
            lines.push_back({std::move(row), name, own, std::move(reason)});
        }
        return lines;
    }

    // --models-export: the own models, or every model of the list, in
    // data-sheet terms; to standard output it is the run's whole output.
    Result<void> exportModels() {
        if (o_.modelsExport.isEmpty())
            return {};
        const std::vector<TermRow> rows =
            exportRows(o_.allModels ? session_.calculator().models() : session_.ownModels());
        exportCount_ = static_cast<qsizetype>(rows.size());
        const bool toStdout = o_.modelsExport == kStandardOutput;
        if (!toStdout || o_.dryRun)
            modelLines_ +=
                visibleText(
                    QStringLiteral("export: %1 %2 to %3")
                        .arg(exportCount_)
                        .arg(exportCount_ == 1 ? QStringLiteral("model") : QStringLiteral("models"),
                             toStdout ? QStringLiteral("standard output") : o_.modelsExport)) +
                u'\n';
        if (o_.dryRun)
            return {};
        if (toStdout) {
            exportText_ = QString::fromUtf8(formatModelTable(
                rows, sheetTermKeys(), o_.json ? TableFormat::Json : TableFormat::Csv));
            return {};
        }
        if (Result<void> written =
                writeModelTable(o_.modelsExport, rows, sheetTermKeys(), *o_.exportFormat);
            !written)
            return boxLineError(written.error());
        written_ << o_.modelsExport;
        exportWritten_ = true;
        return {};
    }

    // Every failure of a run is a lineError; the one a WindowOutput hands
    // back is kept to one line all the same.
    int fail(const AppError &error) {
        err_ << "vistrel-cli: " << oneLine(error.description) << '\n';
        // A failure after some files were written must not read as "nothing happened".
        if (!written_.isEmpty())
            err_ << "vistrel-cli: written before the failure: "
                 << oneLine(written_.join(QStringLiteral(", "))) << '\n';
        return Failed;
    }

    Result<void> start() {
        const LanguageLoad &language = session_.readTexts(paths_);
        if (language.error)
            return boxLineError(*language.error);
        // For the program a text file ends at the first key it lacks.
        if (!language.complete())
            return lineError(ErrorNumber::InputPastEndOfFile,
                             kLanguageErrorMessage +
                                 QStringLiteral("(missing key %1 in %2)")
                                     .arg(language.missingKey, paths_.languageFile()));
        if (Result<void> started = session_.start(); !started)
            return boxLineError(started.error());
        return firstError();
    }

    // The first error the engine reported on the way, as its box shows it.
    Result<void> firstError() const {
        if (observer_.firstError)
            return boxLineError(*observer_.firstError);
        return {};
    }

    // A step that failed: as the window's error box showed it, when the
    // session showed it so; otherwise a refusal of the request, which the
    // window shows in a message box of its own: its text alone.
    AppError refusal(const AppError &error) const {
        if (observer_.firstError)
            return boxLineError(*observer_.firstError);
        return messageLineError(error);
    }

    // One option group's choice, as its button would make it.
    template <typename Choice> Result<void> choose(Step step, const std::optional<Choice> &choice) {
        if (!choice)
            return {};
        observer_.enter(step);
        if (Result<void> chosen = session_.select(*choice); !chosen)
            return refusal(chosen.error());
        return {};
    }

    // A refusal the window shows in a message box of its own: its text alone.
    static AppError messageLineError(const AppError &error) {
        return lineError(error.number, error.description);
    }

    // --open, --model, --zoom, --aspect, --unit, --position and the typed
    // value, in that order, exactly as the window's controls would; whether
    // the typed value was accepted.
    Result<bool> apply() {
        if (!o_.open.isEmpty()) {
            observer_.enter(Step::Open);
            if (Result<void> opened = session_.open(o_.open); !opened)
                return boxLineError(opened.error());
        }
        if (o_.model) {
            observer_.enter(Step::Model);
            const qsizetype position = session_.controls().modelItems.indexOf(*o_.model);
            if (position < 0)
                return lineError(ErrorNumber::InvalidArgument,
                                 QStringLiteral("model not in the catalogue: %1").arg(*o_.model));
            if (Result<void> chosen = session_.selectModel(static_cast<int>(position)); !chosen)
                return refusal(chosen.error());
        }
        VISTREL_TRY(firstError());

        // A choice the model does not offer is refused by the engine, as it says.
        VISTREL_TRY(choose(Step::Zoom, o_.zoom));
        VISTREL_TRY(choose(Step::Aspect, o_.aspect));
        if (o_.anamorphic) {
            observer_.enter(Step::Anamorphic);
            if (Result<void> chosen = session_.selectAnamorphic(*o_.anamorphic); !chosen)
                return messageLineError(chosen.error());
        }
        VISTREL_TRY(choose(Step::Unit, o_.unit));
        VISTREL_TRY(choose(Step::Position, o_.position));
        bool accepted = true;
        if (o_.valueField) {
            observer_.enter(Step::Value);
            Result<Entered> entered = session_.enter(*o_.valueField, o_.valueText);
            if (!entered)
                return refusal(entered.error());
            accepted = *entered == Entered::Taken;
            if (!accepted)
                observer_.printHeld();
        }
        VISTREL_TRY(applyPlanner());
        VISTREL_TRY(applyRoom());
        VISTREL_TRY(firstError());
        return accepted;
    }

    // The planner's inputs over those of any project file: the light
    // budget's as its fields take them, each judged with the settings it
    // joins; the gain and the room light after them, judged by the session.
    Result<void> applyPlanner() {
        if (!o_.gain && !o_.ambient && !o_.changesLight())
            return {};
        observer_.enter(Step::Planner);
        PlannerSettings settings = session_.plannerSettings();
        for (const LightInputInfo &row : kLightInputs) {
            const std::optional<QString> &text =
                o_.lightTexts.at(static_cast<std::size_t>(row.input));
            if (!text)
                continue;
            Result<PlannerSettings> changed = withLightInput(
                settings, row.input, *text, session_.texts(), session_.decimalPoint());
            if (!changed)
                return messageLineError(changed.error());
            settings = *changed;
        }
        settings.gain = o_.gain.value_or(settings.gain);
        settings.ambientLux = o_.ambient.value_or(settings.ambientLux);
        if (Result<void> set = session_.setPlannerSettings(settings); !set)
            return messageLineError(set.error());
        return {};
    }

    // The room's inputs and the title block, after the calculation and any
    // project file, so that they override what it kept. Each input as the
    // planner's field takes it.
    Result<void> applyRoom() {
        if (!o_.changesRoom())
            return {};
        observer_.enter(Step::Room);
        std::vector<TypedRoomInput> typed;
        for (const RoomInputInfo &row : kRoomInputs) {
            if (const std::optional<QString> &text =
                    o_.roomTexts.at(static_cast<std::size_t>(row.input)))
                typed.push_back({row.input, *text});
        }
        // Judged together: a new screen height and a new ceiling may only fit as a pair.
        Result<RoomSettings> changed =
            withRoomInputs(session_.roomSettings(), typed, session_.state().unit, session_.texts(),
                           session_.decimalPoint());
        if (!changed)
            return messageLineError(changed.error());
        const RoomSettings room = std::move(*changed);
        if (Result<void> set = session_.setRoomSettings(room); !set)
            return messageLineError(set.error());
        ProjectDetails details = session_.projectDetails();
        for (const DetailInput input : kDetailInputs) {
            const std::optional<QString> &text = o_.details.at(static_cast<std::size_t>(input));
            if (!text)
                continue;
            // The engine's reason does not say which line it refuses; its caption does.
            ProjectDetails line;
            detailOf(line, input) = *text;
            if (Result<void> checked = checkDetails(line); !checked)
                return lineError(checked.error().number,
                                 withoutMnemonic(session_.texts().text(captionOf(input))) +
                                     QStringLiteral(": ") + checked.error().description);
            detailOf(details, input) = *text;
        }
        if (Result<void> set = session_.setProjectDetails(details); !set)
            return messageLineError(set.error());
        return {};
    }

    // A drawing of the room is asked for only where there is a room to draw.
    Result<void> checkRoomDrawings() const {
        if (o_.roomSvg.isEmpty() && o_.planSvg.isEmpty())
            return {};
        const Sheet sheet = composeSheet(session_);
        for (const auto &[file, drawing, option] :
             {std::tuple{o_.roomSvg, &sheet.elevation, OptionId::RoomSvg},
              std::tuple{o_.planSvg, &sheet.plan, OptionId::PlanSvg}}) {
            if (!file.isEmpty() && drawing->isEmpty())
                return lineError(ErrorNumber::InvalidArgument,
                                 QStringLiteral("%1: no room to draw; give its lengths and rows, "
                                                "or --open a project file that keeps them")
                                     .arg(nameOf(option)));
        }
        return {};
    }

    // --save, then the files of the window; each one written is noted.
    Result<void> writeFiles() {
        VISTREL_TRY(checkRoomDrawings());
        if (!o_.save.isEmpty()) {
            if (Result<void> saved = session_.writeTo(o_.save); !saved)
                return boxLineError(saved.error());
            written_ << o_.save;
            // A calculation file keeps no room: the window says so after its save too.
            if (const QString notice = session_.roomNotKeptBy(o_.save); !notice.isEmpty()) {
                observer_.enter(Step::Save);
                observer_.showMessage(notice);
            }
        }
        if (o_.pdf.isEmpty() && o_.png.isEmpty() && o_.report.isEmpty() && o_.roomSvg.isEmpty() &&
            o_.planSvg.isEmpty())
            return {};
        if (!windowOutput_)
            return lineError(ErrorNumber::InvalidArgument,
                             QStringLiteral("this program cannot draw the window"));
        return windowOutput_->write(session_, o_, written_);
    }

    const CliOptions &o_;
    AppPaths paths_;
    QTextStream &out_;
    QTextStream &err_;
    WindowOutput *windowOutput_;
    CliObserver observer_;
    Session session_;
    QStringList written_;
    std::vector<ModelChange> changes_; // of --add-model or --models-import
    QString modelLines_;               // what the model commands print, as text
    std::vector<FitLine> fitLines_;
    QString exportText_; // --models-export -
    qsizetype exportCount_ = 0;
    bool exportWritten_ = false;
};

} // namespace

AppError boxLineError(const AppError &error) {
    return lineError(error.number, error.boxText());
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString renderProgram() {
    const QDir folder(programFolder());
    const QString beside = folder.filePath(QStringLiteral("vistrel-render"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir::cleanPath(folder.filePath(QStringLiteral("../libexec/vistrel/vistrel-render")));
}

std::optional<QStringList> startArguments(int argc, char *argv[], QTextStream &err) {
    Result<QStringList> arguments = argumentsOf(argc, argv);
    if (!arguments) {
        err << "vistrel-cli: " << arguments.error().description << '\n';
        return std::nullopt;
    }
    return std::move(*arguments);
}

namespace {

void criticalOnly(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, message) + u'\n'), stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void keepQtNotesOffStderr() {
    qInstallMessageHandler(criticalOnly);
}

int runWithDataOf(const QString &cliFolder, const QStringList &arguments, QTextStream &out,
                  QTextStream &err, WindowOutput *windowOutput) {
    // The application object bears the window's name (Application), so both
    // find the catalogue in the same user folder.
    int status = Failed;
    try {
        const AppPaths paths = AppPaths::resolve(
            cliFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        status = runCli(arguments, paths, out, err, windowOutput);
    } catch (const std::bad_alloc &) {
        err << "vistrel-cli: "
            << oneLine(makeError(ErrorNumber::OutOfMemory,
                                 QStringLiteral("Out of memory: the request was not carried out"))
                           .boxText())
            << '\n';
        err.flush();
        return Failed;
    }
    out.flush();
    // Output that did not arrive (a full disk behind stdout) is no result.
    if (out.status() != QTextStream::Ok && status != Failed) {
        err << "vistrel-cli: "
            << oneLine(
                   makeError(ErrorNumber::DeviceIoError,
                             QStringLiteral("Device I/O error: the output could not be written"))
                       .boxText())
            << '\n';
        status = Failed;
    }
    err.flush();
    return status;
}

int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err,
           WindowOutput *windowOutput) {
    const Result<CliOptions> parsed = parseArgs(arguments);
    if (!parsed) {
        err << "vistrel-cli: " << parsed.error().description << '\n';
        return Failed;
    }
    const CliOptions &options = *parsed;
    if (options.help) {
        out << usageText();
        return Done;
    }
    AppPaths resolved = paths;
    if (!options.language.isEmpty())
        resolved.languageOverride = options.language;
    if (!options.catalogue.isEmpty())
        resolved.catalogueOverride = options.catalogue;

    // Nothing reaches stdout unless the whole request was carried out.
    QString buffered;
    QTextStream bufferedOut(&buffered);
    const int status = Run(options, resolved, bufferedOut, err, windowOutput).run();
    bufferedOut.flush();
    if (status != Failed)
        out << buffered;
    return status;
}

} // namespace vistrel::cli
