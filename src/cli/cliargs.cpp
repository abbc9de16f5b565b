#include "cli/cliargs.h"

#include "calc/sheetterms.h"
#include "cli/clioptions.h"
#include "core/numbers.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace vistrel::cli {

namespace {

// A command line the program does not take.
AppError refusal(const QString &text) {
    return lineError(ErrorNumber::InvalidArgument, text);
}

// The usage's entry of an option: its description in the second column, each
// "\n" of it another line there; a label too long for the first column has a
// line of its own.
QString usageEntry(const QString &label, const char *description) {
    constexpr qsizetype kLabelWidth = 21;
    const QString column(kLabelWidth + 3, u' ');
    QString entry = QStringLiteral("  ") + label;
    entry +=
        label.size() > kLabelWidth ? u'\n' + column : QString(kLabelWidth - label.size() + 1, u' ');
    return entry + QString::fromLatin1(description).replace(u'\n', u'\n' + column) + u'\n';
}

// "--distance, --diagonal, --width, --height"
QString typedValueOptions() {
    QStringList names;
    for (const CliOption &option : kOptions) {
        if (option.id == OptionId::Value)
            names << QLatin1String(option.name);
    }
    return names.join(QStringLiteral(", "));
}

// Any case, and an aspect as the output writes it ("16 : 9") too.
template <typename Choice>
Result<void> choose(std::optional<Choice> &choice, const CliOption &option, const QString &value) {
    choice = choiceNamed<Choice>(QString(value).remove(u' '), Qt::CaseInsensitive);
    if (choice)
        return {};
    return refusal(
        QStringLiteral("invalid value for %1: %2 (valid: %3)")
            .arg(QLatin1String(option.name), value, option.choices().join(QStringLiteral(", "))));
}

// The format of a table file, told by its name's ending: one of those the
// option's row lists (which the completion offers too).
Result<std::optional<TableFormat>> tableFormat(const CliOption &option, const QString &file) {
    const QStringList endings = QString::fromLatin1(option.files).split(u'|');
    const std::optional<TableFormat> format = tableFormatOf(file);
    if (format && endings.contains(QFileInfo(file).suffix(), Qt::CaseInsensitive))
        return format;
    QStringList names;
    for (const QString &ending : endings)
        names << u'.' + ending;
    const QString last = names.takeLast();
    return refusal(
        QStringLiteral("%1 takes a file whose name ends in %2 or %3: %4")
            .arg(QLatin1String(option.name), names.join(QStringLiteral(", ")), last, file));
}

template <typename Input> std::size_t indexOf(Input input) {
    return static_cast<std::size_t>(input);
}

// Stores the option given, with its value if it takes one, into `o`.
Result<void> take(CliOptions &o, const CliOption &option, const QString &value) {
    const QString name = QLatin1String(option.name);
    if (option.argument == Argument::File && value.isEmpty())
        return lineError(
            ErrorNumber::BadFileName,
            QStringLiteral("option %1 needs a file name, not an empty text").arg(name));
    std::optional<double> number;
    if (option.argument == Argument::Number && !(number = parseNumber(value)))
        return refusal(QStringLiteral("invalid value for %1: %2 is not a number").arg(name, value));

    switch (option.id) {
    case OptionId::Catalogue:
        o.catalogue = value;
        break;
    case OptionId::Language:
        o.language = value;
        break;
    case OptionId::Open:
        o.open = value;
        break;
    case OptionId::Model:
        o.model = value;
        break;
    case OptionId::Zoom:
        return choose(o.zoom, option, value);
    case OptionId::Aspect: {
        Result<PictureFormat> format = parseFormat(value);
        if (!format)
            return refusal(QStringLiteral("invalid value for %1: %2 (valid: %3, W:H or a ratio "
                                          "from %4 to %5)")
                               .arg(name, value, option.choices().join(QStringLiteral(", ")))
                               .arg(kNarrowestRatio)
                               .arg(kWidestRatio));
        o.aspect = *format;
        break;
    }
    case OptionId::Anamorphic:
        o.anamorphic = number;
        break;
    case OptionId::Unit:
        return choose(o.unit, option, value);
    case OptionId::Position:
        return choose(o.position, option, value);
    case OptionId::Value:
        if (o.valueField)
            return refusal(
                QStringLiteral("at most one of %1 may be given").arg(typedValueOptions()));
        o.valueField = option.field;
        o.valueText = value;
        break;
    case OptionId::Save:
        o.save = value;
        break;
    case OptionId::Pdf:
        o.pdf = value;
        break;
    case OptionId::Png:
        o.png = value;
        break;
    case OptionId::Gain:
        o.gain = number;
        break;
    case OptionId::Ambient:
        o.ambient = number;
        break;
    case OptionId::Light:
        o.lightTexts.at(indexOf(option.light)) = value;
        break;
    case OptionId::Report:
        o.report = value;
        break;
    case OptionId::Room: {
        std::optional<QString> &text = o.roomTexts.at(indexOf(option.room));
        text =
            option.room == RoomInput::Rows && text ? *text + QStringLiteral("; ") + value : value;
        break;
    }
    case OptionId::Detail:
        o.details.at(indexOf(option.detail)) = value;
        break;
    case OptionId::RoomSvg:
        o.roomSvg = value;
        break;
    case OptionId::PlanSvg:
        o.planSvg = value;
        break;
    case OptionId::AddModel:
        o.addModels << value;
        break;
    case OptionId::Replace:
        o.replace = true;
        break;
    case OptionId::ModelsImport:
        o.modelsImport = value;
        VISTREL_TRY_ASSIGN(o.importFormat, tableFormat(option, value));
        break;
    case OptionId::ModelsExport:
        o.modelsExport = value;
        o.exportFormat.reset();
        if (value != kStandardOutput)
            VISTREL_TRY_ASSIGN(o.exportFormat, tableFormat(option, value));
        break;
    case OptionId::AllModels:
        o.allModels = true;
        break;
    case OptionId::DryRun:
        o.dryRun = true;
        break;
    case OptionId::Fit:
        o.fit = true;
        break;
    case OptionId::FitDistance: {
        const Result<std::pair<double, std::optional<double>>> range = parseRange(value);
        if (!range || !range->second || !(range->first >= 0) || !(*range->second >= range->first))
            return refusal(QStringLiteral("invalid value for %1: %2 (MIN-MAX: the nearest and "
                                          "the farthest distance, in the unit of the fields)")
                               .arg(name, value));
        o.fitDistance = std::pair{range->first, *range->second};
        o.fit = true;
        break;
    }
    case OptionId::ModelTerms:
        o.modelTerms = true;
        break;
    case OptionId::Planner:
        o.planner = true;
        break;
    case OptionId::Chart:
        o.chart = true;
        break;
    case OptionId::ListModels:
        o.listModels = true;
        break;
    case OptionId::Json:
        o.json = true;
        break;
    case OptionId::Help:
        o.help = true;
        break;
    }
    return {};
}

// Of the options given, the first in the table's order for which `picks`
// says yes; none when there is none.
template <typename Picks>
const CliOption *firstGiven(const std::vector<const CliOption *> &given, Picks picks) {
    const CliOption *first = nullptr;
    for (const CliOption *option : given) {
        if (picks(*option) && (!first || option < first))
            first = option;
    }
    return first;
}

// Options that make no sense together, or alone.
Result<void> checkCombination(const CliOptions &o, const std::vector<const CliOption *> &given) {
    const auto refuseBeside = [&given](const QString &what, auto picks) -> Result<void> {
        if (const CliOption *other = firstGiven(given, picks))
            return refusal(QStringLiteral("%1 cannot be combined with %2")
                               .arg(what, QLatin1String(other->name)));
        return {};
    };
    if (o.listModels)
        VISTREL_TRY(refuseBeside(nameOf(OptionId::ListModels),
                                 [](const CliOption &c) { return !c.withListModels; }));
    if (o.modelsExport == kStandardOutput)
        VISTREL_TRY(refuseBeside(nameOf(OptionId::ModelsExport) + QStringLiteral(" -"),
                                 [](const CliOption &c) { return !c.withExportToStdout; }));
    if (!o.addModels.isEmpty())
        VISTREL_TRY(refuseBeside(nameOf(OptionId::AddModel), [](const CliOption &c) {
            return c.id == OptionId::ModelsImport;
        }));
    // The chart's CSV and JSON are the whole output.
    if (o.chart)
        VISTREL_TRY(refuseBeside(nameOf(OptionId::Chart), [](const CliOption &c) {
            return c.id == OptionId::AddModel || c.id == OptionId::ModelsImport ||
                   c.id == OptionId::ModelsExport || c.id == OptionId::Fit ||
                   c.id == OptionId::FitDistance || c.id == OptionId::ModelTerms;
        }));
    const auto goesWith = [](OptionId id, const QString &others) {
        return refusal(QStringLiteral("%1 goes with %2").arg(nameOf(id), others));
    };
    if (o.allModels && o.modelsExport.isEmpty())
        return goesWith(OptionId::AllModels, nameOf(OptionId::ModelsExport));
    if (o.replace && !o.changesModels())
        return goesWith(OptionId::Replace,
                        QStringLiteral("%1 or %2")
                            .arg(nameOf(OptionId::AddModel), nameOf(OptionId::ModelsImport)));
    if (o.dryRun && !o.changesModels() && o.modelsExport.isEmpty())
        return goesWith(OptionId::DryRun,
                        QStringLiteral("%1, %2 or %3")
                            .arg(nameOf(OptionId::AddModel), nameOf(OptionId::ModelsImport),
                                 nameOf(OptionId::ModelsExport)));
    return {};
}

} // namespace

bool CliOptions::asksForResult() const {
    return !open.isEmpty() || model || zoom || aspect || anamorphic || unit || position ||
           valueField || gain || ambient || planner || chart || fit || modelTerms ||
           changesRoom() || changesLight();
}

namespace {

template <typename Texts> bool anyGiven(const Texts &texts) {
    return std::any_of(texts.begin(), texts.end(), [](const auto &t) { return t.has_value(); });
}

} // namespace

bool CliOptions::changesRoom() const {
    return anyGiven(roomTexts) || anyGiven(details);
}

bool CliOptions::changesLight() const {
    return anyGiven(lightTexts);
}

QString usageText() {
    QString text = QStringLiteral("Usage: vistrel-cli [OPTIONS]\n"
                                  "Computes a projector installation like the Vistrel window "
                                  "does.\n\n");
    for (auto row = kOptions.begin(); row != kOptions.end();) {
        QStringList labels;
        const auto shared = row;
        for (; row != kOptions.end() && QLatin1String(row->help) == QLatin1String(shared->help);
             ++row)
            labels << usageLabel(*row);
        text += usageEntry(labels.join(QStringLiteral(" | ")), shared->help);
    }
    return text +
           QStringLiteral(
               "A FILE must be a non-empty, valid UTF-8 name. Files are replaced whole or not at "
               "all;\n"
               "a FILE that is a device, FIFO, socket or folder is refused (a link to a file is\n"
               "followed).\n"
               "Exit status: 0 done (an import with refused rows too), 1 the typed value was "
               "refused,\n"
               "2 the request could not be carried out.\n");
}

QString oneLine(QString text) {
    return visibleText(text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
}

AppError lineError(ErrorNumber number, const QString &text) {
    return makeError(number, oneLine(text));
}

Result<CliOptions> parseArgs(const QStringList &arguments) {
    CliOptions o;
    std::vector<const CliOption *> given;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        std::optional<QString> inlineValue;
        if (name.startsWith(QLatin1String("--")) && name.contains(u'=')) {
            inlineValue = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
        }
        const CliOption *option = optionNamed(name);
        if (!option || (option->argument == Argument::None && inlineValue))
            return refusal(QStringLiteral("unknown option: %1").arg(arguments.at(i)));
        given.push_back(option);

        QString value;
        if (option->argument != Argument::None) {
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < arguments.size())
                value = arguments.at(++i);
            else
                return refusal(QStringLiteral("option %1 needs a value").arg(name));
        }
        VISTREL_TRY(take(o, *option, value));
    }
    VISTREL_TRY(checkCombination(o, given));
    return o;
}

Result<QStringList> argumentsOf(int argc, const char *const *argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString text = QFile::decodeName(raw);
        if (QFile::encodeName(text) != raw)
            return makeError(ErrorNumber::BadFileName,
                             QStringLiteral("argument %1 is not valid UTF-8 (%2); a file of that "
                                            "name cannot be named exactly, so nothing was done")
                                 .arg(i)
                                 .arg(text));
        arguments << text;
    }
    return arguments;
}

bool needsWindow(const QStringList &arguments) {
    const Result<CliOptions> parsed = parseArgs(arguments);
    return parsed &&
           (!parsed->pdf.isEmpty() || !parsed->png.isEmpty() || !parsed->report.isEmpty() ||
            !parsed->roomSvg.isEmpty() || !parsed->planSvg.isEmpty());
}

} // namespace vistrel::cli
