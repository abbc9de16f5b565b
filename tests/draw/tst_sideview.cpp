#include "draw/sideview.h"

#include <QLine>
#include <QPointF>
#include <QTest>

using namespace vistrel;

class TestSideView : public QObject {
    Q_OBJECT

    static QPointF qf(const PlaceF &p) { return {p.left, p.top}; }

private slots:
    void layout_data() {
        QTest::addColumn<Position>("position");
        QTest::addColumn<bool>("zero");
        QTest::addColumn<int>("drawFlag");
        QTest::addColumn<QList<int>>("atbe");
        QTest::addColumn<double>("fieldTop");
        QTest::addColumn<QPoint>("picture");

        const QPoint hung(18, 12), standing(18, 76);
        QTest::newRow("top") << Position::Top << false << 0 << QList<int>{27, 20, 93, 20} << 22.0
                             << hung;
        QTest::newRow("top mirrored")
            << Position::Top << false << 1 << QList<int>{27, 34, 93, 34} << 29.0 << hung;
        QTest::newRow("top no offset, mirror flag set")
            << Position::Top << true << 1 << QList<int>{27, 27, 93, 27} << 22.0 << hung;
        QTest::newRow("bottom") << Position::Bottom << false << 0 << QList<int>{86, 20, 93, 93}
                                << 88.0 << standing;
        QTest::newRow("bottom mirrored")
            << Position::Bottom << false << 1 << QList<int>{86, 20, 79, 79} << 81.0 << standing;
        QTest::newRow("bottom no offset, mirror flag set")
            << Position::Bottom << true << 1 << QList<int>{86, 20, 86, 86} << 81.0 << standing;
    }
    void layout() {
        QFETCH(Position, position);
        QFETCH(bool, zero);
        QFETCH(int, drawFlag);
        QFETCH(QList<int>, atbe);
        QFETCH(double, fieldTop);
        QFETCH(QPoint, picture);

        const auto g = layoutSideView(SideMetrics{}, SideInput{position, 2, zero, drawFlag});
        QVERIFY(g.ok() && g->showSecondOffset);
        QCOMPARE((QList<int>{g->a, g->t, g->b, g->e}), atbe);
        QCOMPARE(qf(g->offset[0]), QPointF(360, fieldTop));
        QCOMPARE(qf(g->offset[1]), QPointF(415, fieldTop));
        // Hung from the ceiling above the screen, the projector is drawn upside down.
        QCOMPARE(g->projectorPicture, position == Position::Top ? 1 : 0);
        QCOMPARE(QPoint(g->projector.x, g->projector.y), picture);

        const int a = atbe[0], t = atbe[1], b = atbe[2], e = atbe[3];
        QList<QLine> lines;
        for (const SideLine &l : g->lines)
            lines << QLine(l.from.x, l.from.y, l.to.x, l.to.y);
        QCOMPARE(lines, (QList<QLine>{{340, 5, 340, 108},
                                      {80, a, 340, t},
                                      {80, a, 340, b},
                                      {340, a, 355, a},
                                      {340, e, 355, e},
                                      {80, a, 340, a}}));

        // With one offset the first field stays where it is; only the second goes.
        const auto one = layoutSideView(SideMetrics{}, SideInput{position, 1, zero, drawFlag});
        QVERIFY(one.ok() && !one->showSecondOffset);
        QCOMPARE(qf(one->offset[0]), QPointF(360, fieldTop));
    }

    void rejectsAbsurdBox() {
        // The last case still fits the screen line; only the end of the ticks does not.
        for (SizeF box : {SizeF{1e12, 113}, SizeF{453, 1e12}, SizeF{2147483647.0 + 108, 113}}) {
            for (Position position : {Position::Top, Position::Bottom}) {
                const auto g = layoutSideView(SideMetrics{box}, SideInput{position, 2, false, 1});
                QCOMPARE(g ? 0 : g.error().code(), 6);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSideView)
#include "tst_sideview.moc"
