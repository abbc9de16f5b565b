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

Result<void> probeCatalogue(const Calculator &current, const std::vector<ModelRecord> &models) {
    QuietObserver quiet;
    Calculator probe(quiet, current.decimalPoint());
    probe.setMessages(current.messages());
    probe.setMetrics(current.isometricMetrics(), current.sideMetrics());
    VISTREL_TRY(probe.startUp(models));
    if (quiet.first)
        return *quiet.first;

    // The options carried over. Their own recalculations may fail on the way
    // without saying anything about the catalogue, and a ratio the first
    // model lacks stays 4 : 3 as the switch leaves it: only the recalculation
    // with the new catalogue below decides.
    const auto carryOver = [](const Result<void> &) {};
    const Controls &shown = current.controls();
    if (shown.unit)
        carryOver(probe.select(*shown.unit));
    if (shown.position)
        carryOver(probe.select(*shown.position));
    if (shown.aspect)
        carryOver(probe.select(*shown.aspect));
    quiet.first.reset();
    VISTREL_TRY(probe.replaceCatalogue(models));
    if (quiet.first)
        return *quiet.first;
    return {};
}

} // namespace vistrel
