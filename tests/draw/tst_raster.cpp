#include "draw/raster.h"

#include <QTest>

#include <algorithm>
#include <limits>

using namespace vistrel;

namespace {

using Pixels = QList<QPoint>;

Pixels line(PointI from, PointI to, LineStroke stroke = {}, DeviceBox box = {100, 100, 1}) {
    Pixels out;
    for (const PointI &p : linePixels(from, to, stroke, box))
        out.append(QPoint(p.x, p.y));
    return out;
}

Pixels row(int y, int x0, int x1) {
    Pixels out;
    for (int x = x0; x < x1; ++x)
        out.append(QPoint(x, y));
    return out;
}

} // namespace

Q_DECLARE_METATYPE(PointI)

class TestRaster : public QObject {
    Q_OBJECT

private slots:
    // Pixel centres at whole coordinates; the first point is covered, the
    // last is not; halfway rows go to the lower coordinate.
    void lines_data() {
        QTest::addColumn<PointI>("from");
        QTest::addColumn<PointI>("to");
        QTest::addColumn<int>("width");
        QTest::addColumn<Pixels>("pixels");
        QTest::newRow("a tick of 15")
            << PointI{340, 86} << PointI{355, 86} << 1 << row(86, 340, 355);
        QTest::newRow("gentle slope")
            << PointI{0, 0} << PointI{4, 2} << 1 << Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
        QTest::newRow("the same backwards")
            << PointI{4, 2} << PointI{0, 0} << 1 << Pixels{{4, 2}, {3, 1}, {2, 1}, {1, 0}};
        QTest::newRow("steep") << PointI{0, 0} << PointI{1, 3} << 1
                               << Pixels{{0, 0}, {0, 1}, {1, 2}};
        QTest::newRow("a ray to the lower edge ends on its row")
            << PointI{80, 86} << PointI{84, 88} << 1
            << Pixels{{80, 86}, {81, 86}, {82, 87}, {83, 87}};
        QTest::newRow("two wide: the second pixel right of the line")
            << PointI{30, 2} << PointI{30, 5} << 2
            << Pixels{{30, 2}, {31, 2}, {30, 3}, {31, 3}, {30, 4}, {31, 4}};
        QTest::newRow("no length") << PointI{7, 7} << PointI{7, 7} << 1 << Pixels{};
    }
    void lines() {
        QFETCH(PointI, from);
        QFETCH(PointI, to);
        QFETCH(int, width);
        QFETCH(Pixels, pixels);
        QCOMPARE(line(from, to, {width, LineStyle::Solid}, {500, 200, 1}), pixels);
    }

    // Dash, dot, dot: 9 on, 3 off, 3 on, 3 off, 3 on, 3 off, from the first point.
    void dashDotDot() {
        Pixels expected = row(0, 0, 9) + row(0, 12, 15) + row(0, 18, 21) + row(0, 24, 33) +
                          row(0, 36, 39) + row(0, 42, 45) + row(0, 48, 50);
        QCOMPARE(line({0, 0}, {50, 0}, {1, LineStyle::DashDotDot}), expected);
        // Drawn from the right, the pattern starts at the right.
        const Pixels back = line({49, 0}, {-1, 0}, {1, LineStyle::DashDotDot});
        QCOMPARE(back.first(), QPoint(49, 0));
        QVERIFY(back.contains(QPoint(41, 0)) && !back.contains(QPoint(40, 0)));
    }

    // Two device pixels per drawing pixel: a line of one is two device pixels
    // wide, and the end point's device pixels stay empty.
    void highDensity() {
        Pixels ray;
        for (int x = 2; x < 8; ++x)
            ray << QPoint(x, 2) << QPoint(x, 3);
        QCOMPARE(line({1, 1}, {4, 1}, {}, {20, 20, 2}), ray);
        Pixels screen; // two drawing pixels wide: four device pixels
        for (int y = 0; y < 4; ++y)
            screen << QPoint(6, y) << QPoint(7, y) << QPoint(8, y) << QPoint(9, y);
        QCOMPARE(line({3, 0}, {3, 2}, {2, LineStyle::Solid}, {20, 20, 2}), screen);
        // A slope follows the true line at the finer grid, two device pixels thick.
        QCOMPARE(line({0, 0}, {2, 1}, {}, {20, 20, 2}),
                 (Pixels{{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 2}, {3, 3}}));
    }

    // Only what lies inside the image is computed, however far away the ends.
    void clippedToTheBox() {
        QCOMPARE(line({-1000000, 5}, {10, 5}, {}, {20, 20, 1}), row(5, 0, 10));
        const int big = std::numeric_limits<std::int32_t>::max();
        const Pixels far = line({-big, -big}, {big, big}, {3, LineStyle::Solid}, {64, 48, 16});
        QVERIFY(!far.isEmpty() && far.size() <= 64 * 3 * 16);
        QVERIFY(std::all_of(far.begin(), far.end(), [](const QPoint &p) {
            return p.x() >= 0 && p.x() < 64 && p.y() >= 0 && p.y() < 48;
        }));
        QVERIFY(line({-5, -5}, {-1, -9}, {}, {20, 20, 1}).isEmpty());
    }

    void fills_data() {
        QTest::addColumn<QList<PointI>>("corners");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QList<PixelRun>>("runs");
        QTest::newRow("square") << QList<PointI>{{1, 1}, {4, 1}, {4, 3}, {1, 3}} << 1
                                << QList<PixelRun>{{1, 1, 4}, {2, 1, 4}};
        // The screen: vertical sides, top and bottom sloping down to the right.
        QTest::newRow("parallelogram")
            << QList<PointI>{{0, 0}, {4, 2}, {4, 5}, {0, 3}} << 1
            << QList<PixelRun>{{1, 0, 2}, {2, 0, 4}, {3, 0, 4}, {4, 2, 4}};
        QTest::newRow("square, twice as dense") << QList<PointI>{{1, 1}, {3, 1}, {3, 2}, {1, 2}}
                                                << 2 << QList<PixelRun>{{3, 3, 7}, {4, 3, 7}};
        QTest::newRow("a point") << QList<PointI>{{5, 5}, {5, 5}, {5, 5}, {5, 5}} << 1
                                 << QList<PixelRun>{};
    }
    void fills() {
        QFETCH(QList<PointI>, corners);
        QFETCH(int, scale);
        QFETCH(QList<PixelRun>, runs);
        const std::vector<PixelRun> got =
            polygonFill({corners[0], corners[1], corners[2], corners[3]}, {100, 100, scale});
        QCOMPARE(QList<PixelRun>(got.begin(), got.end()), runs);
    }
};

QTEST_GUILESS_MAIN(TestRaster)
#include "tst_raster.moc"
