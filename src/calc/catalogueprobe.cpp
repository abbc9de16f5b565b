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

    // The options carried over; their own recalculations may fail on the way
    // without saying anything about the catalogue.
    const Controls &shown = current.controls();
    if (shown.unit)
        probe.select(*shown.unit);
    if (shown.position)
        probe.select(*shown.position);
    if (shown.aspect && !probe.select(*shown.aspect)) {
        // The first model lacks that ratio: the switch, too, starts it at 4 : 3.
    }
    quiet.first.reset();
    VISTREL_TRY(probe.replaceCatalogue(models));
    if (quiet.first)
        return *quiet.first;
    return {};
}

} // namespace vistrel
