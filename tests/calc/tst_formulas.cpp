#include "calc/display.h"
#include "calc/lens.h"
#include "core/helpers.h"
#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

#include <cmath>

using namespace vistrel;

class TestFormulas : public QObject {
    Q_OBJECT

private slots:
    void distanceToScreen_data();
    void distanceToScreen();
    void inverseLensLineRoundTrips_data();
    void inverseLensLineRoundTrips();
    void wideScreenMode2AddsAnEighthToOffsets();
    void displayRounding_data();
    void displayRounding();
    void resultTextsPerUnit_data();
    void resultTextsPerUnit();
    void rangeMessages_data();
    void rangeMessages();
};

void TestFormulas::distanceToScreen_data() {
    QTest::addColumn<int>("wideScreenMode");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<double>("diagonal");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    QTest::newRow("4:3") << 1 << 0 << 52.0 << 31.2 << 41.6;
    QTest::newRow("5:4") << 1 << 1 << 49.944369 << 31.2 << 39.0;
    QTest::newRow("16:9 mode 1") << 1 << 2 << 63.639524 << 31.199992 << 55.466652;
    QTest::newRow("16:9 mode 2") << 2 << 2 << 47.729656 << 23.400000 << 41.600001;
}

// Distance 100 on the lens line 0.5 x + 2 (a 4 : 3 diagonal of 52).
void TestFormulas::distanceToScreen() {
    QFETCH(int, wideScreenMode);
    QFETCH(int, aspect);
    QFETCH(double, diagonal);
    QFETCH(double, height);
    QFETCH(double, width);

    RecordingObserver observer;
    Calculator calc(observer);
    calc.setMessages(testMessages());
    QVERIFY(!calc.startUp({testModel(QStringLiteral("M"), 0.5, 2, 0.4, 1, wideScreenMode)}));
    calc.selectAspect(aspect);
    const Result<bool> accepted = calc.calcScreenSize(0, 100);
    QVERIFY(accepted.ok() && *accepted);
    const CalcState &s = calc.state();
    QCOMPARE(s.projectionDistance, 100.0);
    QVERIFY(std::abs(s.screenDiagonal - diagonal) < 1e-6);
    QVERIFY(std::abs(s.screenHeight - height) < 1e-6);
    QVERIFY(std::abs(s.screenWidth - width) < 1e-6);
    // Stored results always describe one rectangle of the chosen shape.
    QVERIFY(std::abs(s.screenWidth / s.screenHeight - s.aspectRatio) < 1e-12);
    QVERIFY(std::abs(std::hypot(s.screenWidth, s.screenHeight) - s.screenDiagonal) < 1e-9);
}

void TestFormulas::inverseLensLineRoundTrips_data() {
    QTest::addColumn<int>("wideScreenMode");
    QTest::addColumn<double>("aspectHeight");
    QTest::addColumn<double>("aspectWidth");
    QTest::newRow("5:4") << 1 << 4.0 << 5.0;
    QTest::newRow("16:9 mode 1") << 1 << 9.0 << 16.0;
    QTest::newRow("16:9 mode 2") << 2 << 9.0 << 16.0;
}

void TestFormulas::inverseLensLineRoundTrips() {
    QFETCH(int, wideScreenMode);
    QFETCH(double, aspectHeight);
    QFETCH(double, aspectWidth);
    const ModelRecord model = testModel(QStringLiteral("M"), 0.62, 1.1, 0.5, 0.9, wideScreenMode);
    const Lens lens{model, wideScreenMode};
    for (const double d : {10.0, 123.4, 987.0}) {
        for (const int zoom : {Wide, Tele}) {
            const double diagonal = lens.diagonalFromDistance(d, zoom, {aspectHeight, aspectWidth});
            const Result<double> back =
                lens.distanceFromDiagonal(diagonal, zoom, {aspectHeight, aspectWidth});
            QVERIFY(back.ok());
            QVERIFY(std::abs(*back - d) < 1e-9 * d);
        }
    }
}

void TestFormulas::wideScreenMode2AddsAnEighthToOffsets() {
    const ModelRecord model = testModel(QStringLiteral("M"), 0.5, 2, 0.4, 1, 2);
    const Lens mode2{model, 2};
    const Lens mode1{model, 1};
    QCOMPARE(mode2.offsetFromHeight(40, 0.1, {9, 16}), 40 / 8.0 + 4);
    QCOMPARE(mode1.offsetFromHeight(40, 0.1, {9, 16}), 4.0);
    QCOMPARE(mode2.offsetFromHeight(40, 0.1, {3, 4}), 4.0);
    const ModelRecord flat = testModel(QStringLiteral("Flat"), 0, 5, 0.4, 1);
    const Result<double> noSlope = Lens{flat, 1}.distanceFromDiagonal(100, Wide, {3, 4});
    QVERIFY(!noSlope.ok());
    QCOMPARE(noSlope.error().code(), 11);
}

void TestFormulas::displayRounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("wide");
    QTest::addColumn<double>("tele");
    QTest::newRow("71.93") << 71.93 << 1 << 72.0 << 71.0;
    QTest::newRow("72.05") << 72.05 << 1 << 72.0 << 72.0;
    QTest::newRow("12.15") << 12.15 << 1 << 13.0 << 12.0;
    QTest::newRow("253.2 cm") << 253.2 << 0 << 260.0 << 250.0;
    QTest::newRow("250.5 cm") << 250.5 << 0 << 250.0 << 250.0;
    QTest::newRow("100 in as feet") << 100 * kInchesToFeet << 1 << 9.0 << 8.0;
    QTest::newRow("tenths") << 12.34 << 2 << 12.4 << 12.3;
    QTest::newRow("zero") << 0.0 << 1 << 0.0 << 0.0;
}

void TestFormulas::displayRounding() {
    QFETCH(double, value);
    QFETCH(int, step);
    QFETCH(double, wide);
    QFETCH(double, tele);
    QCOMPARE(roundForDisplay(value, step, Wide), wide);
    QCOMPARE(roundForDisplay(value, step, Tele), tele);
}

void TestFormulas::resultTextsPerUnit_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("texts"); // distance, diagonal, width, height, offset 1, offset 2
    QTest::newRow("inches") << 0 << QStringList{"256", "100", "80", "60", "6,0", "0,0"};
    QTest::newRow("feet") << 1 << QStringList{"22", "9", "7", "5", "0,5", "0,0"};
    QTest::newRow("centimeters") << 2 << QStringList{"650", "254", "204", "153", "16", "0"};
}

// One stored calculation shown in each unit, with a "," decimal separator.
void TestFormulas::resultTextsPerUnit() {
    QFETCH(int, unit);
    QFETCH(QStringList, texts);
    ModelRecord model = testModel(QStringLiteral("M"), 0.5, 2, 0.4, 1);
    model.wideOffsetCoefA = -0.1; // shown without its sign
    CalcState s;
    s.unitCode = unit;
    s.zoomEnd = Wide;
    s.aspectHeight = 3;
    s.aspectWidth = 4;
    s.screenDiagonal = 100;
    s.screenWidth = 80;
    s.screenHeight = 60;
    s.projectionDistance = 255.3;
    const ResultTexts shown = resultTexts(s, model, u',');
    QCOMPARE(QStringList(shown.values.begin(), shown.values.end()), texts.mid(0, 4));
    QCOMPARE(QStringList(shown.offsets.begin(), shown.offsets.end()), texts.mid(4, 2));
}

void TestFormulas::rangeMessages_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("inches keep %2") << 0 << 300.0 << "300 in %2";
    QTest::newRow("feet") << 1 << 300.0 << "25 / 300";
    QTest::newRow("centimeters") << 2 << 300.0 << "762 / 300";
    QTest::newRow("fifteen digits") << 1 << 80.0 << "6.66666666666667 / 80";
}

void TestFormulas::rangeMessages() {
    QFETCH(int, unit);
    QFETCH(double, limit);
    QFETCH(QString, expected);
    const QString text = unit == 0 ? QStringLiteral("%1 in %2") : QStringLiteral("%1 / %2");
    QCOMPARE(rangeMessage(text, unit, limit, u'.'), expected);
}

QTEST_GUILESS_MAIN(TestFormulas)
#include "tst_formulas.moc"
