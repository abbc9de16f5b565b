#include "calc/datasheet.h"

#include "calc/pictureonpanel.h"

#include <cmath>

namespace vistrel {

namespace {

// The diagonal of a `shape` picture on the panel per unit of D43.
double diagonalPerD43(const PictureFormat &shape, double panelAspect) {
    return place(panelAspect, kNoAnamorphic, shape.ratio()).picture.diagonal();
}

bool positive(double value) {
    return value > 0 && std::isfinite(value);
}

AppError noLens(const QString &what) {
    return makeError(ErrorNumber::InvalidPropertyValue,
                     QStringLiteral("Invalid property value: %1 gives no lens").arg(what));
}

} // namespace

const SheetUnitInfo &info(SheetUnit unit) {
    return kSheetUnits[static_cast<std::size_t>(unit)];
}

double panelWidthPerD43(double panelAspect) {
    return place(panelAspect, kNoAnamorphic, panelAspect).panel.width;
}

Result<ModelRecord::Coefficients> lensFromThrowRatio(double throwRatio, double panelAspect) {
    // distance = T x W, W = w x D43, so D43 = distance / (T x w).
    const double perD43 = throwRatio * panelWidthPerD43(panelAspect);
    if (!positive(throwRatio) || !positive(perD43))
        return noLens(QStringLiteral("a throw ratio of %1").arg(throwRatio));
    return ModelRecord::Coefficients{1 / perD43, 0};
}

Result<double> throwRatioOf(const ModelRecord::Coefficients &line, double panelAspect,
                            double diagonal43) {
    const double width = panelWidthPerD43(panelAspect) * diagonal43;
    if (line.a == 0 || !std::isfinite(line.a) || !positive(width))
        return noLens(QStringLiteral("a lens line of slope %1").arg(line.a));
    return (diagonal43 - line.b) / line.a / width;
}

Result<ModelRecord::Coefficients> lensFromFormula(const LensFormula &formula, double panelAspect) {
    // In inches: distance = a x (k2 / k1) x D + b x k2, with k1 and k2 the
    // inches of the diagonal's and the distance's unit; D = f x D43.
    const double k1 = info(formula.diagonalUnit).inches;
    const double k2 = info(formula.distanceUnit).inches;
    const double slope = formula.a * k2 / k1 * diagonalPerD43(formula.shape, panelAspect);
    const double intercept = formula.b * k2;
    if (!positive(slope) || !std::isfinite(intercept))
        return noLens(
            QStringLiteral("distance = %1 x diagonal + %2").arg(formula.a).arg(formula.b));
    // distance = slope x D43 + intercept, so D43 = distance / slope - intercept / slope.
    return ModelRecord::Coefficients{1 / slope, -intercept / slope};
}

Result<LensFormula> formulaOf(const ModelRecord::Coefficients &line) {
    if (line.a == 0 || !std::isfinite(line.a) || !std::isfinite(line.b))
        return noLens(QStringLiteral("a lens line of slope %1").arg(line.a));
    LensFormula formula;
    formula.a = 1 / line.a;
    formula.b = -line.b / line.a;
    return formula;
}

double diagonal43Of(double diagonal, const PictureFormat &shape, double panelAspect) {
    const double perD43 = diagonalPerD43(shape, panelAspect);
    // A shape of no size (sides of 0) has no picture to measure.
    return positive(perD43) ? diagonal / perD43 : 0;
}

} // namespace vistrel
