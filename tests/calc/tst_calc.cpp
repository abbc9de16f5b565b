#include "calc/calculator.h"
#include "calc/display.h"
#include "core/helpers.h"
#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

#include <cmath>
#include <tuple>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

enum Model { Both, No169, TeleOnly, Extra };
enum Field { Distance, Diagonal, Width, Height };

std::vector<ModelRecord> catalogue() {
    return {testModel(u"Both"_s, 0.62, 1.1, 0.5, 0.9, 1),
            testModel(u"No169"_s, 0.7, 0.5, 0.55, 0.4, 0),
            testModel(u"TeleOnly"_s, 0, 0, 0.5, 0.9)};
}

// Width, height and diagonal stored together must describe one rectangle of the chosen shape.
bool consistent(const CalcState &s) {
    return std::abs(std::hypot(s.ScreenWidth, s.ScreenHeight) - s.ScreenDiagonal) < 1e-9 &&
           std::abs(s.ScreenWidth / s.ScreenHeight - s.AspectRatio) < 1e-12;
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
    int unit, field;
    QString text, shown; // typed, and the field afterwards
    double diagonal;
    QString message;
};

} // namespace

class TestCalc : public QObject {
    Q_OBJECT

    // Focus, replace the text and press Enter, as a user would.
    bool type(int field, const QString &text) {
        calc_->txtValue_GotFocus(field);
        calc_->setFieldText(field, text);
        calc_->txtValue_KeyDown(field, kEnterKey);
        return observer_.messages.isEmpty();
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
        QVERIFY(!calc_->startUp(catalogue()));
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
        for (const int zoom : {Wide, Tele})
            for (const double d : {10.0, 123.4, 987.0}) {
                const Result<double> back = lens.DistanceFromDiagonal(
                    lens.DiagonalFromDistance(d, zoom, aspect), zoom, aspect);
                QVERIFY(back.ok() && std::abs(*back - d) < 1e-9 * d);
            }
    }

    void displayRounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("wide");
        QTest::addColumn<double>("tele");
        QTest::newRow("71.93") << 71.93 << int(Units) << 72.0 << 71.0;
        QTest::newRow("72.05") << 72.05 << int(Units) << 72.0 << 72.0;
        QTest::newRow("253.2 cm") << 253.2 << int(Tens) << 260.0 << 250.0;
        QTest::newRow("250.5 cm") << 250.5 << int(Tens) << 250.0 << 250.0;
        QTest::newRow("100 in as feet") << 100 * kInchesToFeet << int(Units) << 9.0 << 8.0;
        QTest::newRow("offset tenths") << 12.34 << int(Tenths) << 12.4 << 12.3;
    }
    // WIDE rounds up only past a tenth of the step; TELE always cuts down.
    void displayRounding() {
        QFETCH(double, value);
        QFETCH(int, step);
        QFETCH(double, wide);
        QFETCH(double, tele);
        QCOMPARE(RoundForDisplay(value, step, Wide), wide);
        QCOMPARE(RoundForDisplay(value, step, Tele), tele);
    }

    // Offsets are shown from the height rounded to inches, without their sign;
    // a 16 : 9 mode-2 picture adds an eighth of the height to both.
    void offsetTexts() {
        ModelRecord model = testModel(u"M"_s, 0.5, 2, 0.4, 1, 2);
        model.WideOffsetCoefA = -0.1;
        model.WideOffsetCoefB = 0.25;
        CalcState s;
        s.AspectHeight = 3;
        s.AspectWidth = 4;
        s.ScreenHeight = 59.95;
        s.WideScreenMode = 2;
        QCOMPARE(resultTexts(s, model, u',').offsets, (std::array{u"6,0"_s, u"15,0"_s}));
        s.AspectHeight = 9;
        s.AspectWidth = 16;
        QCOMPARE(resultTexts(s, model, u'.').offsets, (std::array{u"1.5"_s, u"22.5"_s}));
        s.UnitCode = Centimeters;
        QCOMPARE(resultTexts(s, model, u'.').offsets[1], u"58"_s);
    }

    void rangeMessages_data() {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inches keep %2") << 0 << 300.0 << "300 in %2";
        QTest::newRow("feet") << 1 << 300.0 << "25 / 300";
        QTest::newRow("centimeters") << 2 << 300.0 << "762 / 300";
        QTest::newRow("fifteen digits") << 1 << 80.0 << "6.66666666666667 / 80";
    }
    void rangeMessages() {
        QFETCH(int, unit);
        QFETCH(double, limit);
        QFETCH(QString, expected);
        const QString text = unit == 0 ? u"%1 in %2"_s : u"%1 / %2"_s;
        QCOMPARE(rangeMessage(text, unit, limit, u'.'), expected);
    }

    void startUpShowsTheLargestScreenOfTheFirstModel() {
        const CalcState &s = state();
        QVERIFY(calc_->WindowReady());
        // inches, projector at the bottom, WIDE, first model, 4 : 3, largest screen
        QCOMPARE(std::tuple(s.UnitCode, s.ScreenPosition, s.ZoomEnd, s.ModelIndex, s.AspectRatio,
                            s.ScreenDiagonal),
                 std::tuple(0, 1, 0, 0, 4.0 / 3, 300.0));
        QCOMPARE(controls().fieldText[Width], u"240"_s);
        QVERIFY(calc_->isometric() && calc_->sideView());
    }

    void limitsAreInclusiveAndOutsideIsRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("largest") << int(Diagonal) << 300.0 << "";
        QTest::newRow("smallest") << int(Diagonal) << 30.0 << "";
        QTest::newRow("diagonal above") << int(Diagonal) << 300.5 << "large 300 in %2";
        QTest::newRow("diagonal below") << int(Diagonal) << 29.0 << "small 30 in";
        QTest::newRow("width zero") << int(Width) << 0.0 << "small 30 in";
        QTest::newRow("infinite distance") << int(Distance) << qInf() << "large 300 in %2";
        QTest::newRow("minus infinite width") << int(Width) << -qInf() << "large 300 in %2";
        QTest::newRow("NaN") << int(Diagonal) << qQNaN() << "large 300 in %2";
    }
    void limitsAreInclusiveAndOutsideIsRefused() {
        QFETCH(int, mode);
        QFETCH(double, value);
        QFETCH(QString, message);
        QVERIFY(*calc_->CalcScreenSize(Diagonal, 120));
        const CalcState before = state();
        const Result<bool> r = calc_->CalcScreenSize(mode, value);
        const bool taken = message.isEmpty();
        QVERIFY(r.ok() && *r == taken);
        QCOMPARE(observer_.messages, said(message));
        QCOMPARE(state().ScreenDiagonal, taken ? value : before.ScreenDiagonal);
        if (!taken)
            QCOMPARE(std::tuple(state().ScreenWidth, state().ProjectionDistance, state().OffsetA),
                     std::tuple(before.ScreenWidth, before.ProjectionDistance, before.OffsetA));
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
        QVERIFY(*calc_->CalcScreenSize(Diagonal, change.typedDiagonal));
        change.zoom ? calc_->selectZoom(Tele) : calc_->selectAspect(2);
        const QString clamped = u"large %1 in %2"_s.arg(change.diagonal);
        QCOMPARE(observer_.messages, said(change.clamps ? clamped : QString()));
        QVERIFY(std::abs(state().ScreenDiagonal - change.diagonal) < 1e-9);
        QVERIFY(std::abs(state().ProjectionDistance - change.distance) < 1e-9);
        QVERIFY(consistent(state()));
        // The clamp belongs to that one change: a value typed afterwards is refused again.
        QVERIFY(!*calc_->CalcScreenSize(Diagonal, 290));
    }

    void modelChangeRecalculatesOnceWithItsOwnLimits() {
        // WIDE at 300: switching to TELE on the way would refuse 300, but the
        // new model's own limits decide, so no message comes up.
        calc_->selectModelEntry(TeleOnly);
        QVERIFY(observer_.messages.isEmpty() && observer_.errors.isEmpty());
        QCOMPARE(std::tuple(state().ZoomEnd, state().ScreenDiagonal), std::tuple(1, 250.0));
        QCOMPARE(refreshed(), std::tuple(1, 1, 1));
        QVERIFY(consistent(state()));
    }

    void modelDecidesTheOptionsOffered() {
        calc_->selectAspect(2);
        observer_.clear();
        calc_->selectModelEntry(No169); // 16 : 9 goes back to 4 : 3
        QCOMPARE(std::tuple(controls().aspect, controls().aspect169Enabled, state().AspectRatio),
                 std::tuple(0, false, 4.0 / 3));
        calc_->selectModelEntry(TeleOnly); // nothing to choose between
        QCOMPARE(std::tuple(controls().zoom, controls().zoomEnabled[0], controls().zoomEnabled[1]),
                 std::tuple(1, false, false));
        calc_->selectModelEntry(Both);
        QVERIFY(controls().zoomEnabled[0] && controls().zoomEnabled[1]);
        QVERIFY(observer_.messages.isEmpty());
    }

    void unitAndPositionRefreshOnlyTheirPart() {
        calc_->selectUnit(2);
        QCOMPARE(refreshed(), std::tuple(1, 0, 0));
        QCOMPARE(controls().fieldText[Diagonal], u"762"_s);
        QCOMPARE(state().ScreenDiagonal, 300.0);
        observer_.clear();
        calc_->selectPosition(0);
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
        QVERIFY(!calc_->startUp(models));
        calc_->selectModelEntry(Extra);
        QCOMPARE(observer_.errors.size(), 1);
        QVERIFY(observer_.errors.first().startsWith(u"Err : %1\r\n"_s.arg(errorNumber)));
        QCOMPARE(std::tuple(state().ModelIndex, controls().modelSelected, state().ScreenDiagonal),
                 std::tuple(0, 0, 300.0));
        // As the first model of a catalogue it stops the start-up instead.
        std::swap(models.front(), models.back());
        Calculator first(observer_);
        QCOMPARE(first.startUp(models)->code(), errorNumber);
    }

    void inconsistentLimitsNeitherLoopNorStore() {
        std::vector<ModelRecord> models = catalogue();
        models.push_back(testModel(u"Odd"_s, 0.62, 1.1, 0.5, 0.9));
        models.back().MinDiagonal43Wide = 200;
        models.back().MaxDiagonal43Wide = 100;
        QVERIFY(!calc_->startUp(models));
        QVERIFY(*calc_->CalcScreenSize(Diagonal, 150));
        const CalcState before = state();
        calc_->selectModelEntry(Extra);
        QCOMPARE(observer_.messages, QStringList{u"small 200 in"_s});
        QCOMPARE(std::tuple(state().ScreenDiagonal, state().ScreenWidth),
                 std::tuple(before.ScreenDiagonal, before.ScreenWidth));
        // Clamping to a limit the model itself refuses stops after one repetition.
        observer_.clear();
        calc_->selectZoom(Tele);
        calc_->selectZoom(Wide);
        QVERIFY(observer_.messages.size() <= 2);
        QVERIFY(!calc_->ClampToLimits() && std::isfinite(state().ScreenDiagonal));
    }

    void typedValues_data() {
        QTest::addColumn<Typed>("typed");
        const QString large = u"large 300 in %2"_s;
        QTest::newRow("fraction rounds up") << Typed{0, Diagonal, "120.3", "121", 121, ""};
        QTest::newRow("tiny fraction") << Typed{0, Diagonal, "120.000000000001", "120", 120, ""};
        QTest::newRow("feet") << Typed{1, Diagonal, "10", "10", 10 / kInchesToFeet, ""};
        QTest::newRow("centimeters") << Typed{2, Diagonal, "254", "254", 100, ""};
        QTest::newRow("distance") << Typed{0, Distance, "100", "100", 63.1, ""};
        // No length is negative: refused like any screen below the smallest.
        QTest::newRow("negative width") << Typed{0, Width, "-80", "240", 300, "small 30 in"};
        QTest::newRow("negative distance") << Typed{0, Distance, "-5", "482", 300, "small 30 in"};
        QTest::newRow("negative infinity")
            << Typed{1, Height, "-1e999", "15", 300, "small 2.5 ft (30 in)"};
        QTest::newRow("letters read as 0") << Typed{0, Width, "abc", "240", 300, "small 30 in"};
        QTest::newRow("infinite") << Typed{0, Diagonal, "1e999", "300", 300, large};
        QTest::newRow("huge number") << Typed{0, Width, QString(10000, u'9'), "240", 300, large};
    }
    void typedValues() {
        QFETCH(Typed, typed);
        calc_->selectUnit(typed.unit);
        observer_.clear();
        QCOMPARE(type(typed.field, typed.text), typed.message.isEmpty());
        QCOMPARE(observer_.messages, said(typed.message));
        QCOMPARE(controls().fieldText[std::size_t(typed.field)], typed.shown);
        QVERIFY(std::abs(state().ScreenDiagonal - typed.diagonal) < 1e-9);
        QCOMPARE(refreshed(), std::tuple(1, 1, 1)); // refreshed even when the value was refused
    }

    void focusAndKeys() {
        calc_->txtValue_GotFocus(Width);
        QCOMPARE(controls().visibleEnter, 2);
        calc_->txtValue_LostFocus(Width); // without typing: nothing changes, everything is redrawn
        QCOMPARE(state().ScreenDiagonal, 300.0);
        QCOMPARE(refreshed(), std::tuple(1, 1, 1));
        QCOMPARE(controls().visibleEnter, -1);
        calc_->txtValue_GotFocus(Width);
        calc_->txtValue_KeyDown(Width, kEnterKey);
        QCOMPARE(controls().visibleEnter, -1);
        calc_->setFieldText(Width, u"96"_s); // an edit shows the Enter button again
        QCOMPARE(std::tuple(controls().visibleEnter, state().ScreenDiagonal), std::tuple(2, 300.0));
        calc_->txtValue_KeyDown(Width, kEnterKey);
        QCOMPARE(std::tuple(controls().visibleEnter, state().ScreenDiagonal),
                 std::tuple(-1, 120.0));

        // Escape puts back what the field showed and calculates nothing.
        calc_->setFieldText(Width, u"200"_s);
        calc_->cancelEdit(Width);
        QCOMPARE(std::tuple(controls().fieldText[Width], controls().visibleEnter),
                 std::tuple(u"96"_s, -1));
        calc_->txtValue_LostFocus(Width);
        QCOMPARE(state().ScreenDiagonal, 120.0);
    }

    // Saving and printing confirm what is typed first, exactly as Enter would.
    void pendingEditIsConfirmed() {
        QVERIFY(calc_->confirmPendingEdit()); // nothing being edited
        calc_->txtValue_GotFocus(Diagonal);
        calc_->setFieldText(Diagonal, u"150"_s);
        QVERIFY(calc_->confirmPendingEdit());
        QCOMPARE(std::tuple(state().ScreenDiagonal, controls().visibleEnter),
                 std::tuple(150.0, -1));
        calc_->setFieldText(Diagonal, u"999"_s);
        QVERIFY(!calc_->confirmPendingEdit());
        QCOMPARE(observer_.messages, QStringList{u"large 300 in %2"_s});
        QCOMPARE(std::tuple(state().ScreenDiagonal, controls().fieldText[Diagonal]),
                 std::tuple(150.0, u"150"_s));
    }

    // A distance typed in centimeters is shown in whole tens; leaving the field
    // afterwards is no new entry, so the typed distance stays.
    void leavingAfterDisplayRoundingKeepsTheValue() {
        calc_->selectUnit(2);
        QVERIFY(type(Distance, u"253"_s));
        QCOMPARE(controls().fieldText[Distance], u"260"_s);
        for (int leave = 0; leave < 2; ++leave) {
            calc_->txtValue_GotFocus(Distance);
            calc_->txtValue_LostFocus(Distance);
            QVERIFY(std::abs(state().ProjectionDistance - 253 / 2.54) < 1e-9);
        }
        // Nor is a unit change: the fields are rewritten and remembered again.
        calc_->txtValue_GotFocus(Distance);
        calc_->selectUnit(0);
        calc_->txtValue_LostFocus(Distance);
        QVERIFY(std::abs(state().ProjectionDistance - 253 / 2.54) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
