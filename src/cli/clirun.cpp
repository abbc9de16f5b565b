#include "clirun.h"

#include "calc/calculator.h"
#include "catalogue/modelloader.h"
#include "cliargs.h"
#include "clireport.h"
#include "core/helpers.h"
#include "files/calcfile.h"

#include <QDir>

#include <optional>

namespace vistrel::cli {

namespace {

QString oneLine(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
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

struct Failure {
    QString reason;
};

class Session {
public:
    Session(const CliOptions &options, const AppPaths &paths, QTextStream &out, QTextStream &err)
        : o_(options), paths_(paths), out_(out), err_(err), observer_(err), calculator_(observer_) {
    }

    int run() {
        if (std::optional<Failure> f = start())
            return fail(f->reason);
        if (o_.listModels) {
            const auto &models = calculator_.models();
            for (std::size_t i = 0; i < models.size(); ++i)
                out_ << i << '\t' << models[i].modelName << '\n';
            return Done;
        }
        bool accepted = true;
        if (std::optional<Failure> f = apply(accepted))
            return fail(f->reason);
        if (o_.json)
            out_ << jsonReport(calculator_, observer_.messages, accepted);
        else
            out_ << textReport(calculator_, texts_);
        return accepted ? Done : Refused;
    }

private:
    int fail(const QString &reason) {
        err_ << "vistrel-cli: " << oneLine(reason) << '\n';
        return Failed;
    }

    std::optional<Failure> engineFailure() const {
        if (observer_.firstError)
            return Failure{observer_.firstError->boxText()};
        return std::nullopt;
    }

    std::optional<Failure> start() {
        const QString languagePath = o_.language.isEmpty() ? paths_.languageFile() : o_.language;
        const LanguageLoad language = loadLanguage(languagePath);
        if (language.error)
            return Failure{language.error->boxText()};
        if (!language.complete())
            return Failure{
                kLanguageErrorMessage +
                QStringLiteral("(missing key %1 in %2)").arg(language.missingKey, languagePath)};
        texts_ = language.texts;
        calculator_.setMessages(messagesFrom(texts_));

        const QString cataloguePath =
            o_.catalogue.isEmpty() ? paths_.catalogueFile() : o_.catalogue;
        Result<std::vector<ModelRecord>> models = loadModelInfo(cataloguePath);
        if (!models)
            return Failure{models.error().boxText()};
        if (Status s = calculator_.startUp(std::move(models.value())))
            return Failure{s->boxText()};
        return engineFailure();
    }

    std::optional<Failure> apply(bool &accepted) {
        if (!o_.open.isEmpty()) {
            if (Status s = openCalculationFile(calculator_, o_.open))
                return Failure{s->boxText()};
        }
        if (o_.model) {
            const QStringList &items = calculator_.controls().modelItems;
            const qsizetype position = items.indexOf(*o_.model);
            if (position < 0)
                return Failure{QStringLiteral("model not in the catalogue: %1").arg(*o_.model)};
            calculator_.selectModelEntry(static_cast<int>(position));
        }
        if (std::optional<Failure> f = engineFailure())
            return f;
        const Controls &c = calculator_.controls();
        if (o_.zoom) {
            if (!c.zoomEnabled[static_cast<std::size_t>(*o_.zoom)] && c.zoom != *o_.zoom)
                return Failure{QStringLiteral("the model does not offer the %1 end")
                                   .arg(zoomEndName(*o_.zoom))};
            calculator_.selectZoom(*o_.zoom);
        }
        if (o_.aspect) {
            if (*o_.aspect == 2 && !c.aspect169Enabled)
                return Failure{QStringLiteral("the model does not offer 16 : 9")};
            calculator_.selectAspect(*o_.aspect);
        }
        if (o_.unit)
            calculator_.selectUnit(*o_.unit);
        if (o_.position)
            calculator_.selectPosition(*o_.position);
        if (o_.valueField >= 0) {
            calculator_.fieldGotFocus(o_.valueField);
            calculator_.setFieldText(o_.valueField, o_.valueText);
            accepted = calculator_.enterClicked(o_.valueField);
        }
        if (std::optional<Failure> f = engineFailure())
            return f;
        if (!o_.save.isEmpty()) {
            if (Status s = writeCalcFile(o_.save, snapshotCalculation(calculator_)))
                return Failure{s->boxText()};
        }
        return std::nullopt;
    }

    const CliOptions &o_;
    AppPaths paths_;
    QTextStream &out_;
    QTextStream &err_;
    CliObserver observer_;
    Calculator calculator_;
    LanguageTexts texts_;
};

} // namespace

int runCli(const QStringList &arguments, const AppPaths &paths, QTextStream &out,
           QTextStream &err) {
    const ParsedArgs parsed = parseArgs(arguments);
    if (!parsed.error.isEmpty()) {
        err << "vistrel-cli: " << parsed.error << '\n';
        return Failed;
    }
    if (parsed.options.help) {
        out << usageText();
        return Done;
    }
    // Nothing reaches stdout unless the whole request was carried out.
    QString buffered;
    QTextStream bufferedOut(&buffered);
    const int status = Session(parsed.options, paths, bufferedOut, err).run();
    bufferedOut.flush();
    if (status != Failed)
        out << buffered;
    return status;
}

} // namespace vistrel::cli
