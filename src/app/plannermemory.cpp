#include "app/plannermemory.h"

#include "files/filewriter.h"
#include "files/inifile.h"
#include "core/numbers.h"
#include "session/session.h"

#include <QDir>
#include <QStandardPaths>

namespace vistrel::app {

namespace {

const QString kSection = QStringLiteral("planner");
const QString kGain = QStringLiteral("gain");
const QString kAmbient = QStringLiteral("ambient");
const QString kGeometry = QStringLiteral("geometry");

QString memoryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vistrel");
}

QString memoryFile() {
    return memoryFolder() + QStringLiteral("/planner.ini");
}

} // namespace

PlannerMemory recallPlanner() {
    // Missing, unreadable or too large: nothing was kept.
    const IniFile file = IniFile::load(memoryFile());
    PlannerMemory memory;
    const std::optional<double> gain = parseNumber(file.value(kSection, kGain));
    const std::optional<double> ambient = parseNumber(file.value(kSection, kAmbient));
    if (gain && ambient) {
        const PlannerSettings kept{*gain, *ambient};
        if (checkSettings(kept))
            memory.settings = kept;
    }
    const QByteArray::FromBase64Result geometry = QByteArray::fromBase64Encoding(
        file.value(kSection, kGeometry).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (geometry)
        memory.geometry = *geometry;
    return memory;
}

Result<void> rememberPlanner(const PlannerMemory &memory) {
    const QByteArray text =
        "[planner]\n" + kGain.toLatin1() + '=' + formatShortest(memory.settings.gain).toLatin1() +
        '\n' + kAmbient.toLatin1() + '=' + formatShortest(memory.settings.ambientLux).toLatin1() +
        '\n' + kGeometry.toLatin1() + '=' + memory.geometry.toBase64() + '\n';
    // The previous file stays whole whatever happens. It is the program's
    // own file: a link put in its place is replaced, never written through.
    if (!QDir().mkpath(memoryFolder()))
        return makeError(ErrorNumber::PathNotFound,
                         QStringLiteral("Path not found: %1 cannot be made").arg(memoryFolder()));
    return writeFileAtomically(memoryFile(), text, WriteTarget::OwnFile);
}

void recallPlannerSettings(Session &session) {
    if (Result<void> taken = session.setPlannerSettings(recallPlanner().settings); !taken) {
        // recallPlanner kept only settings that pass the same check: the defaults stay.
    }
}

} // namespace vistrel::app
