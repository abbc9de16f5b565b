#pragma once

#include "calc/observer.h"

#include <QObject>

class QAction;

namespace vistrel {
class Session;
}

namespace vistrel::app {

// The captions of the calculator window's two planner entries (Option >
// Installation planner, File > Export report). Their texts are not among
// those every Language.ini must have, so they follow the session's texts
// once it has read them, whatever else the start-up does.
class PlannerEntries : public QObject, private EngineObserver {
    Q_OBJECT

public:
    PlannerEntries(Session &session, QAction *planner, QAction *report, QObject *parent);
    ~PlannerEntries() override;

private:
    void showMessage(const QString &) override {}
    void showError(const AppError &) override {}
    void controlsChanged() override { showTexts(); }
    void fieldsChanged() override { showTexts(); }
    void showTexts();

    Session &session_;
    QAction *planner_;
    QAction *report_;
};

} // namespace vistrel::app
