// The room around a screen, against the worked examples of a 120-inch 16 : 9
// picture (104.59 x 58.83 in) whose bottom edge hangs 24 in above the floor.
#include "calc/calculator.h"
#include "calc/room.h"
#include "files/modelloader.h"
#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

#include <cmath>

using namespace vistrel;

namespace {

constexpr double kWidth = 104.59, kHeight = 58.83, kBottom = 24;

bool near(std::optional<double> value, double expected, double tolerance = 0.05) {
    return value && std::abs(*value - expected) <= tolerance;
}

RoomPicture picture(Position position = Position::Bottom) {
    RoomPicture p;
    p.width = kWidth;
    p.height = kHeight;
    p.position = position;
    // The demo "Aster 2000" at WIDE: offset coefficients 0.05 and 0.45.
    p.offsets = {0.05 * kHeight, 0.45 * kHeight};
    p.offsetCount = 2;
    return p;
}

RoomSettings room(std::vector<SeatRow> rows = {}) {
    RoomSettings r;
    r.screenBottom = kBottom;
    r.rows = std::move(rows);
    return r;
}

} // namespace

class TestRoom : public QObject {
    Q_OBJECT

private slots:
    // At the 36-degree distance, 160.95 in, eyes at 40 in: up atan((82.83 -
    // 40) / 160.95) = 14.9 degrees, down atan(16 / 160.95) = 5.7; at the
    // 40-degree one, 143.68 in: atan(42.83 / 143.68) = 16.6, above 15.
    // The width fills 2 atan(52.295 / 160.95) = 36.0 degrees; a seat 40 in
    // off centre sees the centre atan(40 / 160.95) = 14.0 degrees off axis.
    void seats() {
        RoomSettings r = room({{160.95}, {143.68}});
        r.seatOffset = 40;
        const std::vector<SeatView> views = seatViews(r, picture());
        QCOMPARE(views.size(), 2u);
        QVERIFY(near(views[0].lookUp, 14.9) && near(views[0].lookDown, 5.7));
        QVERIFY(!views[0].tooSteep());
        QVERIFY(near(views[0].horizontal, 36.0) && near(views[0].offAxis, 14.0));
        QVERIFY(near(views[1].lookUp, 16.6) && views[1].tooSteep());
    }

    // Row 1 at 144 in, heads at 40 + 4 = 44 in; row 2 at 192 in sees the
    // bottom edge (24 in) over them when its eyes are at 24 + (44 - 24) x
    // 192 / 144 = 50.67 in: a riser of 10.67 in. Row 3 at 240 in must then
    // see over row 2's raised heads, 54.67 in: 24 + 30.67 x 240 / 192 =
    // 62.33 in, a riser of 22.33 in.
    void risers() {
        const std::vector<SeatView> views = seatViews(room({{144}, {192}, {240}}), picture());
        QVERIFY(!views[0].riser);
        QVERIFY(near(views[1].neededEyeHeight, 50.67, 0.01) && near(views[1].riser, 10.67, 0.01));
        QVERIFY(near(views[2].neededEyeHeight, 62.33, 0.01) && near(views[2].riser, 22.33, 0.01));
    }

    // "Top of Screen": the axis 0.05 x 58.83 = 2.94 and 0.45 x 58.83 = 26.47
    // in above the top edge (82.83 in): 85.8 to 109.3 in. A ceiling at 108
    // in and the axis 6 in below the plate leave the axis at most 102 in:
    // a drop from 0 to 108 - (85.77 + 6) = 16.2 in, 7.3 in of the window above.
    // "Bottom of Screen": 24 - 2.94 = 21.1 down to 24 - 26.47 = -2.5 in: a
    // table of 0 to 21.1 in, 2.5 in of the window below the floor.
    void mounts() {
        RoomSettings r = room();
        r.ceiling = 108;
        r.mountDepth = 6;
        const std::optional<HeightRange> top = lensAxisWindow(r, picture(Position::Top));
        QVERIFY(top && near(top->low, 85.77, 0.01) && near(top->high, 109.30, 0.01));
        const std::optional<Mount> ceiling = mountOf(r, picture(Position::Top));
        QVERIFY(ceiling && ceiling->usable);
        QVERIFY(near(ceiling->usable->low, 0, 0.01) && near(ceiling->usable->high, 16.23, 0.01));
        QVERIFY(near(ceiling->aboveCeiling, 7.30, 0.01) && ceiling->belowFloor == 0);

        RoomSettings table = room();
        const std::optional<HeightRange> bottom = lensAxisWindow(table, picture());
        QVERIFY(bottom && near(bottom->low, -2.47, 0.01) && near(bottom->high, 21.06, 0.01));
        const std::optional<Mount> stand = mountOf(table, picture());
        QVERIFY(stand && stand->usable && near(stand->usable->low, 0, 1e-9) &&
                near(stand->usable->high, 21.06, 0.01));
        QVERIFY(near(stand->belowFloor, 2.47, 0.01));
        // The lens 3 in above the table top: tables of 0 to 21.06 - 3 = 18.06
        // in; the axis cannot come nearer the floor than 3 in, so 5.47 in of
        // the window lie below what a table reaches.
        table.mountDepth = 3;
        const std::optional<Mount> raised = mountOf(table, picture());
        QVERIFY(raised && raised->usable && near(raised->usable->low, 0, 1e-9) &&
                near(raised->usable->high, 18.06, 0.01));
        QVERIFY(near(raised->belowFloor, 5.47, 0.01));

        // Mirrored, the axis lies on the picture's side of the near edge.
        RoomPicture mirrored = picture(Position::Top);
        mirrored.mirrored = true;
        const std::optional<HeightRange> inside = lensAxisWindow(r, mirrored);
        QVERIFY(inside && near(inside->low, 56.36, 0.01) && near(inside->high, 79.89, 0.01));

        // A ceiling below the whole window: the mount does not fit.
        r.ceiling = 80;
        const std::optional<Mount> none = mountOf(r, picture(Position::Top));
        QVERIFY(none && !none->usable && near(none->aboveCeiling, 23.53, 0.01));
    }

    // Throw 166 in at WIDE and 200 in at TELE, 14 in of projector behind the
    // lens, a room 200 in deep: 20 in left at WIDE, 14 in short at TELE.
    void depth() {
        RoomSettings r = room();
        r.depth = 200;
        r.bodyLength = 14;
        RoomPicture p = picture();
        p.distance[Zoom::Wide] = 166;
        p.distance[Zoom::Tele] = 200;
        const PerZoom<std::optional<double>> left = depthLeft(r, p);
        QVERIFY(near(left[Zoom::Wide], 20, 1e-9) && near(left[Zoom::Tele], -14, 1e-9));
        QVERIFY(!depthLeft(room(), p)[Zoom::Wide]);
    }

    // The calculation's own picture: Aster 2000 at WIDE, 120-inch 16 : 9.
    // D43 = 120 / 1.223837 = 98.0525; WIDE (98.0525 - 0.4) / 1.0417 = 93.74
    // in, TELE (98.0525 - 0.3) / 0.8013 = 121.99 in; the picture fills the
    // 1920 x 1080 panel, 1080 rows.
    void fromTheCalculation() {
        const Result<Catalogue> demo =
            loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        QVERIFY(demo);
        RecordingObserver observer;
        Calculator calc(observer);
        calc.setMessages(testMessages());
        QVERIFY(calc.startUp(demo->models));
        QVERIFY(calc.selectModel(1));
        QVERIFY(calc.select(Aspect::Ratio16x9));
        QVERIFY(calc.enter(Field::Diagonal, QStringLiteral("120")));
        const RoomPicture p = roomPictureOf(*calc.currentModel(), calc.state());
        QVERIFY(near(p.width, kWidth, 0.01) && near(p.height, kHeight, 0.01));
        QVERIFY(near(p.offsets.a, 2.94, 0.01) && near(p.offsets.b, 26.47, 0.01));
        QCOMPARE(p.offsetCount, 2);
        QVERIFY(near(p.distance[Zoom::Wide], 93.74, 0.01) &&
                near(p.distance[Zoom::Tele], 121.99, 0.01));
        QVERIFY(near(p.pixelRows, 1080, 1e-6));
        const std::optional<HeightRange> axis = lensAxisWindow(room(), p);
        QVERIFY(axis && near(axis->low, -2.47, 0.01) && near(axis->high, 21.06, 0.01));
    }

    // Basic Decision Making with rows out to 192 in and 3.5 % elements:
    // 192 / (200 x 0.035) = 27.43 in, which 58.83 in meets. Analytical:
    // 58.83 x 3438 / 1080 = 187.27 in.
    void discas() {
        RoomPicture p = picture();
        p.pixelRows = 1080;
        const Discas d = discasOf(room({{192}, {144}}), p);
        QVERIFY(near(d.leastHeight, 27.43, 0.01) && d.heightMet && *d.heightMet);
        QVERIFY(near(d.analyticalDistance, 187.27, 0.01));
        const Discas none = discasOf(room(), picture());
        QVERIFY(!none.leastHeight && !none.analyticalDistance);
    }
};

QTEST_GUILESS_MAIN(TestRoom)
#include "tst_room.moc"
