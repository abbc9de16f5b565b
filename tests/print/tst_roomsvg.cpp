#include "print/roompainter.h"
#include "print/roomsvg.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>
#include <set>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

struct SvgElement {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    double number(const QString &attribute) const { return attributes.value(attribute).toDouble(); }
};

// Every element under <svg>; none at all when the document does not parse.
std::vector<SvgElement> elementsOf(const QByteArray &svg, QXmlStreamAttributes *root = nullptr) {
    std::vector<SvgElement> found;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"svg"_s) {
            if (root)
                *root = reader.attributes();
            continue;
        }
        SvgElement e{reader.name().toString(), reader.attributes(), {}};
        if (e.name == u"text"_s)
            e.text = reader.readElementText();
        found.push_back(e);
    }
    if (reader.hasError()) {
        qWarning() << reader.errorString();
        return {};
    }
    return found;
}

// Drawn by hand, so where everything lands can be worked out: 100 x 50 in,
// the screen off the middle so that a drawing upside down shows.
RoomDrawing handDrawing(const QString &label = u"1.50 m"_s) {
    RoomDrawing d;
    d.left = -10, d.bottom = 0, d.right = 90, d.top = 50;
    d.shapes = {{RoomInk::Projector, {{50, 30}, {70, 30}, {70, 36}, {50, 36}}}};
    d.strokes = {{RoomInk::Wall, {0, 5}, {80, 5}},
                 {RoomInk::Screen, {0, 20}, {0, 40}},
                 {RoomInk::LookUpLimit, {60, 10}, {20, 45}, true}};
    d.labels = {{RoomInk::Dimension, label, {40, 2}}};
    return d;
}

ElevationInput workedElevation() {
    ElevationInput in;
    in.pictureBottom = 24;
    in.pictureHeight = 58.83;
    in.ceiling = 120;
    in.axisLow = 85.8;
    in.axisHigh = 109.3;
    in.lensDistance = 150;
    in.lensHeight = 97.55;
    in.bodyLength = 16;
    in.hanging = true;
    // atan((82.83 - 40) / 143.68) = 16.6 degrees: over the limit.
    in.rows = {{143.68, 40, true, u"Row 1"_s}, {160.95, 40, false, u"Row 2"_s}};
    return in;
}

} // namespace

class TestRoomSvg : public QObject {
    Q_OBJECT

private slots:
    void classesNameTheInks() {
        const RoomDrawing d = elevationDrawing(workedElevation(),
                                               [](double v) { return QString::number(v, 'f', 1); });
        QXmlStreamAttributes root;
        const std::vector<SvgElement> elements = elementsOf(print::roomSvg(d), &root);
        QCOMPARE(elements.size(), d.shapes.size() + d.strokes.size() + d.labels.size());
        // 800 px across the drawing's width, as high as its proportion makes it.
        QCOMPARE(root.value(u"width"_s), u"800.00"_s);
        const double height = (d.top - d.bottom) * 800 / (d.right - d.left);
        QVERIFY(std::abs(root.value(u"height"_s).toDouble() - height) < 0.006);
        QCOMPARE(root.value(u"viewBox"_s).split(u' ').size(), 4);

        std::set<QString> classes;
        for (const SvgElement &e : elements) {
            const QString kind = e.attributes.value(u"class"_s).toString();
            classes.insert(kind);
            // Dashed are the look-up limits, and only they.
            QCOMPARE(e.attributes.hasAttribute(u"stroke-dasharray"_s), kind == u"look-up-limit"_s);
        }
        QCOMPARE(classes, (std::set<QString>{u"wall"_s, u"screen"_s, u"axis-window"_s,
                                             u"projector"_s, u"light"_s, u"seat"_s, u"sightline"_s,
                                             u"look-up-limit"_s, u"dimension"_s, u"failing"_s}));
    }

    void screenLineMapsLikeThePainter() {
        const RoomDrawing d = handDrawing();
        const std::vector<SvgElement> elements = elementsOf(print::roomSvg(d));
        const auto screen = std::find_if(elements.begin(), elements.end(), [](const auto &e) {
            return e.attributes.value(u"class"_s) == u"screen"_s;
        });
        QVERIFY(screen != elements.end());
        QCOMPARE(screen->name, u"line"_s);
        // s = 800 / (90 - -10) = 8; (0, 20) lands at ((0 + 10) x 8, (50 - 20) x 8)
        // = (80, 240), (0, 40) at (80, (50 - 40) x 8) = (80, 80).
        const QLineF svg(screen->number(u"x1"_s), screen->number(u"y1"_s), screen->number(u"x2"_s),
                         screen->number(u"y2"_s));
        QCOMPARE(svg, QLineF(80, 240, 80, 80));
        // The painter puts the drawing in an 800 x 400 box the same way.
        const QTransform t = print::roomTransform(d, QRectF(0, 0, 800, 400));
        QCOMPARE(t.map(QLineF(0, 20, 0, 40)), svg);
    }

    void labelsArePlainText_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("read");
        QTest::newRow("markup") << u"<b>&\""_s << u"<b>&\""_s;
        QTest::newRow("control character") << u"Row\u0001 1"_s << u"Row\uFFFD 1"_s;
        QTest::newRow("beyond the BMP") << u"Reihe \U0001F3AC"_s << u"Reihe \U0001F3AC"_s;
    }
    void labelsArePlainText() {
        QFETCH(QString, label);
        QFETCH(QString, read);
        const QByteArray svg = print::roomSvg(handDrawing(label));
        QVERIFY(!svg.contains("<b>"));
        const std::vector<SvgElement> elements = elementsOf(svg);
        QVERIFY(!elements.empty());
        QCOMPARE(elements.back().name, u"text"_s);
        QCOMPARE(elements.back().text, read);
    }

    void emptyDrawing() {
        const QByteArray svg = print::roomSvg(RoomDrawing{});
        QVERIFY(svg.startsWith("<?xml"));
        QXmlStreamAttributes root;
        QVERIFY(elementsOf(svg, &root).empty());
        QCOMPARE(root.value(u"width"_s), u"800.00"_s);
    }

    void painterPixels_data() {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QColor>("colour");
        const QColor screen = print::roomInkStyle(RoomInk::Screen).line;
        // In a 400 x 300 box: s = min(400 / 100, 300 / 50) = 4, the drawing
        // 200 high centred 50 down; (0, 30) lands at ((0 + 10) x 4, 50 + (50 - 30) x 4).
        QTest::newRow("on the screen") << QPoint(40, 130) << screen;
        // Upside down, the screen would be here, at (0, 15) below its bottom edge.
        QTest::newRow("below the screen") << QPoint(40, 190) << QColor(Qt::white);
        QTest::newRow("empty room") << QPoint(280, 70) << QColor(Qt::white);
        QTest::newRow("outside the drawing") << QPoint(200, 20) << QColor(Qt::white);
    }
    void painterPixels() {
        QFETCH(QPoint, pixel);
        QFETCH(QColor, colour);
        const auto paint = [](const RoomDrawing &d, const QRectF &box) {
            QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            print::paintRoomDrawing(painter, d, box, QFont());
            return image;
        };
        const QRectF box(0, 0, 400, 300);
        QCOMPARE(print::roomTransform(handDrawing(), box).map(QPointF(0, 30)), QPointF(40, 130));
        QCOMPARE(paint(handDrawing(), box).pixelColor(pixel), colour);

        // Nothing to draw, or nowhere to draw it: nothing is painted.
        QImage blank(400, 300, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::white);
        QCOMPARE(paint(RoomDrawing{}, box), blank);
        QCOMPARE(paint(handDrawing(), QRectF(10, 10, 0, 200)), blank);
    }
};

QTEST_MAIN(TestRoomSvg)
#include "tst_roomsvg.moc"
