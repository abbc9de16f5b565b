#include "draw/sideview.h"

#include <QPoint>
#include <QTest>

using namespace vistrel;

namespace vistrel {
// Lets a failed comparison of two placements show both.
char *toString(const PlaceF &p) {
    return QTest::toString(QPointF(p.left, p.top));
}
} // namespace vistrel

namespace {

SideInput sideInput(int position, bool zero, int drawFlag, int offsets = 2) {
    SideInput in;
    in.screenPosition = position;
    in.bothOffsetsZero = zero;
    in.modelDrawFlag = drawFlag;
    in.offsetCountNow = offsets;
    return in;
}

QString line(SidePen pen, QPoint from, QPoint to) {
    return QStringLiteral("%1: %2,%3 - %4,%5")
        .arg(QStringList{QStringLiteral("screen"), QStringLiteral("red"), QStringLiteral("black"),
                         QStringLiteral("axis")}[int(pen)])
        .arg(from.x())
        .arg(from.y())
        .arg(to.x())
        .arg(to.y());
}

QString line(const SideLine &l) {
    return line(l.pen, {l.from.x, l.from.y}, {l.to.x, l.to.y});
}

} // namespace

class TestSideView : public QObject {
    Q_OBJECT

private slots:
    void placesLensEdgesAndFields_data();
    void placesLensEdgesAndFields();
    void singleOffsetKeepsTwoFieldLayout();
    void rejectsAbsurdBox_data();
    void rejectsAbsurdBox();
};

void TestSideView::placesLensEdgesAndFields_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("zero");
    QTest::addColumn<int>("drawFlag");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("t");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("e");
    QTest::addColumn<double>("fieldTop");
    QTest::addColumn<QPoint>("picture");

    const QPoint hung(18, 12), standing(18, 76);
    QTest::newRow("top") << 0 << false << 0 << 27 << 20 << 93 << 20 << 22.0 << hung;
    QTest::newRow("top mirrored") << 0 << false << 1 << 27 << 34 << 93 << 34 << 29.0 << hung;
    QTest::newRow("top no offset") << 0 << true << 0 << 27 << 27 << 93 << 27 << 22.0 << hung;
    QTest::newRow("top no offset mirrored")
        << 0 << true << 1 << 27 << 27 << 93 << 27 << 22.0 << hung;
    QTest::newRow("bottom") << 1 << false << 0 << 86 << 20 << 93 << 93 << 88.0 << standing;
    QTest::newRow("bottom mirrored") << 1 << false << 1 << 86 << 20 << 79 << 79 << 81.0 << standing;
    QTest::newRow("bottom no offset") << 1 << true << 0 << 86 << 20 << 86 << 86 << 81.0 << standing;
    QTest::newRow("bottom no offset mirrored")
        << 1 << true << 1 << 86 << 20 << 86 << 86 << 81.0 << standing;
}

void TestSideView::placesLensEdgesAndFields() {
    QFETCH(int, position);
    QFETCH(bool, zero);
    QFETCH(int, drawFlag);
    QFETCH(int, a);
    QFETCH(int, t);
    QFETCH(int, b);
    QFETCH(int, e);
    QFETCH(double, fieldTop);
    QFETCH(QPoint, picture);

    const Result<SideGeometry> r =
        layoutSideView(SideMetrics{}, sideInput(position, zero, drawFlag));
    QVERIFY(r.ok());
    const SideGeometry &g = *r;
    QCOMPARE(g.x, 340);
    QCOMPARE(g.yb, 108);
    QCOMPARE(g.a, a);
    QCOMPARE(g.t, t);
    QCOMPARE(g.b, b);
    QCOMPARE(g.e, e);

    QVERIFY(g.showSecondOffset);
    QCOMPARE(g.offset[0], (PlaceF{360, fieldTop}));
    QCOMPARE(g.offset[1], (PlaceF{415, fieldTop}));
    QCOMPARE(g.kara, (PlaceF{388, fieldTop - 6.5}));
    QCOMPARE(g.label, (PlaceF{360, fieldTop - 13}));

    // Hung from the ceiling above the screen, the projector is drawn upside down.
    QCOMPARE(g.projectorPicture, position == 0 ? 1 : 0);
    QCOMPARE(QPoint(g.projector.x, g.projector.y), picture);

    const QPoint lens(80, a);
    const QStringList expected{
        line(SidePen::Screen, {340, 5}, {340, 108}), line(SidePen::Red, lens, {340, t}),
        line(SidePen::Red, lens, {340, b}),          line(SidePen::Black, {340, a}, {355, a}),
        line(SidePen::Black, {340, e}, {355, e}),    line(SidePen::Axis, lens, {340, a})};
    QStringList drawn;
    for (const SideLine &l : g.lines)
        drawn << line(l);
    QCOMPARE(drawn, expected);
}

void TestSideView::singleOffsetKeepsTwoFieldLayout() {
    for (int position : {0, 1}) {
        const Result<SideGeometry> one =
            layoutSideView(SideMetrics{}, sideInput(position, false, 0, 1));
        const Result<SideGeometry> two =
            layoutSideView(SideMetrics{}, sideInput(position, false, 0, 2));
        QVERIFY(one.ok() && two.ok());
        QVERIFY(!one->showSecondOffset);
        QCOMPARE(one->offset[0], two->offset[0]);
        QCOMPARE(one->label, two->label);
    }
}

void TestSideView::rejectsAbsurdBox_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");

    QTest::newRow("wide") << 1e12 << 113.0;
    QTest::newRow("tall") << 453.0 << 1e12;
    // The screen line itself still fits; only the end of the ticks does not.
    QTest::newRow("tick past range") << 2147483647.0 + 108 << 113.0;
}

void TestSideView::rejectsAbsurdBox() {
    QFETCH(double, width);
    QFETCH(double, height);

    SideMetrics metrics;
    metrics.box = {width, height};
    for (int position : {0, 1}) {
        const Result<SideGeometry> g = layoutSideView(metrics, sideInput(position, false, 1));
        QVERIFY(!g.ok());
        QCOMPARE(g.error().code(), 6);
    }
}

QTEST_GUILESS_MAIN(TestSideView)
#include "tst_sideview.moc"
