#include "print/roomsvg.h"

#include "core/numbers.h"
#include "print/roompainter.h"

#include <QXmlStreamWriter>

#include <cmath>

namespace vistrel::print {

namespace {

constexpr double kDefaultWidth = 800;
constexpr double kLargestWidth = 1e6; // pixels; beyond it a width is a slip
constexpr double kFontShare = 0.015;  // of the width: 12 px at 800
constexpr int kDecimals = 2;

QString number(double value) {
    return formatFixed(value, kDecimals);
}

// Names other programs see: a style sheet restyles the drawing by them.
QString inkClass(RoomInk ink) {
    switch (ink) {
    case RoomInk::Wall:
        return QStringLiteral("wall");
    case RoomInk::Screen:
        return QStringLiteral("screen");
    case RoomInk::AxisWindow:
        return QStringLiteral("axis-window");
    case RoomInk::Projector:
        return QStringLiteral("projector");
    case RoomInk::Light:
        return QStringLiteral("light");
    case RoomInk::Seat:
        return QStringLiteral("seat");
    case RoomInk::Sightline:
        return QStringLiteral("sightline");
    case RoomInk::LookUpLimit:
        return QStringLiteral("look-up-limit");
    case RoomInk::Dimension:
        return QStringLiteral("dimension");
    case RoomInk::Failing:
        return QStringLiteral("failing");
    }
    Q_ASSERT_X(false, "inkClass", "an ink without a class");
    return {};
}

// A row's name is the user's: characters XML cannot carry become U+FFFD
// instead of making the whole file unreadable.
QString xmlText(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || c == QChar(0xfffe) || c == QChar(0xffff) ||
                   (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')) {
            out += QChar::ReplacementCharacter;
        } else {
            out += c;
        }
    }
    return out;
}

void writePaint(QXmlStreamWriter &w, const QString &what, const QColor &colour) {
    w.writeAttribute(what, colour.name(QColor::HexRgb));
    if (colour.alpha() < 255)
        w.writeAttribute(what + QStringLiteral("-opacity"), number(colour.alphaF()));
}

QString anchorOf(RoomAlign align) {
    return align == RoomAlign::Start ? QStringLiteral("start")
           : align == RoomAlign::End ? QStringLiteral("end")
                                     : QStringLiteral("middle");
}

// SVG's baselines name the text's edges: a point at the text's bottom is its after-edge.
QString baselineOf(RoomAlign align) {
    return align == RoomAlign::Start ? QStringLiteral("text-after-edge")
           : align == RoomAlign::End ? QStringLiteral("text-before-edge")
                                     : QStringLiteral("central");
}

} // namespace

QByteArray roomSvg(const RoomDrawing &d, double widthPx) {
    const double width =
        std::isfinite(widthPx) && widthPx > 0 && widthPx <= kLargestWidth ? widthPx : kDefaultWidth;
    const double across = d.right - d.left, up = d.top - d.bottom;
    const bool drawn = !d.isEmpty() && across > 0 && up > 0 && std::isfinite(width / across * up);
    const double s = drawn ? width / across : 0;
    const double height = drawn ? up * s : 0;
    const auto x = [&](RoomPoint p) { return number((p.x - d.left) * s); };
    const auto y = [&](RoomPoint p) { return number((d.top - p.y) * s); };

    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("svg"));
    w.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    w.writeAttribute(QStringLiteral("width"), number(width));
    w.writeAttribute(QStringLiteral("height"), number(height));
    w.writeAttribute(QStringLiteral("viewBox"),
                     QStringLiteral("0 0 %1 %2").arg(number(width), number(height)));
    const double fontPx = width * kFontShare;
    w.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    w.writeAttribute(QStringLiteral("font-size"), number(fontPx));

    if (drawn) {
        for (const RoomShape &shape : d.shapes) {
            const RoomInkStyle style = roomInkStyle(shape.ink);
            QStringList points;
            for (RoomPoint p : shape.points)
                points << x(p) + u',' + y(p);
            w.writeEmptyElement(QStringLiteral("polygon"));
            w.writeAttribute(QStringLiteral("class"), inkClass(shape.ink));
            w.writeAttribute(QStringLiteral("points"), points.join(u' '));
            writePaint(w, QStringLiteral("fill"), style.fill);
            writePaint(w, QStringLiteral("stroke"), style.line);
            w.writeAttribute(QStringLiteral("stroke-width"), number(style.width));
        }
        for (const RoomStroke &stroke : d.strokes) {
            const RoomInkStyle style = roomInkStyle(stroke.ink);
            w.writeEmptyElement(QStringLiteral("line"));
            w.writeAttribute(QStringLiteral("class"), inkClass(stroke.ink));
            w.writeAttribute(QStringLiteral("x1"), x(stroke.from));
            w.writeAttribute(QStringLiteral("y1"), y(stroke.from));
            w.writeAttribute(QStringLiteral("x2"), x(stroke.to));
            w.writeAttribute(QStringLiteral("y2"), y(stroke.to));
            writePaint(w, QStringLiteral("stroke"), style.line);
            w.writeAttribute(QStringLiteral("stroke-width"), number(style.width));
            if (stroke.dashed)
                w.writeAttribute(QStringLiteral("stroke-dasharray"),
                                 number(kRoomDash) + u' ' + number(kRoomDashGap));
        }
        for (const RoomLabel &label : d.labels) {
            const QPointF nudge = roomLabelNudge(label, fontPx);
            w.writeStartElement(QStringLiteral("text"));
            w.writeAttribute(QStringLiteral("class"), inkClass(label.ink));
            w.writeAttribute(QStringLiteral("x"), number((label.at.x - d.left) * s + nudge.x()));
            w.writeAttribute(QStringLiteral("y"), number((d.top - label.at.y) * s + nudge.y()));
            w.writeAttribute(QStringLiteral("text-anchor"), anchorOf(label.horizontal));
            w.writeAttribute(QStringLiteral("dominant-baseline"), baselineOf(label.vertical));
            writePaint(w, QStringLiteral("fill"), roomInkStyle(label.ink).line);
            w.writeCharacters(xmlText(label.text));
            w.writeEndElement();
        }
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace vistrel::print
