// Data-sheet terms turned into the catalogue's lens line and back, against
// sheets worked out by hand in the comments.
#include "calc/datasheet.h"
#include "calc/lens.h"
#include "files/modelloader.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

bool near(double value, double expected, double tolerance) {
    return std::abs(value - expected) <= tolerance;
}

constexpr double k169 = 16.0 / 9, k43 = 4.0 / 3, k1610 = 1.6;
constexpr double kInchesPerMetre = 100 / 2.54;

} // namespace

class TestDataSheet : public QObject {
    Q_OBJECT

private slots:
    void throwRatios_data() {
        QTest::addColumn<double>("panel");
        QTest::addColumn<double>("throwRatio");
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("distanceAt100"); // of a 100-inch picture of the panel's shape
        // A 16 : 9 panel W wide is 9/16 W high, its 4 : 3 picture as high and
        // 0.75 W wide, D43 = 1.25 x 0.75 W = 0.9375 W: slope 1 / (T x 16/9 x
        // 0.6) = 1 / (1.36 x 1.066667) = 0.689338. A 100-inch 16 : 9 picture
        // is 87.16 in wide: 1.36 x 87.16 = 118.5 in, 2.18 x 87.16 = 190.0 in.
        QTest::newRow("16:9, 1.36") << k169 << 1.36 << 0.689338 << 118.5;
        QTest::newRow("16:9, 2.18") << k169 << 2.18 << 0.430046 << 190.0;
        // 4 : 3: the panel is the 4 : 3 picture, 0.8 D43 wide: 1 / (1.5 x
        // 0.8) = 0.833333; a 100-inch one is 80 in wide, 1.5 x 80 = 120 in.
        QTest::newRow("4:3, 1.5") << k43 << 1.5 << 0.833333 << 120.0;
        QTest::newRow("4:3, 1.8") << k43 << 1.8 << 0.694444 << 144.0;
        // 16 : 10: 1.6 x 0.6 = 0.96 wide: 1 / (1.2 x 0.96) = 0.868056; a
        // 100-inch 16 : 10 picture is 84.80 wide, 1.2 x 84.80 = 101.8 in.
        QTest::newRow("16:10, 1.2") << k1610 << 1.2 << 0.868056 << 101.8;
        QTest::newRow("16:10, 1.9") << k1610 << 1.9 << 0.548246 << 161.1;
    }
    void throwRatios() {
        QFETCH(double, panel);
        QFETCH(double, throwRatio);
        QFETCH(double, slope);
        QFETCH(double, distanceAt100);
        const Result<ModelRecord::Coefficients> line = lensFromThrowRatio(throwRatio, panel);
        VERIFY_OK(line);
        QVERIFY2(near(line->a, slope, 5e-7), qPrintable(QString::number(line->a, 'f', 7)));
        QCOMPARE(line->b, 0.0);
        // Through the panel rule (mode 3 with pixels of that shape).
        ModelRecord m;
        m.lens[Zoom::Wide] = *line;
        m.wideScreenMode = kPanelScreenMode;
        m.panelWidthPx = panel * 1000;
        m.panelHeightPx = 1000;
        const Lens lens{m, kPanelScreenMode};
        const Result<double> distance =
            lens.distanceFromDiagonal(100, Zoom::Wide, {1000, panel * 1000});
        QVERIFY(distance && near(*distance, distanceAt100, 0.05));
        const Result<double> back = throwRatioOf(*line, panel, 80);
        QVERIFY(back && near(*back, throwRatio, 1e-12));
    }

    void formulas_data() {
        QTest::addColumn<LensFormula>("formula");
        QTest::addColumn<double>("panel");
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("intercept");
        // distance = 1.187 x D(16 : 9) - 0.35 in on a 16 : 9 panel: D = 1.2238373
        // D43, so distance = 1.452695 D43 - 0.35: slope 1 / 1.452695 =
        // 0.688376, intercept 0.35 / 1.452695 = 0.240932.
        QTest::newRow("16:9 inches")
            << LensFormula{1.187, -0.35, {16, 9}, SheetUnit::Inch, SheetUnit::Inch} << k169
            << 0.688376 << 0.240932;
        // L = 1.3956 D - 0.0241 in metres, D the 4 : 3 diagonal: in inches
        // L = 1.3956 D - 0.0241 x 39.3701 = 1.3956 D - 0.948819: slope 1 /
        // 1.3956 = 0.716538, intercept 0.948819 / 1.3956 = 0.679865.
        QTest::newRow("4:3 metres")
            << LensFormula{1.3956, -0.0241, {4, 3}, SheetUnit::Metre, SheetUnit::Metre} << k43
            << 0.716538 << 0.679865;
        // The same with the diagonal in inches and the distance in metres:
        // L(in) = 39.3701 x (1.3956 / 39.3701 x D(in)) - 0.948819, the same line.
        QTest::newRow("4:3 inches to metres") << LensFormula{1.3956 / kInchesPerMetre,
                                                             -0.0241,
                                                             {4, 3},
                                                             SheetUnit::Inch,
                                                             SheetUnit::Metre}
                                              << k43 << 0.716538 << 0.679865;
    }
    void formulas() {
        QFETCH(LensFormula, formula);
        QFETCH(double, panel);
        QFETCH(double, slope);
        QFETCH(double, intercept);
        const Result<ModelRecord::Coefficients> line = lensFromFormula(formula, panel);
        VERIFY_OK(line);
        QVERIFY2(near(line->a, slope, 5e-7), qPrintable(QString::number(line->a, 'f', 7)));
        QVERIFY2(near(line->b, intercept, 5e-7), qPrintable(QString::number(line->b, 'f', 7)));
    }

    // The sheet's own 16 : 9 formulas for that 4 : 3 projector (1.5205 D -
    // 0.0241, 1.8245 D - 0.0242) give what its 4 : 3 ones give through the
    // panel: a 100-inch 16 : 9 picture at 3.838 m at WIDE and 4.610 m at TELE.
    void aSheetsFormulasAgreeThroughThePanel() {
        ModelRecord m;
        m.wideScreenMode = 2; // 16 : 9 letterboxed on the 4 : 3 panel
        const Result<ModelRecord::Coefficients> wide =
            lensFromFormula({1.3956, -0.0241, {4, 3}, SheetUnit::Metre, SheetUnit::Metre}, k43);
        const Result<ModelRecord::Coefficients> tele =
            lensFromFormula({1.6746, -0.0242, {4, 3}, SheetUnit::Metre, SheetUnit::Metre}, k43);
        VERIFY_OK(wide);
        VERIFY_OK(tele);
        m.lens[Zoom::Wide] = *wide;
        m.lens[Zoom::Tele] = *tele;
        const Lens lens{m, 2};
        const double metres169Wide = 1.5205 * 100 / kInchesPerMetre - 0.0241;
        const double metres169Tele = 1.8245 * 100 / kInchesPerMetre - 0.0242;
        for (const auto &[zoom, expected] :
             {std::pair{Zoom::Wide, metres169Wide}, std::pair{Zoom::Tele, metres169Tele}}) {
            const Result<double> inches =
                lens.distanceFromDiagonal(100, zoom, pairOf(Aspect::Ratio16x9));
            QVERIFY(inches);
            QVERIFY2(near(*inches / kInchesPerMetre, expected, 0.001),
                     qPrintable(QString::number(*inches / kInchesPerMetre)));
        }
        QVERIFY(near(metres169Wide, 3.838, 0.0005) && near(metres169Tele, 4.610, 0.0005));
    }

    // A 16 : 9 range of 40 to 300 in on a 16 : 9 panel: 40 / 1.2238373 =
    // 32.7 and 300 / 1.2238373 = 245.1 in of 4 : 3.
    void screenSizesBecomeFourThreeLimits() {
        QVERIFY(near(diagonal43Of(40, {16, 9}, k169), 32.68, 0.005));
        QVERIFY(near(diagonal43Of(300, {16, 9}, k169), 245.13, 0.005));
        QCOMPARE(diagonal43Of(120, {4, 3}, k43), 120.0);
    }

    // Offset 110 %: the far edge 1.1 heights from the axis, the near edge 0.1.
    void offsetPercents() {
        QCOMPARE(offsetCoefficientFromPercent(110), 0.1);
        QCOMPARE(offsetCoefficientFromPercent(100), 0.0);
        QVERIFY(near(offsetPercentOf(-0.25), 75, 1e-12));
    }

    // Every demo model, shown as a formula and read back, is its own line.
    void demoModelsComeBack() {
        const Result<Catalogue> catalogue =
            loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        VERIFY_OK(catalogue);
        for (const ModelRecord &m : catalogue->models)
            for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
                if (!m.hasEnd(zoom))
                    continue;
                const Result<LensFormula> formula = formulaOf(m.lens[zoom]);
                VERIFY_OK(formula);
                const Result<ModelRecord::Coefficients> back = lensFromFormula(*formula, k43);
                VERIFY_OK(back);
                QVERIFY2(near(back->a, m.lens[zoom].a, 1e-9) && near(back->b, m.lens[zoom].b, 1e-9),
                         qPrintable(m.name));
            }
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

Q_DECLARE_METATYPE(vistrel::LensFormula)

QTEST_GUILESS_MAIN(TestDataSheet)
#include "tst_datasheet.moc"
