#include "cli/clirun.h"

#include "calc/chartformat.h"
#include "cli/clireport.h"
#include "files/filewriter.h"
#include "session/session.h"
#include "session/sheet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <utility>

namespace vistrel::cli {

namespace {

// Where a run is when the engine reports: the steps in the order they are
// applied, named as JSON's "messageSteps" names them.
enum class Step { Start, Open, Model, Zoom, Aspect, Anamorphic, Unit, Position, Value, Planner };

QString stepName(Step step) {
    static constexpr std::array<const char *, 10> kNames = {
        "start",      "open", "model",    "zoom",  "aspect",
        "anamorphic", "unit", "position", "value", "planner"};
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
        const Result<bool> accepted = apply();
        if (!accepted)
            return fail(accepted.error());
        if (Result<void> written = writeFiles(); !written)
            return fail(written.error());
        if (o_.chart)
            out_ << (o_.json
                         ? jsonChart(session_.chart())
                         : chartTable(session_.chart(), u',', csvColumns(session_.state().unit)));
        else if (o_.json)
            out_ << jsonReport(session_, {observer_.messages, observer_.steps}, *accepted);
        else {
            const Sheet sheet = composeSheet(session_);
            out_ << textLines(sheet.calculation.lines);
            if (o_.planner || o_.gain || o_.ambient)
                out_ << textLines(sheet.planner.lines);
        }
        return *accepted ? Done : Refused;
    }

private:
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
        if (o_.gain || o_.ambient) {
            observer_.enter(Step::Planner);
            PlannerSettings settings = session_.plannerSettings();
            settings.gain = o_.gain.value_or(settings.gain);
            settings.ambientLux = o_.ambient.value_or(settings.ambientLux);
            if (Result<void> set = session_.setPlannerSettings(settings); !set)
                return messageLineError(set.error());
        }
        VISTREL_TRY(firstError());
        return accepted;
    }

    // --save, then the files of the window; each one written is noted.
    Result<void> writeFiles() {
        if (!o_.save.isEmpty()) {
            if (Result<void> saved = session_.writeTo(o_.save); !saved)
                return boxLineError(saved.error());
            written_ << o_.save;
        }
        if (o_.pdf.isEmpty() && o_.png.isEmpty() && o_.report.isEmpty())
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
