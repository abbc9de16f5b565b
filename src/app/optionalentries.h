#pragma once

#include "calc/observer.h"
#include "core/language.h"

#include <QObject>

#include <utility>
#include <vector>

class QAction;

namespace vistrel {
class Session;
}

namespace vistrel::app {

// The captions of the calculator window's menu entries that came after the
// first texts (Option > Installation planner, Option > Projectors, File >
// Export report). Their texts are not among those every Language.ini must
// have, so they follow the session's texts once it has read them, whatever
// else the start-up does.
class OptionalEntries : public QObject, private EngineObserver {
    Q_OBJECT

public:
    using Entry = std::pair<QAction *, OptionalKey>;

    OptionalEntries(Session &session, std::vector<Entry> entries, QObject *parent);
    ~OptionalEntries() override;

private:
    void showMessage(const QString &) override {}
    void showError(const AppError &) override {}
    void controlsChanged() override { showTexts(); }
    void fieldsChanged() override { showTexts(); }
    void showTexts();

    Session &session_;
    std::vector<Entry> entries_;
};

} // namespace vistrel::app
