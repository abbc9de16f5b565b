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
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>
#include <optional>

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

// The worked example of a data sheet that prints throw ratios: 1.36 to 2.18
// on a 1920 x 1080 panel, offset 110 %.
const QString kLumen =
    u"name=Lumen X1,px=1920x1080,throw=1.36-2.18,offset=110%,diag=40-300,lumens=3500"_s;
// One that prints a 4 : 3 throw formula in metres, on a 1024 x 768 panel.
const QString kFormula = u"name=Tarn F2,px=1024x768,wide-formula=1.3956*D-0.0241,"
                         "tele-formula=1.6746*D-0.0242,formula-shape=4:3,formula-units=m/m"_s;
const QString kDemo = QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini");

struct Run {
    int status = -1;
    QString out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QJsonObject part(const QString &name) const { return json()[name].toObject(); }
    QString field(const QString &name) const { return part("fields")[name].toString(); }
    double state(const QString &name) const { return part("state")[name].toDouble(); }
};

// Two numbers of a model that went through its sheet terms and back: equal
// but for the last bits of a double.
bool closeEnough(const QJsonValue &a, const QJsonValue &b) {
    if (!a.isDouble() || !b.isDouble())
        return a == b;
    return std::abs(a.toDouble() - b.toDouble()) <= 1e-12 * std::max(1.0, std::abs(b.toDouble()));
}

// Whether two own-models files hold the same models, field by field.
bool sameModels(const QString &a, const QString &b) {
    const QList<QByteArray> left = readAll(a).split('\n'), right = readAll(b).split('\n');
    if (left.size() != right.size())
        return false;
    for (qsizetype line = 0; line < left.size(); ++line) {
        const QList<QByteArray> x = left[line].split(','), y = right[line].split(',');
        if (x.size() != y.size())
            return false;
        for (qsizetype f = 0; f < x.size(); ++f) {
            bool numbers = false, both = false;
            const double u = x[f].toDouble(&numbers), v = y[f].toDouble(&both);
            if (numbers && both ? !closeEnough(u, v) : x[f] != y[f])
                return false;
        }
    }
    return true;
}

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
    // Runs as runArgs() does, with a user data folder for the own models
    // (made by the first one).
    Run own(const QStringList &args, const char *user = "user") const {
        Run r;
        QTextStream out(&r.out), err(&r.err);
        r.status = runCli(args, vistrel::AppPaths::resolve(dir_->path(), path(user)), out, err);
        return r;
    }
    QString ownFile(const char *user = "user") const { return path(user) + u"/MyProjectors.ini"_s; }
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
        // The model commands: files by their ending, and what goes together.
        refused("an import's ending", {u"--models-import"_s, u"models.xls"_s},
                u"--models-import takes a file whose name ends in .csv, .json, .ini or .txt: "
                "models.xls"_s);
        refused("an export's ending", {u"--models-export"_s, u"models.ini"_s},
                u"--models-export takes a file whose name ends in .csv or .json: models.ini"_s);
        refused("stdout export and more", {u"--models-export"_s, u"-"_s, u"--diagonal"_s, u"9"_s},
                u"--models-export - cannot be combined with --diagonal"_s);
        refused("add and import", {u"--models-import=a.csv"_s, u"--add-model=name=A"_s},
                u"--add-model cannot be combined with --models-import"_s);
        refused("chart and fit", {u"--fit-distance"_s, u"1-2"_s, u"--chart"_s},
                u"--chart cannot be combined with --fit-distance"_s);
        refused("all models alone", {u"--all-models"_s},
                u"--all-models goes with --models-export"_s);
        refused("replace alone", {u"--replace"_s, u"--fit"_s},
                u"--replace goes with --add-model or --models-import"_s);
        refused("dry run alone", {u"--dry-run"_s},
                u"--dry-run goes with --add-model, --models-import or --models-export"_s);
        for (const char *range : {"5-3", "-1-3", "300", "a-b"})
            refused(range, {u"--fit-distance"_s, QLatin1String(range)},
                    u"invalid value for --fit-distance: "_s + QLatin1String(range) +
                        u" (MIN-MAX: the nearest and the farthest distance, in the unit of the "
                        "fields)"_s);
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
                with << u"x."_s + QString::fromLatin1(option.files).section(u'|', 0, 0);
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
            case Argument::Phrase:
                with << u"1-2"_s;
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
        QVERIFY(info.status == 0 && info.out.simplified().contains(u"Pages: 3"_s));
        const Run text = exec({u"-layout"_s, sheet, u"-"_s}, u"pdftotext"_s);
        QCOMPARE(text.status, 0);
        const QStringList pages = text.out.split(u'\f');
        QVERIFY(pages.size() >= 3);
        const QString first = pages[0].simplified();
        for (const QString &part :
             {u"67.4 fL / 230.9 nits"_s, u"Lumens needed for 16 fL 475"_s, u"15.4 : 1"_s,
              u"163 inches"_s, u"134 inches"_s, u"120 inches"_s, u"Pixels blend from 156 inches"_s})
            QVERIFY2(first.contains(part), qPrintable(part + u" not in: "_s + first));
        // The chart's first and last rows: 30 and 280 inches at WIDE.
        QVERIFY2(pages[2].simplified().contains(u"30 27 15 38 47 1.5"_s), qPrintable(pages[2]));
        QVERIFY2(pages[2].simplified().contains(u"280 244 138 368 13.8"_s), qPrintable(pages[2]));

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

    // The data sheets' worked examples, added and computed in one run (the
    // model is written before --model looks for it).
    void addedModelsComputeTheirDataSheets_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<QStringList>("screen");
        QTest::addColumn<QList<double>>(
            "coefficients");                          // WideCoefA, WideCoefB, TeleCoefA, TeleCoefB
        QTest::addColumn<QList<double>>("distances"); // WIDE, TELE, in the run's unit
        // The panel's picture is w x D43 wide, w = 0.6 x 16/9 = 1.066667, so
        // A = 1 / (1.36 x 1.066667) = 0.689338 and 1 / (2.18 x 1.066667) =
        // 0.430046. A 100-inch 16 : 9 picture is 100 x 16 / sqrt(337) =
        // 87.1576 in wide: 1.36 x 87.1576 = 118.53 in, 2.18 x 87.1576 = 190.00 in.
        QTest::newRow("throw ratio")
            << kLumen << QStringList{u"in"_s, u"100"_s} << QList<double>{0.689338, 0, 0.430046, 0}
            << QList<double>{118.534, 190.004};
        // A = 1 / 1.3956 = 0.716538, B = 0.0241 m x 39.3701 in/m x A = 0.679865;
        // TELE 1 / 1.6746 = 0.597158 and 0.0242 x 39.3701 x 0.597158 = 0.568945.
        // On the 4 : 3 panel a 16 : 9 picture 87.1576 in wide lies in a 4 : 3
        // one of 87.1576 / 0.8 = 108.947 in = 2.767254 m: 1.3956 x 2.767254 -
        // 0.0241 = 3.837879 m and 1.6746 x 2.767254 - 0.0242 = 4.609843 m.
        QTest::newRow("formula in metres") << kFormula << QStringList{u"cm"_s, u"254"_s}
                                           << QList<double>{0.716538, 0.679865, 0.597158, 0.568945}
                                           << QList<double>{383.788, 460.984};
    }
    void addedModelsComputeTheirDataSheets() {
        QFETCH(QString, terms);
        QFETCH(QStringList, screen);
        QFETCH(QList<double>, coefficients);
        QFETCH(QList<double>, distances);
        const QString name = terms.section(u',', 0, 0).section(u'=', 1);
        const QStringList calculation{u"--json"_s,   u"--model"_s,    name,
                                      u"--aspect"_s, u"16:9"_s,       u"--unit"_s,
                                      screen[0],     u"--diagonal"_s, screen[1]};
        const Run r = own(calculation + QStringList{u"--add-model"_s, terms});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.json()[u"model"_s].toString(), name);
        const QJsonObject fields = r.part(u"model_terms"_s)[u"fields"_s].toObject();
        const QStringList names{u"WideCoefA"_s, u"WideCoefB"_s, u"TeleCoefA"_s, u"TeleCoefB"_s};
        for (qsizetype i = 0; i < names.size(); ++i)
            QVERIFY2(std::abs(fields[names[i]].toDouble() - coefficients[i]) < 1e-6,
                     qPrintable(names[i]));
        const QJsonObject range = r.part(u"planner"_s)[u"throwRange"_s].toObject();
        QVERIFY(std::abs(range[u"wide"_s].toDouble() - distances[0]) < 0.01);
        QVERIFY(std::abs(range[u"tele"_s].toDouble() - distances[1]) < 0.01);
        const QJsonObject added = r.json()[u"model_changes"_s][0].toObject();
        QCOMPARE(added[u"action"_s].toString(), u"add"_s);
        QCOMPARE(added[u"model_terms"_s].toObject(), r.part(u"model_terms"_s));
        // A second run finds it among the own models, after the catalogue's.
        const Run again = own(calculation);
        for (const QString &key : {u"state"_s, u"planner"_s})
            QCOMPARE(again.part(key), r.part(key));
        QVERIFY(own({u"--list-models"_s}).out.endsWith(u"\t"_s + name + u'\n'));
    }

    // What the model commands refuse changes no own model: status 2, nothing
    // on stdout. What is merely unusual is added, with a warning.
    void ownModelCommandsRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const auto add = [](const char *tag, const QStringList &terms, int status,
                            const QString &says) {
            QStringList args;
            for (const QString &t : terms)
                args << u"--add-model"_s << t;
            QTest::newRow(tag) << args << status << says;
        };
        add("empty name", {u"name=,throw=1.5"_s}, 2, u"a projector needs a name"_s);
        add("throw 0", {u"name=Tarn Z,throw=0"_s}, 2,
            u"the throw ratio must be a number above 0"_s);
        add("own name taken", {u"name=Lumen X1,throw=1.5"_s}, 2,
            u"--add-model: Lumen X1 is the name of one of your own models; --replace replaces it"_s);
        add("unknown term", {u"name=Tarn Q,throw=1.5,colour=red"_s}, 2, u"no term Vistrel knows"_s);
        add("no pair", {u"Tarn Q"_s}, 2, u"is no KEY=VALUE pair"_s);
        add("one name twice", {u"name=Tarn Q,throw=1.5"_s, u"name=Tarn Q,throw=2"_s}, 2,
            u"an earlier row has the name \"Tarn Q\""_s);
        add("one of two refused", {u"name=Tarn Q,throw=1.5"_s, u"name=Tarn R,throw=-1"_s}, 2,
            u"above 0"_s);
        add("throw 12 warned", {u"name=Tarn W,px=1920x1080,throw=12,diag=40-300"_s}, 0,
            u"vistrel-cli: warning: throw_wide: "_s);
        QTest::newRow("replaced") << QStringList{u"--add-model"_s, u"name=Lumen X1,throw=1.5"_s,
                                                 u"--replace"_s}
                                  << 0 << u"warning: diag: "_s;
        QTest::newRow("missing file")
            << QStringList{u"--models-import"_s, u"missing.csv"_s} << 2 << u"Err : 53"_s;
        QTest::newRow("not JSON") << QStringList{u"--models-import"_s, u"broken.json"_s} << 2
                                  << u"broken.json"_s;
    }
    void ownModelCommandsRefused() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        write("broken.json", "[{\"name\": ");
        QCOMPARE(own({u"--add-model"_s, kLumen}).status, 0);
        const QByteArray before = readAll(ownFile());
        const Run r = own(args);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        QCOMPARE(r.out.isEmpty(), status != 0);
        QCOMPARE(readAll(ownFile()) == before, status != 0);
        // A name is never listed twice.
        QCOMPARE(own({u"--list-models"_s}).out.count(u"\tLumen X1\n"_s), 1);
    }

    // A dry run says what would change and leaves every file byte for byte.
    void dryRunWritesNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("add") << QStringList{u"--add-model"_s, kFormula} << u"Tarn F2: added\n"_s;
        QTest::newRow("replace") << QStringList{u"--add-model"_s, u"name=Lumen X1,throw=2"_s,
                                                u"--replace"_s}
                                 << u"Lumen X1: replaces your own model of that name\n"_s;
        QTest::newRow("import") << QStringList{u"--models-import"_s, u"more.json"_s, u"--replace"_s}
                                << u"line 1: Lumen X1: replaces your own model of that name\n"
                                   "line 2: Tarn B: added\n1 added, 1 replaced, 0 refused\n"_s;
        QTest::newRow("export") << QStringList{u"--models-export"_s, u"out.csv"_s}
                                << u"export: 1 model to out.csv\n"_s;
        QTest::newRow("export to stdout") << QStringList{u"--models-export"_s, u"-"_s}
                                          << u"export: 1 model to standard output\n"_s;
    }
    void dryRunWritesNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        QCOMPARE(own({u"--add-model"_s, kLumen}).status, 0);
        write("more.json",
              R"([{"name": "Lumen X1", "throw": 2, "diag": "40-300"},
                                 {"name": "Tarn B", "throw": 1.5, "diag": "40-300"}])");
        write("out.csv", "the previous export\n");
        const auto files = [this] {
            QStringList all;
            for (const QString &folder : {dir_->path(), path("user")})
                for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
                    all << file.fileName() + u'=' +
                               QString::fromLatin1(readAll(file.filePath()).toBase64());
            return all;
        };
        const QStringList before = files();
        const Run r = own(args + QStringList{u"--dry-run"_s});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, says + u"dry run: nothing was written\n"_s);
        QCOMPARE(files(), before);
    }

    // Every row that can be read comes in; a refused one stops none of them,
    // and one of an own model's name is replaced only with --replace.
    void importTakesEveryRowItCan() {
        QCOMPARE(own({u"--add-model"_s, kLumen}).status, 0);
        write("rows.csv", "name,throw,diag,px\n"
                          "Tarn A,1.5-2,40-300,1920x1080\n"
                          ",1.5,40-300,\n"
                          "Lumen X1,1.4,40-300,1920x1080\n"
                          "Tarn B,0,40-200,\n"
                          "Tarn A,1.6,40-300,\n"
                          "Tarn C,12,40-300,1920x1080\n");
        const Run r = own({u"--models-import"_s, u"rows.csv"_s});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split(u'\n');
        const QStringList expected{
            u"line 2: Tarn A: added"_s,
            u"line 3: refused: Invalid property value: name: "_s,
            u"line 4: Lumen X1: kept; --replace replaces your own model of that name"_s,
            u"line 5: refused: Invalid property value: throw_wide: "_s,
            u"line 6: refused: an earlier row has the name \"Tarn A\""_s,
            u"line 7: Tarn C: added"_s,
            u"line 7: warning: throw_wide: "_s,
            u"2 added, 0 replaced, 3 refused, 1 kept"_s};
        QCOMPARE(lines.size(), expected.size() + 1);
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(lines[i].startsWith(expected[i]), qPrintable(lines[i]));
        const auto wideA = [this](const QString &model) {
            return own({u"--json"_s, u"--model-terms"_s, u"--model"_s, model})
                .part(u"model_terms"_s)[u"fields"_s][u"WideCoefA"_s]
                .toDouble();
        };
        QVERIFY(std::abs(wideA(u"Lumen X1"_s) - 0.689338) < 1e-6); // kept: 1 / (1.36 x 1.066667)
        // Again with --replace: what is there now is replaced, the refusals stay.
        const Run replaced =
            own({u"--models-import"_s, u"rows.csv"_s, u"--replace"_s, u"--json"_s});
        QStringList actions;
        for (const QJsonValue &change : replaced.json()[u"model_changes"_s].toArray())
            actions << change[u"action"_s].toString();
        QCOMPARE(actions, (QStringList{u"replace"_s, u"refuse"_s, u"replace"_s, u"refuse"_s,
                                       u"refuse"_s, u"replace"_s}));
        QVERIFY(std::abs(wideA(u"Lumen X1"_s) - 0.669643) < 1e-6); // 1 / (1.4 x 1.066667)
        QCOMPARE(own({u"--list-models"_s}).out.count(u'\n'), 9 + 3);
    }

    // An export, to a file or to stdout, imports back to the same own models.
    void exportedModelsImportBack_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("stdoutArgs");
        QTest::newRow("csv") << u"mine.csv"_s << QStringList{};
        QTest::newRow("json") << u"mine.json"_s << QStringList{u"--json"_s};
    }
    void exportedModelsImportBack() {
        QFETCH(QString, file);
        QFETCH(QStringList, stdoutArgs);
        for (const QString &terms :
             {kLumen, kFormula,
              u"name=Tarn S,px=1280x800,throw=1.2-1.8,shift=-10-50,diag_wide=30-200,"
              "diag_tele=40-250,lumens=2000,tele_factor=0.8,contrast=2000,mirror=yes"_s})
            QCOMPARE(own({u"--add-model"_s, terms}).status, 0);
        const Run exported = own({u"--models-export"_s, file});
        QCOMPARE(exported.status, 0);
        const Run toStdout = own(QStringList{u"--models-export"_s, u"-"_s} + stdoutArgs);
        QCOMPARE(toStdout.out.toUtf8(), readAll(file));
        const Run imported = own({u"--models-import"_s, file}, "other");
        QVERIFY2(imported.out.endsWith(u"3 added, 0 replaced, 0 refused\n"_s),
                 qPrintable(imported.out));
        QVERIFY(sameModels(ownFile("other"), ownFile()));
        // Every model of the list: the catalogue's nine, then the own three.
        const Run all = own({u"--models-export"_s, u"-"_s, u"--all-models"_s, u"--json"_s});
        QCOMPARE(QJsonDocument::fromJson(all.out.toUtf8()).array().size(), 12);
    }

    // Each fit row says what a calculation with that model gives for the
    // same screen, at the zoom end the row names; a model that cannot fill
    // it is refused or limited there.
    void fitRowsAgreeWithTheCalculation_data() {
        QTest::addColumn<QString>("diagonal");
        QTest::newRow("100 in") << u"100"_s;
        QTest::newRow("300 in") << u"300"_s;
    }
    void fitRowsAgreeWithTheCalculation() {
        QFETCH(QString, diagonal);
        const QStringList screen{u"--json"_s, u"--catalogue"_s, kDemo,   u"--aspect"_s,
                                 u"16:9"_s,   u"--diagonal"_s,  diagonal};
        const Run fit = runArgs(screen + QStringList{u"--fit"_s});
        QCOMPARE(fit.status, 0);
        const QJsonArray rows = fit.json()[u"fit"_s].toArray();
        const QStringList listed =
            runArgs({u"--list-models"_s, u"--catalogue"_s, kDemo}).out.split(u'\n');
        QCOMPARE(rows.size(), listed.size() - 1);
        const auto near = [](const QJsonValue &a, const QJsonValue &b) {
            return a.isNull() || std::abs(a.toDouble() - b.toDouble()) < 1e-9;
        };
        qsizetype previous = -1;
        bool fitting = true;
        for (const QJsonValue &value : rows) {
            const QJsonObject row = value.toObject();
            const QString name = row[u"model"_s].toString();
            // Those that fit first, each group in list order.
            const qsizetype at = listed.indexOf(
                QRegularExpression(u"^\\d+\\t"_s + QRegularExpression::escape(name) + u'$'));
            if (fitting != row[u"fits"_s].toBool()) {
                QVERIFY2(fitting, qPrintable(name + u" fits after one that does not"_s));
                fitting = false;
                previous = -1;
            }
            QVERIFY2(at > previous, qPrintable(name));
            previous = at;
            if (!row[u"fits"_s].toBool()) {
                const Run calc = runArgs(screen + QStringList{u"--model"_s, name});
                QVERIFY2(calc.status == 2 || calc.state(u"ScreenDiagonal"_s) != diagonal.toDouble(),
                         qPrintable(name));
                continue;
            }
            const Run calc = runArgs(
                screen + QStringList{u"--model"_s, name, u"--zoom"_s, row[u"zoom"_s].toString()});
            QCOMPARE(calc.status, 0);
            const QJsonObject range = calc.part(u"planner"_s)[u"throwRange"_s].toObject();
            QVERIFY2(near(row[u"distance_wide"_s], range[u"wide"_s]), qPrintable(name));
            QVERIFY2(near(row[u"distance_tele"_s], range[u"tele"_s]), qPrintable(name));
            QVERIFY2(near(row[u"offset1"_s], calc.state(u"OffsetA"_s)), qPrintable(name));
            QVERIFY2(near(row[u"offset2"_s], calc.state(u"OffsetB"_s)), qPrintable(name));
            QVERIFY2(
                near(row[u"foot_lamberts"_s], calc.part(u"planner"_s)[u"brightness"_s][u"fL"_s]),
                qPrintable(name));
        }
    }

    // The room's distances, in the run's unit, against the worked example's
    // 118.53 to 190.00 in (301.08 to 482.61 cm); shown as the planner rounds:
    // WIDE up, TELE down, to whole inches or to tens of centimetres.
    void fitDistanceLeavesOutWhatTheRoomCannotHold_data() {
        QTest::addColumn<QStringList>("room"); // and the screen's diagonal
        QTest::addColumn<QString>("line");
        const QString in = u"Lumen X1 (own): fits: WIDE 119 in, TELE 190 in; 119 to 190 in; "
                           "at WIDE: offset 4.9 in, "_s;
        const auto row = [](const char *tag, const QString &room, const QString &line) {
            QTest::newRow(tag) << room.split(u' ') << line;
        };
        row("any distance", u"--diagonal 100"_s, in);
        row("meets the near end", u"--diagonal 100 --fit-distance 100-118.6"_s, in);
        row("meets the far end", u"--diagonal 100 --fit-distance=190-400"_s, in);
        row("too near", u"--diagonal 100 --fit-distance 100-118.5"_s,
            u"Lumen X1 (own): does not fit: it needs 119 to 190 in; the room allows "
            "100 in to 118.5 in"_s);
        // 300 to 330 cm are 118.11 to 129.92 in; 490 cm is 192.91 in. The
        // offset, 0.1 x 49.026 in = 4.90 in = 12.45 cm, is 13 at WIDE.
        row("centimetres", u"--unit cm --diagonal 254 --fit-distance 300-330"_s,
            u"Lumen X1 (own): fits: WIDE 310 cm, TELE 480 cm; 310 to 480 cm; at WIDE: offset "
            "13 cm, "_s);
        row("too far in centimetres", u"--unit cm --diagonal 254 --fit-distance 490-600"_s,
            u"Lumen X1 (own): does not fit: it needs 310 to 480 cm; the room allows 490 cm "
            "to 600 cm"_s);
    }
    void fitDistanceLeavesOutWhatTheRoomCannotHold() {
        QFETCH(QStringList, room);
        QFETCH(QString, line);
        QCOMPARE(own({u"--add-model"_s, kLumen}).status, 0);
        const Run r = own(room + QStringList{u"--aspect"_s, u"16:9"_s, u"--fit"_s});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split(u'\n').filter(u"Lumen X1"_s);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(line), qPrintable(lines[0]));
    }

    // The model in use as --model-terms prints it is what --add-model takes:
    // added under another name it has the same fields. Only runs of the
    // model options add model_terms to the JSON.
    void modelTermsAddTheSameModel() {
        const Run terms = runArgs({u"--model-terms"_s, u"--model"_s, u"Flag"_s});
        QVERIFY2(terms.status == 0 && terms.out.startsWith(u"name=Flag,"_s), qPrintable(terms.out));
        QString copy = terms.out.trimmed();
        copy.replace(u"name=Flag,"_s, u"name=Tarn Copy,"_s);
        QJsonObject original = run(u"--json --model-terms --model Flag"_s)
                                   .part(u"model_terms"_s)[u"fields"_s]
                                   .toObject();
        QJsonObject added = own({u"--json"_s, u"--add-model"_s, copy, u"--model"_s, u"Tarn Copy"_s})
                                .part(u"model_terms"_s)[u"fields"_s]
                                .toObject();
        QCOMPARE(added.take(u"ModelName"_s).toString(), u"Tarn Copy"_s);
        original.remove(u"ModelName"_s);
        QCOMPARE(added.keys(), original.keys());
        for (const QString &key : added.keys())
            QVERIFY2(closeEnough(added[key], original[key]), qPrintable(key));
        QVERIFY(!run(u"--json --model Flag"_s).json().contains(u"model_terms"_s));
    }

    // The model commands list the models' warnings once, under the file's
    // name (Flag's mirror flag has no negative offset); a calculation alone
    // does not.
    void modelWarningsGoWithTheModelCommands_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("listed");
        QTest::newRow("calculation") << QStringList{u"--model"_s, u"Flag"_s} << false;
        QTest::newRow("model terms") << QStringList{u"--model-terms"_s} << false;
        QTest::newRow("fit") << QStringList{u"--fit"_s} << true;
        QTest::newRow("export") << QStringList{u"--models-export"_s, u"x.csv"_s} << true;
        QTest::newRow("add") << QStringList{u"--add-model"_s, u"name=Tarn,throw=1.5"_s} << true;
    }
    void modelWarningsGoWithTheModelCommands() {
        QFETCH(QStringList, args);
        QFETCH(bool, listed);
        const Run r = own(args);
        QCOMPARE(r.status, 0);
        const QString heading = u"vistrel-cli: warnings about the models of "_s +
                                path("ModelInfo.ini") + u":\nvistrel-cli: Flag: the mirror flag"_s;
        QCOMPARE(r.err.count(heading), listed ? 1 : 0);
    }

    // The real program keeps the own models where XDG_DATA_HOME says, made
    // there by the first one; the next start finds them.
    void theProgramKeepsOwnModelsForTheNextRun() {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        const auto cli = [&](const QStringList &args) {
            return exec(QStringList{u"--catalogue"_s, path("ModelInfo.ini")} + args,
                        VISTREL_CLI_PATH, environment);
        };
        QCOMPARE(cli({u"--add-model"_s, kLumen}).out, u"Lumen X1: added\n"_s);
        QVERIFY(QFile::exists(home.path() + u"/Vistrel/MyProjectors.ini"_s));
        QVERIFY(cli({u"--list-models"_s}).out.endsWith(u"9\tLumen X1\n"_s));
        const Run found = cli({u"--json"_s, u"--model"_s, u"Lumen X1"_s});
        QVERIFY(found.status == 0 && found.json()[u"model"_s].toString() == u"Lumen X1"_s);
    }

    // File names that look like Qt's own options are the user's files: the
    // window drawn into "-reverse" is the window as always, not mirrored.
    // The room of the demo catalogue's Aster 2000 at WIDE with a 16 : 9 picture;
    // `line` gives the picture and the room, split at blanks.
    Run room(const QString &line, const QStringList &more = {}) const {
        return runArgs(QStringList{u"--catalogue"_s, kDemo, u"--model"_s, u"Aster 2000"_s,
                                   u"--aspect"_s, u"16:9"_s} +
                       line.split(u' ') + more);
    }
    // The demo catalogue's Aster 2000 with a 16 : 9 picture, or the
    // catalogue of the light budget's examples: the planner's worked example
    // (2000 : 1), the same at 40 : 1 and with neither lumens nor contrast.
    Run light(const QStringList &args) const {
        const bool own = args.contains(u"--model"_s);
        if (own)
            write("light.ini", "h\r\n" + kWorkedExampleLine +
                                   "Dim,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,"
                                   "230,2000,0.8,1920,1080,40\r\n"
                                   "Blank,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,"
                                   "30,230,0,0.8,1920,1080,0\r\n");
        return runArgs(
            (own ? QStringList{u"--catalogue"_s, path("light.ini"), u"--aspect"_s, u"16:9"_s}
                 : QStringList{u"--catalogue"_s, kDemo, u"--model"_s, u"Aster 2000"_s,
                               u"--aspect"_s, u"16:9"_s}) +
            args);
    }
    // A member of the JSON result by its path, "room/rows/0/up".
    static QJsonValue at(const Run &r, const QString &where) {
        QJsonValue v = r.json();
        for (const QString &key : where.split(u'/')) {
            bool index = false;
            const int i = key.toInt(&index);
            v = index ? v.toArray().at(i) : v.toObject().value(key);
        }
        return v;
    }

    // A 120-inch 16 : 9 picture is 104.59 x 58.83 in (120 x 16/sqrt(337),
    // 120 x 9/sqrt(337)); its bottom edge at 24 puts the top edge at 82.83,
    // 42.83 above seated eyes at 40.
    void roomFiguresOfTheWorkedExamples_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("where");
        QTest::addColumn<double>("expected");
        const QString steep = u"--diagonal 120 --screen-bottom 24 --row 143.68"_s;
        QTest::newRow("look up") << steep << u"room/rows/0/up"_s << 16.6; // atan(42.83/143.68)
        QTest::newRow("too steep") << steep << u"room/rows/0/too_steep"_s << 1.0; // over 15
        const QString side = u"--diagonal 120 --screen-bottom 24 --row 160.95 --seat-offset 40"_s;
        QTest::newRow("up") << side << u"room/rows/0/up"_s << 14.9;    // atan(42.83/160.95)
        QTest::newRow("down") << side << u"room/rows/0/down"_s << 5.7; // atan((40 - 24)/160.95)
        QTest::newRow("off axis") << side << u"room/rows/0/off_axis"_s << 14.0; // atan(40/160.95)
        // Row 2 sees the bottom edge over row 1's heads plus 4: 24 + (40 + 4 - 24)
        // x 192/144 = 50.67, a riser of 50.67 - 40 = 10.67. Given farthest first.
        const QString rows = u"--diagonal 120 --screen-bottom 24 --row 192 --row 144"_s;
        QTest::newRow("eyes") << rows << u"room/rows/1/needed_eyes"_s << 50.67;
        QTest::newRow("riser") << rows << u"room/rows/1/riser"_s << 10.67;
        QTest::newRow("first row") << rows << u"room/rows/0/distance"_s << 144.0;
        // "Top of Screen": the offsets put the lens axis 2.97 to 26.47 above the
        // top edge, 85.8 to 109.3; the plate 6 below a ceiling at 108 hangs
        // 108 - 6 - 85.8 = 16.2 at most, 0 at least (109.3 is beyond it).
        const QString hung =
            u"--diagonal 120 --position top --screen-bottom 24 --ceiling 108 --mount-depth 6"_s;
        QTest::newRow("axis low") << hung << u"room/lens_axis/low"_s << 85.8;
        QTest::newRow("axis high") << hung << u"room/lens_axis/high"_s << 109.3;
        QTest::newRow("drop least") << hung << u"room/mount/drop/low"_s << 0.0;
        QTest::newRow("drop most") << hung << u"room/mount/drop/high"_s << 16.2;
        // "Bottom of Screen": 24 - 2.9 = 21.1 down to 24 - 26.5 = -2.5.
        const QString stood = u"--diagonal 120 --position bottom --screen-bottom 24"_s;
        QTest::newRow("table most") << stood << u"room/mount/table/high"_s << 21.1;
        QTest::newRow("table least") << stood << u"room/mount/table/low"_s << 0.0;
        QTest::newRow("below floor") << stood << u"room/mount/below_floor"_s << 2.5;
        // DISCAS in cm: the farthest row at 1050 with 3.5 % needs 1050 / (200 x
        // 0.035) = 150; a 150 cm picture of 1080 rows reads up to 150 x 3438 / 1080.
        const QString discas = u"--unit cm --height 150 --screen-bottom 60 --row 1050 --eh 3.5"_s;
        QTest::newRow("least height") << discas << u"room/discas/least_height"_s << 150.0;
        QTest::newRow("analytical") << discas << u"room/discas/analytical_distance"_s << 477.5;
    }
    void roomFiguresOfTheWorkedExamples() {
        QFETCH(QString, line);
        QFETCH(QString, where);
        QFETCH(double, expected);
        const Run r = room(u"--json "_s + line);
        QCOMPARE(r.status, 0);
        const QJsonValue v = at(r, where);
        QVERIFY2(v.isDouble() || v.isBool(), qPrintable(r.out));
        QVERIFY2(std::abs((v.isBool() ? double(v.toBool()) : v.toDouble()) - expected) < 0.05,
                 qPrintable(QString::number(v.toDouble())));
    }

    // The room reads in words as the sheet words it; without a room nothing changes.
    void roomInTheTextResult() {
        const QString check =
            u"row 1 looks up 16.6° to the top edge: lower the screen or move the row back"_s;
        const Run text = room(u"--diagonal 120 --screen-bottom 24 --row 143.68 --row 192"_s);
        QCOMPARE(text.status, 0);
        QVERIFY2(text.out.contains(u'\n' + check + u'\n') &&
                     text.out.contains(u"\nRow 2 - Riser: 10.7 inches\n"_s),
                 qPrintable(text.out));
        const Run json = room(u"--json --diagonal 120 --screen-bottom 24 --row 143.68"_s);
        QCOMPARE(at(json, u"room/checks"_s).toArray(), QJsonArray{check});
        QVERIFY(room(u"--diagonal 120 --screen-bottom 24 --row 200"_s)
                    .out.contains(u"\nEvery check passes.\n"_s));
        QVERIFY(!run("--json").json().contains(u"room"_s));
        QVERIFY(!run("--unit in").out.contains(u"Row"_s));
    }

    // A value the room cannot take is refused with its field's message, and
    // nothing is written.
    void roomAndLightValuesRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString length = u": please type a distance of 0 or more, or nothing."_s;
        QTest::newRow("negative") << QStringList{u"--ceiling"_s, u"-5"_s}
                                  << u"Ceiling height"_s + length;
        QTest::newRow("not a number") << QStringList{u"--screen-bottom=abc"_s}
                                      << u"Screen bottom edge above the floor"_s + length;
        QTest::newRow("ceiling below the screen")
            << QStringList{u"--ceiling"_s, u"50"_s, u"--screen-bottom"_s, u"60"_s}
            << u"the ceiling must be above the screen's bottom edge"_s;
        QTest::newRow("a row at 0") << QStringList{u"--row"_s, u"150"_s, u"--row"_s, u"0"_s}
                                    << u"Seat rows: distance@eyes; …: please type"_s;
        QTest::newRow("no element") << QStringList{u"--eh"_s, u"0"_s}
                                    << u"Smallest element, % of picture height: please type a "
                                       "number from 0.1 to 100."_s;
        QTest::newRow("a title with a line break")
            << QStringList{u"--client"_s, u"A\nB"_s} << u"Client: "_s;
        // The light budget's values are refused as a refused --gain is.
        const QString age = u"Light source: please type new, mid, end or a factor"_s;
        QTest::newRow("age above 1") << QStringList{u"--age"_s, u"1.5"_s} << age;
        QTest::newRow("age word") << QStringList{u"--age=old"_s} << age;
        QTest::newRow("no target") << QStringList{u"--target-nits"_s, u"0"_s}
                                   << u"Own target, nits or fL: please type nits above 0"_s;
        QTest::newRow("edge-on") << QStringList{u"--half-gain"_s, u"90"_s}
                                 << u"Half-gain angle, degrees: please type an angle above 0"_s;
        QTest::newRow("gain") << QStringList{u"--gain"_s, u"-1"_s} << QString();
    }
    void roomAndLightValuesRefused() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString never = path("never.vistrel");
        const Run r = runArgs(args + QStringList{u"--json"_s, u"--save"_s, never});
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty() && !QFile::exists(never));
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }

    // A project file keeps the room and the title block for the next run,
    // whose own room options override them; a calculation file says it keeps
    // neither, and is written all the same.
    void projectFileKeepsTheRoom() {
        const QString project = path("hall.vistrel");
        const QStringList given{u"--screen-bottom"_s, u"24"_s,  u"--row"_s,    u"150@44"_s,
                                u"--ceiling"_s,       u"108"_s, u"--client"_s, u"Ferro <b>"_s};
        const Run saved = runArgs(given + QStringList{u"--json"_s, u"--save"_s, project});
        const Run opened = run(u"--json --open"_s, {project});
        QVERIFY(saved.status == 0 && opened.status == 0);
        QVERIFY(saved.err.isEmpty());
        for (const char *key : {"room", "project"})
            QCOMPARE(opened.json()[QLatin1String(key)], saved.json()[QLatin1String(key)]);
        QCOMPARE(at(opened, u"project/client"_s).toString(), u"Ferro <b>"_s);
        const Run moved = run(u"--json --row 300 --open"_s, {project});
        QCOMPARE(at(moved, u"room/rows"_s).toArray().size(), 1);
        QCOMPARE(at(moved, u"room/rows/0/distance"_s).toDouble(), 300.0);
        QCOMPARE(at(moved, u"room/screen_bottom"_s).toDouble(), 24.0);

        const Run cf = runArgs(given + QStringList{u"--save"_s, path("hall.cf")});
        QCOMPARE(cf.status, 0);
        QVERIFY(QFile::exists(path("hall.cf")));
        QVERIFY2(cf.err.contains(u"A calculation file does not keep the room"_s),
                 qPrintable(cf.err));
    }

    // The light budget of the worked examples. Aster 2000 (demo catalogue) at
    // TELE gives 4000 x 0.8 = 3200 lm; a 100-inch 16 : 9 picture is 87.16 x
    // 49.03 in = 29.674 sq ft, so 3200 / 29.674 = 107.8 fL new, x 0.75 = 80.9
    // at mid-life, x 0.5 = 53.9 at end of life. Lumens on the screen for a
    // target are nits / 3.4262591 x 29.674: 48 -> 415.7, 108 -> 935.3 (rated
    // at end of life 935.3 / 0.5 = 1870.7), 300 -> 2598.2; an own 14 fL is
    // 14 x 29.674 = 415.4 lm.
    // The room: 120 inches 16 : 9 is 104.59 x 58.83 in = 42.730 sq ft; 80 lux
    // on gain 1 reflect A = 80 / pi = 25.465 nits. With a native 2000 : 1 the
    // task C needs W = A (C - 1) / (1 - C / 2000): 7 : 1 153.33 nits, 1912.2 lm;
    // 15 : 1 25.465 x 14 / 0.9925 = 359.2 nits, 104.84 fL x 42.730 = 4479.7 lm;
    // 50 : 1 1279.8 nits, 15960.4 lm; 80 : 1 2095.5 nits, 26134.1 lm. At
    // 40 : 1 neither 50 : 1 nor 80 : 1 can be reached at any white.
    void lightBudgetOfTheWorkedExamples_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("where");
        QTest::addColumn<double>("expected");
        const QStringList tele{u"--zoom"_s, u"tele"_s, u"--diagonal"_s, u"100"_s};
        const QStringList end = tele + QStringList{u"--age"_s, u"end"_s};
        QTest::newRow("end fL") << end << u"planner/brightness/fL"_s << 53.9;
        QTest::newRow("mid fL") << tele + QStringList{u"--age=mid"_s} << u"planner/brightness/fL"_s
                                << 80.9;
        QTest::newRow("factor") << tele + QStringList{u"--age=0.5"_s} << u"planner/brightness/fL"_s
                                << 53.9;
        QTest::newRow("age") << end << u"planner/light/age"_s << 0.5;
        QTest::newRow("48 nits") << end << u"planner/light/targets/0/lumens"_s << 415.7;
        QTest::newRow("108 nits") << end << u"planner/light/targets/2/lumens"_s << 935.3;
        QTest::newRow("108 rated") << end << u"planner/light/targets/2/rated_lumens"_s << 1870.7;
        QTest::newRow("300 nits") << end << u"planner/light/targets/3/lumens"_s << 2598.2;
        QTest::newRow("own fL") << tele + QStringList{u"--target-nits"_s, u"14 fL"_s}
                                << u"planner/light/targets/4/lumens"_s << 415.4;
        const QStringList room{u"--model"_s,   u"Example"_s, u"--diagonal"_s,  u"120"_s,
                               u"--ambient"_s, u"80"_s,      u"--half-gain"_s, u"30"_s};
        QTest::newRow("ambient") << room << u"planner/light/ambient_nits"_s << 25.465;
        QTest::newRow("7 : 1") << room << u"planner/light/tasks/0/lumens"_s << 1912.2;
        QTest::newRow("15 : 1 white") << room << u"planner/light/tasks/1/white_nits"_s << 359.2;
        QTest::newRow("15 : 1") << room << u"planner/light/tasks/1/lumens"_s << 4479.7;
        QTest::newRow("50 : 1") << room << u"planner/light/tasks/2/lumens"_s << 15960.4;
        QTest::newRow("80 : 1") << room << u"planner/light/tasks/3/lumens"_s << 26134.1;
        QTest::newRow("half gain") << room << u"planner/light/half_gain"_s << 30.0;
    }
    void lightBudgetOfTheWorkedExamples() {
        QFETCH(QStringList, args);
        QFETCH(QString, where);
        QFETCH(double, expected);
        const Run r = light(QStringList{u"--json"_s} + args);
        QCOMPARE(r.status, 0);
        const QJsonValue v = at(r, where);
        QVERIFY2(std::abs(v.toDouble() - expected) < 0.05, qPrintable(r.out));
    }

    // What the catalogue does not tell is unknown in what depends on it
    // alone; out of reach is said so; the light budget is there only when
    // asked for, by an option or by a project file that keeps it.
    void lightBudgetUnknownsAndWhenItIsThere() {
        const Run dim = light({u"--json"_s, u"--model"_s, u"Dim"_s, u"--diagonal"_s, u"120"_s,
                               u"--ambient"_s, u"80"_s, u"--age"_s, u"new"_s});
        QCOMPARE(at(dim, u"planner/light/tasks/1/reachable"_s), QJsonValue(true));
        QCOMPARE(at(dim, u"planner/light/tasks/2/reachable"_s), QJsonValue(false));
        QCOMPARE(at(dim, u"planner/light/tasks/2/reached"_s), QJsonValue(false));
        QVERIFY(at(dim, u"planner/light/tasks/2/lumens"_s).isNull());
        QCOMPARE(at(dim, u"planner/light/contrast_measure"_s).toString(), u"sequential"_s);
        QCOMPARE(at(dim, u"planner/light/target_nits"_s), QJsonValue());
        const Run dimText = light({u"--model"_s, u"Dim"_s, u"--diagonal"_s, u"120"_s,
                                   u"--ambient"_s, u"80"_s, u"--age"_s, u"end"_s});
        QVERIFY2(dimText.out.contains(u"\nLight - Light source: at end of life\n"_s) &&
                     dimText.out.contains(u"\nAnalytical decision making - White needed: not "
                                          "reachable with a native contrast of 40 : 1\n"_s),
                 qPrintable(dimText.out));

        const Run blank = light({u"--json"_s, u"--model"_s, u"Blank"_s, u"--diagonal"_s, u"120"_s,
                                 u"--ambient"_s, u"80"_s, u"--age"_s, u"mid"_s});
        QCOMPARE(blank.status, 0);
        for (const char *unknown :
             {"brightness/fL", "light/targets/0/ratio", "light/tasks/1/lumens",
              "light/tasks/1/white_nits", "light/tasks/1/reached"})
            QVERIFY2(at(blank, u"planner/"_s + QLatin1String(unknown)).isNull(), unknown);
        for (const char *known :
             {"light/targets/0/lumens", "light/targets/0/rated_lumens", "light/ambient_nits"})
            QVERIFY2(at(blank, u"planner/"_s + QLatin1String(known)).isDouble(), known);

        QVERIFY(!at(light({u"--json"_s, u"--gain"_s, u"1.3"_s}), u"planner"_s)
                     .toObject()
                     .contains(u"light"_s));
        QVERIFY(!light({u"--planner"_s}).out.contains(u"Light source"_s));
        const QString project = path("lit.vistrel"), plain = path("plain.vistrel");
        QCOMPARE(light({u"--half-gain"_s, u"25"_s, u"--save"_s, project}).status, 0);
        QCOMPARE(light({u"--gain"_s, u"1.3"_s, u"--save"_s, plain}).status, 0);
        const Run opened = light({u"--json"_s, u"--open"_s, project});
        QCOMPARE(at(opened, u"planner/light/half_gain"_s).toDouble(), 25.0);
        QVERIFY(!at(light({u"--json"_s, u"--open"_s, plain}), u"planner"_s)
                     .toObject()
                     .contains(u"light"_s));
    }

    // Row 1 at 160.95 with its outermost seat 40 off the centre line sees the
    // screen atan(40 / 160.95) = 14.0 degrees off axis: outside a 10-degree
    // half-gain cone, inside a 20-degree one.
    void seatsAgainstTheHalfGainCone() {
        const QString row = u"--diagonal 120 --screen-bottom 24 --row 160.95 --seat-offset 40 "
                            "--half-gain "_s;
        const Run outside = room(row + u"10"_s);
        QVERIFY2(outside.out.contains(u"\nLight - Row 1: 14.0° off axis, outside the half-gain "
                                      "cone: at most half as bright there\n"_s),
                 qPrintable(outside.out));
        QVERIFY(room(row + u"20"_s)
                    .out.contains(u"\nLight - Row 1: 14.0° off axis, inside the "
                                  "half-gain cone\n"_s));
    }

    // The elevation as an SVG: the screen's bottom-edge dimension stands halfway
    // between floor and edge, left of the screen wall. A drawing without a room
    // is refused before anything is written.
    void roomDrawingsAsSvg() {
        const Run r =
            exec({u"--catalogue"_s, kDemo, u"--model"_s, u"Aster 2000"_s, u"--aspect"_s, u"16:9"_s,
                  u"--diagonal"_s, u"120"_s, u"--screen-bottom"_s, u"24"_s, u"--row"_s, u"144"_s,
                  u"--room-svg"_s, u"room.svg"_s, u"--plan-svg"_s, u"plan.svg"_s});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QFile file(path("room.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&file);
        std::optional<QPointF> bottom, top, label;
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = svg.attributes();
            const auto number = [&a](const char *name) {
                return a.value(QLatin1String(name)).toDouble();
            };
            if (svg.name() == u"line"_s && a.value(u"class"_s) == u"screen"_s) {
                bottom = QPointF(number("x1"), number("y1"));
                top = QPointF(number("x2"), number("y2"));
            } else if (svg.name() == u"text"_s) {
                const QPointF point(number("x"), number("y"));
                if (svg.readElementText() == u"24.0 in"_s)
                    label = point;
            }
        }
        QVERIFY(!svg.hasError() && bottom && top && label);
        // 58.83 in from bottom to top edge gives the scale; the floor is 24 in
        // below the bottom edge, the label at 12.
        const double scale = (bottom->y() - top->y()) / 58.83;
        QVERIFY2(std::abs(label->y() - (bottom->y() + 12 * scale)) < 0.1,
                 qPrintable(QString::number(label->y())));
        QVERIFY(label->x() < bottom->x());
        QFile plan(path("plan.svg"));
        QVERIFY(plan.open(QIODevice::ReadOnly));
        QXmlStreamReader planSvg(&plan);
        QVERIFY(planSvg.readNextStartElement() && planSvg.name() == u"svg"_s);

        const Run none = run(u"--save never.cf --room-svg"_s, {path("none.svg")});
        QVERIFY(none.status == 2 && none.err.contains(u"--room-svg: no room to draw"_s));
        QVERIFY(!QFile::exists(path("never.cf")) && !QFile::exists(path("none.svg")));
    }

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
