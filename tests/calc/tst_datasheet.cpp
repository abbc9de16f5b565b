// What the sheet terms' tests (tst_projectorsheet) do not reach: formulas
// in mixed units, the throw ratio of a lens line read back, and what gives
// no lens. The sheets are worked out by hand in the comments.
#include "calc/datasheet.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>

using namespace vistrel;

namespace {

bool near(double value, double expected, double tolerance) {
    return std::abs(value - expected) <= tolerance;
}

constexpr double k169 = 16.0 / 9, k43 = 4.0 / 3;
constexpr double kInchesPerMetre = 100 / 2.54;

} // namespace

class TestDataSheet : public QObject {
    Q_OBJECT

private slots:
    // L = 1.3956 D - 0.0241 in metres, D the 4 : 3 diagonal, written with D in
    // inches: L(m) = (1.3956 / 39.3701) D(in) - 0.0241, in inches L = 1.3956 D
    // - 0.948819: slope 1 / 1.3956 = 0.716538, intercept 0.948819 / 1.3956 =
    // 0.679865. The units' factors the wrong way round would give another line.
    void formulasInMixedUnits() {
        const Result<ModelRecord::Coefficients> line = lensFromFormula(
            {1.3956 / kInchesPerMetre, -0.0241, {4, 3}, SheetUnit::Inch, SheetUnit::Metre}, k43);
        VERIFY_OK(line);
        QVERIFY2(near(line->a, 0.716538, 5e-7), qPrintable(QString::number(line->a, 'f', 7)));
        QVERIFY2(near(line->b, 0.679865, 5e-7), qPrintable(QString::number(line->b, 'f', 7)));
        // In feet both ways: 1.3956 x D(ft) - 0.0791 ft is 1.3956 D - 0.9492 in.
        const Result<ModelRecord::Coefficients> feet = lensFromFormula(
            {1.3956, -0.0791, {4, 3}, SheetUnit::Foot, SheetUnit::Foot}, k43);
        VERIFY_OK(feet);
        QVERIFY(near(feet->a, 0.716538, 5e-7) && near(feet->b, 0.9492 / 1.3956, 5e-7));
    }

    // A 16 : 9 panel's line of slope 0.689338 is a throw ratio of 1 / (0.689338
    // x 1.066667) = 1.36 at any size; with an intercept of 2 in, a 100-inch
    // 4 : 3 picture lies (100 - 2) / 0.689338 = 142.166 in away, over a panel
    // 106.667 in wide: 1.3328.
    void throwRatiosReadBack() {
        const Result<double> plain = throwRatioOf({0.689338, 0}, k169, 80);
        QVERIFY(plain && near(*plain, 1.36, 1e-6));
        const Result<double> intercept = throwRatioOf({0.689338, 2}, k169, 100);
        QVERIFY(intercept && near(*intercept, 1.3328, 1e-4));
    }

    void whatGivesNoLensIsRefused() {
        QVERIFY(!lensFromThrowRatio(0, k169));
        QVERIFY(!lensFromThrowRatio(-1.2, k169));
        QVERIFY(!lensFromThrowRatio(std::nan(""), k169));
        QVERIFY(!lensFromFormula({0, 1, {16, 9}}, k169));
        QVERIFY(!formulaOf({0, 5}));
        QVERIFY(!throwRatioOf({0, 5}, k169, 100));
    }
};

QTEST_GUILESS_MAIN(TestDataSheet)
#include "tst_datasheet.moc"
