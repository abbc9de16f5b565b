// Projectors from their data sheets: the terms a user types or imports
// turned into catalogue fields, checked against sheets worked out by hand in
// the comments, and every demo model shown in sheet terms and turned back.
#include "calc/lens.h"
#include "calc/sheetterms.h"
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

constexpr double kInchesPerMetre = 100 / 2.54;

SheetRecord fromTerms(const QString &text) {
    const Result<Terms> terms = parseTerms(text);
    if (!terms)
        qFatal("%s", qPrintable(terms.error().description));
    const Result<SheetRecord> record = recordFromTerms(*terms);
    if (!record)
        qFatal("%s", qPrintable(record.error().description));
    return *record;
}

double distance(const ModelRecord &m, Zoom zoom, double diagonal, double w, double h) {
    const Lens lens{m, m.wideScreenMode};
    const Result<double> d = lens.distanceFromDiagonal(diagonal, zoom, {h, w});
    return d ? *d : -1;
}

QStringList termsWarned(const std::vector<ModelWarning> &warnings) {
    QStringList terms;
    for (const ModelWarning &w : warnings)
        terms << w.term;
    return terms;
}

} // namespace

class TestProjectorSheet : public QObject {
    Q_OBJECT

private slots:
    void sheetsBecomeCatalogueFields_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<double>("wideA");
        QTest::addColumn<double>("wideB");
        QTest::addColumn<double>("teleA");
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("formatWidth"); // of the picture the distances are for
        QTest::addColumn<double>("formatHeight");
        QTest::addColumn<double>("wideDistance"); // a 100-inch picture, inches
        QTest::addColumn<double>("teleDistance");
        // 16 : 9 panel, T = 1.36 and 2.18: the panel is 16/9 x 0.6 = 1.066667
        // D43 wide, a = 1 / (T x 1.066667) = 0.689338 and 0.430046. A 100-inch
        // 16 : 9 picture is 87.16 in wide: 1.36 x 87.16 = 118.5, 2.18 x 87.16 = 190.0.
        QTest::newRow("1920x1080, throw 1.36-2.18")
            << u"name=Lumen X1,px=1920x1080,throw=1.36-2.18,diag=40-300"_s << 0.689338 << 0.0
            << 0.430046 << 1 << 16.0 << 9.0 << 118.5 << 190.0;
        // 4 : 3: the panel is 0.8 D43 wide, a = 1 / (1.5 x 0.8) = 0.833333 and
        // 1 / (1.8 x 0.8) = 0.694444; a 100-inch 4 : 3 picture is 80 in wide:
        // 120 in and 144 in.
        QTest::newRow("1024x768, throw 1.5-1.8")
            << u"name=Tarn XGA,px=1024x768,throw=1.5-1.8"_s << 0.833333 << 0.0 << 0.694444 << 3
            << 4.0 << 3.0 << 120.0 << 144.0;
        // 16 : 10: 1.6 x 0.6 = 0.96 D43 wide; a 100-inch 16 : 10 picture is
        // 84.80 in wide: 1.2 x 84.80 = 101.8 in, 1.9 x 84.80 = 161.1 in.
        QTest::newRow("1920x1200, throw 1.2-1.9")
            << u"name=Tarn WUXGA,px_w=1920,px_h=1200,throw_wide=1.2,throw_tele=1.9"_s << 0.868056
            << 0.0 << 0.548246 << 3 << 16.0 << 10.0 << 101.8 << 161.1;
        // distance = 1.187 x D(16 : 9) - 0.35 in: on a 16 : 9 panel D =
        // sqrt(337) / 9 / (5 / 3) D43 = 1.2238373 D43, so distance = 1.452695 D43
        // - 0.35: a = 1 / 1.452695 = 0.688376, b = 0.35 / 1.452695 = 0.240932.
        // A 100-inch 16 : 9 picture: 1.187 x 100 - 0.35 = 118.35 in.
        QTest::newRow("manual formula, 16:9 panel")
            << u"name=Tarn F1,px=1920x1080,wide-formula=1.187*D-0.35,formula-shape=16:9"_s
            << 0.688376 << 0.240932 << 0.0 << 1 << 16.0 << 9.0 << 118.35 << -1.0;
        // A 4 : 3 panel's formulas in metres, D the 4 : 3 diagonal: 1.3956 D -
        // 0.0241 is, in inches, 1.3956 D43 - 0.9488, a = 1 / 1.3956 = 0.716538,
        // b = 0.9488 / 1.3956 = 0.679865. A 100-inch 16 : 9 picture, 2.54 m,
        // is what the same sheet's 16 : 9 formulas work on: 1.5205 x 2.54 -
        // 0.0241 = 3.838 m at WIDE, 1.8245 x 2.54 - 0.0242 = 4.610 m at TELE.
        QTest::newRow("4:3 panel formulas in metres")
            << u"name=Tarn M,px=1024x768,wide-formula=1.3956*D-0.0241,"
               u"tele-formula=1.6746 * D - 0.0242,formula-shape=4:3,formula-units=m/m"_s
            << 0.716538 << 0.679865 << 0.597158 << 3 << 16.0 << 9.0 << 3.838 * kInchesPerMetre
            << 4.610 * kInchesPerMetre;
    }
    void sheetsBecomeCatalogueFields() {
        QFETCH(QString, terms);
        QFETCH(double, wideA);
        QFETCH(double, wideB);
        QFETCH(double, teleA);
        QFETCH(int, mode);
        QFETCH(double, formatWidth);
        QFETCH(double, formatHeight);
        QFETCH(double, wideDistance);
        QFETCH(double, teleDistance);
        const ModelRecord m = fromTerms(terms).record;
        QVERIFY2(near(m.lens[Zoom::Wide].a, wideA, 5e-7),
                 qPrintable(QString::number(m.lens[Zoom::Wide].a, 'f', 7)));
        QVERIFY2(near(m.lens[Zoom::Wide].b, wideB, 5e-7),
                 qPrintable(QString::number(m.lens[Zoom::Wide].b, 'f', 7)));
        QVERIFY2(near(m.lens[Zoom::Tele].a, teleA, 5e-7),
                 qPrintable(QString::number(m.lens[Zoom::Tele].a, 'f', 7)));
        QCOMPARE(m.wideScreenMode, mode);
        QVERIFY(near(distance(m, Zoom::Wide, 100, formatWidth, formatHeight), wideDistance, 0.06));
        if (teleDistance > 0)
            QVERIFY(
                near(distance(m, Zoom::Tele, 100, formatWidth, formatHeight), teleDistance, 0.06));
        else
            QVERIFY(!m.hasTele());
    }

    void sizeRangesBecomeLimits() {
        // 16 : 9 sizes of 40 to 300 in on a 16 : 9 panel are D43 = D / 1.2238373:
        // 32.7 to 245.1 in; the 16 : 9 limits are the sheet's own.
        const ModelRecord m =
            fromTerms(u"name=A,px=1920x1080,throw=1.36-2.18,diag=40-300"_s).record;
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
            QVERIFY(near(m.diagonals.fourThree[zoom].min, 32.68, 0.01));
            QVERIFY(near(m.diagonals.fourThree[zoom].max, 245.13, 0.01));
            QVERIFY(near(m.diagonals.sixteenNine[zoom].min, 40, 1e-9));
            QVERIFY(near(m.diagonals.sixteenNine[zoom].max, 300, 1e-9));
        }
        // A fixed lens: `diag` limits the end it has.
        const ModelRecord fixed = fromTerms(u"name=B,px=1920x1080,throw=1.5,diag=40-300"_s).record;
        QVERIFY(!fixed.hasTele());
        QCOMPARE(fixed.diagonals.fourThree[Zoom::Tele], DiagonalRange{});
        // Sizes left out: 30 to 300 in of the whole 16 : 9 panel, with a warning.
        const SheetRecord assumed = fromTerms(u"name=D,px=1920x1080,throw=1.5"_s);
        QVERIFY(termsWarned(assumed.warnings).contains(u"diag"_s));
        QVERIFY(near(assumed.record.diagonals.sixteenNine[Zoom::Wide].max, 300, 1e-9));
        // Sizes of a stated 4 : 3 shape on a 16 : 10 panel are D43 themselves.
        const ModelRecord shaped =
            fromTerms(u"name=C,px=1920x1200,throw=1.5,diag=50-250,diag-shape=4:3"_s).record;
        QVERIFY(near(shaped.diagonals.fourThree[Zoom::Wide].min, 50, 1e-9));
    }

    void offsetsAsSheetsPrintThem_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        // "offset 110 %": the far edge 110 % of the height from the axis, the
        // near edge 10 % beyond it: 0.10.
        QTest::newRow("offset 110%") << u"offset=110%"_s << 0.10 << 0.0;
        QTest::newRow("offset 100") << u"offset_pct=100"_s << 0.0 << 0.0;
        // A shift range of the near edge: 5 % to 45 %, two offsets.
        QTest::newRow("shift 5-45") << u"shift=5-45"_s << 0.05 << 0.45;
        QTest::newRow("shift -10--5") << u"shift=-10--5%"_s << -0.10 << -0.05;
        // A range ending on the axis keeps its other end: the catalogue has a
        // second offset only where its coefficient is not 0.
        QTest::newRow("shift -50-0") << u"shift=-50-0"_s << 0.0 << -0.5;
    }
    void offsetsAsSheetsPrintThem() {
        QFETCH(QString, terms);
        QFETCH(double, first);
        QFETCH(double, second);
        const ModelRecord m = fromTerms(u"name=O,throw=1.5-2,"_s + terms).record;
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
            QVERIFY(near(m.offsetCoefs[zoom].a, first, 1e-12));
            QVERIFY(near(m.offsetCoefs[zoom].b, second, 1e-12));
        }
    }

    void everyDemoModelTurnsBack() {
        const Result<Catalogue> demo =
            loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        VERIFY_OK(demo);
        QVERIFY(demo->models.size() >= 14);
        for (const ModelRecord &model : demo->models) {
            const Result<SheetRecord> viaSheet = recordOf(sheetOf(model));
            VERIFY_OK(viaSheet);
            const Result<SheetRecord> viaTerms = recordFromTerms(sheetTermsOf(model));
            VERIFY_OK(viaTerms);
            const Result<SheetRecord> viaFields = recordFromTerms(catalogueTermsOf(model));
            VERIFY_OK(viaFields);
            for (const ModelRecord *back :
                 {&viaSheet->record, &viaTerms->record, &viaFields->record}) {
                QCOMPARE(back->name, model.name);
                for (int f = 1; f < kModelFieldCount; ++f)
                    QVERIFY2(near(numericField(*back, f), numericField(model, f), 1e-9),
                             qPrintable(model.name + u": "_s + fieldName(f)));
                ModelRecord a = *back;
                ModelRecord b = model;
                for (int f = kModelFieldCount; f < kCatalogueFieldCount; ++f)
                    QCOMPARE(plannerField(a, f), plannerField(b, f));
            }
        }
    }

    void unusualValuesAreWarnedNotRefused_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<QString>("warned");
        QTest::newRow("sizes reversed") << u"diag_wide=300-40"_s << u"diag_wide"_s;
        QTest::newRow("throw below 0.1") << u"throw_wide=0.05"_s << u"throw_wide"_s;
        QTest::newRow("throw above 10") << u"throw_tele=12"_s << u"throw_tele"_s;
        QTest::newRow("TELE shorter") << u"throw=2.0-1.5"_s << u"throw_tele"_s;
        QTest::newRow("offset beyond 200%") << u"offset=350%"_s << u"offset_wide"_s;
        QTest::newRow("lumens") << u"lumens=250000"_s << u"lumens"_s;
        QTest::newRow("panel 5:1") << u"px=5000x1000"_s << u"px"_s;
        QTest::newRow("negative without mirror") << u"offset=90%"_s << u"mirror"_s;
        QTest::newRow("mirror without negative") << u"mirror=yes"_s << u"mirror"_s;
        QTest::newRow("TELE brighter") << u"tele_factor=1.2"_s << u"tele_factor"_s;
    }
    void unusualValuesAreWarnedNotRefused() {
        QFETCH(QString, terms);
        QFETCH(QString, warned);
        const QString usual = u"name=W,px=1920x1080,throw=1.4-2.1,diag=40-300,offset=110%,"_s;
        QCOMPARE(termsWarned(fromTerms(usual).warnings), QStringList());
        QVERIFY2(termsWarned(fromTerms(usual + terms).warnings).contains(warned),
                 qPrintable(termsWarned(fromTerms(usual + terms).warnings).join(u' ')));
    }

    void onlyWhatCannotComputeIsRefused_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<QString>("named");
        QTest::newRow("no name") << u"throw=1.5"_s << u"name"_s;
        QTest::newRow("no lens") << u"name=A,px=1920x1080,diag=40-300"_s << u"throw_wide"_s;
        QTest::newRow("throw 0") << u"name=A,throw=0-2"_s << u"throw_wide"_s;
        QTest::newRow("throw negative") << u"name=A,throw_tele=-2"_s << u"throw_tele"_s;
        QTest::newRow("throw text") << u"name=A,throw=long"_s << u"throw"_s;
        QTest::newRow("formula slope 0") << u"name=A,wide-formula=0*D+1"_s << u"formula_wide"_s;
        QTest::newRow("formula unreadable") << u"name=A,wide-formula=1.2*X"_s << u"1.2*X"_s;
        QTest::newRow("unknown unit")
            << u"name=A,throw=1.5,formula-units=yd/m"_s << u"formula_units"_s;
        QTest::newRow("unknown term") << u"name=A,throw=1.5,zoom=2"_s << u"zoom"_s;
        QTest::newRow("no pair") << u"name=A,throw"_s << u"throw"_s;
    }
    void onlyWhatCannotComputeIsRefused() {
        QFETCH(QString, terms);
        QFETCH(QString, named);
        const Result<Terms> parsed = parseTerms(terms);
        const Result<SheetRecord> record =
            parsed ? recordFromTerms(*parsed) : Result<SheetRecord>(parsed.error());
        QVERIFY(!record);
        QVERIFY2(record.error().description.contains(named),
                 qPrintable(record.error().description));
    }

    // What the list of projectors quotes: the distance for a 100-inch
    // picture of the panel's shape, and the throw ratio there.
    void quotedAtAHundredInches_data() {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<double>("distance"); // -1: none
        QTest::addColumn<double>("ratio");
        // A 100-inch 16 : 9 picture is 100 x 16 / sqrt(337) = 87.158 in wide:
        // 1.36 x 87.158 = 118.53 in, 2.18 x 87.158 = 190.00 in; a throw ratio
        // is the same at every size.
        const QString lumen = u"name=Lumen X1,px=1920x1080,throw=1.36-2.18"_s;
        QTest::newRow("throw ratio, WIDE") << lumen << 0 << 118.53 << 1.36;
        QTest::newRow("throw ratio, TELE") << lumen << 1 << 190.00 << 2.18;
        // Aster 2000's WIDE line, D43 = 1.0417 x distance + 0.4, on a 16 : 9
        // panel: D43 = 100 / 1.223837 = 81.710, (81.710 - 0.4) / 1.0417 = 78.06 in;
        // over 87.16 in, 0.8956.
        QTest::newRow("intercept, 16:9 panel")
            << u"name=A,px=1920x1080,WideCoefA=1.0417,WideCoefB=0.4,diag=40-300"_s << 0 << 78.06
            << 0.8956;
        // A 4 : 3 panel: a 100-inch 4 : 3 picture is D43 = 100 itself and 80 in
        // wide; (100 + 1.5) / 0.5208 = 194.89 in, 2.4361.
        QTest::newRow("intercept, 4:3 panel")
            << u"name=B,px=1024x768,throw_wide=1.5,TeleCoefA=0.5208,TeleCoefB=-1.5"_s << 1 << 194.89
            << 2.4361;
        QTest::newRow("fixed lens, TELE") << u"name=C,throw=1.5"_s << 1 << -1.0 << 0.0;
        // D43 = 100 at 100 in, the line reaches it only behind the lens: (100 - 150) / 1.
        QTest::newRow("behind the lens")
            << u"name=D,px=1024x768,WideCoefA=1,WideCoefB=150"_s << 0 << -1.0 << 0.0;
    }
    void quotedAtAHundredInches() {
        QFETCH(QString, terms);
        QFETCH(int, zoom);
        QFETCH(double, distance);
        QFETCH(double, ratio);
        const std::optional<QuotedThrow> quoted =
            quotedThrow(fromTerms(terms).record, zoom == 0 ? Zoom::Wide : Zoom::Tele);
        QCOMPARE(quoted.has_value(), distance > 0);
        if (!quoted)
            return;
        QVERIFY2(near(quoted->distance, distance, 0.01),
                 qPrintable(QString::number(quoted->distance)));
        QVERIFY2(near(quoted->throwRatio, ratio, 1e-4),
                 qPrintable(QString::number(quoted->throwRatio)));
    }

    // A refusal names its term, so that an editor shows it beside its field.
    void refusalsNameTheirTerm() {
        ProjectorSheet sheet;
        sheet.name = u"Tarn"_s;
        sheet.lens[Zoom::Wide] = SheetLens{1.5, std::nullopt};
        sheet.lens[Zoom::Tele] = SheetLens{0.0, std::nullopt};
        QCOMPARE(refusedTermOf(recordOf(sheet).error()), u"throw_tele"_s);
        sheet.lens[Zoom::Tele] = SheetLens{std::nullopt, LensFormula{0, 1}};
        QCOMPARE(refusedTermOf(recordOf(sheet).error()), u"formula_tele"_s);
        sheet.lens[Zoom::Tele].reset();
        sheet.name = u" "_s;
        QCOMPARE(refusedTermOf(recordOf(sheet).error()), u"name"_s);
        QCOMPARE(refusedTermOf(makeError(ErrorNumber::Overflow, u"Overflow: x: y"_s)), QString());
    }

    void aNameWithACommaCannotBeTyped() {
        // `--add-model` separates pairs by commas: "A\,B" is no way to write one.
        const Result<Terms> terms = parseTerms(u"name=A,B"_s);
        QVERIFY(!terms);
        const Result<SheetRecord> record =
            recordFromTerms({{u"name"_s, u"A,B"_s}, {u"throw"_s, u"1.5"_s}});
        QVERIFY(!record);
    }
};

QTEST_GUILESS_MAIN(TestProjectorSheet)
#include "tst_projectorsheet.moc"
