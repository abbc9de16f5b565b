#include "calc/sheetterms.h"
#include "core/apppaths.h"
#include "files/calcfile.h"
#include "files/filewriter.h"
#include "files/modelloader.h"
#include "files/ownmodels.h"
#include "files/textfile.h"
#include "session/calculationfile.h"
#include "session/session.h"
#include "verifyok.h"

#include "recordingobserver.h"
#include "testmodels.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <type_traits>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// Alpha has both zoom ends and 16 : 9; Beta only WIDE and no 16 : 9.
const ModelRecord kAlpha = testModel(u"Alpha"_s, 0.5, -2, 0.4, -1);
const ModelRecord kBeta = testModel(u"Beta"_s, 0.6, 1, 0, 0, 0);

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A session on the shipped catalogue and texts.
void startShipped(Session &session) {
    QVERIFY(session.readTexts(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString()))
                .complete());
    QVERIFY(session.start());
}

// The same with `user` as the user's data folder, which also takes the
// catalogue a switch installs.
void startWithUserFolder(Session &session, const QString &user) {
    QVERIFY(session.readTexts(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), user, false))
                .complete());
    VERIFY_OK(session.start());
}

// An own model from a data sheet: a 16 : 9 panel of throw ratio 1.5 to 2.
ModelRecord ownModel(const QString &name, double wideThrow = 1.5) {
    const Result<SheetRecord> sheet =
        recordFromTerms({{u"name"_s, name},
                         {u"px"_s, u"1920x1080"_s},
                         {u"throw_wide"_s, QString::number(wideThrow)},
                         {u"throw_tele"_s, u"2"_s},
                         {u"diag"_s, u"40-300"_s}});
    return sheet ? sheet->record : ModelRecord{};
}

int indexOf(const Session &session, const QString &name) {
    const auto &models = session.calculator().models();
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (models[i].name == name)
            return int(i);
    }
    return -1;
}

} // namespace

// A session or calculator copied would keep reporting to the original's observers.
static_assert(!std::is_copy_constructible_v<Session> && !std::is_move_constructible_v<Session> &&
              !std::is_copy_assignable_v<Session> && !std::is_move_assignable_v<Session>);
static_assert(!std::is_copy_constructible_v<Calculator> &&
              !std::is_move_constructible_v<Calculator> && !std::is_copy_assignable_v<Calculator> &&
              !std::is_move_assignable_v<Calculator>);

class TestSession : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    RecordingObserver observer_;
    std::optional<Calculator> calc_;

    // Saves a calculation with these items (4 : 3 WIDE, inches unless told)
    // and opens it as File > Open does.
    Result<void> open(const ModelRecord &model, QList<double> items = {0, 3, 4, 100, 0}) {
        CalcFileData data;
        data.model = model;
        data.zoomEnd = choiceOf<Zoom>(int(items[0])).value();
        data.aspectHeight = items[1];
        data.aspectWidth = items[2];
        data.unit = choiceOf<Unit>(int(items[4])).value();
        data.screenDiagonal = items[3];
        const QString path = dir_.filePath(model.name + u".cf"_s);
        VISTREL_TRY(writeCalcFile(path, data));
        CalcFileData read;
        VISTREL_TRY_ASSIGN(read, readCalcFile(path));
        return calc_->restore(restoreRequestFrom(read));
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        QVERIFY(calc_->startUp({kAlpha, kBeta}));
        observer_.clear();
    }

    // A known calculation, written byte for byte as the file below; opened in
    // a new session it gives every value back.
    void aCalculationFileByteForByte() {
        Session saved;
        startShipped(saved);
        VERIFY_OK(
            saved.selectModel(5)); // Corvin 900M: WideScreenMode 2, drawing flag 1, two offsets
        VERIFY_OK(saved.select(Aspect::Ratio16x9));
        VERIFY_OK(saved.select(Zoom::Tele));
        VERIFY_OK(saved.select(Unit::Centimeters));
        VERIFY_OK(saved.select(Position::Top));
        VERIFY_TAKEN(saved.enter(Field::Diagonal, u"250"_s));
        const QString file = dir_.filePath(u"corvin.cf"_s);
        QVERIFY(saved.writeTo(file));
        const QByteArray golden = readAll(
            QStringLiteral(VISTREL_SOURCE_DIR "/tests/session/golden/corvin-tele-169-cm.cf"));
        QCOMPARE(readAll(file), golden);
        // Lines worked out by hand: TELE, top, 16 : 9, centimeters, and the
        // diagonal 250 cm in inches with every digit.
        const QList<QByteArray> lines = golden.split('\n');
        QCOMPARE(lines.size(), 35);
        QCOMPARE(lines[0], QByteArray("\"Corvin 900M\"\r"));
        QCOMPARE((QList<QByteArray>{lines[19], lines[20], lines[22], lines[23], lines[24]}),
                 (QList<QByteArray>{"1\r", "0\r", "9\r", "16\r", "2\r"}));
        QCOMPARE(lines[27].trimmed().toDouble(), 250 / 2.54);

        Session opened;
        startShipped(opened);
        QVERIFY(opened.open(file));
        const CalcState &a = saved.state(), &b = opened.state();
        QCOMPARE(std::tuple(b.modelIndex, b.zoomEnd, b.screenPosition, b.unit, b.aspectRatio),
                 std::tuple(a.modelIndex, a.zoomEnd, a.screenPosition, a.unit, a.aspectRatio));
        QCOMPARE(std::tuple(b.screenDiagonal, b.screenWidth, b.screenHeight, b.projectionDistance,
                            b.offsetA, b.offsetB),
                 std::tuple(a.screenDiagonal, a.screenWidth, a.screenHeight, a.projectionDistance,
                            a.offsetA, a.offsetB));
        QCOMPARE(opened.controls().fieldText, saved.controls().fieldText);
        QCOMPARE(opened.currentFile(), file);
    }

    // A typed value, saved and opened again, shows the same numbers: the file
    // keeps only the diagonal, and the sides recomputed from it may land a
    // hair below the typed value, which rounding down at TELE used to show
    // one lower.
    void typedValuesSurviveSaveAndOpen() {
        Session saved, opened;
        startShipped(saved);
        startShipped(opened);
        const QString file = dir_.filePath(u"round.cf"_s);
        QStringList changed;
        int trips = 0;
        for (const int model : {1, 5}) { // Aster 2000; Corvin 900M with two offsets
            VERIFY_OK(saved.selectModel(model));
            for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
                VERIFY_OK(saved.select(zoom));
                for (const Unit unit : {Unit::Inches, Unit::Feet, Unit::Centimeters}) {
                    VERIFY_OK(saved.select(unit));
                    for (const Field field :
                         {Field::Distance, Field::Diagonal, Field::Width, Field::Height}) {
                        for (int value = 40; value <= 250; value += 7) {
                            const Result<Entered> entered =
                                saved.enter(field, QString::number(value));
                            if (!entered || *entered == Entered::Refused)
                                continue; // beyond the model's limits
                            if (!saved.writeTo(file) || !opened.open(file)) {
                                changed << u"%1 not saved and opened"_s.arg(value);
                                continue;
                            }
                            ++trips;
                            if (opened.controls().fieldText != saved.controls().fieldText)
                                changed
                                    << u"model %1 zoom %2 unit %3 field %4 value %5"_s.arg(model)
                                           .arg(int(zoom))
                                           .arg(int(unit))
                                           .arg(int(field))
                                           .arg(value);
                        }
                    }
                }
            }
        }
        QVERIFY2(trips > 300, qPrintable(QString::number(trips)));
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u"; "_s)));
    }

    // Save writes to the current file while it exists; otherwise it asks,
    // and a cancelled question leaves no current file.
    void saveAsksWhereItMust() {
        Session session;
        startShipped(session);
        QStringList asked;
        QString answer = dir_.filePath(u"first.cf"_s);
        const auto ask = [&] {
            asked << answer;
            return answer;
        };
        bool named = false;
        QVERIFY(session.save(SaveKind::Save, ask, &named));
        QVERIFY(named && asked.size() == 1 && QFile::exists(answer));
        QVERIFY(session.save(SaveKind::Save, ask, &named));
        QVERIFY(!named && asked.size() == 1);
        answer = dir_.filePath(u"second.cf"_s);
        QVERIFY(session.save(SaveKind::SaveAs, ask, &named));
        QCOMPARE(session.currentFile(), answer);
        QFile::remove(answer);
        answer.clear(); // the file is gone; Save asks, and the user cancels
        QVERIFY(session.save(SaveKind::Save, ask, &named));
        QVERIFY(!named && session.currentFile().isEmpty() && asked.size() == 3);
    }

    void openAddsUnknownModelOnce() {
        ModelRecord gamma = kAlpha;
        gamma.name = u"Gamma"_s;
        gamma.lens[Zoom::Wide].a = 0.7;
        for (int round = 0; round < 2; ++round) {
            QVERIFY(open(gamma));
            QCOMPARE(calc_->controls().modelItems,
                     (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
            QCOMPARE(calc_->controls().modelSelected, 2);
            QVERIFY(calc_->models().back() == gamma);
        }
        // A known name keeps the catalogue's lens data, whatever the file holds.
        ModelRecord changed = kAlpha;
        changed.lens[Zoom::Wide].a = 0.9;
        QVERIFY(open(changed));
        QVERIFY(calc_->models().front() == kAlpha);
        QCOMPARE(calc_->state().projectionDistance, (100.0 + 2) / 0.5);
    }

    void openRestoresOptions_data() {
        QTest::addColumn<bool>("beta");
        QTest::addColumn<QList<double>>("items");  // zoom end, aspect pair, diagonal, unit
        QTest::addColumn<QList<double>>("result"); // zoom, aspect, diagonal[, distance]
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("16 : 9") << false << QList<double>{0, 9, 16, 100, 0}
                                << QList<double>{0, 2, 100} << QStringList();
        QTest::newRow("4 / 5 is 5 : 4")
            << false << QList<double>{0, 4, 5, 100, 0} << QList<double>{0, 1, 100} << QStringList();
        // Beta has neither TELE nor 16 : 9; what selecting it chose stays.
        QTest::newRow("TELE and 16 : 9 fall back")
            << true << QList<double>{1, 9, 16, 100, 0}
            << QList<double>{0, 0, 100, (100.0 - 1) / 0.6} << QStringList();
        QTest::newRow("oversized diagonal clamped") << false << QList<double>{0, 3, 4, 500, 2}
                                                    << QList<double>{0, 0, 300, (300.0 + 2) / 0.5}
                                                    << QStringList{u"large 762 cm (300 in)"_s};
    }
    void openRestoresOptions() {
        QFETCH(bool, beta);
        QFETCH(QList<double>, items);
        QFETCH(QList<double>, result);
        QFETCH(QStringList, messages);
        // Start from other options, so that the file has to change them.
        VERIFY_OK(calc_->select(Zoom::Tele));
        VERIFY_OK(calc_->select(items[1] == 9 ? Aspect::Ratio4x3 : Aspect::Ratio16x9));
        observer_.clear();
        QVERIFY(open(beta ? kBeta : kAlpha, items));
        const Controls &k = calc_->controls();
        QCOMPARE((QList<double>{double(codeOf(*k.zoom)), double(codeOf(*k.aspect)),
                                calc_->state().screenDiagonal, calc_->state().projectionDistance})
                     .first(result.size()),
                 result);
        QCOMPARE(observer_.messages, messages);
    }

    // 16 : 9 exists for the modes 1 and 2 only; any other mode behaves as 0.
    void wideScreenModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("offered");
        for (const int mode : {0, 1, 2, 3, -1, 7})
            QTest::addRow("mode %d", mode) << mode << (mode == 1 || mode == 2);
    }
    void wideScreenModes() {
        QFETCH(int, mode);
        QFETCH(bool, offered);
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        const ModelRecord model = testModel(u"Mode"_s, 0.5, -2, 0.4, -1, mode);
        QVERIFY(calc_->startUp({model}));
        QCOMPARE(calc_->controls().wideScreenEnabled, offered);
        // A file asking for 16 : 9 falls back to what the model selection chose.
        QVERIFY(open(model, {0, 9, 16, 100, 0}));
        QCOMPARE(*calc_->controls().aspect, offered ? Aspect::Ratio16x9 : Aspect::Ratio4x3);
        QCOMPARE(calc_->state().projectionDistance,
                 offered ? (100 / (mode == 1 ? 1.223837 : 0.917878) + 2) / 0.5 : (100.0 + 2) / 0.5);
        QVERIFY(observer_.errors.isEmpty());
    }

    // Own models follow the catalogue's, are written to the user's file at
    // once, and a new session (a restart) lists them again.
    void ownModelsAreKeptAfterTheCatalogue() {
        QTemporaryDir user;
        Session session;
        startWithUserFolder(session, user.path());
        const std::size_t shipped = session.calculator().models().size();
        VERIFY_OK(session.setOwnModels({ownModel(u"Tarn A"_s), ownModel(u"Tarn B"_s)}));
        QCOMPARE(session.calculator().models().size(), shipped + 2);
        QCOMPARE(session.controls().modelItems.last(), u"Tarn B"_s);
        QVERIFY(session.isOwnModel(int(shipped)));
        QVERIFY(!session.isOwnModel(int(shipped) - 1));

        Session restarted;
        startWithUserFolder(restarted, user.path());
        QCOMPARE(restarted.ownModels(), session.ownModels());
        QCOMPARE(restarted.controls().modelItems, session.controls().modelItems);
        // The file is a catalogue: it opens as one.
        const Result<Catalogue> asCatalogue = loadCatalogue(user.filePath(u"MyProjectors.ini"_s));
        VERIFY_OK(asCatalogue);
        QCOMPARE(asCatalogue->models, session.ownModels());
    }

    // What cannot be kept is refused before anything is written.
    void ownModelListsThatCannotBeKeptAreRefused() {
        QTemporaryDir user;
        Session session;
        startWithUserFolder(session, user.path());
        const QStringList items = session.controls().modelItems;
        const Result<void> twice = session.setOwnModels({ownModel(u"Tarn"_s), ownModel(u"Tarn"_s)});
        QVERIFY(!twice);
        QVERIFY(twice.error().description.contains(u"Tarn"_s));
        // A comma would split the file's line, and a space at the end come back trimmed.
        for (const QString &name : {u"Tarn, B"_s, u"Tarn "_s}) {
            ModelRecord odd = ownModel(u"Tarn"_s);
            odd.name = name;
            QVERIFY(!session.setOwnModels({odd}));
        }
        QVERIFY(!QFile::exists(user.filePath(u"MyProjectors.ini"_s)));
        std::vector<ModelRecord> many;
        for (std::size_t i = session.catalogueModels().size(); i <= std::size_t(kModelCapacity);
             ++i)
            many.push_back(ownModel(u"Tarn %1"_s.arg(i)));
        const Result<void> full = session.setOwnModels(many);
        QVERIFY(!full);
        QVERIFY(full.error().description.contains(u"full"_s));
        many.pop_back();
        VERIFY_OK(session.setOwnModels(many));
        QCOMPARE(session.calculator().models().size(), std::size_t(kModelCapacity));
        QVERIFY(items.size() < kModelCapacity);
    }

    // Own models that overflow the list (kept before a larger catalogue came)
    // are listed as far as it holds them, and can still be deleted.
    void anOverfullListCanStillShrink() {
        QTemporaryDir user;
        std::vector<ModelRecord> many(std::size_t(kModelCapacity), ownModel(u"Tarn"_s));
        for (std::size_t i = 0; i < many.size(); ++i)
            many[i].name = u"Tarn %1"_s.arg(i);
        VERIFY_OK(saveOwnModels(user.filePath(u"MyProjectors.ini"_s), many));
        Session session;
        startWithUserFolder(session, user.path());
        QCOMPARE(session.calculator().models().size(), std::size_t(kModelCapacity));
        QCOMPARE(session.ownModels().size(), many.size());
        many.pop_back();
        VERIFY_OK(session.setOwnModels(many));
        many.push_back(ownModel(u"Tarn new"_s));
        many.push_back(ownModel(u"Tarn newer"_s));
        QVERIFY(!session.setOwnModels(many));
    }

    // Editing the model in use recalculates the same screen with the new
    // lens; deleting it leaves it in use, as a file's model is.
    void theModelInUseFollowsItsEdits() {
        QTemporaryDir user;
        Session session;
        startWithUserFolder(session, user.path());
        VERIFY_OK(session.setOwnModels({ownModel(u"Tarn"_s)}));
        VERIFY_OK(session.selectModel(indexOf(session, u"Tarn"_s)));
        VERIFY_OK(session.select(Aspect::Ratio16x9));
        VERIFY_TAKEN(session.enter(Field::Diagonal, u"100"_s));
        // 100-inch 16 : 9 is 100 x 16 / sqrt(337) = 87.157 in wide: 1.5 x 87.157 =
        // 130.74 in, then 1.8 x 87.157 = 156.88 in.
        QVERIFY(std::abs(session.state().projectionDistance - 130.74) < 0.01);
        VERIFY_OK(session.setOwnModels({ownModel(u"Tarn"_s, 1.8)}));
        QCOMPARE(session.state().screenDiagonal, 100.0);
        QVERIFY(std::abs(session.state().projectionDistance - 156.88) < 0.01);
        QCOMPARE(session.controls().aspect, std::optional(Aspect::Ratio16x9));
        VERIFY_OK(session.setOwnModels({}));
        QCOMPARE(session.calculator().currentModel()->name, u"Tarn"_s);
        QVERIFY(std::abs(session.state().projectionDistance - 156.88) < 0.01);
    }

    // One own model at a time: added last, replaced where it stands, deleted;
    // a catalogue model is none of them, and its name only warns.
    void ownModelsOneAtATime() {
        QTemporaryDir user;
        Session session;
        startWithUserFolder(session, user.path());
        const int first = int(session.catalogueModels().size());
        VERIFY_OK(session.saveOwnModel(ownModel(u"Tarn A"_s)));
        VERIFY_OK(session.saveOwnModel(ownModel(u"Tarn B"_s)));
        VERIFY_OK(session.saveOwnModel(ownModel(u"Tarn A2"_s), first));
        QCOMPARE(session.controls().modelItems.mid(first),
                 (QStringList{u"Tarn A2"_s, u"Tarn B"_s}));
        // Renamed onto the other's name: setOwnModels' refusal, nothing written.
        const QByteArray kept = readAll(user.filePath(u"MyProjectors.ini"_s));
        const Result<void> twice = session.saveOwnModel(ownModel(u"Tarn B"_s), first);
        QVERIFY(!twice);
        QCOMPARE(refusedTermOf(twice.error()), u"name"_s);
        QCOMPARE(readAll(user.filePath(u"MyProjectors.ini"_s)), kept);
        QVERIFY(!session.saveOwnModel(ownModel(u"Tarn C"_s), first - 1));
        QVERIFY(!session.deleteOwnModel(first - 1));
        QVERIFY(!session.deleteOwnModel(first + 2));
        VERIFY_OK(session.deleteOwnModel(first));
        QCOMPARE(session.controls().modelItems.mid(first), QStringList{u"Tarn B"_s});

        ProjectorSheet sheet = sheetOf(ownModel(u"Tarn"_s));
        const Result<SheetRecord> own = session.ownModelFrom(sheet);
        VERIFY_OK(own);
        QVERIFY(own->warnings.empty());
        sheet.name = session.catalogueModels().front().name;
        const Result<SheetRecord> same = session.ownModelFrom(sheet);
        VERIFY_OK(same);
        QCOMPARE(same->warnings.size(), std::size_t(1));
        QCOMPARE(same->warnings.front().term, u"name"_s);
    }

    // Choosing another model for the screen keeps its size; a catalogue
    // switch keeps the own models.
    void theScreenStaysAndOwnModelsSurviveASwitch() {
        QTemporaryDir user;
        Session session;
        startWithUserFolder(session, user.path());
        VERIFY_OK(session.setOwnModels({ownModel(u"Tarn"_s)}));
        VERIFY_TAKEN(session.enter(Field::Diagonal, u"120"_s));
        VERIFY_OK(session.selectModelKeepingScreen(indexOf(session, u"Tarn"_s)));
        QCOMPARE(session.calculator().currentModel()->name, u"Tarn"_s);
        QCOMPARE(session.state().screenDiagonal, 120.0);
        // An own model of a catalogue model's name is chosen as itself.
        VERIFY_OK(session.setOwnModels({ownModel(u"Tarn"_s), ownModel(u"Aster 2000"_s)}));
        const int own = int(session.calculator().models().size()) - 1;
        VERIFY_OK(session.selectModelKeepingScreen(own));
        QCOMPARE(session.state().modelIndex, own);

        const QString chosen = user.filePath(u"chosen.ini"_s);
        QVERIFY(writeFileAtomically(chosen, QByteArray("Model\nOther 1,30,300,30,300,1,0,0.8,0,0.1,"
                                                       "0.1,0,0,1,0,36,300,36,300\n")));
        VERIFY_OK(
            session.switchCatalogue(chosen, [](const QString &, const QString &) { return true; }));
        QCOMPARE(session.controls().modelItems,
                 (QStringList{u"Other 1"_s, u"Tarn"_s, u"Aster 2000"_s}));
        QCOMPARE(readAll(user.filePath(u"MyProjectors.ini"_s)).count('\n'), 3);
    }

    // An own-models file that cannot be read is reported and never written over.
    void anUnreadableOwnFileIsLeftAlone() {
        QTemporaryDir user;
        const QString file = user.filePath(u"MyProjectors.ini"_s);
        const QByteArray junk(5 << 20, 'x');
        QVERIFY(writeFileAtomically(file, junk));
        Session session;
        session.addObserver(observer_);
        startWithUserFolder(session, user.path());
        QVERIFY(session.ownModelsError());
        QVERIFY(session.ownModels().empty());
        QVERIFY(!session.setOwnModels({ownModel(u"Tarn"_s)}));
        QCOMPARE(readAll(file), junk);
        session.removeObserver(observer_);
    }

    void openBadFileChangesNothing() {
        QVERIFY(open(kBeta, {0, 4, 5, 120, 1}));
        const Controls before = calc_->controls();
        observer_.clear();
        // A new model without any lens line is refused before anything changes,
        // and so is a file cut short after its first line.
        QCOMPARE(open(testModel(u"Delta"_s, 0, 0, 0, 0)).error().code(), 380);
        QVERIFY(QFile::resize(dir_.filePath(u"Delta.cf"_s), 9));
        QCOMPARE(readCalcFile(dir_.filePath(u"Delta.cf"_s)).error().code(), 62);
        QCOMPARE(calc_->controls().modelItems, before.modelItems);
        QCOMPARE(calc_->controls().modelSelected, before.modelSelected);
        QCOMPARE(calc_->controls().fieldText, before.fieldText);
        QCOMPARE(observer_.isometricDrawings, 0);
        QVERIFY(calc_->ready());
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
