#include "app/optionalentries.h"

#include "session/session.h"

#include <QAction>

namespace vistrel::app {

OptionalEntries::OptionalEntries(Session &session, std::vector<Entry> entries, QObject *parent)
    : QObject(parent), session_(session), entries_(std::move(entries)) {
    showTexts();
    session_.addObserver(*this);
}

OptionalEntries::~OptionalEntries() {
    session_.removeObserver(*this);
}

void OptionalEntries::showTexts() {
    for (const auto &[action, key] : entries_)
        if (action->text() != session_.texts().text(key))
            action->setText(session_.texts().text(key));
}

} // namespace vistrel::app
