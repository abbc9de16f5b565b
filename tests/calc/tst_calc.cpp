#include "calc/calculator.h"
#include "calc/display.h"
#include "core/helpers.h"
#include "recordingobserver.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>
#include <tuple>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

enum Model { Both, No169, TeleOnly, Extra };

std::vector<ModelRecord> catalogue() {
    return {testModel(u"Both"_s, 0.62, 1.1, 0.5, 0.9, 1),
            testModel(u"No169"_s, 0.7, 0.5, 0.55, 0.4, 0),
            testModel(u"TeleOnly"_s, 0, 0, 0.5, 0.9)};
}

// Width, height and diagonal stored together must describe one rectangle of the chosen shape.
bool consistent(const CalcState &s) {
    return std::abs(std::hypot(s.screenWidth, s.screenHeight) - s.screenDiagonal) < 1e-9 &&
           std::abs(s.screenWidth / s.screenHeight - s.aspectRatio) < 1e-12;
}

// An empty message means the value was taken.
QStringList said(const QString &message) {
    return message.isEmpty() ? QStringList() : QStringList{message};
}

struct Change {
    bool zoom, clamps; // TELE chosen, otherwise 16 : 9; clamped to the new largest diagonal
    double typedDiagonal, diagonal, distance;
};
struct Typed {
    Unit unit;
    Field field;
    QString text, shown; // typed, and the field afterwards
    double diagonal;
    QString message;
};

} // namespace

class TestCalc : public QObject {
    Q_OBJECT

    // A typed value, confirmed; true when nothing had to be said about it.
    bool type(Field field, const QString &text) {
        const Result<Entered> entered = calc_->enter(field, text);
        return entered.ok() && observer_.messages.isEmpty();
    }
    const CalcState &state() const { return calc_->state(); }
    const Controls &controls() const { return calc_->controls(); }
    // What was refreshed: the fields, the isometric drawing, the side view.
    std::tuple<int, int, int> refreshed() const {
        return {observer_.fieldRefreshes, observer_.isometricDrawings, observer_.sideDrawings};
    }

    RecordingObserver observer_;
    std::unique_ptr<Calculator> calc_;

private slots:
    void init() {
        observer_.clear();
        calc_ = std::make_unique<Calculator>(observer_);
        calc_->setMessages(testMessages());
        QVERIFY(calc_->startUp(catalogue()));
        observer_.clear();
    }

    void inverseLensLineRoundTrips_data() {
        QTest::addColumn<int>("WideScreenMode");
        QTest::addColumn<AspectPair>("aspect");
        QTest::newRow("4:3") << 1 << AspectPair{3, 4};
        QTest::newRow("5:4") << 1 << AspectPair{4, 5};
        QTest::newRow("16:9 mode 1") << 1 << AspectPair{9, 16};
        QTest::newRow("16:9 mode 2") << 2 << AspectPair{9, 16};
    }
    // A typed diagonal and the distance it gives must describe the same screen.
    void inverseLensLineRoundTrips() {
        QFETCH(int, WideScreenMode);
        QFETCH(AspectPair, aspect);
        const ModelRecord model = testModel(u"M"_s, 0.62, 1.1, 0.5, 0.9, WideScreenMode);
        const Lens lens{model, WideScreenMode};
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
            for (const double d : {10.0, 123.4, 987.0}) {
                const Result<double> back = lens.distanceFromDiagonal(
                    lens.diagonalFromDistance(d, zoom, aspect), zoom, aspect);
                QVERIFY(back.ok() && std::abs(*back - d) < 1e-9 * d);
            }
    }

    void displayRounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<Step>("step");
        QTest::addColumn<double>("wide");
        QTest::addColumn<double>("tele");
        QTest::newRow("71.93") << 71.93 << Step::Units << 72.0 << 71.0;
        QTest::newRow("72.05") << 72.05 << Step::Units << 72.0 << 72.0;
        QTest::newRow("253.2 cm") << 253.2 << Step::Tens << 260.0 << 250.0;
        QTest::newRow("250.5 cm") << 250.5 << Step::Tens << 250.0 << 250.0;
        QTest::newRow("100 in as feet") << fromInches(100, Unit::Feet) << Step::Units << 9.0 << 8.0;
        QTest::newRow("offset tenths") << 12.34 << Step::Tenths << 12.4 << 12.3;
        // Arithmetic noise a hair below a boundary counts as the boundary;
        // a real shortfall in the digits a user types does not, at any size.
        QTest::newRow("a hair below 40") << 39.99999999999999 << Step::Units << 40.0 << 40.0;
        QTest::newRow("132 in as feet, noisy")
            << 131.99999999999997 / 12 << Step::Units << 11.0 << 11.0;
        QTest::newRow("72 * 0.3 tenths") << 72 * 0.3 << Step::Tenths << 21.6 << 21.6;
        QTest::newRow("40.1 less noise") << 40.099999999999994 << Step::Units << 41.0 << 40.0;
        QTest::newRow("39.9999") << 39.9999 << Step::Units << 40.0 << 39.0;
        QTest::newRow("39.99999999") << 39.99999999 << Step::Units << 40.0 << 39.0;
        QTest::newRow("1500000000.6")
            << 1500000000.6 << Step::Units << 1500000001.0 << 1500000000.0;
        QTest::newRow("249.999 cm") << 249.999 << Step::Tens << 250.0 << 240.0;
        QTest::newRow("21.59999 tenths") << 21.59999 << Step::Tenths << 21.6 << 21.5;
    }
    // WIDE rounds up only past a tenth of the step; TELE always cuts down.
    void displayRounding() {
        QFETCH(double, value);
        QFETCH(Step, step);
        QFETCH(double, wide);
        QFETCH(double, tele);
        QCOMPARE(roundForDisplay(value, step, Zoom::Wide), wide);
        QCOMPARE(roundForDisplay(value, step, Zoom::Tele), tele);
    }

    // Offsets are shown from the height rounded to inches, without their sign;
    // a 16 : 9 mode-2 picture adds an eighth of the height to both.
    void offsetTexts() {
        ModelRecord model = testModel(u"M"_s, 0.5, 2, 0.4, 1, 2);
        model.offsetCoefs[Zoom::Wide].a = -0.1;
        model.offsetCoefs[Zoom::Wide].b = 0.25;
        CalcState s;
        s.aspectHeight = 3;
        s.aspectWidth = 4;
        s.screenHeight = 59.95;
        s.wideScreenMode = 2;
        QCOMPARE(resultTexts(s, model, u',').offsets, (std::array{u"6,0"_s, u"15,0"_s}));
        s.aspectHeight = 9;
        s.aspectWidth = 16;
        QCOMPARE(resultTexts(s, model, u'.').offsets, (std::array{u"1.5"_s, u"22.5"_s}));
        s.unit = Unit::Centimeters;
        QCOMPARE(resultTexts(s, model, u'.').offsets[1], u"58"_s);
    }

    void rangeMessages_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inches keep %2") << Unit::Inches << 300.0 << "300 in %2";
        QTest::newRow("feet") << Unit::Feet << 300.0 << "25 / 300";
        QTest::newRow("centimeters") << Unit::Centimeters << 300.0 << "762 / 300";
        QTest::newRow("fifteen digits") << Unit::Feet << 80.0 << "6.66666666666667 / 80";
    }
    void rangeMessages() {
        QFETCH(Unit, unit);
        QFETCH(double, limit);
        QFETCH(QString, expected);
        const QString text = unit == Unit::Inches ? u"%1 in %2"_s : u"%1 / %2"_s;
        QCOMPARE(rangeMessage(text, unit, limit, u'.'), expected);
    }

    void startUpShowsTheLargestScreenOfTheFirstModel() {
        const CalcState &s = state();
        QVERIFY(calc_->ready());
        // inches, projector at the bottom, WIDE, first model, 4 : 3, largest screen
        QCOMPARE(std::tuple(s.unit, s.screenPosition, s.zoomEnd, s.modelIndex, s.aspectRatio,
                            s.screenDiagonal),
                 std::tuple(Unit::Inches, Position::Bottom, Zoom::Wide, 0, 4.0 / 3, 300.0));
        QCOMPARE(controls().text(Field::Width), u"240"_s);
        QVERIFY(calc_->isometric() && calc_->sideView());
    }

    void limitsAreInclusiveAndOutsideIsRefused_data() {
        QTest::addColumn<CalcMode>("mode");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("largest") << CalcMode::Diagonal << 300.0 << "";
        QTest::newRow("smallest") << CalcMode::Diagonal << 30.0 << "";
        QTest::newRow("diagonal above") << CalcMode::Diagonal << 300.5 << "large 300 in %2";
        QTest::newRow("diagonal below") << CalcMode::Diagonal << 29.0 << "small 30 in";
        QTest::newRow("width zero") << CalcMode::Width << 0.0 << "small 30 in";
        QTest::newRow("infinite distance") << CalcMode::Distance << qInf() << "large 300 in %2";
        QTest::newRow("minus infinite width") << CalcMode::Width << -qInf() << "large 300 in %2";
        QTest::newRow("NaN") << CalcMode::Diagonal << qQNaN() << "large 300 in %2";
    }
    void limitsAreInclusiveAndOutsideIsRefused() {
        QFETCH(CalcMode, mode);
        QFETCH(double, value);
        QFETCH(QString, message);
        QVERIFY(*calc_->calculate(CalcMode::Diagonal, 120));
        const CalcState before = state();
        const Result<bool> r = calc_->calculate(mode, value);
        const bool taken = message.isEmpty();
        QVERIFY(r.ok() && *r == taken);
        QCOMPARE(observer_.messages, said(message));
        QCOMPARE(state().screenDiagonal, taken ? value : before.screenDiagonal);
        if (!taken)
            QCOMPARE(std::tuple(state().screenWidth, state().projectionDistance, state().offsetA),
                     std::tuple(before.screenWidth, before.projectionDistance, before.offsetA));
    }

    void optionChangeKeepsItsQuantityAndClamps_data() {
        QTest::addColumn<Change>("change");
        const double k = kWideScreenFactor1;
        // A new zoom end keeps the diagonal, a new aspect the projection (throw) distance.
        QTest::newRow("TELE same diagonal") << Change{true, false, 200, 200, (200 - 0.9) / 0.5};
        QTest::newRow("TELE clamps") << Change{true, true, 280, 250, (250 - 0.9) / 0.5};
        QTest::newRow("16:9 same throw") << Change{false, false, 200, 200 * k, (200 - 1.1) / 0.62};
        QTest::newRow("16:9 clamps") << Change{false, true, 240, 280, (280 / k - 1.1) / 0.62};
    }
    void optionChangeKeepsItsQuantityAndClamps() {
        QFETCH(Change, change);
        QVERIFY(*calc_->calculate(CalcMode::Diagonal, change.typedDiagonal));
        VERIFY_OK(change.zoom ? calc_->select(Zoom::Tele) : calc_->select(Aspect::Ratio16x9));
        const QString clamped = u"large %1 in %2"_s.arg(change.diagonal);
        QCOMPARE(observer_.messages, said(change.clamps ? clamped : QString()));
        QVERIFY(std::abs(state().screenDiagonal - change.diagonal) < 1e-9);
        QVERIFY(std::abs(state().projectionDistance - change.distance) < 1e-9);
        QVERIFY(consistent(state()));
        // The clamp belongs to that one change: a value typed afterwards is refused again.
        QVERIFY(!*calc_->calculate(CalcMode::Diagonal, 290));
    }

    void modelChangeRecalculatesOnceWithItsOwnLimits() {
        // WIDE at 300: switching to TELE on the way would refuse 300, but the
        // new model's own limits decide, so no message comes up.
        VERIFY_OK(calc_->selectModel(TeleOnly));
        QVERIFY(observer_.messages.isEmpty() && observer_.errors.isEmpty());
        QCOMPARE(std::tuple(state().zoomEnd, state().screenDiagonal),
                 std::tuple(Zoom::Tele, 250.0));
        QCOMPARE(refreshed(), std::tuple(1, 1, 1));
        QVERIFY(consistent(state()));
    }

    void modelDecidesTheOptionsOffered() {
        VERIFY_OK(calc_->select(Aspect::Ratio16x9));
        observer_.clear();
        VERIFY_OK(calc_->selectModel(No169)); // 16 : 9 goes back to 4 : 3
        QCOMPARE(std::tuple(*controls().aspect, controls().wideScreenEnabled, state().aspectRatio),
                 std::tuple(Aspect::Ratio4x3, false, 4.0 / 3));
        VERIFY_OK(calc_->selectModel(TeleOnly)); // nothing to choose between
        QCOMPARE(std::tuple(*controls().zoom, controls().zoomEnabled[0], controls().zoomEnabled[1]),
                 std::tuple(Zoom::Tele, false, false));
        VERIFY_OK(calc_->selectModel(Both));
        QVERIFY(controls().zoomEnabled[0] && controls().zoomEnabled[1]);
        QVERIFY(observer_.messages.isEmpty());
    }

    // The engine itself refuses what the model does not offer, whoever asks:
    // WIDE on a TELE-only model, 16 : 9 on a model without it. Nothing changes.
    void choicesTheModelLacksAreRefused() {
        VERIFY_OK(calc_->selectModel(TeleOnly));
        const CalcState before = state();
        const Result<void> wide = calc_->select(Zoom::Wide);
        QVERIFY(!wide.ok());
        QCOMPARE(wide.error().description, u"the model does not offer the WIDE end"_s);
        QCOMPARE(state().zoomEnd, Zoom::Tele);
        QCOMPARE(state().screenDiagonal, before.screenDiagonal);
        QCOMPARE(*controls().zoom, Zoom::Tele);
        QVERIFY(calc_->select(Zoom::Tele).ok()); // what is chosen already
        VERIFY_OK(calc_->selectModel(No169));
        const Result<void> wideScreen = calc_->select(Aspect::Ratio16x9);
        QVERIFY(!wideScreen.ok());
        QCOMPARE(wideScreen.error().code(), 380);
        QVERIFY(wideScreen.error().description.contains(u"16 : 9"_s));
        QCOMPARE(*controls().aspect, Aspect::Ratio4x3);
        QCOMPARE(state().aspectRatio, 4.0 / 3);
        QCOMPARE(before.zoomEnd, Zoom::Tele); // the TELE-only model's, kept by the refusal
        QVERIFY(observer_.errors.isEmpty());
    }

    void unitAndPositionRefreshOnlyTheirPart() {
        VERIFY_OK(calc_->select(Unit::Centimeters));
        QCOMPARE(refreshed(), std::tuple(1, 0, 0));
        QCOMPARE(controls().text(Field::Diagonal), u"762"_s);
        QCOMPARE(state().screenDiagonal, 300.0);
        observer_.clear();
        VERIFY_OK(calc_->select(Position::Top));
        QCOMPARE(refreshed(), std::tuple(0, 0, 1));
        QCOMPARE(calc_->sideView()->a, 27);
    }

    void unusableModelsAreRefusedWithoutChangingAnything_data() {
        QTest::addColumn<QList<double>>("lens"); // WIDE slope and offset, TELE slope and offset
        QTest::addColumn<int>("errorNumber");
        QTest::newRow("flat WIDE line") << QList<double>{0, 5, 0.5, 0.9} << 11;
        QTest::newRow("flat TELE line") << QList<double>{0.6, 1, 0, 2} << 11;
        QTest::newRow("no lens at all") << QList<double>{0, 0, 0, 0} << 380;
        QTest::newRow("slope too small") << QList<double>{1e-320, 0, 0.5, 0.9} << 6;
    }
    void unusableModelsAreRefusedWithoutChangingAnything() {
        QFETCH(QList<double>, lens);
        QFETCH(int, errorNumber);
        std::vector<ModelRecord> models = catalogue();
        models.push_back(testModel(u"Broken"_s, lens[0], lens[1], lens[2], lens[3]));
        QVERIFY(calc_->startUp(models));
        const Result<void> chosen = calc_->selectModel(Extra);
        QVERIFY(!chosen.ok());
        QCOMPARE(chosen.error().code(), errorNumber); // returned, and shown once
        QCOMPARE(observer_.errors.size(), 1);
        QVERIFY(observer_.errors.first().startsWith(u"Err : %1\r\n"_s.arg(errorNumber)));
        QCOMPARE(std::tuple(state().modelIndex, controls().modelSelected, state().screenDiagonal),
                 std::tuple(0, 0, 300.0));
        // As the first model of a catalogue it stops the start-up instead.
        std::swap(models.front(), models.back());
        Calculator first(observer_);
        QCOMPARE(first.startUp(models).error().code(), errorNumber);
    }

    void inconsistentLimitsNeitherLoopNorStore() {
        std::vector<ModelRecord> models = catalogue();
        models.push_back(testModel(u"Odd"_s, 0.62, 1.1, 0.5, 0.9));
        models.back().diagonals.fourThree[Zoom::Wide].min = 200;
        models.back().diagonals.fourThree[Zoom::Wide].max = 100;
        QVERIFY(calc_->startUp(models));
        QVERIFY(*calc_->calculate(CalcMode::Diagonal, 150));
        const CalcState before = state();
        VERIFY_OK(calc_->selectModel(Extra));
        QCOMPARE(observer_.messages, QStringList{u"small 200 in"_s});
        QCOMPARE(std::tuple(state().screenDiagonal, state().screenWidth),
                 std::tuple(before.screenDiagonal, before.screenWidth));
        // Clamping to a limit the model itself refuses stops after one repetition.
        observer_.clear();
        VERIFY_OK(calc_->select(Zoom::Tele));
        VERIFY_OK(calc_->select(Zoom::Wide));
        QVERIFY(observer_.messages.size() <= 2);
        QVERIFY(!calc_->clamping() && std::isfinite(state().screenDiagonal));
    }

    void typedValues_data() {
        QTest::addColumn<Typed>("typed");
        const QString large = u"large 300 in %2"_s;
        QTest::newRow("fraction rounds up")
            << Typed{Unit::Inches, Field::Diagonal, "120.3", "121", 121, ""};
        QTest::newRow("tiny fraction")
            << Typed{Unit::Inches, Field::Diagonal, "120.000000000001", "120", 120, ""};
        QTest::newRow("feet") << Typed{Unit::Feet, Field::Diagonal,          "10",
                                       "10",       toInches(10, Unit::Feet), ""};
        QTest::newRow("centimeters")
            << Typed{Unit::Centimeters, Field::Diagonal, "254", "254", 100, ""};
        QTest::newRow("distance") << Typed{Unit::Inches, Field::Distance, "100", "100", 63.1, ""};
        // No length is negative: refused like any screen below the smallest.
        QTest::newRow("negative width")
            << Typed{Unit::Inches, Field::Width, "-80", "240", 300, "small 30 in"};
        QTest::newRow("negative distance")
            << Typed{Unit::Inches, Field::Distance, "-5", "482", 300, "small 30 in"};
        QTest::newRow("negative infinity")
            << Typed{Unit::Feet, Field::Height, "-1e999", "15", 300, "small 2.5 ft (30 in)"};
        QTest::newRow("letters read as 0")
            << Typed{Unit::Inches, Field::Width, "abc", "240", 300, "small 30 in"};
        QTest::newRow("infinite") << Typed{Unit::Inches, Field::Diagonal, "1e999", "300", 300,
                                           large};
        QTest::newRow("huge number")
            << Typed{Unit::Inches, Field::Width, QString(10000, u'9'), "240", 300, large};
    }
    void typedValues() {
        QFETCH(Typed, typed);
        VERIFY_OK(calc_->select(typed.unit));
        observer_.clear();
        QCOMPARE(type(typed.field, typed.text), typed.message.isEmpty());
        QCOMPARE(observer_.messages, said(typed.message));
        QCOMPARE(controls().text(typed.field), typed.shown);
        QVERIFY(std::abs(state().screenDiagonal - typed.diagonal) < 1e-9);
        QCOMPARE(refreshed(), std::tuple(1, 1, 1)); // refreshed even when the value was refused
    }

    // Where the decimal point is a comma, a typed comma is one too; the dot
    // works everywhere, and elsewhere a comma ends the number as always.
    void aCommaDecimalWhereTheDesktopWritesOne_data() {
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("diagonal");
        QTest::newRow("comma desktop, comma") << QChar(u',') << u"100,5"_s << 101.0;
        QTest::newRow("comma desktop, dot") << QChar(u',') << u"100.5"_s << 101.0;
        QTest::newRow("dot desktop, comma") << QChar(u'.') << u"100,5"_s << 100.0;
    }
    void aCommaDecimalWhereTheDesktopWritesOne() {
        QFETCH(QChar, point);
        QFETCH(QString, text);
        QFETCH(double, diagonal);
        Calculator calc(observer_, point);
        calc.setMessages(testMessages());
        QVERIFY(calc.startUp(catalogue()));
        VERIFY_TAKEN(calc.enter(Field::Diagonal, text));
        QCOMPARE(calc.state().screenDiagonal, diagonal);
    }

    // What a field shows is no new value: confirmed again, it calculates
    // nothing, also where the display rounded what was typed.
    void theShownTextIsNoNewValue() {
        VERIFY_TAKEN(calc_->enter(Field::Width, u"240"_s));
        QCOMPARE(std::tuple(state().screenDiagonal, refreshed()),
                 std::tuple(300.0, std::tuple(0, 0, 0)));
        VERIFY_OK(calc_->select(Unit::Centimeters));
        QVERIFY(type(Field::Distance, u"253"_s));
        QCOMPARE(controls().text(Field::Distance), u"260"_s);
        VERIFY_TAKEN(calc_->enter(Field::Distance, u"260"_s));
        QVERIFY(std::abs(state().projectionDistance - 253 / 2.54) < 1e-9);
        // Nor does a unit change make one: the fields are rewritten in the new unit.
        VERIFY_OK(calc_->select(Unit::Inches));
        VERIFY_TAKEN(calc_->enter(Field::Distance, controls().text(Field::Distance)));
        QVERIFY(std::abs(state().projectionDistance - 253 / 2.54) < 1e-9);
    }

    void offsetsOfBothZoomEnds_data() {
        QTest::addColumn<Aspect>("aspect");
        QTest::addColumn<int>("WideScreenMode");
        QTest::addColumn<double>("eighth"); // added to both offsets: an eighth of the height
        QTest::newRow("4:3") << Aspect::Ratio4x3 << 1 << 0.0;
        QTest::newRow("5:4") << Aspect::Ratio5x4 << 1 << 0.0;
        QTest::newRow("16:9 mode 1") << Aspect::Ratio16x9 << 1 << 0.0;
        QTest::newRow("16:9 mode 2") << Aspect::Ratio16x9 << 2 << 0.125;
    }
    // Each zoom end has its own two coefficients; the stored offsets belong
    // to the end in use, in every aspect.
    void offsetsOfBothZoomEnds() {
        QFETCH(Aspect, aspect);
        QFETCH(int, WideScreenMode);
        QFETCH(double, eighth);
        ModelRecord m = testModel(u"Ends"_s, 0.62, 1.1, 0.5, 0.9, WideScreenMode);
        m.offsetCoefs[Zoom::Wide].a = 0.1;
        m.offsetCoefs[Zoom::Wide].b = 0.3;
        m.offsetCoefs[Zoom::Tele].a = -0.05;
        m.offsetCoefs[Zoom::Tele].b = 0.4;
        QVERIFY(calc_->startUp({m}));
        VERIFY_OK(calc_->select(aspect));
        for (const auto &[zoom, a, b] :
             {std::tuple(Zoom::Wide, 0.1, 0.3), std::tuple(Zoom::Tele, -0.05, 0.4)}) {
            VERIFY_OK(calc_->select(zoom));
            QVERIFY(*calc_->calculate(CalcMode::Diagonal, 100));
            const double h = state().screenHeight;
            QVERIFY(std::abs(state().offsetA - (a + eighth) * h) < 1e-9);
            QVERIFY(std::abs(state().offsetB - (b + eighth) * h) < 1e-9);
            QCOMPARE(state().offsetCountNow(), 2);
        }
    }
};

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
