#include "clirun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace vistrel::cli;

namespace {

// A catalogue of invented models, each shaped to reproduce one worked case.
const char *const kCatalogue =
    "Name,numbers\r\n"
    "Model A, 30, 300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1, 0.12, 0, 0, 1, 0, 30, 280, 30, 230\r\n"
    // WIDE only; its longest 5 : 4 distance is exactly 400.
    "Scale400,0,192.09372712298546,0,0,0.5,0,0,0,0.1,0,0,0,0,0,0,0,0,0\r\n"
    // Its largest screen is nothing at all, 400 inches away.
    "Empty400,0,0,0,0,0.5,-200,0,0,0.1,0,0,0,0,0,0,0,0,0\r\n"
    "HalfLens,20,300,20,300,0.5,2,0.5,2,0.1,0.1,0,0,1,0,20,300,20,300\r\n"
    "HalfLens2,20,300,20,300,0.5,2,0.5,2,0.1,0.1,0,0,2,0,20,300,20,300\r\n"
    "Rounder,20,300,20,300,0.899125,0,0.899125,0,0.1,0.1,0,0,0,0,0,0,0,0\r\n"
    "Flag1,20,300,20,300,0.6,1,0.5,1,0.1,0.1,0.3,0.3,1,1,20,300,20,300\r\n"
    "Flat,20,300,20,300,0.6,1,0.5,1,0,0,0,0,1,0,20,300,20,300\r\n"
    "Tele Only,20,300,20,300,0,0,0.5,1,0.1,0.1,0,0,0,0,0,0,0,0\r\n"
    // A short throw: its largest screen is too tall for the box at its own scale.
    "Short,20,300,20,300,1.5,0,1.2,0,0.1,0.1,0,0,0,0,0,0,0,0\r\n";

struct Run {
    int status = -1;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QString field(const char *name) const {
        return json()[QStringLiteral("fields")].toObject()[QLatin1String(name)].toString();
    }
    double state(const char *name) const {
        return json()[QStringLiteral("state")].toObject()[QLatin1String(name)].toDouble();
    }
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void init();
    void catalogueLineBecomesTheFirstModel();
    void distanceGivesTheScreenOfEachAspect_data();
    void distanceGivesTheScreenOfEachAspect();
    void displayRoundingDependsOnTheZoomEnd_data();
    void displayRoundingDependsOnTheZoomEnd();
    void isometricPointsOfTheWorkedCases_data();
    void isometricPointsOfTheWorkedCases();
    void fitLoopEnlargesTheScale();
    void sideViewTable_data();
    void sideViewTable();
    void refusedValueExitsWithOne();
    void optionsApplyInAFixedOrder();
    void saveAndOpenRoundTrip();
    void requestsThatCannotBeCarriedOut_data();
    void requestsThatCannotBeCarriedOut();
    void theProgramKeepsStdoutCleanOnFailure();

private:
    Run run(QStringList args) const {
        args << QStringLiteral("--catalogue") << dir_->filePath(QStringLiteral("ModelInfo.ini"))
             << QStringLiteral("--language") << QStringLiteral(VISTREL_DATA_DIR "/Language.ini");
        Run r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.status = runCli(args, vistrel::AppPaths::resolve(dir_->path(), QString()), out, err);
        out.flush();
        err.flush();
        return r;
    }
    QString path(const char *name) const { return dir_->filePath(QLatin1String(name)); }
    void write(const char *name, const QByteArray &bytes) const {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCli::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    write("ModelInfo.ini", kCatalogue);
}

void TestCli::catalogueLineBecomesTheFirstModel() {
    const Run list = run({QStringLiteral("--list-models")});
    QCOMPARE(list.status, 0);
    QVERIFY(list.out.startsWith(QStringLiteral("0\tModel A\n1\tScale400\n")));
    QCOMPARE(list.out.count(u'\n'), 10);

    const Run r = run({QStringLiteral("--json")});
    QCOMPARE(r.status, 0);
    const QJsonObject j = r.json();
    QCOMPARE(j["model"].toString(), QStringLiteral("Model A"));
    QCOMPARE(j["modelIndex"].toInt(), 0);
    QCOMPARE(j["zoom"].toString(), QStringLiteral("WIDE"));
    QCOMPARE(j["aspect"].toString(), QStringLiteral("4 : 3"));
    QCOMPARE(j["unit"].toString(), QStringLiteral("inches"));
    QCOMPARE(j["position"].toString(), QStringLiteral("bottom"));
    QCOMPARE(r.state("MinDiagonal"), 30.0);
    QCOMPARE(r.state("MaxDiagonal"), 300.0);
    QCOMPARE(r.state("ScreenDiagonal"), 300.0);
    QCOMPARE(r.field("diagonal"), QStringLiteral("300"));
    QCOMPARE(j["accepted"].toBool(), true);
    QVERIFY(j["messages"].toArray().isEmpty());
}

void TestCli::distanceGivesTheScreenOfEachAspect_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("aspect");
    QTest::addColumn<double>("diagonal");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    QTest::newRow("4:3") << "HalfLens"
                         << "4:3" << 52.0 << 31.2 << 41.6;
    QTest::newRow("5:4") << "HalfLens"
                         << "5:4" << 49.944369 << 31.2 << 39.0;
    QTest::newRow("16:9 mode 1") << "HalfLens"
                                 << "16:9" << 63.639524 << 31.199992 << 55.466652;
    QTest::newRow("16:9 mode 2") << "HalfLens2"
                                 << "16:9" << 47.729656 << 23.4 << 41.600001;
}

void TestCli::distanceGivesTheScreenOfEachAspect() {
    QFETCH(QString, model);
    QFETCH(QString, aspect);
    QFETCH(double, diagonal);
    QFETCH(double, height);
    QFETCH(double, width);
    const Run r = run({"--json", "--model", model, "--aspect", aspect, "--distance", "100"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.state("ProjectionDistance"), 100.0);
    QVERIFY(qAbs(r.state("ScreenDiagonal") - diagonal) < 1e-6);
    QVERIFY(qAbs(r.state("ScreenHeight") - height) < 1e-6);
    QVERIFY(qAbs(r.state("ScreenWidth") - width) < 1e-6);
}

void TestCli::displayRoundingDependsOnTheZoomEnd_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("wide");
    QTest::addColumn<QString>("tele");
    // 100 inches away the Rounder lens gives a screen 71.93 inches wide.
    QTest::newRow("width 71.93 in")
        << QStringList{"--model", "Rounder", "--distance", "100"} << "width"
        << "72"
        << "71";
    QTest::newRow("distance 253 cm")
        << QStringList{"--model", "HalfLens", "--unit", "cm", "--distance", "253"} << "distance"
        << "260"
        << "250";
}

void TestCli::displayRoundingDependsOnTheZoomEnd() {
    QFETCH(QStringList, args);
    QFETCH(QString, field);
    QFETCH(QString, wide);
    QFETCH(QString, tele);
    const QByteArray name = field.toLatin1();
    QCOMPARE(run(QStringList{"--json", "--zoom", "wide"} + args).field(name.constData()), wide);
    QCOMPARE(run(QStringList{"--json", "--zoom", "tele"} + args).field(name.constData()), tele);
}

void TestCli::isometricPointsOfTheWorkedCases_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("points"); // TL TR BR BL L
    QTest::newRow("80 x 60 at 200") << QStringList{"--model", "Scale400", "--diagonal", "100"}
                                    << "[322,57] [366,83] [366,121] [322,95] [234,152]";
    QTest::newRow("no screen at 400")
        << QStringList{"--model", "Empty400"} << "[344,89] [344,89] [344,89] [344,89] [125,216]";
}

void TestCli::isometricPointsOfTheWorkedCases() {
    QFETCH(QStringList, args);
    QFETCH(QString, points);
    const Run r = run(QStringList{"--json"} + args);
    QCOMPARE(r.status, 0);
    QVERIFY(qAbs(r.state("MaxDistance") - 400) < 1e-9);
    const QJsonObject iso = r.json()["isometric"].toObject();
    QStringList shown;
    for (const char *corner : {"TL", "TR", "BR", "BL", "L"}) {
        const QJsonArray p = iso[QLatin1String(corner)].toArray();
        shown << QStringLiteral("[%1,%2]").arg(p[0].toInt()).arg(p[1].toInt());
    }
    QCOMPARE(shown.join(u' '), points);
}

// The short-throw screen does not fit at the model's own scale: the scale
// grows by 1.25 until the top-left corner is inside the box, and stays grown.
void TestCli::fitLoopEnlargesTheScale() {
    const Run r = run({"--json", "--model", "Short"});
    QCOMPARE(r.status, 0);
    QVERIFY(r.json()["isometric"].toObject()["TL"].toArray()[1].toInt() >= 1);
    // The model's own scale: the longest 5 : 4 distance, at TELE.
    const double own = 300 * std::sin(std::atan(0.8)) / 3 * 5 / 1.2;
    const double steps = std::log(r.state("MaxDistance") / own) / std::log(1.25);
    QVERIFY2(steps > 0.5, qPrintable(QString::number(steps)));
    QVERIFY(qAbs(steps - std::round(steps)) < 1e-9);
}

void TestCli::sideViewTable_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QList<int>>("xatbe");
    QTest::newRow("top") << "Model A"
                         << "top" << QList<int>{340, 27, 20, 93, 20};
    QTest::newRow("top mirrored") << "Flag1"
                                  << "top" << QList<int>{340, 27, 34, 93, 34};
    QTest::newRow("top no offset") << "Flat"
                                   << "top" << QList<int>{340, 27, 27, 93, 27};
    QTest::newRow("bottom") << "Model A"
                            << "bottom" << QList<int>{340, 86, 20, 93, 93};
    QTest::newRow("bottom mirrored") << "Flag1"
                                     << "bottom" << QList<int>{340, 86, 20, 79, 79};
    QTest::newRow("bottom no offset") << "Flat"
                                      << "bottom" << QList<int>{340, 86, 20, 86, 86};
}

void TestCli::sideViewTable() {
    QFETCH(QString, model);
    QFETCH(QString, position);
    QFETCH(QList<int>, xatbe);
    const QJsonObject side =
        run({"--json", "--model", model, "--position", position}).json()["side"].toObject();
    QList<int> shown;
    for (const char *key : {"X", "A", "T", "B", "E"})
        shown << side[QLatin1String(key)].toInt();
    QCOMPARE(shown, xatbe);
}

void TestCli::refusedValueExitsWithOne() {
    const Run r = run({"--json", "--diagonal", "1e999"});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.json()["accepted"].toBool(true), false);
    const QJsonArray messages = r.json()["messages"].toArray();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].toString().contains(QStringLiteral("300")));
    QVERIFY(r.err.contains(messages[0].toString()));
    QCOMPARE(r.field("diagonal"), QStringLiteral("300"));
}

void TestCli::optionsApplyInAFixedOrder() {
    const Run a = run({"--json", "--diagonal", "100", "--unit", "cm", "--model", "Flag1"});
    const Run b = run({"--model", "Flag1", "--unit", "cm", "--diagonal", "100", "--json"});
    QCOMPARE(a.out, b.out);
    QCOMPARE(a.field("diagonal"), QStringLiteral("100"));
    QCOMPARE(a.json()["unit"].toString(), QStringLiteral("centimeters"));
}

void TestCli::saveAndOpenRoundTrip() {
    const QString file = path("calc.cf");
    const Run saved = run({"--json", "--model", "Flag1", "--zoom", "tele", "--aspect", "16:9",
                           "--unit", "ft", "--position", "top", "--diagonal", "9", "--save", file});
    QCOMPARE(saved.status, 0);
    const Run opened = run({"--json", "--open", file});
    QCOMPARE(opened.status, 0);
    for (const char *key : {"model", "zoom", "aspect", "unit", "position", "fields", "state"})
        QCOMPARE(opened.json()[QLatin1String(key)], saved.json()[QLatin1String(key)]);

    // Opening a file whose diagonal is beyond the model's limit clamps it, with the message.
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    f.close();
    lines[27] = "1000\r";
    write("big.cf", lines.join('\n'));
    const Run big = run({"--json", "--open", path("big.cf")});
    QCOMPARE(big.status, 0);
    QCOMPARE(big.state("ScreenDiagonal"), 300.0);
    QCOMPARE(big.json()["messages"].toArray().size(), 1);
}

void TestCli::requestsThatCannotBeCarriedOut_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << "unknown option";
    QTest::newRow("unknown model") << QStringList{"--model", "Nope"} << "not in the catalogue";
    QTest::newRow("two values") << QStringList{"--width", "1", "--height", "2"} << "at most one";
    QTest::newRow("absent zoom end")
        << QStringList{"--model", "Scale400", "--zoom", "tele"} << "TELE";
    QTest::newRow("no 16:9") << QStringList{"--model", "Rounder", "--aspect", "16:9"} << "16 : 9";
    QTest::newRow("bad aspect") << QStringList{"--aspect", "3:2"} << "invalid value";
    QTest::newRow("missing file") << QStringList{"--open", "/nonexistent/x.cf"} << "Err : 53";
}

void TestCli::requestsThatCannotBeCarriedOut() {
    QFETCH(QStringList, args);
    QFETCH(QString, reason);
    const QString file = path("never.cf");
    const Run r = run(args + QStringList{"--json", "--save", file});
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(reason), qPrintable(r.err));
    QVERIFY(!QFile::exists(file));
}

// The real program: exit status, stdout only on success, every message on stderr.
void TestCli::theProgramKeepsStdoutCleanOnFailure() {
    const QString language = path("Language.ini");
    QVERIFY(QFile::copy(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"), language));
    QProcess p;
    p.setWorkingDirectory(dir_->path());
    auto exec = [&](const QStringList &args) {
        p.start(QStringLiteral(VISTREL_CLI_PATH),
                args + QStringList{"--catalogue", path("ModelInfo.ini"), "--language", language});
        QVERIFY(p.waitForFinished(30000));
    };

    exec({"--json", "--height", "1"});
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardOutput().startsWith('{'));
    QVERIFY(p.readAllStandardError().contains("small"));

    QFile broken(language);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("[Language]\r\nCaption=Only this\r\n");
    broken.close();
    exec({"--json"});
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY(p.readAllStandardError().contains("LANGUAGE.INI ERRER !!!! "));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
