#pragma once

#include "core/apperror.h"

#include <QString>
#include <QStringList>

namespace vistrel {

// How the engine reports to whoever shows it: the window, the command-line
// front end or a test. The engine never waits for an answer.
class EngineObserver {
public:
    virtual ~EngineObserver() = default;

    // A message box with an OK button and no icon (range messages, msg1).
    virtual void showMessage(const QString &text) = 0;
    // The common error box: error.boxText() with the critical icon.
    virtual void showError(const AppError &error) = 0;
    // Things that did not stop anything but the user should know: a heading
    // and one line each (planner data of a catalogue taken as unknown).
    virtual void showWarnings(const QString & /*heading*/, const QStringList & /*lines*/) {}

    // The texts of the value and offset fields changed.
    virtual void fieldsChanged() {}
    // A new isometric drawing (or none, after a failed one) is ready.
    virtual void isometricChanged() {}
    // A new side-view drawing is ready.
    virtual void sideViewChanged() {}
    // Option selections, enabled states, the model list, the aspect sample or
    // the visible Enter button changed.
    virtual void controlsChanged() {}
};

} // namespace vistrel
