// Value entry: a typed value in one of the four fields.
#include "calc/calculator.h"

#include "core/helpers.h"
#include "core/numbers.h"

namespace vistrel {

bool Calculator::enter(Field field, const QString &text) {
    // What the field shows already is no new value: leaving a field whose
    // text the display rounded must not calculate from the rounded text.
    if (text == controls_.text(field))
        return true;
    // Where the desktop writes "14,4", the user types "100,5" and means it;
    // the dot keeps working there, as everywhere.
    const double value = roundUp(leadingNumber(withDotDecimal(text, decimalPoint_)));
    bool accepted = false;
    if (value < 0) {
        // No length is negative; left to the calculation, a negative width
        // would draw an upside-down screen.
        showRangeMessage(false);
    } else {
        Result<bool> result = calculate(modeOf(field), toInches(value, state_.unit));
        if (!result)
            observer_.showError(result.error());
        accepted = result && *result;
    }
    // The fields show the stored result again, a refused value's field included.
    if (ready_)
        redraw();
    else
        observer_.fieldsChanged();
    return accepted;
}

} // namespace vistrel
