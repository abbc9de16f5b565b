// Pictures of any format on a model's panel: the worked examples, worked out
// by hand in the comments, and the rules the old aspects must still follow.
#include "calc/calculator.h"
#include "calc/planner.h"
#include "recordingobserver.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

bool near(double value, double expected, double tolerance) {
    return std::abs(value - expected) <= tolerance;
}

// Throw ratio 1.50 (distance / width of the whole 16 : 9 panel) at both ends:
// a 16 : 9 panel W wide is 9/16 W high, so its 4 : 3 picture (as high) is
// 4/3 x 9/16 W = 0.75 W wide, diagonal 1.25 x 0.75 W = 0.9375 W; with
// W = distance / 1.5 the lens line is D43 = 0.9375 / 1.5 x distance.
ModelRecord throwRatio150(int wideScreenMode, double widthPx = 0, double heightPx = 0) {
    ModelRecord m = testModel(u"Ratio 1.5"_s, 0.9375 / 1.5, 0, 0.9375 / 1.5, 0, wideScreenMode);
    m.lumens = 2000;
    m.teleLumenFactor = 1;
    m.panelWidthPx = widthPx;
    m.panelHeightPx = heightPx;
    m.diagonals.fourThree[Zoom::Wide].max = 400;
    m.diagonals.sixteenNine[Zoom::Wide].max = 400;
    return m;
}

// A 16 : 10 (WUXGA) panel written as mode 1, 4000 lumens.
ModelRecord wuxga() {
    ModelRecord m = throwRatio150(1, 1920, 1200);
    m.lumens = 4000;
    return m;
}

struct Screen {
    PictureFormat format;
    double anamorphic;
    double diagonal;
};

} // namespace

Q_DECLARE_METATYPE(Screen)

class TestPictureOnPanel : public QObject {
    Q_OBJECT

    RecordingObserver observer_;
    std::optional<Calculator> calc_;

    const CalcState &show(const ModelRecord &model, const Screen &screen) {
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        [&] { QVERIFY(calc_->startUp({model})); }();
        [&] { VERIFY_OK(calc_->select(screen.format)); }();
        [&] { VERIFY_OK(calc_->selectAnamorphic(screen.anamorphic)); }();
        [&] { QVERIFY(*calc_->calculate(CalcMode::Diagonal, screen.diagonal)); }();
        return calc_->state();
    }

private slots:
    void workedExamples_data() {
        QTest::addColumn<ModelRecord>("model");
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("litSquareFeet");
        QTest::addColumn<double>("footLamberts");
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("share"); // of the lit area
        // The lens's own: distance / the panel's width before an anamorphic
        // lens, 1.5 wherever the panel is the 16 : 9 the lens line was made for.
        QTest::addColumn<double>("lensRatio");
        // 2.39 : 1, 120 in: height 120 / sqrt(1 + 2.39^2) = 120 / 2.5908 =
        // 46.32, width 2.39 x 46.32 = 110.70. Flatter than the 16 : 9 panel,
        // it takes the panel's width: panel 110.70 x (9/16 x 110.70 = 62.27),
        // 110.70 x 62.27 / 144 = 47.87 ft^2, 2000 / 47.87 = 41.78 fL; the
        // distance is 1.5 x 110.70 = 166.05.
        QTest::newRow("2.39 on 16:9") << throwRatio150(1) << Screen{{2.39, 1}, 1, 120} << 110.70
                                      << 46.32 << 47.87 << 41.78 << 166.05 << 46.32 / 62.27 << 1.5;
        // With a 1.33 anamorphic lens the panel's image is 16/9 x 1.33 =
        // 2.364 : 1, still narrower than 2.39, so the picture takes its
        // width: 110.70 lit, 110.70 / 1.33 = 83.23 before the lens, 9/16 x
        // 83.23 = 46.82 high; 110.70 x 46.82 / 144 = 35.99 ft^2, 2000 / 35.99
        // = 55.57 fL; the lens throws the 83.23 panel: 1.5 x 83.23 = 124.85.
        QTest::newRow("2.39 on 16:9, anamorphic 1.33")
            << throwRatio150(1) << Screen{{2.39, 1}, 1.33, 120} << 110.70 << 46.32 << 35.99 << 55.57
            << 124.85 << 46.32 / 46.82 << 1.5;
        // 16 : 9, 100 in: 100 x 16 / sqrt(337) = 87.16 by 49.03. The 16 : 10
        // panel is narrower, so the picture takes its width: 87.16 x (87.16 /
        // 1.6 = 54.47) / 144 = 32.97 ft^2, 4000 / 32.97 = 121.3 fL. The
        // distance stays the catalogue's mode-1 one: 100 / 1.223837 = 81.71
        // for D43, / 0.625 = 130.74.
        QTest::newRow("16:9 on a 16:10 panel")
            << wuxga() << Screen{{16, 9}, 1, 100} << 87.16 << 49.03 << 32.97 << 121.3 << 130.74
            << 49.03 / 54.47 << 1.5;
        // 16 : 10, 100 in: 100 / sqrt(1 + 1.6^2) = 53.00 high, 84.80 wide,
        // the whole panel: 84.80 x 53.00 / 144 = 31.21 ft^2, 4000 / 31.21 =
        // 128.2 fL. The panel is 0.6 D43 high: D43 = 53.00 / 0.6 = 88.33,
        // distance 88.33 / 0.625 = 141.33.
        QTest::newRow("16:10 on a 16:10 panel")
            << wuxga() << Screen{{16, 10}, 1, 100} << 84.80 << 53.00 << 31.21 << 128.2 << 141.33
            << 1.0
            // D43 = 0.625 d: the panel is 0.375 d high, 1.6 x that = 0.6 d wide.
            << 1 / 0.6;
        // 16 : 9 behind a 1.33 lens: the same 87.16 x 49.03 picture (1.5 x
        // 87.16 = 130.74 away), now pillarboxed in a lit area 1.33 x 87.16 =
        // 115.92 wide: 115.92 x 49.03 / 144 = 39.47 ft^2, 2000 / 39.47 = 50.67
        // fL, the picture 1 / 1.33 of it.
        QTest::newRow("16:9 behind an anamorphic 1.33")
            << throwRatio150(1) << Screen{{16, 9}, 1.33, 100} << 87.16 << 49.03 << 39.47 << 50.67
            << 130.74 << 1 / 1.33 << 1.5;
    }
    void workedExamples() {
        QFETCH(ModelRecord, model);
        QFETCH(Screen, screen);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, litSquareFeet);
        QFETCH(double, footLamberts);
        QFETCH(double, distance);
        QFETCH(double, share);
        QFETCH(double, lensRatio);
        const CalcState &s = show(model, screen);
        QVERIFY2(near(s.screenWidth, width, 0.01), qPrintable(QString::number(s.screenWidth)));
        QVERIFY2(near(s.screenHeight, height, 0.01), qPrintable(QString::number(s.screenHeight)));
        QVERIFY2(near(s.projectionDistance, distance, 0.01),
                 qPrintable(QString::number(s.projectionDistance)));
        const Plan plan = planOf(model, s, {});
        QVERIFY(plan.litAreaSquareFeet && near(*plan.litAreaSquareFeet, litSquareFeet, 0.01));
        QVERIFY(plan.footLamberts && near(*plan.footLamberts, footLamberts, 0.05));
        QVERIFY(plan.panel.pictureShare && near(*plan.panel.pictureShare, share, 0.001));
        QVERIFY(plan.lensRatioWide && near(*plan.lensRatioWide, lensRatio, 0.001));
    }

    void theCatalogueRulesStayForTheThreeAspects_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<Aspect>("aspect");
        QTest::addColumn<double>("diagonal");
        // The lens line at distance 100: D43 = 0.5 x 100 + 2 = 52.
        QTest::newRow("4:3") << 1 << Aspect::Ratio4x3 << 52.0;
        QTest::newRow("16:9 mode 1") << 1 << Aspect::Ratio16x9 << 52 * 1.223837;
        QTest::newRow("16:9 mode 2") << 2 << Aspect::Ratio16x9 << 52 * 0.917878;
    }
    // Pixels of another shape change the planner only, never the fields.
    void theCatalogueRulesStayForTheThreeAspects() {
        QFETCH(int, mode);
        QFETCH(Aspect, aspect);
        QFETCH(double, diagonal);
        ModelRecord m = testModel(u"M"_s, 0.5, 2, 0.5, 2, mode);
        m.panelWidthPx = 1920;
        m.panelHeightPx = 1200;
        const Lens lens{m, mode};
        QCOMPARE(lens.diagonalFromDistance(100, Zoom::Wide, pairOf(aspect)), diagonal);
        QVERIFY(!lens.onPanel(pairOf(aspect)));
        QCOMPARE(lens.limits(Zoom::Wide, pairOf(aspect)),
                 m.diagonals.at(info(aspect).group, Zoom::Wide));
    }

    void panelRuleAgreesWithTheCatalogueRules_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("widthPx");
        QTest::addColumn<double>("heightPx");
        // Mode 2 is a 16 : 9 letterbox on a 4 : 3 panel, mode 1 a 16 : 9
        // panel; mode 3 with those pixels must place 16 : 9 the same way.
        QTest::newRow("4:3 panel") << 2 << 1024.0 << 768.0;
        QTest::newRow("16:9 panel") << 1 << 1920.0 << 1080.0;
    }
    void panelRuleAgreesWithTheCatalogueRules() {
        QFETCH(int, mode);
        QFETCH(double, widthPx);
        QFETCH(double, heightPx);
        ModelRecord byRule = testModel(u"M"_s, 0.5, 2, 0.5, 2, mode);
        byRule.offsetCoefs[Zoom::Wide] = {0.1, -0.3};
        ModelRecord byPanel = byRule;
        byPanel.wideScreenMode = kPanelScreenMode;
        byPanel.panelWidthPx = widthPx;
        byPanel.panelHeightPx = heightPx;
        const Lens rule{byRule, mode};
        const Lens panel{byPanel, kPanelScreenMode};
        const AspectPair wide = pairOf(Aspect::Ratio16x9);
        QVERIFY(panel.onPanel(wide));
        // The catalogue's factors are six-decimal roundings.
        const double d = rule.diagonalFromDistance(100, Zoom::Wide, wide);
        QVERIFY(near(panel.diagonalFromDistance(100, Zoom::Wide, wide), d, 1e-6 * d));
        // Mode 2's offsets add an eighth of the height; the panel rule adds
        // the band's share: (1 - 0.45 / 0.6) / 2 = 1/8 on a 4 : 3 panel,
        // nothing on a 16 : 9 one.
        for (const double coefficient : {0.1, -0.3})
            QVERIFY(near(panel.offsetFromHeight(40, coefficient, wide),
                         rule.offsetFromHeight(40, coefficient, wide), 1e-12));
    }

    void limitsFollowThePanel_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<PictureFormat>("format");
        QTest::addColumn<double>("largest");
        // 16 : 9 panel, 16 : 9 limit 280: 280 x 16 / sqrt(337) = 244.04 wide,
        // the 2.39 picture as wide: 244.04 / 2.39 = 102.11 high, diagonal
        // sqrt(244.04^2 + 102.11^2) = 264.54.
        QTest::newRow("2.39 on 16:9") << 1 << PictureFormat{2.39, 1} << 264.54;
        // 4 : 3 panel, 4 : 3 limit 300: 240 x 180; 16 : 10 takes the width,
        // 240 / 1.6 = 150 high, diagonal sqrt(240^2 + 150^2) = 283.02.
        QTest::newRow("16:10 on 4:3") << 2 << PictureFormat{16, 10} << 283.02;
    }
    void limitsFollowThePanel() {
        QFETCH(int, mode);
        QFETCH(PictureFormat, format);
        QFETCH(double, largest);
        const ModelRecord m = testModel(u"M"_s, 0.5, 2, 0.5, 2, mode);
        const Lens lens{m, mode};
        const DiagonalRange range = lens.limits(Zoom::Wide, {format.height, format.width});
        QVERIFY2(near(range.max, largest, 0.01), qPrintable(QString::number(range.max)));
        QVERIFY(near(range.min / range.max, 30.0 / (mode == 1 ? 280 : 300), 1e-12));
    }

    void formatsAreReadAsWritten_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width"); // 0: refused
        QTest::addColumn<double>("height");
        QTest::newRow("16:10") << u"16:10"_s << 16.0 << 10.0;
        QTest::newRow("17 : 9") << u"17 : 9"_s << 256.0 << 135.0;
        QTest::newRow("2.39") << u"2.39"_s << 2.39 << 1.0;
        QTest::newRow("16 : 9") << u"16 : 9"_s << 16.0 << 9.0;
        QTest::newRow("21:9") << u"21:9"_s << 21.0 << 9.0;
        QTest::newRow("4") << u"4"_s << 4.0 << 1.0;
        QTest::newRow("taller than square") << u"0.9"_s << 0.0 << 0.0;
        QTest::newRow("beyond 4") << u"4.01"_s << 0.0 << 0.0;
        QTest::newRow("no height") << u"16:0"_s << 0.0 << 0.0;
        QTest::newRow("negative pair") << u"-16:-9"_s << 0.0 << 0.0;
        QTest::newRow("text") << u"scope"_s << 0.0 << 0.0;
        QTest::newRow("not a number") << u"nan"_s << 0.0 << 0.0;
    }
    void formatsAreReadAsWritten() {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(double, height);
        const Result<PictureFormat> format = parseFormat(text);
        if (width == 0) {
            QVERIFY(!format);
            return;
        }
        VERIFY_OK(format);
        QCOMPARE(*format, (PictureFormat{width, height}));
    }

    // Refused choices change nothing; "Other" is there where 16 : 9 is.
    void choicesTheModelCannotTakeAreRefused() {
        ModelRecord no169 = throwRatio150(0);
        const CalcState before = show(throwRatio150(1), {{2.39, 1}, 1.25, 120});
        QVERIFY(!calc_->selectAnamorphic(0.99));
        QVERIFY(!calc_->selectAnamorphic(2.01));
        QVERIFY(!calc_->select(PictureFormat{5, 1}));
        QCOMPARE(calc_->state().screenDiagonal, before.screenDiagonal);
        QCOMPARE(calc_->state().anamorphic, 1.25);
        QVERIFY(calc_->controls().otherChosen);

        // Mode 3 places 16 : 9 on the pixels' panel; without them it is mode 0.
        ModelRecord panelless = throwRatio150(kPanelScreenMode);
        ModelRecord wuxgaPanel = throwRatio150(kPanelScreenMode, 1920, 1200);
        QVERIFY(!panelless.offers169() && wuxgaPanel.offers169());
        QVERIFY(Lens(wuxgaPanel, kPanelScreenMode).onPanel(pairOf(Aspect::Ratio16x9)));

        calc_.emplace(observer_);
        QVERIFY(calc_->startUp({no169, throwRatio150(1)}));
        QVERIFY(!calc_->select(PictureFormat{2.39, 1}));
        QVERIFY(!calc_->controls().otherChosen);
        VERIFY_OK(calc_->selectModel(1));
        VERIFY_OK(calc_->select(PictureFormat{2.39, 1}));
        VERIFY_OK(calc_->selectModel(0));
        QCOMPARE(calc_->controls().aspect, std::optional(Aspect::Ratio4x3));
        QVERIFY(!calc_->controls().otherChosen);
    }
};

QTEST_GUILESS_MAIN(TestPictureOnPanel)
#include "tst_pictureonpanel.moc"
