// Which models fill a screen: the demo catalogue against figures worked out
// by hand, and every model that fits against the calculator's own result.
#include "calc/calculator.h"
#include "calc/fittable.h"
#include "files/modelloader.h"
#include "recordingobserver.h"
#include "session/fittext.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FitRow::Verdict)

namespace {

std::vector<ModelRecord> demoModels() {
    const Result<Catalogue> demo = loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
    return demo ? demo->models : std::vector<ModelRecord>{};
}

const FitRow *rowOf(const std::vector<FitRow> &rows, const std::vector<ModelRecord> &models,
                    const QString &name) {
    for (const FitRow &row : rows) {
        if (models[std::size_t(row.modelIndex)].name == name)
            return &row;
    }
    return nullptr;
}

bool near(std::optional<double> value, double expected) {
    return expected < 0 ? !value : value && std::abs(*value - expected) < 0.01;
}

FitRequest request169(double diagonal) {
    FitRequest request;
    request.diagonal = diagonal;
    request.format = {16, 9};
    return request;
}

} // namespace

class TestFitTable : public QObject {
    Q_OBJECT

private slots:
    void demoCatalogue_data() {
        QTest::addColumn<double>("diagonal");
        QTest::addColumn<QString>("model");
        QTest::addColumn<FitRow::Verdict>("verdict");
        QTest::addColumn<double>("wide"); // -1: no distance at that end
        QTest::addColumn<double>("tele");
        // Aster 2000, mode 1: D43 = 100 / 1.223837 = 81.7102; WIDE (81.7102 -
        // 0.4) / 1.0417 = 78.055, TELE (81.7102 - 0.3) / 0.8013 = 101.598.
        QTest::newRow("Aster 2000, 100")
            << 100.0 << u"Aster 2000"_s << FitRow::Verdict::Fits << 78.055 << 101.598;
        // 300 in: D43 = 245.1306; (245.1306 - 0.4) / 1.0417 = 234.934 and
        // (245.1306 - 0.3) / 0.8013 = 305.542.
        QTest::newRow("Aster 2000, 300")
            << 300.0 << u"Aster 2000"_s << FitRow::Verdict::Fits << 234.934 << 305.542;
        // Fenwick Q8 has TELE only: (81.7102 - 0.8) / 0.5682 = 142.397.
        QTest::newRow("Fenwick Q8, 100")
            << 100.0 << u"Fenwick Q8"_s << FitRow::Verdict::Fits << -1.0 << 142.397;
        // Brisa ST6 allows 16 : 9 up to 140 in only.
        QTest::newRow("Brisa ST6, 300")
            << 300.0 << u"Brisa ST6"_s << FitRow::Verdict::SizeOutside << -1.0 << -1.0;
        // Galen Mini (mode 0) has no 16 : 9 picture.
        QTest::newRow("Galen Mini, 100")
            << 100.0 << u"Galen Mini"_s << FitRow::Verdict::NoFormat << -1.0 << -1.0;
        // Halden WU6, 1920 x 1200 (mode 3): a 16 : 9 letterbox on it is 0.96
        // D43 wide, its diagonal 0.96 x sqrt(337) / 16 = 1.101453 D43, so the
        // 4 : 3 limit of 300 allows 330.4 in; D43 = 300 / 1.101453 = 272.368:
        // (272.368 - 0.8) / 0.9 = 301.742 and (272.368 - 0.6) / 0.68 = 399.659.
        QTest::newRow("Halden WU6, 300")
            << 300.0 << u"Halden WU6"_s << FitRow::Verdict::Fits << 301.742 << 399.659;
    }
    void demoCatalogue() {
        QFETCH(double, diagonal);
        QFETCH(QString, model);
        QFETCH(FitRow::Verdict, verdict);
        QFETCH(double, wide);
        QFETCH(double, tele);
        const std::vector<ModelRecord> models = demoModels();
        const std::vector<FitRow> rows = fitTable(models, request169(diagonal));
        QCOMPARE(rows.size(), models.size());
        const FitRow *row = rowOf(rows, models, model);
        QVERIFY(row);
        QCOMPARE(row->verdict, verdict);
        QCOMPARE(fitReason(*row, request169(diagonal), Unit::Inches).isEmpty(),
                 verdict == FitRow::Verdict::Fits);
        QVERIFY2(near(row->distance[Zoom::Wide], wide),
                 qPrintable(QString::number(row->distance[Zoom::Wide].value_or(-1))));
        QVERIFY2(near(row->distance[Zoom::Tele], tele),
                 qPrintable(QString::number(row->distance[Zoom::Tele].value_or(-1))));
    }

    // Every model that fits gives the distances the calculator shows for it.
    void everyFitAgreesWithTheCalculator() {
        const std::vector<ModelRecord> models = demoModels();
        for (const double diagonal : {100.0, 300.0}) {
            int fits = 0;
            for (const FitRow &row : fitTable(models, request169(diagonal))) {
                if (!row.fits())
                    continue;
                ++fits;
                RecordingObserver observer;
                Calculator calc(observer);
                calc.setMessages(testMessages());
                VERIFY_OK(calc.startUp(models));
                VERIFY_OK(calc.selectModel(row.modelIndex));
                VERIFY_OK(calc.select(Aspect::Ratio16x9));
                for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
                    if (!row.distance[zoom])
                        continue;
                    VERIFY_OK(calc.select(zoom));
                    QVERIFY(calc.enter(Field::Diagonal, QString::number(diagonal)));
                    QVERIFY(std::abs(calc.state().projectionDistance - *row.distance[zoom]) < 1e-9);
                }
            }
            // 100 in: all but the three without 16 : 9; 300 in: the seven that reach it.
            QCOMPARE(fits, diagonal == 100 ? 11 : 7);
        }
    }

    // The room's distances leave out a model that fills the screen only
    // from elsewhere; its light and offsets are those of the WIDE end.
    void theRoomDecides() {
        const std::vector<ModelRecord> models = demoModels();
        FitRequest request = request169(100);
        request.nearest = 80;
        request.farthest = 200;
        const std::vector<FitRow> near80 = fitTable(models, request);
        const FitRow *aster = rowOf(near80, models, u"Aster 2000"_s);
        QVERIFY(aster && aster->fits());
        QVERIFY(near(aster->nearest, 78.055) && near(aster->farthest, 101.598));
        // 100-inch 16 : 9 on its 16 : 9 panel: 87.157 x 49.026 in = 29.673
        // ft^2; 4000 lm / 29.673 = 134.8 fL. Offsets 0.05 and 0.45 x 49.026.
        QVERIFY(aster->footLamberts && std::abs(*aster->footLamberts - 134.8) < 0.05);
        QVERIFY(std::abs(aster->offsets.a - 2.4513) < 1e-3 &&
                std::abs(aster->offsets.b - 22.0617) < 1e-3);
        QCOMPARE(aster->offsetCount, 2);
        request.nearest = 110;
        const std::vector<FitRow> rows = fitTable(models, request);
        const FitRow *far = rowOf(rows, models, u"Aster 2000"_s);
        QCOMPARE(far->verdict, FitRow::Verdict::DistanceOutside);
        // The needed distances as the distance field shows each end; the
        // room's as given.
        QCOMPARE(fitReason(*far, request, Unit::Inches),
                 u"it needs 78 to 101 in; the room allows 110 in to 200 in"_s);
        // In centimetres: 110 x 2.54 = 279.4 cm, 200 x 2.54 = 508 cm.
        QVERIFY(fitReason(*far, request, Unit::Centimeters)
                    .endsWith(u"the room allows 279.4 cm to 508 cm"_s));
    }
};

QTEST_GUILESS_MAIN(TestFitTable)
#include "tst_fittable.moc"
