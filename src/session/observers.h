#pragma once

#include "calc/observer.h"

#include <algorithm>
#include <vector>

namespace vistrel {

// Passes every report on to each observer added: the window, a second
// window beside it, the command line.
class ObserverList : public EngineObserver {
public:
    void add(EngineObserver &observer) { observers_.push_back(&observer); }
    void remove(EngineObserver &observer) {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer),
                         observers_.end());
    }

    void showMessage(const QString &text) override {
        for (EngineObserver *o : observers_)
            o->showMessage(text);
    }
    void showError(const AppError &error) override {
        for (EngineObserver *o : observers_)
            o->showError(error);
    }
    void showWarnings(const QString &heading, const QStringList &lines) override {
        for (EngineObserver *o : observers_)
            o->showWarnings(heading, lines);
    }
    void fieldsChanged() override {
        for (EngineObserver *o : observers_)
            o->fieldsChanged();
    }
    void isometricChanged() override {
        for (EngineObserver *o : observers_)
            o->isometricChanged();
    }
    void sideViewChanged() override {
        for (EngineObserver *o : observers_)
            o->sideViewChanged();
    }
    void controlsChanged() override {
        for (EngineObserver *o : observers_)
            o->controlsChanged();
    }

private:
    std::vector<EngineObserver *> observers_;
};

} // namespace vistrel
