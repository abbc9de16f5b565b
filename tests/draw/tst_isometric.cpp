#include "draw/isometric.h"

#include <QPoint>
#include <QTest>

#include <cmath>
#include <limits>

using namespace vistrel;

namespace vistrel {
// Lets a failed comparison of two placements show both.
char *toString(const PlaceF &p) {
    return QTest::toString(QPointF(p.left, p.top));
}
} // namespace vistrel

namespace {

QPoint qp(PointI p) {
    return {p.x, p.y};
}

// maxDistance, screen width, screen height, projection distance
IsometricInput input(const QList<double> &v) {
    return {v[1], v[2], v[3], v[0]};
}

} // namespace

class TestIsometric : public QObject {
    Q_OBJECT

private slots:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void drawsToScale_data();
    void drawsToScale();
    void keepsFieldsInsideBox_data();
    void keepsFieldsInsideBox();
    void refusesDrawingsItCannotMake_data();
    void refusesDrawingsItCannotMake();
    void shrinksHugeScreenUntilItFits();
};

void TestIsometric::roundsHalfToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected"); // 0 here means an overflow

    QTest::newRow("2.5 down") << 2.5 << 2;
    QTest::newRow("3.5 up") << 3.5 << 4;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("int max") << 2147483647.4 << 2147483647;
    QTest::newRow("int min") << -2147483648.0 << std::numeric_limits<int>::min();
    QTest::newRow("past int max") << 2147483647.5 << 0;
    QTest::newRow("past int min") << -2147483649.0 << 0;
    QTest::newRow("nan") << std::nan("") << 0;
}

void TestIsometric::roundsHalfToEven() {
    QFETCH(double, value);
    QFETCH(int, expected);

    const Result<std::int32_t> r = nint(value);
    QCOMPARE(r.ok(), expected != 0);
    if (r.ok())
        QCOMPARE(*r, expected);
    else
        QCOMPARE(r.error().code(), 6);
}

void TestIsometric::drawsToScale_data() {
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QList<QPoint>>("points"); // TL, TR, BR, BL, lens
    QTest::addColumn<int>("attempts");
    QTest::addColumn<double>("finalMaxDistance");

    QTest::newRow("fits at once")
        << QList<double>{400, 80, 60, 200}
        << QList<QPoint>{{322, 57}, {366, 83}, {366, 121}, {322, 95}, {234, 152}} << 1 << 400.0;
    // A screen without size collapses onto its centre; the rays all end there.
    QTest::newRow("no screen")
        << QList<double>{400, 0, 0, 400}
        << QList<QPoint>{{344, 89}, {344, 89}, {344, 89}, {344, 89}, {125, 216}} << 1 << 400.0;
    // A corner exactly on the top border does not count as inside.
    QTest::newRow("top corner on the border")
        << QList<double>{400, 0, 281.05, 400}
        << QList<QPoint>{{344, 18}, {344, 18}, {344, 160}, {344, 160}, {168, 190}} << 2 << 500.0;
    QTest::newRow("scale enlarged twice")
        << QList<double>{300, 240, 180, 300}
        << QList<QPoint>{{288, 8}, {400, 73}, {400, 170}, {288, 105}, {204, 170}} << 3 << 468.75;
}

void TestIsometric::drawsToScale() {
    QFETCH(QList<double>, in);
    QFETCH(QList<QPoint>, points);
    QFETCH(int, attempts);
    QFETCH(double, finalMaxDistance);

    const Result<IsometricGeometry> g = layoutIsometric(IsometricMetrics{}, input(in));
    QVERIFY2(g.ok(), qPrintable(g.ok() ? QString() : g.error().description));
    QCOMPARE(qp(g->c), QPoint(113, 193));
    QCOMPARE(qp(g->s), QPoint(344, 89));
    QCOMPARE((QList<QPoint>{qp(g->tl), qp(g->tr), qp(g->br), qp(g->bl), qp(g->lens)}), points);
    // The projector picture hangs from its lens pixel.
    QCOMPARE(qp(g->projector), points[4] - QPoint(46, 10));
    QCOMPARE(g->attempts, attempts);
    QCOMPARE(g->maxDistance, finalMaxDistance);
}

// Screens at the edges of what the box can hold, each pushing one field
// against the rule that keeps it readable. A negative height is the only way
// the mid-height of the right edge gets below the box while the top-left
// corner still fits.
void TestIsometric::keepsFieldsInsideBox_data() {
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<double>("labelWidth");
    QTest::addColumn<double>("heightTop");
    QTest::addColumn<QPointF>("diagonal");
    QTest::addColumn<double>("distanceLeft");

    QTest::newRow("standard") << QList<double>{400, 80, 60, 200} << 102.0 << 92.5
                              << QPointF(190, 57) << 264.0;
    QTest::newRow("diagonal field below its label's room")
        << QList<double>{300, 240, 180, 300} << 102.0 << 112.0 << QPointF(156, 18) << 234.0;
    QTest::newRow("diagonal field pinned left, just below its label's room")
        << QList<double>{400, 0, 233.7, 200} << 312.0 << 79.5 << QPointF(5, 18) << 264.0;
    QTest::newRow("projector left of the scale start")
        << QList<double>{400, 80, 60, 600} << 102.0 << 92.5 << QPointF(190, 57) << 143.0;
    QTest::newRow("height field moved up")
        << QList<double>{400, 1200, -400, 200} << 102.0 << 217.0 << QPointF(5, 26) << 264.0;
    QTest::newRow("height field partly below stays")
        << QList<double>{400, 980, -400, 200} << 102.0 << 234.5 << QPointF(5, 61) << 264.0;
}

void TestIsometric::keepsFieldsInsideBox() {
    QFETCH(QList<double>, in);
    QFETCH(double, labelWidth);
    QFETCH(double, heightTop);
    QFETCH(QPointF, diagonal);
    QFETCH(double, distanceLeft);

    IsometricMetrics metrics;
    metrics.label[1].width = labelWidth;
    const Result<IsometricGeometry> g = layoutIsometric(metrics, input(in));
    QVERIFY(g.ok());
    QCOMPARE(g->value[0], (PlaceF{distanceLeft, 241.0 - 19 - 5}));
    QCOMPARE(g->value[1], (PlaceF{diagonal.x(), diagonal.y()}));
    // The width field sits centred over the top edge, never left of the box's middle.
    const double overTopEdge = (g->tr.x - g->tl.x) / 2.0 + g->tl.x - 18.5;
    QCOMPARE(g->value[2], (PlaceF{std::max(overTopEdge, (453.0 - 37) / 2), 24}));
    // The height field and its button end 5 pixels before the right side.
    QCOMPARE(g->value[3], (PlaceF{453.0 - 5 - 21 - 2 - 37, heightTop}));

    for (std::size_t i = 0; i < 4; ++i) {
        QCOMPARE(g->enter[i], (PlaceF{g->value[i].left + 37 + 2, g->value[i].top + 1}));
        QCOMPARE(g->label[i], (PlaceF{g->value[i].left, g->value[i].top - 13}));
    }
}

void TestIsometric::refusesDrawingsItCannotMake_data() {
    QTest::addColumn<double>("boxHeight");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<int>("error"); // 0: any error will do

    QTest::newRow("no scale") << 241.0 << QList<double>{0, 80, 60, 100} << 11;
    // The centre of the screen lies on the top edge, so shrinking never helps.
    QTest::newRow("box too short") << 1.0 << QList<double>{400, 80, 60, 100} << 0;
    QTest::newRow("absurd screen") << 241.0 << QList<double>{400, 1e300, 1e300, 100} << 0;
    QTest::newRow("absurd scale") << 241.0 << QList<double>{1e-300, 80, 60, 100} << 0;
}

void TestIsometric::refusesDrawingsItCannotMake() {
    QFETCH(double, boxHeight);
    QFETCH(QList<double>, in);
    QFETCH(int, error);

    IsometricMetrics metrics;
    metrics.box.height = boxHeight;
    const Result<IsometricGeometry> g = layoutIsometric(metrics, input(in));
    QVERIFY(!g.ok());
    if (error != 0)
        QCOMPARE(g.error().code(), error);
}

void TestIsometric::shrinksHugeScreenUntilItFits() {
    const Result<IsometricGeometry> g =
        layoutIsometric(IsometricMetrics{}, input({400, 1e9, 1e9, 100}));
    QVERIFY(g.ok());
    QVERIFY(g->attempts > 50);
    QVERIFY(g->tl.y >= 1);
    QCOMPARE(g->maxDistance, 400 * std::pow(1.25, g->attempts - 1));

    // One step less would not have fitted.
    const Result<IsometricGeometry> previous =
        layoutIsometric(IsometricMetrics{}, input({g->maxDistance * 0.8, 1e9, 1e9, 100}));
    QVERIFY(previous.ok() && previous->attempts > 1);
}

QTEST_GUILESS_MAIN(TestIsometric)
#include "tst_isometric.moc"
