#include "plannermemory.h"

#include "session/session.h"

#include <QSettings>

namespace vistrel::app {

namespace {

const QString kGain = QStringLiteral("planner/gain");
const QString kAmbient = QStringLiteral("planner/ambient");
const QString kGeometry = QStringLiteral("planner/geometry");

QSettings memoryFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vistrel"),
                     QStringLiteral("planner"));
}

} // namespace

PlannerMemory recallPlanner() {
    const QSettings file = memoryFile();
    PlannerMemory memory;
    PlannerSettings kept;
    bool gainRead = false, ambientRead = false;
    kept.gain = file.value(kGain, kept.gain).toDouble(&gainRead);
    kept.ambientLux = file.value(kAmbient, kept.ambientLux).toDouble(&ambientRead);
    if (gainRead && ambientRead && checkSettings(kept))
        memory.settings = kept;
    memory.geometry = file.value(kGeometry).toByteArray();
    return memory;
}

void rememberPlanner(const PlannerMemory &memory) {
    QSettings file = memoryFile();
    file.setValue(kGain, memory.settings.gain);
    file.setValue(kAmbient, memory.settings.ambientLux);
    file.setValue(kGeometry, memory.geometry);
}

void recallPlannerSettings(Session &session) {
    // Settings that passed recallPlanner's check are taken.
    static_cast<void>(session.setPlannerSettings(recallPlanner().settings));
}

} // namespace vistrel::app
