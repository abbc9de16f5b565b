// Value entry: the four value fields and their Enter buttons.
#include "calc/calculator.h"

#include "core/helpers.h"
#include "core/numbers.h"

namespace vistrel {

namespace {
bool validField(int index) {
    return index >= 0 && index < 4;
}
} // namespace

void Calculator::ShowEnterButton(int index) {
    const int visible = validField(index) ? index : -1;
    if (controls_.visibleEnter == visible)
        return;
    controls_.visibleEnter = visible;
    observer_.controlsChanged();
}

void Calculator::setFieldText(int index, const QString &text) {
    if (!validField(index))
        return;
    controls_.fieldText[static_cast<std::size_t>(index)] = text;
    ShowEnterButton(index);
}

void Calculator::txtValue_GotFocus(int index) {
    if (!validField(index))
        return;
    ShowEnterButton(index);
    savedText_[static_cast<std::size_t>(index)] =
        controls_.fieldText[static_cast<std::size_t>(index)];
}

void Calculator::txtValue_KeyDown(int index, int key) {
    ShowEnterButton(index);
    if (key == kEnterKey)
        cmdEnter_Click(index);
}

void Calculator::txtValue_LostFocus(int index) {
    cmdEnter_Click(index);
}

bool Calculator::cmdEnter_Click(int index) {
    if (!validField(index))
        return false;
    const auto i = static_cast<std::size_t>(index);
    bool accepted = true;
    if (controls_.fieldText[i] != savedText_[i]) {
        const double value = RoundUp(leadingNumber(controls_.fieldText[i]));
        controls_.fieldText[i] = formatFixed(value, 0, decimalPoint_);
        if (value < 0) {
            // No length is negative; left to the calculation, a negative width
            // would draw an upside-down screen.
            showRangeMessage(false);
            accepted = false;
        } else {
            Result<bool> result = CalcScreenSize(index, ToInches(value, state_.UnitCode));
            if (!result)
                observer_.showError(result.error());
            accepted = result && *result;
        }
        if (!accepted)
            controls_.fieldText[i] = savedText_[i];
    }
    savedText_ = controls_.fieldText;
    ShowEnterButton(-1);
    if (windowReady_)
        report(refreshAll());
    else
        observer_.fieldsChanged();
    return accepted;
}

void Calculator::cancelEdit(int index) {
    if (!validField(index))
        return;
    const auto i = static_cast<std::size_t>(index);
    controls_.fieldText[i] = savedText_[i];
    ShowEnterButton(-1);
    observer_.fieldsChanged();
}

bool Calculator::confirmPendingEdit() {
    if (!validField(controls_.visibleEnter))
        return true;
    return cmdEnter_Click(controls_.visibleEnter);
}

} // namespace vistrel
