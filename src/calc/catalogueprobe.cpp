#include "calc/catalogueprobe.h"

namespace vistrel {

namespace {

// The probe shows nothing; its result is the answer.
class QuietObserver : public EngineObserver {
public:
    void showMessage(const QString &) override {}
    void showError(const AppError &error) override {
        if (!first)
            first = error;
    }

    std::optional<AppError> first;
};

} // namespace

Status probeCatalogue(const Calculator &current, const std::vector<ModelRecord> &models) {
    QuietObserver quiet;
    Calculator probe(quiet, current.decimalPoint());
    probe.setMessages(current.messages());
    probe.setMetrics(current.isometricMetrics(), current.sideMetrics());
    if (Status s = probe.startUp(models))
        return s;
    if (quiet.first)
        return quiet.first;

    // The options carried over; their own recalculations may fail on the way
    // without saying anything about the catalogue.
    const Controls &shown = current.controls();
    if (shown.unit >= 0)
        probe.selectUnit(shown.unit);
    if (shown.position >= 0)
        probe.selectPosition(shown.position);
    if (shown.aspect >= 0)
        probe.selectAspect(shown.aspect);
    quiet.first.reset();
    if (Status s = probe.replaceCatalogue(models))
        return s;
    return quiet.first;
}

} // namespace vistrel
