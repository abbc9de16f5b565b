#include "clireport.h"

#include "core/numbers.h"

namespace vistrel::cli {

namespace {

QString quoted(const QString &text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString point(const PointI &p) {
    return QStringLiteral("[%1, %2]").arg(p.x).arg(p.y);
}

QString number(double value) {
    return formatShortest(value);
}

} // namespace

QString aspectName(int aspectOption) {
    switch (aspectOption) {
    case 1:
        return QStringLiteral("5 : 4");
    case 2:
        return QStringLiteral("16 : 9");
    default:
        return QStringLiteral("4 : 3");
    }
}

QString unitName(int UnitCode) {
    switch (UnitCode) {
    case 1:
        return QStringLiteral("feet");
    case 2:
        return QStringLiteral("centimeters");
    default:
        return QStringLiteral("inches");
    }
}

QString textModelList(const std::vector<ModelRecord> &models) {
    QString out;
    for (std::size_t i = 0; i < models.size(); ++i)
        out += QString::number(i) + u'\t' + models[i].ModelName + u'\n';
    return out;
}

QString jsonModelList(const std::vector<ModelRecord> &models) {
    QStringList items;
    for (std::size_t i = 0; i < models.size(); ++i)
        items << QStringLiteral("{\"index\": %1, \"name\": %2}")
                     .arg(i)
                     .arg(quoted(models[i].ModelName));
    return u'[' + items.join(QStringLiteral(", ")) + QStringLiteral("]\n");
}

QString jsonReport(const Calculator &calculator, const QStringList &messages, bool accepted) {
    const CalcState &s = calculator.state();
    const Controls &c = calculator.controls();
    const ModelRecord *model = calculator.currentModel();

    QStringList parts;
    parts << QStringLiteral("\"model\": ") + quoted(model ? model->ModelName : QString());
    parts << QStringLiteral("\"modelIndex\": %1").arg(s.ModelIndex);
    parts << QStringLiteral("\"zoom\": ") + quoted(zoomEndName(s.ZoomEnd));
    parts << QStringLiteral("\"aspect\": ") + quoted(aspectName(c.aspect));
    parts << QStringLiteral("\"unit\": ") + quoted(unitName(s.UnitCode));
    parts << QStringLiteral("\"position\": ") +
                 quoted(s.ScreenPosition == 0 ? QStringLiteral("top") : QStringLiteral("bottom"));

    parts << QStringLiteral("\"fields\": {\"distance\": %1, \"diagonal\": %2, \"width\": %3, "
                            "\"height\": %4, \"offset1\": %5, \"offset2\": %6}")
                 .arg(quoted(c.fieldText[0]), quoted(c.fieldText[1]), quoted(c.fieldText[2]),
                      quoted(c.fieldText[3]), quoted(c.offsetText[0]), quoted(c.offsetText[1]));

    parts << QStringLiteral("\"state\": {\"ScreenWidth\": %1, \"ScreenHeight\": %2, "
                            "\"ScreenDiagonal\": %3, \"ProjectionDistance\": %4, \"OffsetA\": %5, "
                            "\"OffsetB\": %6, \"MaxDistance\": %7, \"MinDiagonal\": %8, "
                            "\"MaxDiagonal\": %9}")
                 .arg(number(s.ScreenWidth), number(s.ScreenHeight), number(s.ScreenDiagonal),
                      number(s.ProjectionDistance), number(s.OffsetA), number(s.OffsetB),
                      number(s.MaxDistance), number(s.MinDiagonal), number(s.MaxDiagonal));

    if (const auto &g = calculator.isometric())
        parts << QStringLiteral("\"isometric\": {\"TL\": %1, \"TR\": %2, \"BR\": %3, \"BL\": %4, "
                                "\"L\": %5}")
                     .arg(point(g->tl), point(g->tr), point(g->br), point(g->bl), point(g->lens));
    else
        parts << QStringLiteral("\"isometric\": null");

    if (const auto &g = calculator.sideView())
        parts << QStringLiteral("\"side\": {\"X\": %1, \"A\": %2, \"T\": %3, \"B\": %4, \"E\": %5}")
                     .arg(g->x)
                     .arg(g->a)
                     .arg(g->t)
                     .arg(g->b)
                     .arg(g->e);
    else
        parts << QStringLiteral("\"side\": null");

    QStringList quotedMessages;
    for (const QString &m : messages)
        quotedMessages << quoted(m);
    parts << QStringLiteral("\"messages\": [") + quotedMessages.join(QStringLiteral(", ")) + u']';
    parts << QStringLiteral("\"accepted\": ") +
                 (accepted ? QStringLiteral("true") : QStringLiteral("false"));
    return u'{' + parts.join(QStringLiteral(", ")) + QStringLiteral("}\n");
}

QString textReport(const Calculator &calculator, const LanguageTexts &texts) {
    const CalcState &s = calculator.state();
    const Controls &c = calculator.controls();
    const ModelRecord *model = calculator.currentModel();
    auto label = [&texts](LangKey key) {
        return labelWithBreaks(texts.text(key))
            .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    };

    QString out;
    out += texts.text(LangKey::Lbl1) + QStringLiteral(": ") +
           (model ? model->ModelName : QString()) + u'\n';
    out += texts.text(LangKey::Lbl6) + QStringLiteral(": ") + zoomEndName(s.ZoomEnd) + u'\n';
    out += texts.text(LangKey::Lbl12) + QStringLiteral(": ") + aspectName(c.aspect) + u'\n';
    out += texts.text(LangKey::Lbl2) + QStringLiteral(": ") +
           texts.text(s.UnitCode == 1   ? LangKey::Lbl4
                      : s.UnitCode == 2 ? LangKey::Lbl5
                                        : LangKey::Lbl3) +
           u'\n';
    out += texts.text(LangKey::Lbl9) + QStringLiteral(": ") +
           texts.text(s.ScreenPosition == 0 ? LangKey::Lbl10 : LangKey::Lbl11) + u'\n';
    const std::array<LangKey, 4> labels{LangKey::Lbl13, LangKey::Lbl14, LangKey::Lbl15,
                                        LangKey::Lbl16};
    for (std::size_t i = 0; i < 4; ++i)
        out += label(labels[i]) + QStringLiteral(": ") + c.fieldText[i] + u'\n';
    const bool two = s.OffsetCount[static_cast<std::size_t>(s.ZoomEnd == 1 ? 1 : 0)] == 2;
    out += label(LangKey::Lbl17) + QStringLiteral(": ") + c.offsetText[0] +
           (two ? QStringLiteral(" ~ ") + c.offsetText[1] : QString()) + u'\n';
    return out;
}

} // namespace vistrel::cli
