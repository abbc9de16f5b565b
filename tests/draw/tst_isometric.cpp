#include "draw/isometric.h"

#include <QPoint>
#include <QTest>

using namespace vistrel;

class TestIsometric : public QObject {
    Q_OBJECT

    static QPoint qp(PointI p) { return {p.x, p.y}; }

private slots:
    void pixelsRoundHalvesToEven() {
        QCOMPARE(*nint(2.5), 2);
        QCOMPARE(*nint(3.5), 4);
        QCOMPARE(*nint(-2147483648.0), -2147483647 - 1);
        // Beyond the pixel range is an overflow, not a wrapped or clamped pixel.
        for (double value : {2147483647.5, -2147483649.0, qQNaN()})
            QCOMPARE(nint(value) ? 0 : nint(value).error().code(), 6);
    }

    void layout_data() {
        QTest::addColumn<QList<double>>("in");      // scale, screen width, height, distance
        QTest::addColumn<double>("labelWidth");     // of the diagonal field
        QTest::addColumn<QList<QPoint>>("corners"); // TL, TR, BR, BL, lens; empty: not checked
        QTest::addColumn<int>("attempts");
        QTest::addColumn<double>("MaxDistance");
        // distance field left, diagonal field left and top, height field top
        QTest::addColumn<QList<double>>("fields");

        QTest::newRow("fits at once")
            << QList<double>{400, 80, 60, 200} << 102.0
            << QList<QPoint>{{322, 57}, {366, 83}, {366, 121}, {322, 95}, {234, 152}} << 1 << 400.0
            << QList<double>{264, 190, 57, 92.5};
        // A corner exactly on the top border does not count as inside.
        QTest::newRow("top corner on the border")
            << QList<double>{400, 0, 281.05, 400} << 102.0
            << QList<QPoint>{{344, 18}, {344, 18}, {344, 160}, {344, 160}, {168, 190}} << 2 << 500.0
            << QList<double>{198, 212, 18, 79.5};
        QTest::newRow("scale enlarged twice")
            << QList<double>{300, 240, 180, 300} << 102.0
            << QList<QPoint>{{288, 8}, {400, 73}, {400, 170}, {288, 105}, {204, 170}} << 3 << 468.75
            << QList<double>{234, 156, 18, 112};
        // The diagonal field keeps 5 pixels from the left side of the box.
        QTest::newRow("diagonal field pinned left")
            << QList<double>{400, 0, 233.7, 200} << 312.0 << QList<QPoint>() << 1 << 400.0
            << QList<double>{264, 5, 18, 79.5};
        // The distance field stays right of the scale start, even with the lens left of it.
        QTest::newRow("projector left of the scale start")
            << QList<double>{400, 80, 60, 600} << 102.0 << QList<QPoint>() << 1 << 400.0
            << QList<double>{143, 190, 57, 92.5};
        // Only a negative height puts the right edge's middle below the box.
        QTest::newRow("height field moved up")
            << QList<double>{400, 1200, -400, 200} << 102.0 << QList<QPoint>() << 1 << 400.0
            << QList<double>{264, 5, 26, 217};
    }
    void layout() {
        QFETCH(QList<double>, in);
        QFETCH(double, labelWidth);
        QFETCH(QList<QPoint>, corners);
        QFETCH(int, attempts);
        QFETCH(double, MaxDistance);
        QFETCH(QList<double>, fields);

        IsometricMetrics metrics;
        metrics.label[1].width = labelWidth;
        const auto g = layoutIsometric(metrics, {in[1], in[2], in[3], in[0]});
        QVERIFY(g.ok());
        if (!corners.isEmpty()) {
            QCOMPARE((QList<QPoint>{qp(g->tl), qp(g->tr), qp(g->br), qp(g->bl), qp(g->lens)}),
                     corners);
            // The projector picture hangs from its lens pixel.
            QCOMPARE(qp(g->projector), corners[4] - QPoint(46, 10));
        }
        QCOMPARE(g->attempts, attempts);
        QCOMPARE(g->maxDistance, MaxDistance);
        QCOMPARE(
            (QList<double>{g->value[0].left, g->value[1].left, g->value[1].top, g->value[3].top}),
            fields);
    }

    void refusesDrawingsItCannotMake() {
        IsometricMetrics metrics;
        QCOMPARE(layoutIsometric(metrics, {80, 60, 100, 0}).error().code(), 11); // no scale
        // A catalogue can give a distance so small that the scale underflows to zero.
        QCOMPARE(layoutIsometric(metrics, {80, 60, 5e-324, 5e-324}).error().code(), 11);
        QVERIFY(!layoutIsometric(metrics, {1e300, 1e300, 100, 400}).ok()); // absurd screen
        // The centre of the screen lies on the top edge, so shrinking never helps:
        // this must fail, not loop.
        metrics.box.height = 1;
        QVERIFY(!layoutIsometric(metrics, {80, 60, 100, 400}).ok());
    }
};

QTEST_GUILESS_MAIN(TestIsometric)
#include "tst_isometric.moc"
