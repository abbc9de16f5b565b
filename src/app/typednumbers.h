#pragma once

#include "core/numbers.h"

#include <QLineEdit>

#include <optional>

namespace vistrel::app {

// A number field of the projector form as it is read: an empty field gives
// none, and a text that is no number is marked, so that the field says so
// instead of the form taking it as 0.
struct TypedNumber {
    std::optional<double> value;
    bool unreadable = false;

    double valueOr(double none) const { return value.value_or(none); }
};

inline TypedNumber typedNumber(const QLineEdit *field, QChar decimalPoint) {
    const QString text = field->text().trimmed();
    if (text.isEmpty())
        return {};
    const std::optional<double> value = parseNumber(withDotDecimal(text, decimalPoint));
    return {value, !value};
}

// A number as a field shows it, to 15 digits; an optional figure the sheet
// does not give (0) as an empty field.
inline QString fieldNumber(double value, QChar decimalPoint) {
    return formatGeneral(value, decimalPoint);
}
inline QString optionalFieldNumber(double value, QChar decimalPoint) {
    return value == 0 ? QString() : fieldNumber(value, decimalPoint);
}

} // namespace vistrel::app
