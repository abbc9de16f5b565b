#include "clirun.h"

#include "calc/calculator.h"
#include "catalogue/modelloader.h"
#include "clireport.h"
#include "clisession.h"
#include "files/calcfile.h"

#include <optional>

namespace vistrel::cli {

namespace {

QString oneLine(QString text) {
    return visibleText(text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
}

// Every message box the window would show goes to stderr, one line each.
class CliObserver : public EngineObserver {
public:
    explicit CliObserver(QTextStream &err) : err_(err) {}

    void showMessage(const QString &text) override {
        messages.append(text);
        err_ << oneLine(text) << '\n';
    }
    void showError(const AppError &error) override {
        if (!firstError)
            firstError = error;
        messages.append(error.boxText());
        err_ << oneLine(error.boxText()) << '\n';
    }

    QStringList messages;
    std::optional<AppError> firstError;

private:
    QTextStream &err_;
};

class Session {
public:
    Session(const CliOptions &options, const AppPaths &paths, QTextStream &out, QTextStream &err,
            WindowOutput *windowOutput)
        : o_(options), paths_(paths), out_(out), err_(err), windowOutput_(windowOutput),
          observer_(err), calculator_(observer_) {}

    int run() {
        if (const QString failure = start(); !failure.isEmpty())
            return fail(failure);
        if (o_.listModels) {
            const auto &models = calculator_.models();
            out_ << (o_.json ? jsonModelList(models) : textModelList(models));
            return Done;
        }
        const ApplyResult applied =
            applyOptions(calculator_, o_, [this] { return observer_.firstError; });
        if (!applied.failure.isEmpty())
            return fail(applied.failure);
        if (!o_.save.isEmpty()) {
            if (Status s = writeCalcFile(o_.save, snapshotCalculation(calculator_)))
                return fail(s->boxText());
        }
        if (!o_.pdf.isEmpty() || !o_.png.isEmpty()) {
            if (!windowOutput_)
                return fail(QStringLiteral("this program cannot draw the window"));
            if (const QString failure = windowOutput_->write(o_, paths_); !failure.isEmpty())
                return fail(failure);
        }
        if (o_.json)
            out_ << jsonReport(calculator_, observer_.messages, applied.accepted);
        else
            out_ << textReport(calculator_, texts_);
        return applied.accepted ? Done : Refused;
    }

private:
    int fail(const QString &reason) {
        err_ << "vistrel-cli: " << oneLine(reason) << '\n';
        return Failed;
    }

    QString start() {
        const LanguageLoad language = loadLanguage(paths_.languageFile());
        if (language.error)
            return language.error->boxText();
        if (!language.complete())
            return kLanguageErrorMessage + QStringLiteral("(missing key %1 in %2)")
                                               .arg(language.missingKey, paths_.languageFile());
        texts_ = language.texts;
        calculator_.setMessages(messagesFrom(texts_));

        Result<std::vector<ModelRecord>> models = LoadModelInfo(paths_.catalogueFile());
        if (!models)
            return models.error().boxText();
        if (Status s = calculator_.startUp(std::move(models.value())))
            return s->boxText();
        return observer_.firstError ? observer_.firstError->boxText() : QString();
    }

    const CliOptions &o_;
    AppPaths paths_;
    QTextStream &out_;
    QTextStream &err_;
    WindowOutput *windowOutput_;
    CliObserver observer_;
    Calculator calculator_;
    LanguageTexts texts_;
};

} // namespace

int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out, QTextStream &err,
           WindowOutput *windowOutput) {
    const ParsedArgs parsed = parseArgs(arguments);
    if (!parsed.error.isEmpty()) {
        err << "vistrel-cli: " << oneLine(parsed.error) << '\n';
        return Failed;
    }
    if (parsed.options.help) {
        out << usageText();
        return Done;
    }
    AppPaths resolved = paths;
    if (!parsed.options.language.isEmpty())
        resolved.languageOverride = parsed.options.language;
    if (!parsed.options.catalogue.isEmpty())
        resolved.catalogueOverride = parsed.options.catalogue;

    // Nothing reaches stdout unless the whole request was carried out.
    QString buffered;
    QTextStream bufferedOut(&buffered);
    const int status = Session(parsed.options, resolved, bufferedOut, err, windowOutput).run();
    bufferedOut.flush();
    if (status != Failed)
        out << buffered;
    return status;
}

} // namespace vistrel::cli
