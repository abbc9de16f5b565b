#pragma once

#include "calc/observer.h"

#include <QStringList>

// Remembers what the engine reported, so tests can assert on message texts
// and on which parts of the window would have been refreshed.
class RecordingObserver : public vistrel::EngineObserver {
public:
    void showMessage(const QString &text) override { messages.append(text); }
    void showError(const vistrel::AppError &error) override { errors.append(error.boxText()); }
    void fieldsChanged() override { ++fieldRefreshes; }
    void isometricChanged() override { ++isometricDrawings; }
    void sideViewChanged() override { ++sideDrawings; }

    void clear() {
        messages.clear();
        errors.clear();
        fieldRefreshes = isometricDrawings = sideDrawings = 0;
    }

    QStringList messages;
    QStringList errors;
    int fieldRefreshes = 0;
    int isometricDrawings = 0;
    int sideDrawings = 0;
};
