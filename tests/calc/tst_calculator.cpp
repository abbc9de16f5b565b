#include "calc/calculator.h"
#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace vistrel;

namespace {

enum Model { Both, No169, TeleOnly, WideOnly };

std::vector<ModelRecord> catalogue() {
    ModelRecord teleOnly = testModel(QStringLiteral("TeleOnly"), 0, 0, 0.5, 0.9);
    ModelRecord wideOnly = testModel(QStringLiteral("WideOnly"), 0.62, 1.1, 0, 0, 2);
    return {testModel(QStringLiteral("Both"), 0.62, 1.1, 0.5, 0.9, 1),
            testModel(QStringLiteral("No169"), 0.7, 0.5, 0.55, 0.4, 0), teleOnly, wideOnly};
}

bool consistent(const CalcState &s) {
    return std::abs(std::hypot(s.screenWidth, s.screenHeight) - s.screenDiagonal) < 1e-9 &&
           std::abs(s.screenWidth / s.screenHeight - s.aspectRatio) < 1e-12;
}

} // namespace

class TestCalculator : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startUpShowsTheLargestScreenOfTheFirstModel();
    void startUpWithATeleOnlyModel();
    void limitsAreInclusive();
    void outOfRangeEntryIsRefusedAndNothingStored_data();
    void outOfRangeEntryIsRefusedAndNothingStored();
    void zoomChangeKeepsDiagonalAndClamps();
    void aspectChangeKeepsDistanceAndClamps();
    void modelChangeRecalculatesOnceWithItsOwnLimits();
    void modelWithout169LeavesWideScreen();
    void teleOnlyModelDisablesZoom();
    void unitAndPositionRefreshOnlyTheirPart();
    void unusableModelsAreRefusedWithoutChangingAnything_data();
    void unusableModelsAreRefusedWithoutChangingAnything();
    void inconsistentLimitsNeitherLoopNorStore();
    void aspectSampleFollowsTheRatio();

private:
    RecordingObserver observer_;
    std::unique_ptr<Calculator> calc_;
};

void TestCalculator::init() {
    observer_.clear();
    calc_ = std::make_unique<Calculator>(observer_);
    calc_->setMessages(testMessages());
    QVERIFY(!calc_->startUp(catalogue()));
    observer_.clear();
}

void TestCalculator::startUpShowsTheLargestScreenOfTheFirstModel() {
    const CalcState &s = calc_->state();
    const Controls &c = calc_->controls();
    QVERIFY(calc_->windowReady());
    QCOMPARE(s.unitCode, 0);
    QCOMPARE(s.screenPosition, 1);
    QCOMPARE(s.aspectRatio, 4.0 / 3);
    QCOMPARE(s.modelIndex, 0);
    QCOMPARE(s.zoomEnd, 0);
    QCOMPARE(s.screenDiagonal, 300.0);
    QCOMPARE(c.visibleEnter, -1);
    QCOMPARE(c.modelSelected, 0);
    QCOMPARE(c.aspectSample.caption, QStringLiteral("4 : 3"));
    QCOMPARE(c.fieldText[1], QStringLiteral("300"));
    QCOMPARE(c.fieldText[2], QStringLiteral("240"));
    QVERIFY(calc_->isometric().has_value());
    QVERIFY(calc_->sideView().has_value());
    QVERIFY(consistent(s));
}

void TestCalculator::startUpWithATeleOnlyModel() {
    RecordingObserver observer;
    Calculator calc(observer);
    calc.setMessages(testMessages());
    std::vector<ModelRecord> models = catalogue();
    std::swap(models[0], models[TeleOnly]);
    QVERIFY(!calc.startUp(models));
    QCOMPARE(calc.state().zoomEnd, 1);
    QCOMPARE(calc.state().screenDiagonal, 250.0);
    QVERIFY(observer.messages.isEmpty());
}

void TestCalculator::limitsAreInclusive() {
    for (const double d : {300.0, 30.0}) {
        const Result<bool> r = calc_->calcScreenSize(1, d);
        QVERIFY(r.ok() && *r);
        QCOMPARE(calc_->state().screenDiagonal, d);
    }
    QVERIFY(observer_.messages.isEmpty());
}

void TestCalculator::outOfRangeEntryIsRefusedAndNothingStored_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("diagonal above") << 1 << 300.5 << "large 300 in %2";
    QTest::newRow("diagonal below") << 1 << 29.0 << "small 30 in";
    QTest::newRow("width zero") << 2 << 0.0 << "small 30 in";
    QTest::newRow("infinite distance") << 0 << inf << "large 300 in %2";
    QTest::newRow("minus infinite width") << 2 << -inf << "large 300 in %2";
    QTest::newRow("not a number") << 1 << std::numeric_limits<double>::quiet_NaN()
                                  << "large 300 in %2";
}

void TestCalculator::outOfRangeEntryIsRefusedAndNothingStored() {
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(QString, message);
    QVERIFY(*calc_->calcScreenSize(1, 120));
    const CalcState before = calc_->state();
    const Result<bool> r = calc_->calcScreenSize(mode, value);
    QVERIFY(r.ok());
    QVERIFY(!*r);
    QCOMPARE(observer_.messages, QStringList{message});
    const CalcState &after = calc_->state();
    QCOMPARE(after.screenDiagonal, before.screenDiagonal);
    QCOMPARE(after.screenWidth, before.screenWidth);
    QCOMPARE(after.projectionDistance, before.projectionDistance);
    QCOMPARE(after.offsetA, before.offsetA);
}

void TestCalculator::zoomChangeKeepsDiagonalAndClamps() {
    QVERIFY(*calc_->calcScreenSize(1, 200));
    calc_->selectZoom(Tele);
    QVERIFY(observer_.messages.isEmpty());
    QCOMPARE(calc_->state().screenDiagonal, 200.0);
    QCOMPARE(calc_->state().projectionDistance, (200 - 0.9) / 0.5);

    calc_->selectZoom(Wide);
    QVERIFY(*calc_->calcScreenSize(1, 280));
    calc_->selectZoom(Tele); // TELE accepts at most 250
    QCOMPARE(observer_.messages, QStringList{QStringLiteral("large 250 in %2")});
    const CalcState &s = calc_->state();
    QCOMPARE(s.screenDiagonal, 250.0);
    QCOMPARE(s.projectionDistance, (250 - 0.9) / 0.5);
    QVERIFY(consistent(s));
    QVERIFY(!calc_->clampToLimits());
}

void TestCalculator::aspectChangeKeepsDistanceAndClamps() {
    QVERIFY(*calc_->calcScreenSize(1, 200));
    const double distance = calc_->state().projectionDistance;
    calc_->selectAspect(2);
    QVERIFY(observer_.messages.isEmpty());
    QCOMPARE(calc_->state().projectionDistance, distance);
    QVERIFY(std::abs(calc_->state().screenDiagonal - 200 * 1.223837) < 1e-9);

    calc_->selectAspect(0);
    QVERIFY(*calc_->calcScreenSize(1, 240));
    calc_->selectAspect(2); // 240 x 1.223837 is beyond the 16 : 9 limit of 280
    QCOMPARE(observer_.messages, QStringList{QStringLiteral("large 280 in %2")});
    QCOMPARE(calc_->state().screenDiagonal, 280.0);
    QVERIFY(consistent(calc_->state()));
    // A typed value after the clamp is refused again, not clamped.
    QVERIFY(!*calc_->calcScreenSize(1, 290));
    QCOMPARE(calc_->state().screenDiagonal, 280.0);
}

void TestCalculator::modelChangeRecalculatesOnceWithItsOwnLimits() {
    // WIDE at 300: the TELE end of this model would refuse 300, but the new
    // model's own limits decide, so no message comes up on the way.
    calc_->selectModelEntry(TeleOnly);
    QVERIFY(observer_.messages.isEmpty());
    QVERIFY(observer_.errors.isEmpty());
    QCOMPARE(calc_->state().zoomEnd, 1);
    QCOMPARE(calc_->state().screenDiagonal, 250.0);
    QCOMPARE(observer_.isometricDrawings, 1);
    QCOMPARE(observer_.sideDrawings, 1);
    QVERIFY(consistent(calc_->state()));

    // Choosing the same entry again resets the screen to the largest one.
    QVERIFY(*calc_->calcScreenSize(1, 100));
    calc_->selectModelEntry(TeleOnly);
    QCOMPARE(calc_->state().screenDiagonal, 250.0);
}

void TestCalculator::modelWithout169LeavesWideScreen() {
    calc_->selectAspect(2);
    QVERIFY(calc_->controls().aspect169Enabled);
    observer_.clear();
    calc_->selectModelEntry(No169);
    QCOMPARE(calc_->controls().aspect, 0);
    QVERIFY(!calc_->controls().aspect169Enabled);
    QCOMPARE(calc_->state().aspectRatio, 4.0 / 3);
    // Without 16 : 9 the longest 4 : 3 distance of either end stands in for it.
    QCOMPARE(calc_->state().maxDistance169, (250 - 0.4) / 0.55);
    QVERIFY(observer_.messages.isEmpty());
}

void TestCalculator::teleOnlyModelDisablesZoom() {
    calc_->selectModelEntry(TeleOnly);
    QCOMPARE(calc_->controls().zoom, 1);
    QCOMPARE(calc_->controls().zoomEnabled, (std::array<bool, 2>{false, false}));
    calc_->selectModelEntry(WideOnly);
    QCOMPARE(calc_->controls().zoom, 0);
    QCOMPARE(calc_->controls().zoomEnabled, (std::array<bool, 2>{false, false}));
    calc_->selectModelEntry(Both);
    QCOMPARE(calc_->controls().zoomEnabled, (std::array<bool, 2>{true, true}));
}

void TestCalculator::unitAndPositionRefreshOnlyTheirPart() {
    const CalcState before = calc_->state();
    calc_->selectUnit(2);
    QCOMPARE(observer_.fieldRefreshes, 1);
    QCOMPARE(observer_.isometricDrawings + observer_.sideDrawings, 0);
    QCOMPARE(calc_->controls().fieldText[1], QStringLiteral("762"));
    calc_->selectUnit(0);
    QCOMPARE(calc_->controls().fieldText[1], QStringLiteral("300"));
    QCOMPARE(calc_->state().screenDiagonal, before.screenDiagonal);

    observer_.clear();
    calc_->selectPosition(0);
    QCOMPARE(observer_.sideDrawings, 1);
    QCOMPARE(observer_.isometricDrawings + observer_.fieldRefreshes, 0);
    QCOMPARE(calc_->sideView()->a, 27);
}

void TestCalculator::unusableModelsAreRefusedWithoutChangingAnything_data() {
    QTest::addColumn<double>("wideA");
    QTest::addColumn<double>("wideB");
    QTest::addColumn<double>("teleA");
    QTest::addColumn<double>("teleB");
    QTest::addColumn<int>("errorNumber");
    QTest::newRow("flat WIDE line") << 0.0 << 5.0 << 0.5 << 0.9 << 11;
    QTest::newRow("flat TELE line") << 0.6 << 1.0 << 0.0 << 2.0 << 11;
    QTest::newRow("no lens at all") << 0.0 << 0.0 << 0.0 << 0.0 << 380;
    QTest::newRow("slope too small") << 1e-320 << 0.0 << 0.5 << 0.9 << 6;
}

void TestCalculator::unusableModelsAreRefusedWithoutChangingAnything() {
    QFETCH(double, wideA);
    QFETCH(double, wideB);
    QFETCH(double, teleA);
    QFETCH(double, teleB);
    QFETCH(int, errorNumber);
    std::vector<ModelRecord> models = catalogue();
    models.push_back(testModel(QStringLiteral("Broken"), wideA, wideB, teleA, teleB));
    RecordingObserver observer;
    Calculator calc(observer);
    calc.setMessages(testMessages());
    QVERIFY(!calc.startUp(models));
    const CalcState before = calc.state();
    calc.selectModelEntry(4);
    QCOMPARE(observer.errors.size(), 1);
    QVERIFY(observer.errors.first().startsWith(QStringLiteral("Err : %1\r\n").arg(errorNumber)));
    QCOMPARE(calc.state().modelIndex, before.modelIndex);
    QCOMPARE(calc.state().screenDiagonal, before.screenDiagonal);
    QCOMPARE(calc.controls().modelSelected, 0);

    // As the first model of a catalogue it stops the start-up instead.
    std::swap(models.front(), models.back());
    Calculator first(observer);
    QCOMPARE(first.startUp(models)->code(), errorNumber);
}

void TestCalculator::inconsistentLimitsNeitherLoopNorStore() {
    std::vector<ModelRecord> models = catalogue();
    ModelRecord odd = testModel(QStringLiteral("Odd"), 0.62, 1.1, 0.5, 0.9);
    odd.minDiagonal43Wide = 200;
    odd.maxDiagonal43Wide = 100;
    models.push_back(odd);
    RecordingObserver observer;
    Calculator calc(observer);
    calc.setMessages(testMessages());
    QVERIFY(!calc.startUp(models));
    QVERIFY(*calc.calcScreenSize(1, 150));
    const CalcState before = calc.state();

    calc.selectModelEntry(4);
    QCOMPARE(observer.messages, QStringList{QStringLiteral("small 200 in")});
    QCOMPARE(calc.state().screenDiagonal, before.screenDiagonal);
    QCOMPARE(calc.state().screenWidth, before.screenWidth);

    // Clamping to a limit the model itself refuses stops after one repetition.
    observer.clear();
    calc.selectZoom(Tele);
    calc.selectZoom(Wide);
    QVERIFY(observer.messages.size() <= 2);
    QVERIFY(!calc.clampToLimits());
    QVERIFY(std::isfinite(calc.state().screenDiagonal));
}

void TestCalculator::aspectSampleFollowsTheRatio() {
    calc_->selectAspect(2);
    const AspectSample &sample = calc_->controls().aspectSample;
    QCOMPARE(sample.caption, QStringLiteral("16 : 9"));
    QCOMPARE(sample.boxWidth, std::nearbyint(735 * 16.0 / 9));
    // The sample keeps its centre: the design box spans 120 .. 1815.
    QVERIFY(std::abs(sample.boxLeft + sample.boxWidth / 2 - (120 + 1695 / 2.0)) < 0.5 + 1e-9);
    QCOMPARE(sample.labelLeft, (sample.boxWidth - sample.labelWidth) / 2 + sample.boxLeft);
}

QTEST_GUILESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
