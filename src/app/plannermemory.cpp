#include "plannermemory.h"

#include "core/filewriter.h"
#include "core/inifile.h"
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

void rememberPlanner(const PlannerMemory &memory) {
    const QByteArray text =
        "[planner]\n" + kGain.toLatin1() + '=' + formatShortest(memory.settings.gain).toLatin1() +
        '\n' + kAmbient.toLatin1() + '=' + formatShortest(memory.settings.ambientLux).toLatin1() +
        '\n' + kGeometry.toLatin1() + '=' + memory.geometry.toBase64() + '\n';
    // A preference that cannot be kept (a read-only home, a full disk) is
    // not worth a message box each time the planner closes; the previous
    // file stays whole either way. It is the program's own file: a link
    // put in its place is replaced, never written through.
    if (QDir().mkpath(memoryFolder()))
        static_cast<void>(writeFileAtomically(memoryFile(), text, WriteTarget::OwnFile));
}

void recallPlannerSettings(Session &session) {
    // Settings that passed recallPlanner's check are taken.
    static_cast<void>(session.setPlannerSettings(recallPlanner().settings));
}

} // namespace vistrel::app
