#include "draw/isometric.h"

#include <algorithm>
#include <cmath>

namespace vistrel {

namespace {

// 30 degrees, written as the program always wrote it.
constexpr double kTheta = 94.2477796076937 / 180.0;
// Growth of the distance scale per attempt; the loop stops long before this
// bound for any box the window can have.
constexpr double kFitShrink = 0.8;
constexpr int kMaxFitAttempts = 4000;

AppError cannotFit() {
    return makeError(ErrorNumber::InvalidPropertyValue,
                     QStringLiteral("The isometric drawing does not fit into its box"));
}

struct Corners {
    PointI tl, tr, br, bl, lens;
};

Result<Corners> corners(PointI c, PointI s, double MaxDistance, const IsometricInput &in) {
    const double dy = double(c.y) - s.y;
    const double dx = double(c.x) - s.x;
    const double len = std::sqrt(dy * dy + dx * dx);
    // A distance of a few subnormals divided by the length underflows to zero
    // as surely as a zero distance does.
    const double k = len == 0 ? 0 : MaxDistance / len;
    if (k == 0 || !std::isfinite(k))
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: the isometric drawing has no scale"));
    const double a = std::abs(std::cos(kTheta) * in.screenWidth / 2) / k;
    const double b = std::abs(std::sin(kTheta) * in.screenWidth / 2) / k;
    const double h = in.screenHeight / 2 / k;
    Corners out;
    VISTREL_TRY_ASSIGN(out.tl.x, nint(s.x - a));
    VISTREL_TRY_ASSIGN(out.tl.y, nint(s.y - b - h));
    VISTREL_TRY_ASSIGN(out.bl.x, nint(s.x - a));
    VISTREL_TRY_ASSIGN(out.bl.y, nint(h + (s.y - b)));
    VISTREL_TRY_ASSIGN(out.tr.x, nint(s.x + a));
    VISTREL_TRY_ASSIGN(out.tr.y, nint(s.y + b - h));
    VISTREL_TRY_ASSIGN(out.br.x, nint(s.x + a));
    VISTREL_TRY_ASSIGN(out.br.y, nint(h + (s.y + b)));
    VISTREL_TRY_ASSIGN(out.lens.x, nint(s.x - std::cos(kTheta) * in.projectionDistance / k));
    VISTREL_TRY_ASSIGN(out.lens.y, nint(std::sin(kTheta) * in.projectionDistance / k + s.y));
    return out;
}

PlaceF enterBeside(const PlaceF &field, SizeF fieldSize, SizeF buttonSize) {
    return {fieldSize.width + field.left + 2,
            (fieldSize.height - buttonSize.height) / 2 + field.top};
}

void placeFields(const IsometricMetrics &m, IsometricGeometry &g) {
    const double w = m.box.width;
    const double hBox = m.box.height;

    // Height: centred on the right edge of the screen, 5 pixels from the box's right side.
    PlaceF &height = g.value[3];
    height.top = (double(g.br.y) - g.tr.y) / 2 + g.tr.y - m.value[3].height / 2;
    height.left = w - m.value[3].width - 5 - (m.enter[3].width + 2);
    if (height.top > hBox)
        height.top = hBox - m.value[3].height - 5;

    // Width: centred over the top edge, never left of the box's centred position.
    PlaceF &width = g.value[2];
    width.top = m.value[2].height + 5;
    width.left = (double(g.tr.x) - g.tl.x) / 2 + g.tl.x - m.value[2].width / 2;
    const double centred = static_cast<float>((w - m.value[2].width) / 2);
    if (centred > width.left)
        width.left = centred;

    // Distance: bottom of the box, right of the projector.
    PlaceF &distance = g.value[0];
    distance.top = hBox - m.value[0].height - 5;
    distance.left = std::max<double>(g.c.x, g.lens.x) + 30;

    // Diagonal: left of the screen, its label kept inside the box.
    PlaceF &diagonal = g.value[1];
    diagonal.top = std::min<double>(g.tl.y, g.s.y);
    diagonal.left = g.tl.x - m.label[1].width - 30;
    if (m.label[1].height + 5 > diagonal.top)
        diagonal.top = m.label[1].height + 5;
    if (diagonal.left < 5)
        diagonal.left = 5;

    // Whatever the language and the size of the screen, each field keeps its
    // caption above it and its Enter button beside it inside the box: one
    // that would run out on the right moves left.
    for (std::size_t i = 0; i < 4; ++i) {
        const double wide = std::max(m.label[i].width, m.value[i].width + 2 + m.enter[i].width);
        PlaceF &field = g.value[i];
        field.left = std::max(0.0, std::min(field.left, w - wide));
        field.top = std::max(field.top, m.label[i].height);
    }

    for (std::size_t i = 0; i < 4; ++i) {
        g.enter[i] = enterBeside(g.value[i], m.value[i], m.enter[i]);
        g.label[i] = {g.value[i].left, g.value[i].top - m.label[i].height};
    }
}

} // namespace

Result<IsometricGeometry> layoutIsometric(const IsometricMetrics &metrics,
                                          const IsometricInput &input) {
    IsometricGeometry g;
    VISTREL_TRY_ASSIGN(g.c.x, nint(metrics.box.width * 0.25));
    VISTREL_TRY_ASSIGN(g.c.y, nint(metrics.box.height * 0.8));
    VISTREL_TRY_ASSIGN(g.s.x, nint(metrics.box.width * 0.76));
    VISTREL_TRY_ASSIGN(g.s.y, nint(metrics.box.height * 0.37));

    double MaxDistance = input.maxDistance;
    for (int attempt = 1;; ++attempt) {
        Corners k;
        VISTREL_TRY_ASSIGN(k, corners(g.c, g.s, MaxDistance, input));
        if (k.tl.y > 0) {
            g.tl = k.tl;
            g.tr = k.tr;
            g.br = k.br;
            g.bl = k.bl;
            g.lens = k.lens;
            g.attempts = attempt;
            break;
        }
        // A smaller scale shrinks the screen towards its centre S, so the loop
        // only ends when S itself lies inside the box.
        if (g.s.y < 1 || attempt >= kMaxFitAttempts)
            return cannotFit();
        MaxDistance /= kFitShrink;
        if (!std::isfinite(MaxDistance))
            return cannotFit();
    }
    g.maxDistance = MaxDistance;
    VISTREL_TRY_ASSIGN(g.projector.x, nint(double(g.lens.x) - kProjectorLens.x));
    VISTREL_TRY_ASSIGN(g.projector.y, nint(double(g.lens.y) - kProjectorLens.y));
    placeFields(metrics, g);
    return g;
}

} // namespace vistrel
