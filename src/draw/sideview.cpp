#include "draw/sideview.h"

#include <algorithm>

namespace vistrel {

namespace {

Result<std::int32_t> checked(long long value) {
    if (value < INT32_MIN || value > INT32_MAX)
        return makeError(ErrorNumber::Overflow,
                         QStringLiteral("Overflow: a side view position is out of range"));
    return static_cast<std::int32_t>(value);
}

} // namespace

Result<SideGeometry> layoutSideView(const SideMetrics &m, const SideInput &in) {
    SideGeometry g;
    g.showSecondOffset = in.offsetCountNow != 1;

    const double w = m.box.width;
    VISTREL_TRY_ASSIGN(g.x, nint(w - (m.offset[1].width + m.offset[0].width + m.tilde.width + 15)));
    VISTREL_TRY_ASSIGN(g.yb, nint(m.box.height - 5));
    g.t = 20;
    VISTREL_TRY_ASSIGN(g.b, nint(m.box.height - 20));

    // The near edge of the image lies 7 pixels beyond the lens axis, or on it
    // when there is no offset at all.
    const bool top = in.screenPosition == Position::Top;
    if (top) {
        g.a = 27;
        if (in.bothOffsetsZero)
            g.t = 27;
    } else {
        VISTREL_TRY_ASSIGN(g.a, checked(static_cast<long long>(g.b) - 7));
        if (in.bothOffsetsZero)
            g.b = g.a;
    }
    if (in.drawFlag == 1) {
        std::int32_t &edge = top ? g.t : g.b;
        VISTREL_TRY_ASSIGN(edge, checked(2LL * g.a - edge));
    }
    g.e = top ? g.t : g.b;

    PlaceF &second = g.offset[1];
    PlaceF &first = g.offset[0];
    second.top = std::max(g.a, g.e) - m.offset[1].height + m.offset[0].height - 5;
    second.left = w - m.offset[0].width - 5;
    g.tilde.top = (m.offset[1].height - m.tilde.height) / 2 + second.top;
    g.tilde.left = second.left - m.tilde.width + 5;
    first.top = second.top;
    first.left = g.tilde.left - m.offset[0].width + 5;
    g.label = {first.left, first.top - m.offsetLabelHeight};

    g.projectorPicture = top ? 1 : 0;
    VISTREL_TRY_ASSIGN(g.projector.x, nint(kSideLensX - m.projector.width - 1));
    VISTREL_TRY_ASSIGN(g.projector.y, checked(static_cast<long long>(g.a) - (top ? 15 : 10)));

    std::int32_t tickEnd = 0;
    VISTREL_TRY_ASSIGN(tickEnd, checked(static_cast<long long>(g.x) + 15));
    const PointI lens{kSideLensX, g.a};
    g.lines = {{
        {SidePen::Screen, {g.x, 5}, {g.x, g.yb}},
        {SidePen::Red, lens, {g.x, g.t}},
        {SidePen::Red, lens, {g.x, g.b}},
        {SidePen::Black, {g.x, g.a}, {tickEnd, g.a}},
        {SidePen::Black, {g.x, g.e}, {tickEnd, g.e}},
        {SidePen::Axis, lens, {g.x, g.a}},
    }};
    return g;
}

} // namespace vistrel
