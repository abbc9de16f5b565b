#pragma once

#include "calc/planner.h"

#include <optional>

namespace vistrel {

class Session;

// The throw chart of a session, worked out again only when what it depends
// on has changed: the model (or the catalogue), the zoom end, the aspect
// ratio and the unit. A typed value leaves it as it is, so a view that shows
// the chart costs nothing while the user types.
class ChartCache {
public:
    // True when the chart was worked out anew.
    bool update(const Session &session);
    const ThrowChart &chart() const { return chart_; }

private:
    struct Key {
        unsigned catalogue = 0; // the model list's version
        int model = 0;
        Zoom zoom = Zoom::Wide;
        double aspectWidth = 0;
        double aspectHeight = 0;
        Unit unit = Unit::Inches;
        bool operator==(const Key &) const = default;
    };

    std::optional<Key> key_;
    ThrowChart chart_;
};

} // namespace vistrel
