#include "app/plannerentries.h"

#include "session/session.h"

#include <QAction>

namespace vistrel::app {

PlannerEntries::PlannerEntries(Session &session, QAction *planner, QAction *report, QObject *parent)
    : QObject(parent), session_(session), planner_(planner), report_(report) {
    showTexts();
    session_.addObserver(*this);
}

PlannerEntries::~PlannerEntries() {
    session_.removeObserver(*this);
}

void PlannerEntries::showTexts() {
    for (const auto &[action, key] : {std::pair{planner_, OptionalKey::MenuPlanner},
                                      std::pair{report_, OptionalKey::MenuExportReport}})
        if (action->text() != session_.texts().text(key))
            action->setText(session_.texts().text(key));
}

} // namespace vistrel::app
