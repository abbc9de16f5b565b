#pragma once

#include "calc/planner.h"

#include <QByteArray>

namespace vistrel {
class Session;
}

namespace vistrel::app {

// What the planner window keeps from one start to the next, in the user's
// config folder (Vistrel/planner.ini): its two inputs and where it stood.
struct PlannerMemory {
    PlannerSettings settings;
    QByteArray geometry; // QWidget::saveGeometry; empty before the first showing
};

// What was kept; inputs that are not sensible (an edited file) read as the defaults.
PlannerMemory recallPlanner();
// Keeps `memory`; why it could not (a read-only home, a full disk).
[[nodiscard]] Result<void> rememberPlanner(const PlannerMemory &memory);

// The session takes the inputs kept from the last start.
void recallPlannerSettings(Session &session);

} // namespace vistrel::app
