#include "calc/lens.h"

#include <cmath>

namespace vistrel {

namespace {

enum class Shape { Ratio43, Ratio54, Ratio169, Other };

Shape shapeOf(AspectPair aspect) {
    if (aspect.width == 4 && aspect.height == 3)
        return Shape::Ratio43;
    if (aspect.width == 5 && aspect.height == 4)
        return Shape::Ratio54;
    if (aspect.width == 16 && aspect.height == 9)
        return Shape::Ratio169;
    return Shape::Other;
}

struct Line {
    double a;
    double b;
};

Line lineOf(const ModelRecord &model, int ZoomEnd) {
    return ZoomEnd == Tele ? Line{model.TeleCoefA, model.TeleCoefB}
                           : Line{model.WideCoefA, model.WideCoefB};
}

} // namespace

QString zoomEndName(int ZoomEnd) {
    return ZoomEnd == Tele ? QStringLiteral("TELE") : QStringLiteral("WIDE");
}

double Lens::DiagonalFromDistance(double distance, int ZoomEnd, AspectPair aspect) const {
    const Line line = lineOf(model, ZoomEnd);
    const double d43 = line.a * distance + line.b;
    switch (shapeOf(aspect)) {
    case Shape::Ratio43:
        return d43;
    case Shape::Ratio54:
        // Same height as the 4 : 3 picture.
        return (d43 / 5 * 3) / aspect.height *
               std::sqrt(aspect.width * aspect.width + aspect.height * aspect.height);
    case Shape::Ratio169:
        if (WideScreenMode == 1)
            return d43 * kWideScreenFactor1;
        if (WideScreenMode == 2)
            return d43 * kWideScreenFactor2;
        return 0;
    case Shape::Other:
        break;
    }
    return 0;
}

Result<double> Lens::DistanceFromDiagonal(double diagonal, int ZoomEnd, AspectPair aspect) const {
    const Line line = lineOf(model, ZoomEnd);
    double d43 = 0;
    switch (shapeOf(aspect)) {
    case Shape::Ratio43:
        d43 = diagonal;
        break;
    case Shape::Ratio54:
        d43 = std::sin(std::atan(1 / (aspect.width / aspect.height))) * diagonal / 3 * 5;
        break;
    case Shape::Ratio169:
        if (WideScreenMode == 1)
            d43 = diagonal / kWideScreenFactor1;
        else if (WideScreenMode == 2)
            d43 = diagonal / kWideScreenFactor2;
        else
            return 0.0;
        break;
    case Shape::Other:
        return 0.0;
    }
    if (line.a == 0)
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: the %1 lens line of model \"%2\" has a "
                                        "slope of 0, so no projection distance can be computed")
                             .arg(zoomEndName(ZoomEnd), model.ModelName));
    return (d43 - line.b) / line.a;
}

double Lens::OffsetFromHeight(double height, double coefficient, AspectPair aspect) const {
    if (shapeOf(aspect) == Shape::Ratio169 && WideScreenMode == 2)
        return (1.0 / 8) * height + height * coefficient;
    return height * coefficient;
}

} // namespace vistrel
