#include "calc/calculator.h"
#include "calc/chartformat.h"
#include "calc/planner.h"
#include "recordingobserver.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// To the figures of the worked example: a tenth of the last digit given.
bool about(const std::optional<double> &value, double expected, double tolerance) {
    return value && std::abs(*value - expected) <= tolerance;
}

} // namespace

class TestPlanner : public QObject {
    Q_OBJECT

    RecordingObserver observer_;
    std::optional<Calculator> calc_;

    // A calculator on `model`, showing a diagonal of `inches` in `aspect`.
    const CalcState &screen(const ModelRecord &model, Aspect aspect, double inches,
                            Zoom zoom = Zoom::Wide) {
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        [&] { QVERIFY(calc_->startUp({model})); }();
        [&] { VERIFY_OK(calc_->select(aspect)); }();
        [&] { VERIFY_OK(calc_->select(zoom)); }();
        [&] { QVERIFY(*calc_->calculate(CalcMode::Diagonal, inches)); }();
        return calc_->state();
    }

private slots:
    void theWorkedExample() {
        const CalcState &s = screen(workedExampleModel(), Aspect::Ratio16x9, 100);
        QVERIFY(std::abs(s.screenWidth - 87.158) < 0.0005);
        QVERIFY(std::abs(s.screenHeight - 49.026) < 0.0005);
        const Plan plan = planOf(workedExampleModel(), s, {1.0, 50});
        QVERIFY(about(plan.litAreaSquareFeet, 29.674, 0.0005));
        QVERIFY(about(plan.lumens, 2000, 0));
        QVERIFY(about(plan.footLamberts, 67.4, 0.05));
        QVERIFY(about(plan.nits, 230.9, 0.05));
        QVERIFY(about(plan.lumensFor16fL, 474.8, 0.05));
        QVERIFY(about(plan.contrast, 15.4, 0.05));
        QVERIFY(about(plan.seats[0], 162.6, 0.05));
        QVERIFY(about(plan.seats[1], 134.1, 0.05));
        QVERIFY(about(plan.seats[2], 119.7, 0.05));
        QVERIFY(about(plan.acuity, 156.1, 0.05));
        // A brighter screen: gain 1.3. It needs fewer lumens for 16 fL, and
        // it throws back the room's light as much as the projector's.
        const Plan bright = planOf(workedExampleModel(), s, {1.3, 50});
        QVERIFY(about(bright.footLamberts, 87.6, 0.05));
        QVERIFY(about(bright.nits, 300.2, 0.05));
        QVERIFY(about(bright.lumensFor16fL, 365.2, 0.05));
        QVERIFY(about(bright.contrast, 15.4, 0.05));
        // In the dark the room takes nothing from the panel's own contrast.
        QVERIFY(about(planOf(workedExampleModel(), s, {1.0, 0}).contrast, 2000, 0));
    }

    // The same screen, from both ends of the zoom: the span where the projector may go.
    void throwRangeOfBothEnds() {
        const CalcState &s = screen(workedExampleModel(), Aspect::Ratio4x3, 100, Zoom::Tele);
        const Plan plan = planOf(workedExampleModel(), s, {});
        QVERIFY(about(plan.distanceWide, (100 - 1.1) / 0.62, 1e-9));
        QVERIFY(about(plan.distanceTele, (100 - 0.9) / 0.5, 1e-9));
        QVERIFY(about(plan.ratioWide, (100 - 1.1) / 0.62 / 80, 1e-9));
        QVERIFY(about(plan.ratioTele, (100 - 0.9) / 0.5 / 80, 1e-9));
        // The lens's own ratio is over the whole panel: at each end the
        // 4 : 3 picture of diagonal 100 is as high as the 16 : 9 panel
        // (mode 1), whose diagonal is 100 x 1.223837 and width 16/sqrt(337) of it.
        const double panelWidth = 100 * 1.223837 * 16 / std::sqrt(337.0);
        QVERIFY(about(plan.lensRatioWide, (100 - 1.1) / 0.62 / panelWidth, 1e-6));
        QVERIFY(about(plan.lensRatioTele, (100 - 0.9) / 0.5 / panelWidth, 1e-6));
        // At TELE the light is the WIDE light times the factor, over the
        // 4 : 3 picture of the whole (mode 1, so 16 : 9) panel at this distance.
        QVERIFY(about(plan.lumens, 1600, 0));
        const double diagonal169 = 100 * kWideScreenFactor1;
        const double area =
            diagonal169 * 16 / std::sqrt(337.0) * diagonal169 * 9 / std::sqrt(337.0) / 144;
        QVERIFY(about(plan.litAreaSquareFeet, area, 1e-9));

        ModelRecord wideOnly = workedExampleModel();
        wideOnly.lens[Zoom::Tele].a = wideOnly.lens[Zoom::Tele].b = 0;
        const Plan one = planOf(wideOnly, screen(wideOnly, Aspect::Ratio4x3, 100), {});
        QVERIFY(one.distanceWide && !one.distanceTele && !one.ratioTele);
    }

    // A 16 : 9 picture letterboxed on a 4 : 3 panel (mode 2) gets no light
    // from the dark bands: the lit area is the whole 4 : 3 panel.
    void letterboxedLightsTheWholePanel() {
        ModelRecord m = workedExampleModel();
        m.wideScreenMode = 2;
        m.panelWidthPx = 1024;
        m.panelHeightPx = 768;
        const CalcState &s = screen(m, Aspect::Ratio16x9, 100);
        const double diagonal43 = 100 / kWideScreenFactor2;
        const Plan plan = planOf(m, s, {});
        QVERIFY(about(plan.litAreaSquareFeet, diagonal43 * 0.8 * diagonal43 * 0.6 / 144, 1e-9));
        // A pixel's pitch: the panel's width over its pixels.
        QVERIFY(about(plan.acuity, diagonal43 * 0.8 / 1024 / std::tan(M_PI / 180 / 60), 1e-9));
    }

    // What the catalogue does not tell stays unknown, never 0.
    void unknownFieldsStayUnknown() {
        const ModelRecord older = testModel(u"Older"_s, 0.62, 1.1, 0.5, 0.9, 1);
        const Plan plan = planOf(older, screen(older, Aspect::Ratio4x3, 100), {1.0, 50});
        QVERIFY(!plan.lumens && !plan.footLamberts && !plan.nits && !plan.contrast && !plan.acuity);
        QVERIFY(plan.lumensFor16fL && plan.seats[0] && plan.distanceWide);
        // A gain from 0.1 to 10, a room light from 0 to 100 000 lux.
        QVERIFY(!checkSettings({0, 0}) && !checkSettings({1, -1}) && !checkSettings({qQNaN(), 0}));
        QVERIFY(!checkSettings({0.09, 0}) && !checkSettings({10.5, 0}));
        QVERIFY(!checkSettings({1, 100001}) && !checkSettings({1, qInf()}));
        QVERIFY(checkSettings({0.8, 0}) && checkSettings({0.1, 100000}) && checkSettings({10, 0}));
    }

    void chartRows_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("last");
        // 30 to 300 inches at WIDE, 4 : 3; TELE takes 30 to 250 only.
        QTest::newRow("inches") << Unit::Inches << 28
                                << QStringList{"30", "24", "18", "47", "58", "1.8", ""}
                                << QStringList{"300", "240", "180", "482", "", "18.0", ""};
        // 2.5 to 25 feet: the first row is 3 feet, the smallest size typed
        // in feet that the model takes (the step of 3 feet, which would read
        // the same, is left out): 36 in, so width 2.4 ft and height 1.8 ft
        // (rounded up past a tenth at WIDE: 3 and 2), distances
        // (36 - 1.1) / 0.62 = 56.3 in = 4.69 ft (WIDE: 5) and
        // (36 - 0.9) / 0.5 = 70.2 in = 5.85 ft (TELE cuts down: 5),
        // offset 0.1 x 1.8 = 0.18 ft (0.2).
        QTest::newRow("feet") << Unit::Feet << 23 << QStringList{"3", "3", "2", "5", "5", "0.2", ""}
                              << QStringList{"25", "20", "15", "41", "", "1.5", ""};
        // 76.2 to 762 cm in steps of 25 cm; distances in whole tens. The
        // first row is 77 cm = 30.31 in: width 61.6 cm, height 46.2 cm (62,
        // 47), distances 119.7 cm at WIDE (120) and 149.4 cm at TELE (140).
        QTest::newRow("centimeters")
            << Unit::Centimeters << 29 << QStringList{"77", "62", "47", "120", "140", "5", ""}
            << QStringList{"762", "610", "458", "1230", "", "46", ""};
    }
    void chartRows() {
        QFETCH(Unit, unit);
        QFETCH(int, rows);
        QFETCH(QStringList, first);
        QFETCH(QStringList, last);
        const ModelRecord m = testModel(u"Chart"_s, 0.62, 1.1, 0.5, 0.9, 1);
        screen(m, Aspect::Ratio4x3, 100);
        VERIFY_OK(calc_->select(unit));
        const ThrowChart chart = throwChart(m, calc_->state());
        QCOMPARE(int(chart.rows.size()), rows);
        QCOMPARE(chartCells(chart, chart.rows.front()), first);
        QCOMPARE(chartCells(chart, chart.rows.back()), last);
        for (std::size_t i = 1; i < chart.rows.size(); ++i)
            QVERIFY2(chart.rows[i].diagonal > chart.rows[i - 1].diagonal,
                     qPrintable(chartCells(chart, chart.rows[i]).join(u',')));
    }

    // The limits' rows name sizes the calculator takes when typed (whole
    // numbers): the smallest rounded up, the largest down, even at TELE,
    // where the fields round down.
    void chartLimitsRoundInward_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("last");
        // 40 inches is 3.33 feet, 251 inches 20.92 feet.
        QTest::newRow("feet") << Unit::Feet << 4.0 << 20.0;
        // 40 inches is 101.6 cm, 251 inches 637.54 cm.
        QTest::newRow("centimeters") << Unit::Centimeters << 102.0 << 637.0;
        QTest::newRow("inches") << Unit::Inches << 40.0 << 251.0;
    }
    void chartLimitsRoundInward() {
        QFETCH(Unit, unit);
        QFETCH(double, first);
        QFETCH(double, last);
        ModelRecord m = testModel(u"Inward"_s, 0.62, 1.1, 0.5, 0.9, 1);
        m.diagonals.fourThree[Zoom::Wide].min = m.diagonals.fourThree[Zoom::Tele].min = 40;
        m.diagonals.fourThree[Zoom::Wide].max = m.diagonals.fourThree[Zoom::Tele].max = 251;
        screen(m, Aspect::Ratio4x3, 100, Zoom::Tele);
        VERIFY_OK(calc_->select(unit));
        const ThrowChart chart = throwChart(m, calc_->state());
        QCOMPARE(chart.rows.front().diagonal, first);
        QCOMPARE(chart.rows.back().diagonal, last);
        // Both are taken when typed, and the row's numbers are what the
        // fields then show.
        for (const ChartRow *row : {&chart.rows.front(), &chart.rows.back()}) {
            VERIFY_TAKEN(calc_->enter(Field::Diagonal, QString::number(row->diagonal)));
            QCOMPARE(chartCells(chart, *row)[2], calc_->controls().text(Field::Height));
            QCOMPARE(chartCells(chart, *row)[4], calc_->controls().text(Field::Distance));
        }
    }

    // The steps between the limits are shown as they are: at TELE, where the
    // fields round down, 775 cm stays 775 (in inches and back it is a hair
    // less).
    void chartStepsAreShownExactly() {
        ModelRecord m = testModel(u"Large"_s, 0.62, 1.1, 0.5, 0.9, 1);
        m.diagonals.fourThree[Zoom::Wide].max = m.diagonals.fourThree[Zoom::Tele].max = 400;
        screen(m, Aspect::Ratio4x3, 100, Zoom::Tele);
        VERIFY_OK(calc_->select(Unit::Centimeters));
        const ThrowChart chart = throwChart(m, calc_->state());
        QCOMPARE(chart.rows.size(), std::size_t(39)); // 76.2, 100, 125 ... 1000, 1016
        for (std::size_t i = 1; i + 1 < chart.rows.size(); ++i)
            QCOMPARE(chart.rows[i].diagonal, 75.0 + 25.0 * double(i));
        QCOMPARE(chart.rows.back().diagonal, 1016.0);
    }

    // However wide the range, at most 200 rows, the limits first and last.
    void chartOfAWideRange() {
        ModelRecord m = testModel(u"Wide range"_s, 0.62, 1.1, 0.5, 0.9, 1);
        m.diagonals.fourThree[Zoom::Wide].min = 1;
        m.diagonals.fourThree[Zoom::Wide].max = 1e6;
        const ThrowChart chart = throwChart(m, screen(m, Aspect::Ratio4x3, 100));
        // 999 999 inches in steps of 10 would be 100 000 rows; in 198 rows
        // between the limits the step is 506 tens: 5060, 10120, ... 996820.
        QCOMPARE(chart.rows.size(), std::size_t(199));
        QCOMPARE(chart.rows.front().diagonal, 1.0);
        QCOMPARE(chart.rows[1].diagonal, 5060.0);
        QCOMPARE(chart.rows[2].diagonal, 10120.0);
        QCOMPARE(chart.rows[197].diagonal, 996820.0);
        QCOMPARE(chart.rows.back().diagonal, 1e6);
    }

    // CSV as a spreadsheet reads it: a header, CR LF, "." decimals, empty for unknown.
    void chartAsCsv() {
        const ModelRecord m = testModel(u"Chart"_s, 0.62, 1.1, 0.5, 0.9, 1);
        const ThrowChart chart = throwChart(m, screen(m, Aspect::Ratio4x3, 100));
        const QStringList lines = chartTable(chart, u',', kChartColumns).split(u"\r\n"_s);
        QCOMPARE(lines.first(),
                 u"diagonal,width,height,distanceWide,distanceTele,offset1,offset2"_s);
        QCOMPARE(lines[1], u"30,24,18,47,58,1.8,"_s);
        QCOMPARE(lines.size(), 28 + 2);
        QVERIFY(lines.last().isEmpty());
        // A header with a comma or a quotation mark is quoted.
        QVERIFY(chartTable(chart, u',', {u"a,b"_s, u"say \"x\""_s})
                    .startsWith(u"\"a,b\",\"say \"\"x\"\"\"\r\n"_s));
    }
};

QTEST_GUILESS_MAIN(TestPlanner)
#include "tst_planner.moc"
