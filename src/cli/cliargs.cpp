#include "cli/cliargs.h"

#include "cli/clioptions.h"
#include "core/numbers.h"

#include <QFile>

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
    case OptionId::Report:
        o.report = value;
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

} // namespace

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
               "Exit status: 0 done, 1 the typed value was refused, 2 the request could not be "
               "carried out.\n");
}

QString oneLine(QString text) {
    return visibleText(text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
}

AppError lineError(ErrorNumber number, const QString &text) {
    return makeError(number, oneLine(text));
}

Result<CliOptions> parseArgs(const QStringList &arguments) {
    CliOptions o;
    // Of the options given that --list-models would leave unused, the first
    // in the table's order.
    const CliOption *unused = nullptr;

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
        if (!option->withListModels && (!unused || option < unused))
            unused = option;

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
    if (o.listModels && unused)
        return refusal(QStringLiteral("--list-models cannot be combined with %1")
                           .arg(QLatin1String(unused->name)));
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
           (!parsed->pdf.isEmpty() || !parsed->png.isEmpty() || !parsed->report.isEmpty());
}

} // namespace vistrel::cli
