#include "cli/cliargs.h"

#include "core/numbers.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace vistrel::cli {

namespace {

// "a|b|c": the command-line names of every row of a table.
template <typename Table> QString namesOf(const Table &table) {
    QStringList names;
    for (const auto &row : table)
        names << QLatin1String(row.cli);
    return names.join(u'|');
}

// One option of the usage text, its description in the second column.
QString usageLine(const QString &option, const char *description) {
    return QStringLiteral("  ") + option.leftJustified(21) + u' ' + QLatin1String(description) +
           u'\n';
}

std::optional<Field> fieldNamed(const QString &name) {
    if (!name.startsWith(QLatin1String("--")))
        return std::nullopt;
    return choiceNamed<Field>(QStringView(name).mid(2));
}

// "--distance, --diagonal, --width, --height"
QString fieldOptions() {
    QStringList names;
    for (const FieldInfo &field : kFields)
        names << QLatin1String("--") + QLatin1String(field.cli);
    return names.join(QStringLiteral(", "));
}

// The first option given that --list-models would leave unused, or nothing.
std::optional<QString> unusedBesideList(const CliOptions &o) {
    const std::array<std::pair<bool, const char *>, 15> given{{
        {!o.open.isEmpty(), "--open"},
        {o.model.has_value(), "--model"},
        {o.zoom.has_value(), "--zoom"},
        {o.aspect.has_value(), "--aspect"},
        {o.unit.has_value(), "--unit"},
        {o.position.has_value(), "--position"},
        {o.valueField.has_value(), ""},
        {!o.save.isEmpty(), "--save"},
        {!o.pdf.isEmpty(), "--pdf"},
        {!o.png.isEmpty(), "--png"},
        {o.gain.has_value(), "--gain"},
        {o.ambient.has_value(), "--ambient"},
        {o.chart, "--chart"},
        {o.planner, "--planner"},
        {!o.report.isEmpty(), "--report"},
    }};
    for (const auto &[present, name] : given) {
        if (present)
            return *name ? QString::fromLatin1(name)
                         : QLatin1String("--") + QLatin1String(info(*o.valueField).cli);
    }
    return std::nullopt;
}

} // namespace

QString usageText() {
    QStringList typed;
    for (const FieldInfo &field : kFields)
        typed << QLatin1String("--") + QLatin1String(field.cli) + QStringLiteral(" TEXT");
    return QStringLiteral("Usage: vistrel-cli [OPTIONS]\n"
                          "Computes a projector installation like the Vistrel window does.\n\n") +
           usageLine(QStringLiteral("--catalogue FILE"),
                     "model information file (default: ModelInfo.ini beside the program)") +
           usageLine(QStringLiteral("--language FILE"),
                     "text file (default: chosen from the user's languages)") +
           usageLine(QStringLiteral("--open FILE"), "open a calculation file") +
           usageLine(QStringLiteral("--model NAME"), "select the first model of that name") +
           usageLine(QStringLiteral("--zoom ") + namesOf(kZoomEnds), "zoom end") +
           usageLine(QStringLiteral("--aspect ") + namesOf(kAspects), "aspect ratio") +
           usageLine(QStringLiteral("--unit ") + namesOf(kUnits), "unit of the fields") +
           usageLine(QStringLiteral("--position ") + namesOf(kPositions), "projector position") +
           QStringLiteral("  ") + typed.join(QStringLiteral(" | ")) + u'\n' +
           usageLine(QString(), "type TEXT into that field and press Enter") +
           usageLine(QStringLiteral("--save FILE"), "write the calculation file") +
           usageLine(QStringLiteral("--pdf FILE"),
                     "write the page the printer would get, as a PDF") +
           usageLine(QStringLiteral("--png FILE"), "write the window image") +
           usageLine(QStringLiteral("--gain G"), "screen gain for the planner (default 1)") +
           usageLine(QStringLiteral("--ambient LUX"),
                     "light falling on the screen, lux (default 0: a dark room)") +
           usageLine(QStringLiteral("--planner"),
                     "print the planner's numbers after the result (--gain and --ambient do too)") +
           usageLine(QStringLiteral("--chart"),
                     "print the throw chart as CSV (with --json: a JSON array)") +
           usageLine(QStringLiteral("--report FILE"),
                     "write the installation sheet (window, numbers, chart) as a PDF") +
           QStringLiteral(
               "  --list-models         print INDEX<TAB>NAME per model and exit; with --json,\n"
               "                        a JSON array of {\"index\", \"name\"} objects instead.\n"
               "                        Only --catalogue, --language and --json go with it;\n"
               "                        any other option is an error\n") +
           usageLine(QStringLiteral("--json"),
                     "print the result as one JSON object; its \"planner\" gives lengths in "
                     "the unit of the fields, null where the catalogue does not tell") +
           usageLine(QStringLiteral("--help"), "print this text") +
           QStringLiteral(
               "A FILE must be a non-empty, valid UTF-8 name. Files are replaced whole or not at "
               "all;\n"
               "a FILE that is a device, FIFO, socket or folder is refused (a link to a file is\n"
               "followed).\n"
               "Exit status: 0 done, 1 the typed value was refused, 2 the request could not be "
               "carried out.\n");
}

ParsedArgs parseArgs(const QStringList &arguments) {
    ParsedArgs parsed;
    CliOptions &o = parsed.options;
    auto fail = [&parsed](const QString &reason) {
        parsed.error = reason;
        return parsed;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        std::optional<QString> inlineValue;
        if (name.startsWith(QLatin1String("--")) && name.contains(u'=')) {
            inlineValue = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
        }
        auto flag = [&]() { return !inlineValue.has_value(); };
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments.at(++i);
        };

        if (name == QLatin1String("--json") && flag()) {
            o.json = true;
            continue;
        }
        if (name == QLatin1String("--list-models") && flag()) {
            o.listModels = true;
            continue;
        }
        if ((name == QLatin1String("--help") || name == QLatin1String("-h")) && flag()) {
            o.help = true;
            continue;
        }
        if (name == QLatin1String("--chart") && flag()) {
            o.chart = true;
            continue;
        }
        if (name == QLatin1String("--planner") && flag()) {
            o.planner = true;
            continue;
        }

        const std::optional<Field> field = fieldNamed(name);
        const bool known = field || name == QLatin1String("--catalogue") ||
                           name == QLatin1String("--language") || name == QLatin1String("--open") ||
                           name == QLatin1String("--model") || name == QLatin1String("--zoom") ||
                           name == QLatin1String("--aspect") || name == QLatin1String("--unit") ||
                           name == QLatin1String("--position") || name == QLatin1String("--save") ||
                           name == QLatin1String("--pdf") || name == QLatin1String("--png") ||
                           name == QLatin1String("--gain") || name == QLatin1String("--ambient") ||
                           name == QLatin1String("--report");
        if (!known)
            return fail(QStringLiteral("unknown option: %1").arg(arguments.at(i)));
        const std::optional<QString> v = value();
        if (!v)
            return fail(QStringLiteral("option %1 needs a value").arg(name));
        const bool fileOption = name == QLatin1String("--catalogue") ||
                                name == QLatin1String("--language") ||
                                name == QLatin1String("--open") ||
                                name == QLatin1String("--save") || name == QLatin1String("--pdf") ||
                                name == QLatin1String("--png") || name == QLatin1String("--report");
        if (fileOption && v->isEmpty())
            return fail(QStringLiteral("option %1 needs a file name, not an empty text").arg(name));

        if (field) {
            if (o.valueField)
                return fail(QStringLiteral("at most one of %1 may be given").arg(fieldOptions()));
            o.valueField = field;
            o.valueText = *v;
        } else if (name == QLatin1String("--catalogue")) {
            o.catalogue = *v;
        } else if (name == QLatin1String("--language")) {
            o.language = *v;
        } else if (name == QLatin1String("--open")) {
            o.open = *v;
        } else if (name == QLatin1String("--model")) {
            o.model = *v;
        } else if (name == QLatin1String("--save")) {
            o.save = *v;
        } else if (name == QLatin1String("--pdf")) {
            o.pdf = *v;
        } else if (name == QLatin1String("--png")) {
            o.png = *v;
        } else if (name == QLatin1String("--report")) {
            o.report = *v;
        } else if (name == QLatin1String("--gain") || name == QLatin1String("--ambient")) {
            const std::optional<double> number = parseNumber(*v);
            if (!number)
                return fail(
                    QStringLiteral("invalid value for %1: %2 is not a number").arg(name, *v));
            (name == QLatin1String("--gain") ? o.gain : o.ambient) = *number;
        } else {
            // Any case, and an aspect as the output writes it ("16 : 9") too.
            const QString given = QString(*v).remove(u' ');
            bool valid = false;
            QString names;
            if (name == QLatin1String("--zoom")) {
                valid = (o.zoom = choiceNamed<Zoom>(given, Qt::CaseInsensitive)).has_value();
                names = namesOf(kZoomEnds);
            } else if (name == QLatin1String("--aspect")) {
                valid = (o.aspect = choiceNamed<Aspect>(given, Qt::CaseInsensitive)).has_value();
                names = namesOf(kAspects);
            } else if (name == QLatin1String("--unit")) {
                valid = (o.unit = choiceNamed<Unit>(given, Qt::CaseInsensitive)).has_value();
                names = namesOf(kUnits);
            } else {
                valid =
                    (o.position = choiceNamed<Position>(given, Qt::CaseInsensitive)).has_value();
                names = namesOf(kPositions);
            }
            if (!valid)
                return fail(QStringLiteral("invalid value for %1: %2 (valid: %3)")
                                .arg(name, *v, names.replace(u'|', QStringLiteral(", "))));
        }
    }
    if (o.listModels) {
        if (const std::optional<QString> unused = unusedBesideList(o))
            return fail(QStringLiteral("--list-models cannot be combined with %1").arg(*unused));
    }
    return parsed;
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
    const ParsedArgs parsed = parseArgs(arguments);
    return parsed.error.isEmpty() &&
           (!parsed.options.pdf.isEmpty() || !parsed.options.png.isEmpty() ||
            !parsed.options.report.isEmpty());
}

} // namespace vistrel::cli
