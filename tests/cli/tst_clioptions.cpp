// The option table is the one list of vistrel-cli's options: the usage and
// the bash completion are written from it, the manual by hand. Each must
// name every row, and no option the table lacks.
#include "cli/cliargs.h"
#include "cli/clioptions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel::cli;
using namespace Qt::StringLiterals;

namespace {

const QString kBashCompletion = u"/usr/share/bash-completion/bash_completion"_s;

// The manual as read: "\-" is a hyphen.
QString manual() {
    QFile file(QStringLiteral(VISTREL_SOURCE_DIR "/docs/man/vistrel-cli.1"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
}

// The headings of the manual's entries: the line after each ".TP".
QStringList manualHeadings() {
    const QStringList lines = manual().split(u'\n');
    QStringList headings;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == u".TP"_s)
            headings << lines[i + 1];
    }
    return headings;
}

QRegularExpression word(const QString &text) {
    return QRegularExpression(u"(?<![\\w-])"_s + QRegularExpression::escape(text) +
                              u"(?![\\w-])"_s);
}

// "--name" words of a text.
QSet<QString> optionsIn(const QString &text) {
    static const QRegularExpression option(u"(?<![\\w-])--[a-z][a-z-]*"_s);
    QSet<QString> found;
    for (const QRegularExpressionMatch &match : option.globalMatch(text))
        found << match.captured();
    return found;
}

QSet<QString> tableNames() {
    QSet<QString> names;
    for (const CliOption &option : kOptions)
        names << QLatin1String(option.name);
    return names;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

} // namespace

class TestCliOptions : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // What the completion offers for the last of `words` (the program's path
    // first), as the list a second Tab shows, sorted.
    QStringList offers(const QStringList &words) const {
        QProcess bash;
        bash.setWorkingDirectory(dir_.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, dir_.path());
        bash.setProcessEnvironment(environment);
        bash.start(u"bash"_s,
                   QStringList{u"-c"_s,
                               u"source \"$1\"; source \"$2\"; shift 2\n"
                               "COMP_TYPE=63; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1))\n"
                               "COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
                               "_vistrel_cli \"$1\" \"${COMP_WORDS[COMP_CWORD]}\" "
                               "\"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
                               "printf '%s\\n' \"${COMPREPLY[@]}\""_s,
                               u"_"_s, kBashCompletion, QStringLiteral(VISTREL_COMPLETION_FILE)} +
                       words);
        if (!bash.waitForFinished(30000) || bash.exitCode() != 0)
            return {u"<bash failed: "_s + QString::fromUtf8(bash.readAllStandardError()) + u'>'};
        return sorted(
            QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkdir(u"sub"_s));
        for (const char *name : {"a.ini", "b.cf", "c.pdf", "d.png", "e.txt", "f.vistrel"}) {
            QFile file(dir_.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFile models(dir_.filePath(u"models.ini"_s));
        QVERIFY(models.open(QIODevice::WriteOnly));
        models.write("h\r\nOnly Here,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n");
        QVERIFY(!manualHeadings().isEmpty());
    }

    void everyOptionIsDocumented_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < kOptions.size(); ++i)
            QTest::newRow(kOptions[i].name) << static_cast<int>(i);
    }
    void everyOptionIsDocumented() {
        QFETCH(int, row);
        const CliOption &option = kOptions[static_cast<std::size_t>(row)];
        const QString name = QLatin1String(option.name);
        QVERIFY2(*option.help != '\0', "the usage gives it no description");

        // The manual: an entry whose heading names it with what follows it.
        QStringList follows;
        if (option.argument == Argument::Choice)
            follows = option.choices();
        else if (option.argument != Argument::None)
            follows << QLatin1String(option.placeholder);
        if (option.alias)
            follows << QLatin1String(option.alias);
        const QStringList headings = manualHeadings().filter(word(name));
        QVERIFY2(!headings.isEmpty(), "the manual has no entry for it");
        for (const QString &part : follows)
            QVERIFY2(headings.first().contains(word(part)),
                     qPrintable(u"the manual's entry lacks "_s + part));

        // The completion: after a switch another option; after a file option
        // the files of its kind (and folders, to go on into); after a choice
        // its names; after --model the models of the catalogue on the line.
        if (!QFile::exists(kBashCompletion))
            QSKIP("bash-completion is not installed");
        const QString program = QStringLiteral(VISTREL_CLI_PATH);
        QStringList words{program, name, QString()};
        QStringList expected;
        switch (option.argument) {
        case Argument::None:
            words.last() = u"--"_s;
            expected = QStringList(tableNames().values());
            break;
        case Argument::File: {
            QStringList patterns;
            for (const QString &ending : QString::fromLatin1(option.files).split(u'|'))
                patterns << u"*."_s + ending;
            expected = QDir(dir_.path()).entryList(patterns, QDir::Files);
            expected << u"sub"_s;
            break;
        }
        case Argument::Name:
            words = QStringList{program, u"--catalogue"_s, u"models.ini"_s, name, QString()};
            expected << u"Only Here"_s;
            break;
        case Argument::Choice:
            expected = option.choices();
            break;
        case Argument::Number:
        case Argument::Text:
        case Argument::Phrase:
            break;
        }
        QCOMPARE(offers(words), sorted(expected));
    }

    // Nothing names an option the program does not take ("--option=value"
    // is the manual's way of writing any of them).
    void noOtherOptionIsNamed_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("usage") << usageText();
        QTest::newRow("manual") << manual().remove(u"--option"_s);
    }
    void noOtherOptionIsNamed() {
        QFETCH(QString, text);
        const QSet<QString> unknown = optionsIn(text) - tableNames();
        QVERIFY2(unknown.isEmpty(), qPrintable(QStringList(unknown.values()).join(u' ')));
    }

    // The usage says which options go with --list-models: the rows that do.
    void listModelsNamesWhatGoesWithIt() {
        QSet<QString> goWith;
        QString sentence;
        for (const CliOption &option : kOptions) {
            if (option.id == OptionId::ListModels)
                sentence = QString::fromLatin1(option.help);
            else if (option.withListModels && option.id != OptionId::Help)
                goWith << QLatin1String(option.name);
        }
        const QRegularExpressionMatch only =
            QRegularExpression(u"Only (.*) go with it"_s,
                               QRegularExpression::DotMatchesEverythingOption)
                .match(sentence);
        QVERIFY2(only.hasMatch(), qPrintable(sentence));
        QCOMPARE(optionsIn(only.captured(1)), goWith);
    }
};

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
