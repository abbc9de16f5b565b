#include "session/fittext.h"

#include "calc/display.h"
#include "core/numbers.h"
#include "session/plannertext.h"

#include <cmath>

namespace vistrel {

FitFigures fitFigures(const FitRow &row, Unit unit, QChar decimalPoint) {
    FitFigures figures;
    const auto distance = [&](double inches, Zoom zoom) {
        return shownLength(inches, unit, info(unit).distanceStep, zoom, decimalPoint);
    };
    // The range's ends are distances of zoom ends, rounded as those.
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const std::optional<double> d = row.distance[zoom];
        if (!d)
            continue;
        figures.distance[zoom] = distance(*d, zoom);
        if (d == row.nearest && figures.nearest.isEmpty())
            figures.nearest = figures.distance[zoom];
        if (d == row.farthest)
            figures.farthest = figures.distance[zoom];
    }
    if (!row.nearest)
        return figures;
    const Step step = info(unit).offsetStep;
    const auto offset = [&](double inches) {
        return formatFixed(shownValue(std::abs(inches), unit, step, row.zoom), decimalsOf(step),
                           decimalPoint);
    };
    figures.offset1 = offset(row.offsets.a);
    if (row.offsetCount > 1)
        figures.offset2 = offset(row.offsets.b);
    if (row.footLamberts && std::isfinite(*row.footLamberts))
        figures.footLamberts = formatFixed(*row.footLamberts, kLightDecimals, decimalPoint);
    return figures;
}

QString fitReason(const FitRow &row, const FitRequest &request, Unit unit, QChar decimalPoint) {
    const QString unitName = QLatin1String(info(unit).cli);
    const auto size = [&](double inches) {
        return shownLength(inches, unit, info(unit).lengthStep, Zoom::Wide, decimalPoint) + u' ' +
               unitName;
    };
    // The room's distances as the user gave them, not rounded to a field's steps.
    const auto typed = [&](double inches) {
        return formatGeneral(fromInches(inches, unit), decimalPoint) + u' ' + unitName;
    };
    switch (row.verdict) {
    case FitRow::Verdict::Fits:
        return {};
    case FitRow::Verdict::NoFormat:
        return QStringLiteral("no %1 picture").arg(formatLabel(request.format));
    case FitRow::Verdict::SizeOutside:
        if (row.reach)
            return QStringLiteral("%1 lies outside its sizes of %2 to %3")
                .arg(size(request.diagonal), size(row.reach->min), size(row.reach->max));
        break;
    case FitRow::Verdict::DistanceOutside: {
        const FitFigures figures = fitFigures(row, unit, decimalPoint);
        const QString needs = figures.nearest == figures.farthest
                                  ? figures.nearest + u' ' + unitName
                                  : QStringLiteral("%1 to %2 %3")
                                        .arg(figures.nearest, figures.farthest, unitName);
        return QStringLiteral("it needs %1; the room allows %2 to %3")
            .arg(needs, typed(request.nearest.value_or(0)),
                 request.farthest ? typed(*request.farthest) : QStringLiteral("any distance"));
    }
    case FitRow::Verdict::Unusable:
        break;
    }
    return QStringLiteral("its lens gives no distance");
}

} // namespace vistrel
