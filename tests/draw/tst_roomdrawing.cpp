#include "draw/roomdrawing.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(vistrel::ElevationInput)
Q_DECLARE_METATYPE(vistrel::PlanInput)
Q_DECLARE_METATYPE(vistrel::RoomInk)

namespace {

// The room's worked example: a 120-inch 16 : 9 picture is 120 x 16 / sqrt(337)
// = 104.59 in wide and 120 x 9 / sqrt(337) = 58.83 in high; its bottom edge
// 24 in above the floor puts its top edge at 24 + 58.83 = 82.83.
const double kWidth = 120 * 16 / std::sqrt(337.0);
const double kHeight = 120 * 9 / std::sqrt(337.0);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QString inches(double value) {
    return QString::number(value, 'f', 2) + u" in"_s;
}

bool near(double a, double b) {
    return std::abs(a - b) < 0.005;
}
bool near(RoomPoint a, RoomPoint b) {
    return near(a.x, b.x) && near(a.y, b.y);
}

ElevationInput elevationInput() {
    ElevationInput in;
    in.pictureBottom = 24;
    in.pictureHeight = kHeight;
    in.ceiling = 120;
    in.depth = 240;
    // The demo "Aster 2000" at WIDE, "Top of Screen", hung in the middle of its window.
    in.axisLow = 85.8;
    in.axisHigh = 109.3;
    in.lensDistance = 150;
    in.lensHeight = (85.8 + 109.3) / 2;
    in.bodyLength = 16;
    in.hanging = true;
    // Eyes 40 in up see the top edge 82.83 - 40 = 42.83 in above them: at
    // 143.68 in that is atan(42.83 / 143.68) = 16.6 degrees, too steep; at
    // 160.95 in atan(42.83 / 160.95) = 14.9 degrees.
    in.rows = {{143.68, 40, true, u"Row 1"_s}, {160.95, 40, false, u"Row 2"_s}};
    return in;
}

PlanInput planInput() {
    PlanInput in;
    in.pictureWidth = kWidth;
    in.depth = 240;
    in.lensDistance = 150;
    in.bodyLength = 16;
    in.rows = {{143.68, u"Row 1"_s}, {160.95, u"Row 2"_s}};
    in.seatOffset = 60;
    in.viewingAngle = u"40.0°"_s;
    return in;
}

std::vector<RoomStroke> strokesFrom(const RoomDrawing &d, RoomPoint from) {
    std::vector<RoomStroke> found;
    for (const RoomStroke &s : d.strokes)
        if (near(s.from, from))
            found.push_back(s);
    return found;
}

std::vector<RoomLabel> labelsReading(const RoomDrawing &d, const QString &text) {
    std::vector<RoomLabel> found;
    for (const RoomLabel &l : d.labels)
        if (l.text == text)
            found.push_back(l);
    return found;
}

std::vector<RoomPoint> pointsOf(const RoomDrawing &d) {
    std::vector<RoomPoint> points;
    for (const RoomShape &s : d.shapes)
        points.insert(points.end(), s.points.begin(), s.points.end());
    for (const RoomStroke &s : d.strokes)
        points.insert(points.end(), {s.from, s.to});
    for (const RoomLabel &l : d.labels)
        points.push_back(l.at);
    return points;
}

} // namespace

class TestRoomDrawing : public QObject {
    Q_OBJECT

private slots:
    void pictureAndWindow() {
        const RoomDrawing d = elevationDrawing(elevationInput(), inches);
        std::vector<RoomStroke> screens;
        std::copy_if(d.strokes.begin(), d.strokes.end(), std::back_inserter(screens),
                     [](const RoomStroke &s) { return s.ink == RoomInk::Screen; });
        QCOMPARE(screens.size(), 1u);
        QVERIFY(near(screens[0].from, {0, 24}) && near(screens[0].to, {0, 82.83}));

        const auto band = std::find_if(d.shapes.begin(), d.shapes.end(), [](const RoomShape &s) {
            return s.ink == RoomInk::AxisWindow;
        });
        QVERIFY(band != d.shapes.end());
        const auto [low, high] =
            std::minmax_element(band->points.begin(), band->points.end(),
                                [](RoomPoint a, RoomPoint b) { return a.y < b.y; });
        QVERIFY(near(low->y, 85.8) && near(high->y, 109.3));
        for (RoomPoint p : band->points)
            QVERIFY(near(p.x, 0) || near(p.x, 150)); // from the wall to the lens
    }

    void rowLines_data() {
        QTest::addColumn<double>("distance");
        QTest::addColumn<RoomInk>("topInk");
        QTest::addColumn<double>("limitOnWall");
        // The 15-degree line meets the wall at 40 + distance x tan 15 degrees
        // (tan 15 degrees = 0.26795).
        QTest::newRow("16.6 degrees")
            << 143.68 << RoomInk::Failing << 78.50; // 40 + 143.68 x 0.26795
        QTest::newRow("14.9 degrees") << 160.95 << RoomInk::Sightline << 83.13; // 40 + 43.13
    }
    void rowLines() {
        QFETCH(double, distance);
        QFETCH(RoomInk, topInk);
        QFETCH(double, limitOnWall);
        const std::vector<RoomStroke> lines =
            strokesFrom(elevationDrawing(elevationInput(), inches), {distance, 40});
        QCOMPARE(lines.size(), 3u);
        int seen = 0;
        for (const RoomStroke &s : lines) {
            if (near(s.to, {0, 82.83}) && s.ink == topInk && !s.dashed)
                seen |= 1;
            if (near(s.to, {0, 24}) && s.ink == RoomInk::Sightline && !s.dashed)
                seen |= 2;
            if (near(s.to, {0, limitOnWall}) && s.ink == RoomInk::LookUpLimit && s.dashed)
                seen |= 4;
        }
        QCOMPARE(seen, 7);
    }

    void projector_data() {
        QTest::addColumn<bool>("hanging");
        QTest::addColumn<bool>("outside");
        QTest::addColumn<double>("mountEnd");
        // The 16-in body is 4 in high round the lens axis at (85.8 + 109.3) / 2
        // = 97.55: from 95.55 to 99.55, its mount at 150 + 16 / 2 = 158.
        QTest::newRow("hung from the ceiling") << true << false << 120.0;
        QTest::newRow("on a table") << false << false << 0.0;
        QTest::newRow("outside the room") << true << true << 120.0;
    }
    void projector() {
        QFETCH(bool, hanging);
        QFETCH(bool, outside);
        QFETCH(double, mountEnd);
        ElevationInput in = elevationInput();
        in.hanging = hanging;
        in.projectorOutside = outside;
        const RoomDrawing d = elevationDrawing(in, inches);
        const RoomInk ink = outside ? RoomInk::Failing : RoomInk::Projector;
        const RoomShape body{ink, {{150, 95.55}, {166, 95.55}, {166, 99.55}, {150, 99.55}}};
        QVERIFY(std::any_of(d.shapes.begin(), d.shapes.end(), [&](const RoomShape &s) {
            return s.ink == ink && s.points.size() == 4 &&
                   std::equal(s.points.begin(), s.points.end(), body.points.begin(),
                              [](RoomPoint a, RoomPoint b) { return near(a, b); });
        }));
        const RoomPoint from{158, hanging ? 99.55 : 95.55};
        const std::vector<RoomStroke> mount = strokesFrom(d, from);
        QCOMPARE(mount.size(), 1u);
        QCOMPARE(mount[0].ink, ink);
        QVERIFY(near(mount[0].to, {158, mountEnd}));
    }

    void dimensions_data() {
        QTest::addColumn<bool>("isPlan");
        QTest::addColumn<double>("figure");
        QTest::addColumn<bool>("upright");
        // Where the label stands: its known coordinate, the middle of its line.
        QTest::addColumn<double>("middle");
        QTest::newRow("picture bottom") << false << 24.0 << true << 12.0;
        QTest::newRow("picture height") << false << 58.83 << true << 53.415; // 24 + 58.83 / 2
        QTest::newRow("ceiling") << false << 120.0 << true << 60.0;
        QTest::newRow("lens distance") << false << 150.0 << false << 75.0;
        QTest::newRow("row 1") << false << 143.68 << false << 71.84;
        QTest::newRow("row 2") << false << 160.95 << false << 80.475;
        QTest::newRow("depth") << false << 240.0 << false << 120.0;
        QTest::newRow("plan: picture width") << true << 104.59 << true << 0.0;
        QTest::newRow("plan: lens distance") << true << 150.0 << false << 75.0;
        QTest::newRow("plan: row 2") << true << 160.95 << false << 80.475;
        QTest::newRow("plan: seat offset") << true << 60.0 << true << 30.0;
    }
    void dimensions() {
        QFETCH(bool, isPlan);
        QFETCH(double, figure);
        QFETCH(bool, upright);
        QFETCH(double, middle);
        const RoomDrawing d = isPlan ? roomPlanDrawing(planInput(), inches)
                                     : elevationDrawing(elevationInput(), inches);
        const std::vector<RoomLabel> labels = labelsReading(d, inches(figure));
        QCOMPARE(labels.size(), 1u);
        const RoomLabel &l = labels[0];
        QCOMPARE(l.ink, RoomInk::Dimension);
        QVERIFY(near(upright ? l.at.y : l.at.x, middle));
        // Its line runs across the figure with the label at the middle.
        QVERIFY(std::any_of(d.strokes.begin(), d.strokes.end(), [&](const RoomStroke &s) {
            const RoomPoint centre{(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2};
            return s.ink == RoomInk::Dimension && near(centre, l.at) &&
                   near(std::hypot(s.to.x - s.from.x, s.to.y - s.from.y), figure) &&
                   near(upright ? s.to.x - s.from.x : s.to.y - s.from.y, 0);
        }));
    }

    void dimensionsKeepClear() {
        const RoomDrawing d = elevationDrawing(elevationInput(), inches);
        const auto at = [&d](double figure) { return labelsReading(d, inches(figure)).at(0).at; };
        // The picture's heights left of the screen wall, the ceiling's beyond the back wall.
        QVERIFY(at(24).x < 0 && at(58.83).x < 0 && at(120).x > 240);
        // The lens distance above the ceiling; the distances from the screen
        // under the floor, each lower than the one before.
        QVERIFY(at(150).y > 120);
        QVERIFY(0 > at(143.68).y && at(143.68).y > at(160.95).y && at(160.95).y > at(240).y);
    }

    void boundsAndScale_data() {
        QTest::addColumn<bool>("isPlan");
        QTest::newRow("elevation") << false;
        QTest::newRow("plan") << true;
    }
    void boundsAndScale() {
        QFETCH(bool, isPlan);
        const auto draw = [isPlan](double scale) {
            ElevationInput e = elevationInput();
            PlanInput p = planInput();
            e.pictureBottom *= scale, e.pictureHeight *= scale, *e.ceiling *= scale;
            *e.depth *= scale, *e.axisLow *= scale, *e.axisHigh *= scale;
            *e.lensDistance *= scale, *e.lensHeight *= scale, e.bodyLength *= scale;
            p.pictureWidth *= scale, *p.depth *= scale, *p.lensDistance *= scale;
            p.bodyLength *= scale, *p.seatOffset *= scale;
            for (ElevationRow &r : e.rows)
                r.distance *= scale, r.eyeHeight *= scale;
            for (PlanRow &r : p.rows)
                r.distance *= scale;
            return isPlan ? roomPlanDrawing(p, inches) : elevationDrawing(e, inches);
        };
        const RoomDrawing d = draw(1);
        QVERIFY(!d.isEmpty());
        for (RoomPoint p : pointsOf(d))
            QVERIFY(p.x > d.left && p.x < d.right && p.y > d.bottom && p.y < d.top);

        // A room a hundred times larger keeps its dimension lines, ticks and
        // margins in proportion (only the seats, furniture, keep their size).
        const RoomDrawing large = draw(100);
        const auto same = [](double small, double big) {
            return std::abs(small * 100 - big) < 1e-6 * std::abs(big) + 1e-9;
        };
        QVERIFY(same(d.left, large.left) && same(d.right, large.right));
        QVERIFY(same(d.bottom, large.bottom) && same(d.top, large.top));
        QCOMPARE(large.strokes.size(), d.strokes.size());
        for (std::size_t i = 0; i < d.strokes.size(); ++i) {
            const RoomStroke &s = d.strokes[i], &l = large.strokes[i];
            if (s.ink == RoomInk::Dimension)
                QVERIFY(same(s.from.x, l.from.x) && same(s.from.y, l.from.y) &&
                        same(s.to.x, l.to.x) && same(s.to.y, l.to.y));
        }
    }

    void nothingToDraw_data() {
        QTest::addColumn<ElevationInput>("side");
        QTest::addColumn<PlanInput>("top");
        const auto row = [](const char *name, auto elevationChange, auto planChange) {
            ElevationInput e = elevationInput();
            PlanInput p = planInput();
            elevationChange(e);
            planChange(p);
            QTest::newRow(name) << e << p;
        };
        row(
            "no picture", [](auto &e) { e.pictureHeight = 0; },
            [](auto &p) { p.pictureWidth = 0; });
        row(
            "negative picture", [](auto &e) { e.pictureHeight = -kHeight; },
            [](auto &p) { p.pictureWidth = -kWidth; });
        row(
            "NaN", [](auto &e) { e.ceiling = kNaN; }, [](auto &p) { p.seatOffset = kNaN; });
        row(
            "infinite row", [](auto &e) { e.rows[1].distance = kInf; },
            [](auto &p) { p.rows[1].distance = kInf; });
        row(
            "NaN limit, NaN lens", [](auto &e) { e.lookUpLimit = kNaN; },
            [](auto &p) { p.lensDistance = kNaN; });
        // Each figure is finite; what is drawn from them is not.
        row(
            "overflow", [](auto &e) { e.pictureBottom = e.pictureHeight = 1e308; },
            [](auto &p) { p.lensDistance = p.bodyLength = 1e308; });
    }
    void nothingToDraw() {
        QFETCH(ElevationInput, side);
        QFETCH(PlanInput, top);
        for (const RoomDrawing &d : {elevationDrawing(side, inches), roomPlanDrawing(top, inches)})
            QVERIFY(d.isEmpty() && d.labels.empty() && d.left == 0 && d.right == 0);
    }

    void rowsAreClamped() {
        ElevationInput e = elevationInput();
        PlanInput p = planInput();
        e.rows.clear();
        p.rows.clear();
        for (int i = 1; i <= 1000; ++i) {
            e.rows.push_back({100.0 + i, 40, false, u"Row %1"_s.arg(i)});
            p.rows.push_back({100.0 + i, u"Row %1"_s.arg(i)});
        }
        for (const RoomDrawing &d : {elevationDrawing(e, inches), roomPlanDrawing(p, inches)}) {
            QCOMPARE(labelsReading(d, u"Row 50"_s).size(), 1u);
            QVERIFY(labelsReading(d, u"Row 51"_s).empty());
        }
    }

    void planSeats_data() {
        QTest::addColumn<bool>("withOffset");
        QTest::newRow("seats to 60 in off the centre line") << true;
        QTest::newRow("no seat offset") << false;
    }
    void planSeats() {
        QFETCH(bool, withOffset);
        PlanInput in = planInput();
        const std::optional<double> offset = withOffset ? in.seatOffset : std::nullopt;
        in.seatOffset = offset;
        const RoomDrawing d = roomPlanDrawing(in, inches);
        const double seat = offset.value_or(0);
        const auto has = [&d](RoomInk ink, RoomPoint from, RoomPoint to) {
            return std::any_of(d.strokes.begin(), d.strokes.end(), [&](const RoomStroke &s) {
                return s.ink == ink && near(s.from, from) && near(s.to, to);
            });
        };
        // Half of 104.59 either side of the centre line.
        QVERIFY(has(RoomInk::Screen, {0, -52.295}, {0, 52.295}));
        // The nearest row's outermost seat sees the picture's ends.
        QVERIFY(has(RoomInk::Sightline, {143.68, seat}, {0, 52.295}));
        QVERIFY(has(RoomInk::Sightline, {143.68, seat}, {0, -52.295}));
        QCOMPARE(has(RoomInk::Seat, {160.95, -60}, {160.95, 60}), offset.has_value());
        QCOMPARE(labelsReading(d, inches(60)).size(), offset ? 1u : 0u);
        const std::vector<RoomLabel> angle = labelsReading(d, u"40.0°"_s);
        QCOMPARE(angle.size(), 1u);
        QVERIFY(angle[0].at.x > 143.68 && near(angle[0].at.y, seat));
    }
};

QTEST_GUILESS_MAIN(TestRoomDrawing)
#include "tst_roomdrawing.moc"
