#include "cli/clioptions.h"
#include "clirun.h"
#include "commalocale.h"
#include "fsentries.h"
#include "testcatalogues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace vistrel::cli;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(vistrel::ErrorNumber)

namespace {

// A catalogue of invented models, each shaped to reproduce one worked case.
const char *const kCatalogue =
    "Name,numbers\r\n"
    "Model A, 30, 300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1, 0.12, 0, 0, 1, 0, 30, 280, 30, 230\r\n"
    // WIDE only; its longest 5 : 4 distance is exactly 400.
    "Scale400,0,192.09372712298546,0,0,0.5,0,0,0,0.1,0,0,0,0,0,0,0,0,0\r\n"
    // Its largest screen is nothing at all, 400 inches away.
    "Empty400,0,0,0,0,0.5,-200,0,0,0.1,0,0,0,0,0,0,0,0,0\r\n"
    // The lens line 0.5 x + 2 at both ends, with either 16 : 9 conversion.
    "Lens1,20,300,20,300,0.5,2,0.5,2,0.1,0.1,0,0,1,0,20,300,20,300\r\n"
    "Lens2,20,300,20,300,0.5,2,0.5,2,0.1,0.1,0,0,2,0,20,300,20,300\r\n"
    "Rounder,20,300,20,300,0.899125,0,0.899125,0,0.1,0.1,0,0,0,0,0,0,0,0\r\n"
    // Two offsets and the drawing flag set; then no offset at all.
    "Flag,20,300,20,300,0.6,1,0.5,1,0.1,0.1,0.3,0.3,1,1,20,300,20,300\r\n"
    "Flat,20,300,20,300,0.6,1,0.5,1,0,0,0,0,1,0,20,300,20,300\r\n"
    // A short throw: its largest screen is too tall for the box at its own scale.
    "Short,20,300,20,300,1.5,0,1.2,0,0.1,0.1,0,0,0,0,0,0,0,0\r\n";

struct Run {
    int status = -1;
    QString out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QJsonObject part(const QString &name) const { return json()[name].toObject(); }
    QString field(const QString &name) const { return part("fields")[name].toString(); }
    double state(const QString &name) const { return part("state")[name].toDouble(); }
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    // Runs the command line in-process as if installed in the temporary folder
    // beside its catalogue and texts: `line` split at blanks, then `more` (file names).
    Run run(const QString &line, const QStringList &more = {}) const {
        return runArgs(line.split(u' ') + more);
    }
    Run runArgs(const QStringList &args) const {
        Run r;
        QTextStream out(&r.out), err(&r.err); // written through: no flush needed
        r.status = runCli(args, vistrel::AppPaths::resolve(dir_->path(), QString()), out, err);
        return r;
    }
    // Runs the real program (or `program`) in the test's folder.
    Run exec(const QStringList &args, const QString &program = QStringLiteral(VISTREL_CLI_PATH),
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
             const QString &stdoutFile = QString()) const {
        QProcess p;
        p.setWorkingDirectory(dir_->path());
        p.setProcessEnvironment(environment);
        if (!stdoutFile.isEmpty())
            p.setStandardOutputFile(stdoutFile);
        p.start(program, args);
        Run r;
        if (!p.waitForFinished(60000)) {
            p.kill(); // a FIFO opened to read would wait for ever
            p.waitForFinished();
            return r;
        }
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    QString path(const char *name) const { return dir_->filePath(QLatin1String(name)); }
    void write(const char *name, const QByteArray &bytes) const {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> dir_;

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QDir::setCurrent(dir_->path()); // relative names stay in the test's folder
        write("ModelInfo.ini", kCatalogue);
        QVERIFY(QFile::copy(VISTREL_DATA_DIR "/Language.ini", path("Language.ini")));
    }

    void catalogueLineBecomesTheFirstModel() {
        const Run list = run("--list-models");
        QVERIFY(list.status == 0 && list.out.startsWith(u"0\tModel A\n1\tScale400\n"_s));
        QCOMPARE(list.out.count(u'\n'), 9);

        const Run r = run("--json");
        const QJsonDocument expected = QJsonDocument::fromJson(R"({"model": "Model A",
            "modelIndex": 0, "zoom": "WIDE", "aspect": "4 : 3", "unit": "inches",
            "position": "bottom", "accepted": true, "messages": []})");
        for (const QString &key : expected.object().keys())
            QCOMPARE(r.json()[key], expected[key]);
        QCOMPARE(r.state("MinDiagonal"), 30.0);
        QCOMPARE(r.field("diagonal"), u"300"_s);
    }

    void distanceGivesTheScreenOfEachAspect_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("aspect");
        QTest::addColumn<QString>("screen"); // diagonal, height, width
        QTest::newRow("4:3") << u"Lens1"_s << u"4:3"_s << "52 31.2 41.6";
        QTest::newRow("5:4") << u"Lens1"_s << u"5:4"_s << "49.944369 31.2 39";
        QTest::newRow("16:9 mode 1") << u"Lens1"_s << u"16:9"_s << "63.639524 31.199992 55.466652";
        QTest::newRow("16:9 mode 2") << u"Lens2"_s << u"16:9"_s << "47.729656 23.4 41.600001";
    }
    // Distance 100 on the lens line 0.5 x + 2: a 4 : 3 diagonal of 52.
    void distanceGivesTheScreenOfEachAspect() {
        QFETCH(QString, model);
        QFETCH(QString, aspect);
        QFETCH(QString, screen);
        const Run r = run("--json --distance 100 --model " + model + " --aspect " + aspect);
        QStringList shown; // to eight significant digits
        for (auto key : {"ProjectionDistance", "ScreenDiagonal", "ScreenHeight", "ScreenWidth"})
            shown << QString::number(r.state(QLatin1String(key)), 'g', 8);
        QCOMPARE(shown.join(u' '), "100 " + screen);
    }

    void displayRoundingDependsOnTheZoomEnd() {
        // 100 inches away the Rounder lens gives a screen 71.93 inches wide.
        const QString width = u"--json --model Rounder --distance 100 --zoom "_s;
        QCOMPARE(run(width + "wide").field("width"), u"72"_s);
        QCOMPARE(run(width + "tele").field("width"), u"71"_s);
        // Distances in centimeters are shown in tens.
        const QString distance = u"--json --model Lens1 --unit cm --distance 253 --zoom "_s;
        QCOMPARE(run(distance + "wide").field("distance"), u"260"_s);
        QCOMPARE(run(distance + "tele").field("distance"), u"250"_s);
    }

    void isometricPointsOfTheWorkedCases_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("points");
        QTest::newRow("80 x 60 at 200")
            << u"--model Scale400 --diagonal 100"_s
            << R"({"BL":[322,95],"BR":[366,121],"L":[234,152],"TL":[322,57],"TR":[366,83]})";
        QTest::newRow("no screen at 400")
            << u"--model Empty400"_s
            << R"({"BL":[344,89],"BR":[344,89],"L":[125,216],"TL":[344,89],"TR":[344,89]})";
    }
    void isometricPointsOfTheWorkedCases() {
        QFETCH(QString, args);
        QFETCH(QString, points);
        const Run r = run("--json " + args);
        QVERIFY(r.status == 0 && qAbs(r.state("MaxDistance") - 400) < 1e-9);
        QCOMPARE(QJsonDocument(r.part("isometric")).toJson(QJsonDocument::Compact),
                 points.toUtf8());
    }

    // The short-throw screen does not fit at the model's own scale: the scale
    // grows by 1.25 until the top-left corner is inside the box, and stays grown.
    void fitLoopEnlargesTheScale() {
        const Run r = run("--json --model Short");
        QVERIFY(r.part("isometric")["TL"].toArray()[1].toInt() >= 1);
        // The model's own scale: the longest 5 : 4 distance, at TELE.
        const double own = 300 * std::sin(std::atan(0.8)) / 3 * 5 / 1.2;
        const double steps = std::log(r.state("MaxDistance") / own) / std::log(1.25);
        QVERIFY2(steps > 0.5, qPrintable(QString::number(steps)));
        QVERIFY(qAbs(steps - std::round(steps)) < 1e-9);
    }

    void sideViewTable_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QList<int>>("xatbe");
        // Flag has two offsets and its drawing flag set, Flat no offset at all.
        QTest::newRow("top") << u"Lens1"_s << u"top"_s << QList<int>{340, 27, 20, 93, 20};
        QTest::newRow("top flag") << u"Flag"_s << u"top"_s << QList<int>{340, 27, 34, 93, 34};
        QTest::newRow("top flat") << u"Flat"_s << u"top"_s << QList<int>{340, 27, 27, 93, 27};
        QTest::newRow("bottom") << u"Lens1"_s << u"bottom"_s << QList<int>{340, 86, 20, 93, 93};
        QTest::newRow("bottom flag") << u"Flag"_s << u"bottom"_s << QList<int>{340, 86, 20, 79, 79};
        QTest::newRow("bottom flat") << u"Flat"_s << u"bottom"_s << QList<int>{340, 86, 20, 86, 86};
    }
    void sideViewTable() {
        QFETCH(QString, model);
        QFETCH(QString, position);
        QFETCH(QList<int>, xatbe);
        const Run r = run("--json --model " + model + " --position " + position);
        QList<int> shown;
        for (const char *key : {"X", "A", "T", "B", "E"})
            shown << r.part("side")[QLatin1String(key)].toInt();
        QCOMPARE(shown, xatbe);
    }

    void refusedValueExitsWithOneAndOptionOrderIsFixed() {
        const Run r = run("--json --diagonal 1e999");
        QVERIFY(r.status == 1 && !r.json()["accepted"].toBool(true));
        QCOMPARE(r.json()["messages"].toArray().size(), 1);
        const QString message = r.json()["messages"][0].toString();
        QVERIFY(message.contains(u"300"_s) && r.err.contains(message));
        QCOMPARE(r.field("diagonal"), u"300"_s);

        // A negative length is refused as too small, whichever field it is typed in.
        for (const char *option : {"--distance", "--diagonal", "--width", "--height"}) {
            const Run negative = run(u"--json --unit ft "_s + QLatin1String(option) + u" -10"_s);
            QVERIFY2(negative.status == 1, option);
            QVERIFY(negative.json()["messages"][0].toString().contains(
                u"smallest screen size is 2.5 feet"_s));
            QCOMPARE(negative.state("ScreenDiagonal"), 300.0);
        }

        const Run a = run("--json --diagonal 100 --unit cm --model Flag");
        QCOMPARE(a.out, run("--model Flag --unit cm --diagonal 100 --json").out);
        QCOMPARE(a.field("diagonal"), u"100"_s); // typed after the unit was chosen
    }

    // A range message of an option step that the typed value makes history
    // is not printed with the text result; JSON keeps every message and
    // names the step each came from. Choices take any case.
    void messagesOfStepsATypedValueSupersedes_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("printed"); // the aspect's message, in text mode
        // Model A's largest 16 : 9 screen is 280 inches; it starts at 300.
        QTest::newRow("superseded")
            << QStringList{u"--aspect"_s, u"16:9"_s, u"--diagonal"_s, u"100"_s} << 0
            << QStringList{u"aspect"_s} << false;
        QTest::newRow("as the output writes it")
            << QStringList{u"--aspect=16 : 9"_s, u"--zoom"_s, u"WIDE"_s, u"--diagonal=100"_s} << 0
            << QStringList{u"aspect"_s} << false;
        QTest::newRow("nothing typed")
            << QStringList{u"--aspect"_s, u"16:9"_s} << 0 << QStringList{u"aspect"_s} << true;
        QTest::newRow("the value's own")
            << QStringList{u"--aspect"_s, u"16:9"_s, u"--diagonal"_s, u"900"_s} << 1
            << QStringList{u"aspect"_s, u"value"_s} << true;
        // A refused value leaves the aspect's result: its message explains it.
        QTest::newRow("the value refused")
            << QStringList{u"--aspect"_s, u"16:9"_s, u"--diagonal"_s, u"-5"_s} << 1
            << QStringList{u"aspect"_s, u"value"_s} << true;
    }
    void messagesOfStepsATypedValueSupersedes() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QStringList, steps);
        QFETCH(bool, printed);
        const Run text = runArgs(args);
        QCOMPARE(text.status, status);
        QCOMPARE(text.err.contains(u"is 280 inches"_s), printed);
        const Run json = runArgs(QStringList{u"--json"_s} + args);
        QCOMPARE(json.json()["messages"].toArray().size(), steps.size());
        QCOMPARE(json.json()["messageSteps"].toVariant().toStringList(), steps);
        QVERIFY(json.err.contains(u"is 280 inches"_s));
    }

    // The command lines the parser refuses, each with the line printed.
    void commandLinesRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<vistrel::ErrorNumber>("number");
        QTest::addColumn<QString>("line");
        const auto refused = [](const char *tag, const QStringList &args, const QString &line) {
            QTest::newRow(tag) << args << vistrel::ErrorNumber::InvalidArgument << line;
        };
        refused("unknown option", {u"--colour"_s, u"red"_s}, u"unknown option: --colour"_s);
        refused("a switch with a value", {u"--json=yes"_s}, u"unknown option: --json=yes"_s);
        refused("no value", {u"--unit"_s, u"in"_s, u"--zoom"_s}, u"option --zoom needs a value"_s);
        refused("two typed values", {u"--width"_s, u"1"_s, u"--height=2"_s},
                u"at most one of --distance, --diagonal, --width, --height may be given"_s);
        refused("not a number", {u"--gain"_s, u"bright"_s},
                u"invalid value for --gain: bright is not a number"_s);
        refused("not a choice", {u"--zoom"_s, u"wides"_s},
                u"invalid value for --zoom: wides (valid: wide, tele)"_s);
        // What the user typed stays on one line, control characters shown.
        refused("a line break", {u"--unit=c\r\nm\x1B"_s},
                u"invalid value for --unit: c m\\x1B (valid: in, ft, cm)"_s);
        for (const char *option :
             {"--save", "--pdf", "--png", "--report", "--open", "--catalogue", "--language"}) {
            const QString line =
                u"option "_s + QLatin1String(option) + u" needs a file name, not an empty text"_s;
            QTest::addRow("%s \"\"", option) << QStringList{QLatin1String(option), QString()}
                                             << vistrel::ErrorNumber::BadFileName << line;
            QTest::addRow("%s=", option) << QStringList{QLatin1String(option) + u'='}
                                         << vistrel::ErrorNumber::BadFileName << line;
        }
    }
    void commandLinesRefused() {
        QFETCH(QStringList, args);
        QFETCH(vistrel::ErrorNumber, number);
        QFETCH(QString, line);
        const vistrel::Result<CliOptions> parsed = parseArgs(args);
        QVERIFY(!parsed);
        QCOMPARE(parsed.error().number, number);
        QCOMPARE(parsed.error().description, line);
    }

    // Every name the usage offers for a choice is taken, in any case.
    void choicesTakeEveryNameTheyList() {
        for (const CliOption &option : kOptions) {
            if (option.argument != Argument::Choice)
                continue;
            for (const QString &name : option.choices())
                QVERIFY2(parseArgs({QLatin1String(option.name), name.toUpper()}),
                         qPrintable(QLatin1String(option.name) + u' ' + name));
        }
        QCOMPARE(run("--unit CM --json").json()["unit"].toString(), u"centimeters"_s);
    }

    // Text output adds the planner's lines when asked, or when a planner
    // input is given.
    void plannerLinesInTheTextResult() {
        QVERIFY(!run("--unit in").out.contains(u"Screen gain"_s));
        const Run asked = run("--planner");
        QVERIFY2(asked.out.contains(u"\nScreen gain: 1\n"_s), qPrintable(asked.out));
        QVERIFY(asked.out.contains(u"\nThrow ratio (picture) - WIDE: "_s));
        QVERIFY(run("--gain 1.3").out.contains(u"\nScreen gain: 1.3\n"_s));
    }

    void saveAndOpenRoundTrip() {
        const QString file = path("calc.cf");
        const Run saved = run("--json --model Flag --zoom tele --aspect 16:9 --unit ft "
                              "--position top --diagonal 9 --save",
                              {file});
        const Run opened = run("--json --open", {file});
        QVERIFY(saved.status == 0 && opened.status == 0);
        for (const char *key : {"model", "zoom", "aspect", "unit", "position", "fields", "state"})
            QCOMPARE(opened.json()[QLatin1String(key)], saved.json()[QLatin1String(key)]);

        // A file whose diagonal is beyond the model's limit is clamped, with the message.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = f.readAll().split('\n');
        lines[27] = "1000\r"; // the stored diagonal
        write("big.cf", lines.join('\n'));
        const Run big = run("--json --open", {path("big.cf")});
        QVERIFY(big.status == 0 && big.json()["messages"].toArray().size() == 1);
        QCOMPARE(big.state("ScreenDiagonal"), 300.0);
    }

    // A name ending in .vistrel saves a project file, which also keeps the
    // planner's inputs; a calculation file is refused for a picture format
    // it cannot hold, and nothing is written.
    void projectFilesOpenAndSave() {
        const QString project = path("room.vistrel");
        const Run saved = run("--json --model Flag --zoom tele --aspect 16:9 --unit ft "
                              "--position top --diagonal 9 --gain 1.3 --save",
                              {project});
        const Run opened = run("--json --open", {project});
        QVERIFY(saved.status == 0 && opened.status == 0);
        for (const char *key : {"model", "zoom", "aspect", "unit", "position", "fields", "state"})
            QCOMPARE(opened.json()[QLatin1String(key)], saved.json()[QLatin1String(key)]);
        QCOMPARE(opened.part(u"planner"_s)["gain"].toDouble(), 1.3);

        QFile file(project);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        root["picture"] = QJsonObject{{"width", 2.39}, {"height", 1}, {"anamorphic", 1}};
        write("wide.vistrel", QJsonDocument(root).toJson());
        const Run refused = run("--open wide.vistrel --json --save", {path("wide.cf")});
        QVERIFY(refused.status == 2 && refused.out.isEmpty());
        QVERIFY2(refused.err.contains(u"Err : 52"_s) && refused.err.contains(u"2.39 : 1"_s),
                 qPrintable(refused.err));
        QVERIFY(!QFile::exists(path("wide.cf")));
        QCOMPARE(run("--open wide.vistrel --save", {path("again.VISTREL")}).status, 0);
        QVERIFY(QFile::exists(path("again.VISTREL")));
    }

    void requestsThatCannotBeCarriedOut_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option") << u"--colour red"_s << "unknown option";
        QTest::newRow("unknown model") << u"--model Nope"_s << "not in the catalogue";
        QTest::newRow("absent zoom end") << u"--model Scale400 --zoom tele"_s << "TELE";
        QTest::newRow("no 16:9") << u"--model Rounder --aspect 16:9"_s << "16 : 9";
        QTest::newRow("missing file") << u"--open missing.cf"_s << "Err : 53";
        QTest::newRow("missing folder") << u"--open /nonexistent/x.cf"_s << "Err : 76";
    }
    void requestsThatCannotBeCarriedOut() {
        QFETCH(QString, args);
        QFETCH(QString, reason);
        const Run r = run(args, {u"--json"_s, u"--save"_s, path("never.cf")});
        QVERIFY(r.status == 2 && r.out.isEmpty());
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        QVERIFY(!QFile::exists(path("never.cf")));
    }

    // --list-models prints the list and nothing else, so every option it would
    // leave unused is an error: all but --catalogue, --language and --json
    // (and --help, which prints the usage instead).
    void listModelsStandsAlone_data() {
        QTest::addColumn<QStringList>("with");
        QTest::addColumn<bool>("refused");
        const QStringList goesWith{u"--catalogue"_s, u"--language"_s, u"--json"_s, u"--help"_s,
                                   u"--list-models"_s};
        for (const CliOption &option : kOptions) {
            QStringList with{QLatin1String(option.name)};
            switch (option.argument) {
            case Argument::None:
                break;
            case Argument::File:
                with << u"x."_s + QLatin1String(option.files);
                break;
            case Argument::Name:
                with << u"Lens1"_s;
                break;
            case Argument::Choice:
                with << option.choices().constLast();
                break;
            case Argument::Number:
            case Argument::Text:
                with << u"3"_s;
                break;
            }
            QTest::newRow(option.name) << with << !goesWith.contains(with.first());
        }
        QTest::newRow("--png=FILE") << QStringList{u"--png=x.png"_s} << true;
    }
    void listModelsStandsAlone() {
        QFETCH(QStringList, with);
        QFETCH(bool, refused);
        const Run r = run(u"--list-models"_s, with);
        const QString reason =
            u"--list-models cannot be combined with "_s + with.first().section(u'=', 0, 0);
        QCOMPARE(r.err.contains(reason), refused);
        if (refused)
            QVERIFY(r.status == 2 && r.out.isEmpty());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files),
                 (QStringList{u"Language.ini"_s, u"ModelInfo.ini"_s}));
    }

    void listModelsAsJson() {
        write("ModelInfo.ini", "h\r\nTab\tName,30,300,30,250,0.6,1,0.5,1\r\nQuote \" \\,2\r\n");
        const Run r = run(u"--list-models --json"_s);
        QCOMPARE(r.status, 0);
        const QJsonArray expected{QJsonObject{{u"index"_s, 0}, {u"name"_s, u"Tab\tName"_s}},
                                  QJsonObject{{u"index"_s, 1}, {u"name"_s, u"Quote \" \\"_s}}};
        QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8()).array(), expected);
        // As text, a control character in a name is shown escaped, as on stderr:
        // one model a line, the tab between index and name the only one.
        QCOMPARE(run(u"--list-models"_s).out, u"0\tTab\\x09Name\n1\tQuote \" \\\n"_s);
        write("ModelInfo.ini", "h\r\nBell\aLine\x1B[2J,30,300,30,250,0.6,1,0.5,1\r\n");
        QCOMPARE(run(u"--list-models"_s).out, u"0\tBell\\x07Line\\x1B[2J\n"_s);
        QVERIFY(run(u"--unit in"_s).out.contains(u"Bell\\x07Line\\x1B[2J\n"_s));
    }

    // No infinity reaches the output: limits whose lengths cannot be shown in
    // every unit are an overflow of the model; a figure beyond them is unknown.
    void lengthsBeyondReachAreNoNumbers_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("status");
        const QString huge =
            u"Huge,1,%1,1,%1,0.8,0,0.7,0,0.1,0.1,0,0,1,0,1,%1,1,%1,1000,0.8,1920,1080"_s;
        for (const char *limit : {"1e307", "5e307", "1e308"})
            for (const char *unit : {"in", "cm", "ft"})
                QTest::addRow("limits %s, %s", limit, unit)
                    << huge.arg(QLatin1String(limit)) << u"--json --unit "_s + QLatin1String(unit)
                    << 2;
        // Lengths up to 1e15 inches are shown, in centimetres too.
        QTest::newRow("limits 5e14, cm") << huge.arg(u"5e14"_s) << u"--json --unit cm"_s << 0;
        // TELE reaches 4e14 at its own largest screen; at WIDE's 300 it would
        // need 3e15, beyond what is shown: unknown.
        QTest::newRow("the other end far away")
            << u"Far,30,300,30,40,0.8,0,1e-13,0,0.1,0.1,0,0,0,0"_s
            << u"--json --unit cm --diagonal 300"_s << 0;
    }
    void lengthsBeyondReachAreNoNumbers() {
        QFETCH(QString, line);
        QFETCH(QString, args);
        QFETCH(int, status);
        write("far.ini", "h\r\n" + line.toLatin1() + "\r\n");
        const Run r = run(args + u" --catalogue "_s + path("far.ini"));
        QCOMPARE(r.status, status);
        QVERIFY2(!r.out.contains(u"inf"_s) && !r.out.contains(u"nan"_s), qPrintable(r.out));
        if (status == 2) {
            QVERIFY2(r.err.contains(u"Err : 6"_s), qPrintable(r.err));
            return;
        }
        QJsonParseError error;
        QJsonDocument::fromJson(r.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(r.field(u"distance"_s).size() <= 17);
        if (line.startsWith(u"Far"_s)) {
            const QJsonObject range = r.part(u"planner"_s)[u"throwRange"_s].toObject();
            QVERIFY(range[u"tele"_s].isNull() && range[u"wide"_s].isDouble());
        }
        const Run chart = run(u"--chart --unit cm --catalogue "_s + path("far.ini"));
        QVERIFY(!chart.out.contains(u"inf"_s) && !chart.out.contains(u"e+"_s));
    }

    // A request that fails after some of its files were written says which.
    void aFailureNamesWhatWasWritten() {
        const Run r = run(u"--save ok.cf --report"_s, {path("missing/x.pdf")});
        QCOMPARE(r.status, 2);
        QVERIFY(QFileInfo::exists(path("ok.cf")));
        QVERIFY2(r.err.contains(u"written before the failure: ok.cf"_s), qPrintable(r.err));
        QVERIFY(!run(u"--save"_s, {path("missing/y.cf")}).err.contains(u"written before"_s));
    }

    // A save replaces a regular file (also through a link) and nothing else.
    void saveTargets_data() {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("new file") << Entry::None << 0 << QString();
        QTest::newRow("regular file") << Entry::File << 0 << QString();
        QTest::newRow("link to a file") << Entry::Link << 0 << QString();
        QTest::newRow("fifo") << Entry::Fifo << 2 << u"Err : 75"_s;
        QTest::newRow("socket") << Entry::Socket << 2 << u"Err : 75"_s;
        QTest::newRow("folder") << Entry::Folder << 2 << u"Err : 75"_s;
        QTest::newRow("null device") << Entry::NullDevice << 2 << u"Err : 75"_s;
        QTest::newRow("dangling link") << Entry::DanglingLink << 2 << u"Err : 75"_s;
    }
    void saveTargets() {
        QFETCH(Entry, entry);
        QFETCH(int, status);
        QFETCH(QString, error);
        const QString target = path("target.cf");
        const QString linked = path("linked.cf");
        QVERIFY(makeEntry(Entry::File, linked));
        if (!makeEntry(entry, target, entry == Entry::DanglingLink ? path("gone") : linked))
            QSKIP("a device node needs root");
        const QString before = describeEntry(target);
        const Run r = run(u"--model Lens1 --save"_s, {target});
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(error), qPrintable(r.err));
        if (status != 0) {
            QCOMPARE(describeEntry(target), before);
            return;
        }
        // Written where the link points; the link itself stays.
        const QString written = entry == Entry::Link ? linked : target;
        QVERIFY(describeEntry(written).startsWith(u"file: \"Lens1\"\r\n"_s));
        if (entry == Entry::Link)
            QCOMPARE(describeEntry(target), before);
        QCOMPARE(run(u"--json --open"_s, {target}).json()["model"].toString(), u"Lens1"_s);
    }

    // The worked example through the command line: the planner's numbers in
    // the unit of the fields, null where the catalogue does not tell.
    void plannerInTheReport() {
        write("planner.ini",
              "h\r\n" + kWorkedExampleLine +
                  "Older,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n");
        const QString args =
            u"--json --aspect 16:9 --ambient 50 --catalogue "_s + path("planner.ini");
        // A number of the planner by its path, "brightness/fL".
        const auto at = [](const Run &r, const QString &where) {
            QJsonValue v = r.part(u"planner"_s);
            for (const QString &key : where.split(u'/'))
                v = v.toObject().value(key);
            return v;
        };
        const auto near = [](const QJsonValue &v, double expected) {
            return std::abs(v.toDouble() - expected) < 0.05;
        };
        const Run r = run(args + u" --diagonal 100"_s);
        QCOMPARE(r.status, 0);
        QVERIFY(near(at(r, u"brightness/fL"_s), 67.4) && near(at(r, u"brightness/nits"_s), 230.9));
        QVERIFY(near(at(r, u"brightness/neededLumens16fL"_s), 474.8));
        QVERIFY(near(at(r, u"contrast"_s), 15.4) && near(at(r, u"seating/deg30"_s), 162.6));
        QVERIFY(near(at(r, u"seating/acuity"_s), 156.1));
        QVERIFY(near(at(r, u"throwRange/wide"_s), (100 / 1.223837 - 1.1) / 0.62));
        // In centimeters the lengths follow; a brighter screen gives more light.
        const Run cm = run(args + u" --unit cm --diagonal 254 --gain 1.3"_s);
        QVERIFY(near(at(cm, u"seating/deg30"_s), 162.638 * 2.54));
        QVERIFY(near(at(cm, u"brightness/fL"_s), 87.6));
        // A model without the planner's fields: unknown, not 0.
        const Run older = run(args + u" --diagonal 100 --model Older"_s);
        QVERIFY(at(older, u"brightness/fL"_s).isNull() && at(older, u"contrast"_s).isNull());
        QVERIFY(near(at(older, u"brightness/neededLumens16fL"_s), 474.8));
        QCOMPARE(run("--json --gain -1").status, 2);
    }

    // Planner data a catalogue cannot give stays unknown: the file still
    // loads, stderr names line, field and value, JSON lists them in "warnings".
    void unusablePlannerDataIsAWarning() {
        write("wild.ini", "h\r\nWild,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,"
                          "30,230,-5,9,1920,1080,2000\r\n");
        const Run r = run(u"--json --catalogue "_s + path("wild.ini"));
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains(u"line 2, field 19 (Lumens): \"-5\""_s), qPrintable(r.err));
        QVERIFY(r.err.contains(u"line 2, field 20 (TeleLumenFactor): \"9\""_s));
        const QJsonArray warnings = r.json()[u"warnings"_s].toArray();
        QCOMPARE(warnings.size(), 2);
        QVERIFY(warnings[1].toString().startsWith(u"line 2, field 20 (TeleLumenFactor)"_s));
        QVERIFY(r.part(u"planner"_s)[u"brightness"_s].toObject()[u"fL"_s].isNull());
        QVERIFY(r.part(u"planner"_s)[u"contrast"_s].isDouble()); // the fields it could use
        // A catalogue without such values has no "warnings" at all.
        QVERIFY(!run("--json").json().contains(u"warnings"_s));
    }

    // The installation sheet of the worked example: two pages whose text
    // holds the planner's numbers; a sheet that cannot be written is an
    // error and leaves nothing behind.
    void reportWritesTheSheet() {
        write("planner.ini", "h\r\n" + kWorkedExampleLine);
        const QString sheet = path("sheet.pdf");
        const QStringList example{
            u"--catalogue"_s, path("planner.ini"), u"--aspect"_s, u"16:9"_s, u"--diagonal"_s,
            u"100"_s,         u"--ambient"_s,      u"50"_s};
        // A runtime folder as a desktop session has: stderr holds only the program's messages.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QTemporaryDir runtime;
        QVERIFY(QFile::setPermissions(runtime.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        const Run written =
            exec(example + QStringList{u"--report"_s, sheet}, VISTREL_CLI_PATH, environment);
        QCOMPARE(written.status, 0);
        // Nothing: the 16 : 9 limit applied to the default 300 inches is no
        // news once 100 is typed, and Qt's notes are not for the user.
        QCOMPARE(written.err, QString());
        const Run info = exec({sheet}, u"pdfinfo"_s);
        QVERIFY(info.status == 0 && info.out.simplified().contains(u"Pages: 2"_s));
        const Run text = exec({u"-layout"_s, sheet, u"-"_s}, u"pdftotext"_s);
        QCOMPARE(text.status, 0);
        const QStringList pages = text.out.split(u'\f');
        QVERIFY(pages.size() >= 2);
        const QString first = pages[0].simplified();
        for (const QString &part :
             {u"67.4 fL / 230.9 nits"_s, u"Lumens needed for 16 fL 475"_s, u"15.4 : 1"_s,
              u"163 inches"_s, u"134 inches"_s, u"120 inches"_s, u"Pixels blend from 156 inches"_s})
            QVERIFY2(first.contains(part), qPrintable(part + u" not in: "_s + first));
        // The chart's first and last rows: 30 and 280 inches at WIDE.
        QVERIFY2(pages[1].simplified().contains(u"30 27 15 38 47 1.5"_s), qPrintable(pages[1]));
        QVERIFY2(pages[1].simplified().contains(u"280 244 138 368 13.8"_s), qPrintable(pages[1]));

        const QString nowhere = path("missing/sheet.pdf");
        const Run failed = exec(example + QStringList{u"--report"_s, nowhere});
        QVERIFY(failed.status == 2 && failed.err.contains(u"Err : 76"_s));
        QVERIFY(!QFile::exists(nowhere));
    }

    // The throw chart as CSV parses back to the numbers of the JSON chart.
    void chartAsCsvAndJson() {
        const Run csv = run("--chart --model Flag --unit cm");
        const Run json = run("--chart --json --model Flag --unit cm");
        QVERIFY(csv.status == 0 && json.status == 0);
        const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QStringList lines = csv.out.split(u"\r\n"_s);
        QCOMPARE(lines.takeFirst(), u"diagonal (cm),width (cm),height (cm),distanceWide "
                                    u"(cm),distanceTele (cm),offset1 (cm),"
                                    "offset2 (cm)"_s);
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), rows.size());
        // 20 inches, the smallest screen: 50.8 cm, shown as the fields show it.
        QCOMPARE(lines.first(), u"51,41,31,80,90,3,10"_s);
        const QStringList keys{"diagonal",     "width",   "height", "distanceWide",
                               "distanceTele", "offset1", "offset2"};
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList cells = lines[i].split(u',');
            QCOMPARE(cells.size(), keys.size());
            for (qsizetype k = 0; k < keys.size(); ++k) {
                const QJsonValue value = rows[i].toObject()[keys[k]];
                QCOMPARE(cells[k].isEmpty() ? qQNaN() : cells[k].toDouble(),
                         value.isNull() ? qQNaN() : value.toDouble());
            }
        }
    }

    // A German desktop (LC_NUMERIC with a decimal comma) changes no byte of the
    // JSON, the CSV or a saved calculation.
    void outputIsTheSameInACommaLocale() {
        const QStringList lines{u"--chart --json --model Flag --unit in"_s,
                                u"--chart --model Flag --unit ft"_s,
                                u"--json --model Flag --unit ft --gain 1.3 --diagonal 7.5"_s};
        const auto outputs = [&](const char *saveAs) {
            QStringList texts;
            for (const QString &line : lines)
                texts << run(line).out;
            const Run saved =
                run(u"--model Flag --unit ft --diagonal 7.5 --save"_s, {path(saveAs)});
            QFile file(path(saveAs));
            if (saved.status != 0 || !file.open(QIODevice::ReadOnly))
                return QStringList();
            return texts << QString::fromLatin1(file.readAll());
        };
        const QStringList inC = outputs("c.cf");
        QVERIFY(!inC.isEmpty());
        QVERIFY2(inC[0].contains(u"\"offset1\": 1.2,"_s), qPrintable(inC[0]));
        QTemporaryDir locales;
        if (!vistrel::test::useCommaLocale(locales))
            QSKIP("no locale with a decimal comma can be set up here");
        const QStringList inGerman = outputs("de.cf");
        std::setlocale(LC_NUMERIC, "C");
        QCOMPARE(inGerman, inC);
    }

    // The real program: exit status, stdout only on success, every message on stderr.
    void theProgramKeepsStdoutCleanOnFailure() {
        const Run refused = exec({u"--json"_s, u"--catalogue"_s, path("ModelInfo.ini"),
                                  u"--height"_s, u"1"_s, u"--language"_s, path("Language.ini")});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.out.startsWith(u'{') && refused.err.contains(u"small"_s));
    }

    // A name with a byte that is not UTF-8 is refused, not written under another name.
    void theProgramRefusesANameItCannotWriteExactly() {
        const Run r =
            exec({u"-c"_s,
                  u"exec \"$0\" --catalogue ModelInfo.ini --save \"$(printf 'bad\\377name.cf')\""_s,
                  QStringLiteral(VISTREL_CLI_PATH)},
                 u"/bin/sh"_s);
        QVERIFY(r.status == 2 && r.err.contains(u"argument 4 is not valid UTF-8"_s));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u"Language.ini"_s, u"ModelInfo.ini"_s}));
    }

    // A failure of the real program writes nothing to stdout, and output that
    // could not be written is a failure too, not a result.
    void theProgramFails_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("stdoutFile");
        QTest::addColumn<QString>("says");
        QTest::newRow("broken texts") << QStringList{u"--json"_s, u"--language"_s, u"broken.ini"_s}
                                      << QString() << u"LANGUAGE.INI ERRER !!!! "_s;
        for (const char *option : {"--json", "--chart", "--list-models", "--help"})
            QTest::addRow("full stdout, %s", option)
                << QStringList{QString::fromLatin1(option)} << u"/dev/full"_s << u"Err : 57"_s;
    }
    void theProgramFails() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stdoutFile);
        QFETCH(QString, says);
        if (!stdoutFile.isEmpty() && !QFileInfo::exists(stdoutFile))
            QSKIP("no /dev/full here");
        write("broken.ini", "[Language]\r\nCaption=Only this\r\n");
        const Run r = exec(QStringList{u"--catalogue"_s, path("ModelInfo.ini")} + arguments,
                           VISTREL_CLI_PATH, QProcessEnvironment::systemEnvironment(), stdoutFile);
        QVERIFY(r.status == 2 && r.out.isEmpty());
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
    }

    // A FIFO or a socket given to read is refused at once (opening a FIFO
    // would wait for a writer that never comes); the window image and the
    // printed pages are written like a save: a FIFO is refused. Either is left alone.
    void theProgramUsesOnlyRegularFiles_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QString>("says");
        QTest::newRow("open fifo") << u"--open"_s << Entry::Fifo << u"is a FIFO"_s;
        QTest::newRow("open socket") << u"--open"_s << Entry::Socket << u"is a socket"_s;
        QTest::newRow("catalogue fifo") << u"--catalogue"_s << Entry::Fifo << u"is a FIFO"_s;
        // Texts that cannot be read are missing texts, as for a missing file.
        QTest::newRow("language fifo") << u"--language"_s << Entry::Fifo << u"LANGUAGE.INI"_s;
        for (const char *option : {"--png", "--pdf", "--report"})
            QTest::addRow("%s fifo", option)
                << QString::fromLatin1(option) << Entry::Fifo << u"Err : 75"_s;
    }
    void theProgramUsesOnlyRegularFiles() {
        QFETCH(QString, option);
        QFETCH(Entry, entry);
        QFETCH(QString, says);
        QVERIFY(makeEntry(entry, path("entry")));
        const QString before = describeEntry(path("entry"));
        const QStringList catalogue = option == u"--catalogue"_s
                                          ? QStringList()
                                          : QStringList{u"--catalogue"_s, path("ModelInfo.ini")};
        const Run r = exec(catalogue + QStringList{option, path("entry")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        QCOMPARE(describeEntry(path("entry")), before);
    }

    // File names that look like Qt's own options are the user's files: the
    // window drawn into "-reverse" is the window as always, not mirrored.
    void fileNamesAreNoOptionsOfQt() {
        QCOMPARE(exec({u"--png"_s, u"plain.png"_s}).status, 0);
        const Run r = exec({u"--png"_s, u"-reverse"_s, u"--report"_s, u"-platform"_s});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString()); // nor do Qt's notes reach the user
        QCOMPARE(readAll(path("-reverse")), readAll(path("plain.png")));
        QVERIFY(readAll(path("-platform")).startsWith("%PDF"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
