// The project file through the session, as File > Open and Save use it: every
// picture format and the anamorphic lens come back exactly, a hand-written
// file opens as its layout says, and a file that must not be used changes
// nothing.
#include "core/apppaths.h"
#include "files/projectfile.h"
#include "recordingobserver.h"
#include "session/session.h"
#include "verifyok.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// The layout as docs/PROJECTFILE.md gives it, written by hand: the model
// "Ratio 1.5" is in no catalogue, and the lengths for reference are left 0
// because opening calculates them again.
const QByteArray kHandWritten = R"({
  "format": "vistrel-project",
  "version": 1,
  "model": {
    "ModelName": "Ratio 1.5",
    "MinDiagonal43Wide": 30, "MaxDiagonal43Wide": 400,
    "MinDiagonal43Tele": 30, "MaxDiagonal43Tele": 250,
    "WideCoefA": 0.625, "WideCoefB": 0, "TeleCoefA": 0.625, "TeleCoefB": 0,
    "WideOffsetCoefA": 0.1, "TeleOffsetCoefA": 0.12,
    "WideOffsetCoefB": 0, "TeleOffsetCoefB": 0,
    "WideScreenMode": 1, "ModelDrawFlag": 0,
    "MinDiagonal169Wide": 30, "MaxDiagonal169Wide": 400,
    "MinDiagonal169Tele": 30, "MaxDiagonal169Tele": 230,
    "Lumens": 2000, "TeleLumenFactor": 1,
    "PanelWidthPx": 0, "PanelHeightPx": 0, "ContrastRatio": 0
  },
  "choices": {"zoom": "wide", "position": "top", "unit": "cm"},
  "picture": {"width": 2.39, "height": 1, "anamorphic": 1.33},
  "inches": {"diagonal": 120, "width": 0, "height": 0, "distance": 0,
             "offset1": 0, "offset2": 0},
  "planner": {"gain": 1.3, "ambient": 50}
}
)";

QByteArray replaced(const char *from, const char *to) {
    QByteArray bytes = kHandWritten;
    const qsizetype at = bytes.indexOf(from);
    return at < 0 ? QByteArray("no such text: ") + from : bytes.replace(at, qstrlen(from), to);
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything opening restores, and what the calculation gives from it,
// less the diagram's scale, which follows the drawing.
struct Restored {
    Installation installation;
    double anamorphic;
    PlannerSettings planner;
    RoomSettings room;
    bool otherChosen;
    QString file;
    QStringList models;

    bool operator==(const Restored &) const = default;
};

Restored restoredOf(const Session &session) {
    Installation installation = session.state();
    installation.maxDistance = 0;
    return {installation,
            session.state().anamorphic,
            session.plannerSettings(),
            session.roomSettings(),
            session.controls().otherChosen,
            session.currentFile(),
            session.controls().modelItems};
}

} // namespace

Q_DECLARE_METATYPE(PictureFormat)

class TestProjectFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    static void startShipped(Session &session) {
        QVERIFY(session.readTexts(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString()))
                    .complete());
        VERIFY_OK(session.start());
    }

    // Aster 2000 (mode 1, two offsets) at TELE, top, centimetres, 250 cm,
    // in `format` through `factor`, for a room with light.
    static void chooseScreen(Session &session, const PictureFormat &format, double factor) {
        VERIFY_OK(session.selectModel(1));
        VERIFY_OK(session.select(Zoom::Tele));
        VERIFY_OK(session.select(Position::Top));
        VERIFY_OK(session.select(Unit::Centimeters));
        VERIFY_OK(session.select(format));
        VERIFY_OK(session.selectAnamorphic(factor));
        VERIFY_TAKEN(session.enter(Field::Diagonal, u"250"_s));
        VERIFY_OK(session.setPlannerSettings({1.3, 50}));
    }

    QString write(const QString &name, const QByteArray &bytes) const {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return file.fileName();
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        for (const QString &name : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY(QFile::remove(dir_.filePath(name)));
    }

    void everyFormatComesBackExactly_data() {
        QTest::addColumn<PictureFormat>("format");
        QTest::addColumn<double>("anamorphic");
        QList<PictureFormat> formats;
        for (const Aspect aspect : {Aspect::Ratio4x3, Aspect::Ratio5x4, Aspect::Ratio16x9})
            formats << formatOf(aspect);
        for (const FormatInfo &row : kOtherFormats)
            formats << PictureFormat{row.width, row.height};
        formats << PictureFormat{21, 9};
        for (const PictureFormat &format : formats) {
            for (const double factor : {1.0, 1.33})
                QTest::addRow("%s, %g", qPrintable(formatLabel(format)), factor)
                    << format << factor;
        }
    }
    // Opened in a session that shows another model, options and planner
    // inputs, so that the file has to change every one of them.
    void everyFormatComesBackExactly() {
        QFETCH(PictureFormat, format);
        QFETCH(double, anamorphic);
        Session saved, opened;
        startShipped(saved);
        startShipped(opened);
        chooseScreen(saved, format, anamorphic);
        const QString file = dir_.filePath(u"room.vistrel"_s);
        VERIFY_OK(saved.save(SaveKind::SaveAs, [&] { return file; }));
        VERIFY_OK(opened.select(Aspect::Ratio4x3));
        VERIFY_TAKEN(opened.enter(Field::Distance, u"100"_s));

        VERIFY_OK(opened.open(file));
        QCOMPARE(opened.state().aspectWidth, format.width);
        QCOMPARE(opened.state().aspectHeight, format.height);
        QCOMPARE(opened.state().anamorphic, anamorphic);
        QVERIFY(restoredOf(opened) == restoredOf(saved));
        QCOMPARE(opened.controls().fieldText, saved.controls().fieldText);
        QVERIFY(!opened.modified());
    }

    // The file written by hand opens as its layout says. The worked example
    // of the model's panel: 2.39 : 1, 120 in is 120 / sqrt(1 + 2.39^2) =
    // 46.32 high and 110.70 wide; through the 1.33 lens the panel's image is
    // 110.70 / 1.33 = 83.23 wide before it, and the throw ratio 1.5 puts the
    // projector 1.5 x 83.23 = 124.85 in away.
    void aHandWrittenFileOpens() {
        Session session;
        startShipped(session);
        const QString file = write(u"hand.vistrel"_s, kHandWritten);
        VERIFY_OK(session.open(file));
        const CalcState &s = session.state();
        QCOMPARE(session.controls().modelItems.last(), u"Ratio 1.5"_s);
        QCOMPARE(session.calculator().currentModel()->lumens, 2000.0);
        QCOMPARE(std::tuple(s.zoomEnd, s.screenPosition, s.unit),
                 std::tuple(Zoom::Wide, Position::Top, Unit::Centimeters));
        QCOMPARE(std::tuple(s.aspectWidth, s.aspectHeight, s.anamorphic),
                 std::tuple(2.39, 1.0, 1.33));
        QCOMPARE(s.screenDiagonal, 120.0);
        QVERIFY2(std::abs(s.screenHeight - 46.32) < 0.01,
                 qPrintable(QString::number(s.screenHeight)));
        QVERIFY2(std::abs(s.screenWidth - 110.70) < 0.01,
                 qPrintable(QString::number(s.screenWidth)));
        QVERIFY2(std::abs(s.projectionDistance - 124.85) < 0.01,
                 qPrintable(QString::number(s.projectionDistance)));
        QCOMPARE(session.plannerSettings(), (PlannerSettings{1.3, 50}));
        QCOMPARE(session.currentFile(), file);

        // Saved again, each value stands under the key the layout names, in inches.
        VERIFY_OK(session.writeTo(dir_.filePath(u"again.vistrel"_s)));
        const QJsonObject root =
            QJsonDocument::fromJson(readAll(dir_.filePath(u"again.vistrel"_s))).object();
        QCOMPARE(root["model"]["MaxDiagonal169Tele"].toDouble(), 230.0);
        QCOMPARE(root["choices"]["unit"].toString(), u"cm"_s);
        QCOMPARE(root["inches"]["diagonal"].toDouble(), 120.0);
        QCOMPARE(root["inches"]["distance"].toDouble(), s.projectionDistance);
        QCOMPARE(root["planner"]["ambient"].toDouble(), 50.0);
    }

    // What a later version adds, at the top or inside a section, is left alone.
    void unknownKeysAreIgnored() {
        Session plain, added;
        startShipped(plain);
        startShipped(added);
        VERIFY_OK(plain.open(write(u"room.vistrel"_s, kHandWritten)));
        QByteArray more =
            replaced("\"version\": 1,", "\"version\": 1, \"lighting\": {\"seats\": [1]},");
        more.replace("\"gain\"", "\"screenName\": \"Hall 2\", \"gain\"");
        VERIFY_OK(added.open(write(u"room.vistrel"_s, more)));
        QVERIFY(restoredOf(added) == restoredOf(plain));
    }

    void hostileFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut short") << kHandWritten.left(kHandWritten.indexOf("\"choices\"")) << 62
                                   << u"ends before its last value"_s;
        QTest::newRow("20 MB") << kHandWritten + QByteArray(20'000'000, ' ') << 59
                               << u"larger than 1048576 bytes"_s;
        QTest::newRow("not JSON") << QByteArray("{ model: 1 }") << 13 << u"is no JSON"_s;
        QTest::newRow("1e999") << replaced("\"diagonal\": 120", "\"diagonal\": 1e999") << 6
                               << u"the number 1e999"_s;
        QTest::newRow("text for a number") << replaced("\"width\": 2.39", "\"width\": \"2.39\"")
                                           << 13 << u"\"picture.width\" is not a number"_s;
        QTest::newRow("fraction of a mode")
            << replaced("\"WideScreenMode\": 1", "\"WideScreenMode\": 1.5") << 13
            << u"\"model.WideScreenMode\" 1.5 is not a whole number"_s;
        QTest::newRow("section of another type")
            << replaced("\"planner\": {\"gain\": 1.3, \"ambient\": 50}", "\"planner\": [1.3, 50]")
            << 13 << u"\"planner\" is not a section"_s;
        QTest::newRow("newer version") << replaced("\"version\": 1", "\"version\": 2") << 380
                                       << u"made by a newer Vistrel: version 2"_s;
        QTest::newRow("no tag") << replaced("\"format\": \"vistrel-project\",", "") << 380
                                << u"is no Vistrel project file"_s;
        QTest::newRow("another tag") << replaced("vistrel-project", "vistrel-room") << 380
                                     << u"is no Vistrel project file"_s;
        QTest::newRow("missing key")
            << replaced("\"zoom\": \"wide\", ", "") << 380 << u"\"choices.zoom\" is missing"_s;
        QTest::newRow("unit without a row") << replaced("\"cm\"", "\"mm\"") << 380
                                            << u"\"choices.unit\" is \"mm\", none of in, ft, cm"_s;
        QTest::newRow("format 5 : 1") << replaced("\"width\": 2.39", "\"width\": 5") << 380
                                      << u"5 : 1 is no picture format"_s;
        QTest::newRow("no height")
            << replaced("\"height\": 1,", "\"height\": 0,") << 380 << u"is no picture format"_s;
        QTest::newRow("anamorphic 2.5")
            << replaced("1.33", "2.5") << 380 << u"(\"picture.anamorphic\" is 2.5)"_s;
        QTest::newRow("gain 0") << replaced("\"gain\": 1.3", "\"gain\": 0") << 380
                                << u"screen gain"_s;
        QTest::newRow("a room row at 0")
            << replaced("\"planner\"", "\"room\": {\"rows\": [{\"distance\": 0, \"eyeHeight\": "
                                       "40}]}, \"planner\"")
            << 380 << u"seat row 1"_s;
        QTest::newRow("ceiling below the screen")
            << replaced("\"planner\"",
                        "\"room\": {\"ceiling\": 20, \"screenBottom\": 24}, \"planner\"")
            << 380 << u"ceiling must be above"_s;
        QTest::newRow("rows as text")
            << replaced("\"planner\"", "\"room\": {\"rows\": \"144\"}, \"planner\"") << 13
            << u"\"room.rows\" is not a list"_s;
        QTest::newRow("a title over two lines")
            << replaced("\"planner\"", "\"project\": {\"client\": \"A\\nB\"}, \"planner\"") << 380
            << u"no line break"_s;
        QTest::newRow("light left 2") << replaced("\"gain\": 1.3", "\"lightAge\": 2, \"gain\": 1.3")
                                      << 380 << u"light left"_s;
        QTest::newRow("light factor 1.5")
            << replaced("\"TeleLumenFactor\": 1", "\"TeleLumenFactor\": 1.5") << 380
            << u"\"model.TeleLumenFactor\" 1.5 is no planner data"_s;
    }
    // Everything is read and checked before anything changes: the model
    // list, the options, the numbers, the planner's inputs and the current file.
    void hostileFilesChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(QString, reason);
        Session session;
        startShipped(session);
        chooseScreen(session, {16, 10}, 1.25);
        const QString kept = dir_.filePath(u"kept.vistrel"_s);
        VERIFY_OK(session.save(SaveKind::SaveAs, [&] { return kept; }));
        const Restored before = restoredOf(session);

        const QString file = write(u"hostile.vistrel"_s, bytes);
        const Result<void> opened = session.open(file);
        QVERIFY(!opened);
        QCOMPARE(opened.error().code(), error);
        QVERIFY2(opened.error().description.contains(reason) &&
                     opened.error().description.contains(file),
                 qPrintable(opened.error().description));
        QVERIFY(restoredOf(session) == before);
        QVERIFY(!session.modified());
    }

    // Opening goes by what a file holds: a project file named .cf opens as
    // one, and so does a calculation file named .vistrel.
    void openingGoesByContent() {
        Session saved, opened;
        startShipped(saved);
        startShipped(opened);
        chooseScreen(saved, {16, 9}, 1);
        const QString project = dir_.filePath(u"project.cf"_s);
        const QString calculation = dir_.filePath(u"calculation.vistrel"_s);
        VERIFY_OK(saved.writeTo(dir_.filePath(u"Project.VISTREL"_s)));
        VERIFY_OK(saved.writeTo(dir_.filePath(u"calculation.cf"_s)));
        QVERIFY(QFile::rename(dir_.filePath(u"Project.VISTREL"_s), project));
        QVERIFY(QFile::rename(dir_.filePath(u"calculation.cf"_s), calculation));
        QVERIFY(readAll(project).startsWith("{"));
        QVERIFY(readAll(calculation).startsWith("\"Aster 2000\"\r\n"));
        for (const QString &file : {project, calculation}) {
            VERIFY_OK(opened.open(file));
            QVERIFY(restoredOf(opened).installation == restoredOf(saved).installation);
        }
        // Only the project file kept the planner's inputs.
        QCOMPARE(opened.plannerSettings(), (PlannerSettings{1.3, 50}));
        VERIFY_OK(opened.setPlannerSettings({}));
        VERIFY_OK(opened.open(calculation));
        QCOMPARE(opened.plannerSettings(), PlannerSettings{});
    }

    // A calculation file cannot hold another picture format or a lens: the
    // save is refused and writes nothing, or, when the offer of a project
    // file is taken, writes that file in its place.
    void aCalculationFileHoldsOnlyWhatItCan_data() {
        QTest::addColumn<PictureFormat>("format");
        QTest::addColumn<double>("anamorphic");
        QTest::newRow("2.39 : 1") << PictureFormat{2.39, 1} << 1.0;
        QTest::newRow("16 : 9 through a lens") << PictureFormat{16, 9} << 1.33;
    }
    void aCalculationFileHoldsOnlyWhatItCan() {
        QFETCH(PictureFormat, format);
        QFETCH(double, anamorphic);
        Session session;
        startShipped(session);
        chooseScreen(session, format, anamorphic);
        QVERIFY(session.needsProjectFile());
        const QString cf = dir_.filePath(u"room.cf"_s);
        const auto askCf = [&] { return cf; };

        const Result<void> written = session.writeTo(cf);
        QVERIFY(!written);
        QCOMPARE(written.error().code(), 52);
        QVERIFY2(written.error().description.contains(formatLabel(format)),
                 qPrintable(written.error().description));
        QCOMPARE(session.save(SaveKind::SaveAs, askCf).error().code(), 52);
        int offers = 0;
        bool named = true;
        const auto decline = [&](const QString &) {
            ++offers;
            return QString();
        };
        VERIFY_OK(session.save(SaveKind::SaveAs, askCf, &named, decline));
        QCOMPARE(offers, 1);
        QVERIFY(!named && session.currentFile().isEmpty() && session.modified());
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

        VERIFY_OK(session.save(SaveKind::SaveAs, askCf, &named,
                               [](const QString &offered) { return offered; }));
        const QString project = dir_.filePath(u"room.vistrel"_s);
        QVERIFY(named && !session.modified());
        QCOMPARE(session.currentFile(), project);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"room.vistrel"_s});
        Session opened;
        startShipped(opened);
        VERIFY_OK(opened.open(project));
        QVERIFY(restoredOf(opened) == restoredOf(session));

        // Back to what a calculation file holds, it is written as before.
        VERIFY_OK(session.selectAnamorphic(1));
        VERIFY_OK(session.select(Aspect::Ratio16x9));
        QVERIFY(!session.needsProjectFile());
        VERIFY_OK(session.writeTo(cf));
        QVERIFY(readAll(cf).startsWith("\"Aster 2000\"\r\n"));
    }

    // The room and the title block come back exactly from a project file; a
    // file without them has neither key, so it reads as before; a calculation
    // file saved while they are set says it does not keep them.
    void theRoomIsKeptByTheProjectFile() {
        Session saved, opened;
        startShipped(saved);
        startShipped(opened);
        chooseScreen(saved, {16, 9}, 1);
        const QString bare = dir_.filePath(u"bare.vistrel"_s);
        VERIFY_OK(saved.writeTo(bare));
        const QJsonObject plain = QJsonDocument::fromJson(readAll(bare)).object();
        QVERIFY(!plain.contains(u"room"_s) && !plain.contains(u"project"_s));

        RoomSettings room;
        room.screenBottom = 24;
        room.ceiling = 108.1;
        room.depth = 0.1 + 0.2; // a double that no short decimal writes
        room.mountDepth = 6;
        room.seatOffset = 40;
        room.rows = {{192, 30}, {144, 40}};
        room.headClearance = 5;
        room.elementHeightPercent = 4;
        VERIFY_OK(saved.setRoomSettings(room));
        QCOMPARE(saved.roomSettings().rows.front().distance, 144.0); // nearest first
        const ProjectDetails details{u"Hall <2> & \"Co\""_s, u"Åsa Öberg"_s, u"Room 3"_s,
                                     u"2026-12-08"_s, u"J. Doe"_s};
        VERIFY_OK(saved.setProjectDetails(details));
        PlannerSettings light = saved.plannerSettings();
        light.lightAge = 0.75;
        light.targetNits = 14 * 3.4262591;
        light.halfGainAngle = 35;
        VERIFY_OK(saved.setPlannerSettings(light));
        QVERIFY(saved.modified());
        const QString file = dir_.filePath(u"room.vistrel"_s);
        VERIFY_OK(saved.save(SaveKind::SaveAs, [&] { return file; }));
        const QJsonObject root = QJsonDocument::fromJson(readAll(file)).object();
        QCOMPARE(root["room"]["rows"][0]["eyeHeight"].toDouble(), 40.0);
        QCOMPARE(root["project"]["client"].toString(), details.client);
        QVERIFY(!root["room"].toObject().contains(u"bodyLength"_s));

        VERIFY_OK(opened.open(file));
        QCOMPARE(opened.roomSettings(), saved.roomSettings());
        QCOMPARE(opened.projectDetails(), details);
        QCOMPARE(opened.plannerSettings(), light);
        QVERIFY(!opened.modified());

        RecordingObserver observer;
        saved.addObserver(observer);
        VERIFY_OK(saved.save(SaveKind::SaveAs, [&] { return dir_.filePath(u"room.cf"_s); }));
        QCOMPARE(observer.messages, QStringList{saved.texts().text(OptionalKey::RoomNotKept)});
        VERIFY_OK(saved.setRoomSettings({})); // the title block alone is not kept either
        VERIFY_OK(saved.save(SaveKind::Save, [] { return QString(); }));
        QCOMPARE(observer.messages.size(), 2);
        VERIFY_OK(saved.setProjectDetails({}));
        VERIFY_OK(saved.save(SaveKind::Save, [] { return QString(); }));
        QCOMPARE(observer.messages.size(), 2);
        saved.removeObserver(observer);
    }

    // Whatever a project file keeps, changed, is a change that closing would lose.
    void changesOfWhatTheFileKeepsAreModifications() {
        Session session;
        startShipped(session);
        chooseScreen(session, {2.39, 1}, 1);
        VERIFY_OK(session.save(SaveKind::SaveAs, [&] { return dir_.filePath(u"m.vistrel"_s); }));
        QVERIFY(!session.modified());
        VERIFY_OK(session.selectAnamorphic(1.25));
        QVERIFY(session.modified());
        VERIFY_OK(session.selectAnamorphic(1));
        QVERIFY(!session.modified());
        VERIFY_OK(session.setPlannerSettings({1.3, 51}));
        QVERIFY(session.modified());
        VERIFY_OK(session.setPlannerSettings({1.3, 50}));
        QVERIFY(!session.modified());
        VERIFY_OK(session.select(PictureFormat{1.85, 1}));
        QVERIFY(session.modified());
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
