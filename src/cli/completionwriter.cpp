// vistrel-cli-completion SCRIPT OUTPUT: writes vistrel-cli's bash completion,
// SCRIPT with its option part filled in from the option table, so that a new
// option is completed the day it is added. Run when the program is built;
// never installed.
#include "cli/clioptions.h"
#include "core/apperror.h"
#include "files/filewriter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using namespace vistrel;
using namespace vistrel::cli;

const QString kArgumentsMark = QStringLiteral("@OPTION_ARGUMENTS@");
const QString kNamesMark = QStringLiteral("@OPTION_NAMES@");

// The script holds the program's own words bare or between single quotes:
// one with a character the shell would read as more than itself stops the
// build instead.
Result<QString> plainWord(const QString &word) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9:._-]+$"));
    if (!plain.match(word).hasMatch())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("\"%1\" cannot go into the completion as it is").arg(word));
    return word;
}

const CliOption &optionOf(OptionId id) {
    for (const CliOption &option : kOptions) {
        if (option.id == id)
            return option;
    }
    Q_UNREACHABLE();
}

// What the completion does with the value of `option`, as lines of its
// branch; nothing is offered for a number, a typed text or a phrase.
Result<QString> valueCompletion(const CliOption &option) {
    switch (option.argument) {
    case Argument::None:
    case Argument::Number:
    case Argument::Text:
    case Argument::Phrase:
        return QString();
    case Argument::File: {
        // _filedir takes the endings as the alternatives of a pattern, "cf|vistrel".
        QStringList endings;
        for (const QString &ending : QString::fromLatin1(option.files).split(u'|')) {
            QString word;
            VISTREL_TRY_ASSIGN(word, plainWord(ending));
            endings << word;
        }
        return QStringLiteral("            _filedir '%1'\n").arg(endings.join(u'|'));
    }
    case Argument::Name:
        return QStringLiteral("            _vistrel_cli_line_models \"$1\" \"$2\" %1\n")
            .arg(QLatin1String(optionOf(OptionId::Catalogue).name));
    case Argument::Choice: {
        QStringList names;
        for (const QString &name : option.choices()) {
            QString word;
            VISTREL_TRY_ASSIGN(word, plainWord(name));
            names << word;
        }
        return QStringLiteral("            mapfile -t COMPREPLY < <(compgen -W '%1' -- \"$cur\")\n")
            .arg(names.join(u' '));
    }
    }
    Q_UNREACHABLE();
}

// The branches of `case $prev`: the options whose values complete alike
// share one, in the order of the table.
Result<QString> argumentBranches() {
    std::vector<std::pair<QString, QStringList>> branches;
    for (const CliOption &option : kOptions) {
        if (option.argument == Argument::None)
            continue;
        QString body;
        VISTREL_TRY_ASSIGN(body, valueCompletion(option));
        auto same = std::find_if(branches.begin(), branches.end(),
                                 [&body](const auto &branch) { return branch.first == body; });
        if (same == branches.end())
            branches.emplace_back(body, QStringList{QLatin1String(option.name)});
        else
            same->second << QLatin1String(option.name);
    }
    QString text;
    for (const auto &[body, names] : branches)
        text += QStringLiteral("        ") + names.join(QStringLiteral(" | ")) +
                QStringLiteral(")\n") + body + QStringLiteral("            return\n") +
                QStringLiteral("            ;;\n");
    text.chop(1); // the mark's own line ends it
    return text;
}

// Every option's name, from `column` of the mark's line on; lines that would
// grow past the width of the script's go on below, indented a step more.
QString optionNames(qsizetype column, qsizetype indent) {
    constexpr qsizetype kWidth = 100;
    const QString nextLine = u'\n' + QString(indent + 4, u' ');
    QString text;
    for (const CliOption &option : kOptions) {
        const QString name = QLatin1String(option.name);
        if (!text.isEmpty() && column + 1 + name.size() > kWidth) {
            text += nextLine;
            column = nextLine.size() - 1;
        } else if (!text.isEmpty()) {
            text += u' ';
            ++column;
        }
        text += name;
        column += name.size();
    }
    return text;
}

Result<QString> completionScript(QString script) {
    if (script.count(kArgumentsMark) != 1 || script.count(kNamesMark) != 1)
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("the script needs %1 and %2 once each").arg(kArgumentsMark, kNamesMark));
    QString branches;
    VISTREL_TRY_ASSIGN(branches, argumentBranches());
    const qsizetype at = script.indexOf(kNamesMark);
    const qsizetype lineStart = script.lastIndexOf(u'\n', at) + 1;
    qsizetype indent = 0;
    while (script.at(lineStart + indent) == u' ')
        ++indent;
    return script.replace(kArgumentsMark, branches)
        .replace(kNamesMark, optionNames(at - lineStart, indent));
}

Result<void> writeCompletion(const QString &scriptPath, const QString &outputPath) {
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly))
        return makeError(ErrorNumber::FileNotFound,
                         QStringLiteral("cannot read %1: %2").arg(scriptPath, file.errorString()));
    QString script;
    VISTREL_TRY_ASSIGN(script, completionScript(QString::fromUtf8(file.readAll())));
    return writeFileAtomically(outputPath, script.toUtf8());
}

} // namespace

int main(int argc, char *argv[]) {
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: vistrel-cli-completion SCRIPT OUTPUT\n";
        return 2;
    }
    if (Result<void> written =
            writeCompletion(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
        !written) {
        err << "vistrel-cli-completion: " << written.error().description << '\n';
        return 1;
    }
    return 0;
}
