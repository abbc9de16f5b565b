#pragma once

#include "calc/projectorsheet.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>

namespace vistrel {

// A model as key and value pairs: the sheet terms (`name`, `px`,
// `throw_wide`, `wide_formula`, `offset_wide`, `shift_tele`, `diag_wide`,
// `lumens`...) and the catalogue's field names (`ModelName`, `WideCoefA`...),
// as an import, `--add-model` and an export hold them. Keys are compared
// without case, `-` and `_` alike; docs/PROJECTORS.md lists them.
using Terms = QList<std::pair<QString, QString>>;

// The sheet terms' keys, in the order an export writes them.
QStringList sheetTermKeys();
// The catalogue's 24 field names, in their order.
QStringList catalogueTermKeys();
// The model in sheet terms (sheetOf), numbers in their shortest exact form;
// what the model does not give is left out.
Terms sheetTermsOf(const ModelRecord &record);
Terms catalogueTermsOf(const ModelRecord &record);

// A model from terms: the sheet terms converted, then any catalogue field
// given by its name taking its place. Refused, naming the key, for a key
// that is not known, a value that cannot be read, and what recordOf refuses.
[[nodiscard]] Result<SheetRecord> recordFromTerms(const Terms &terms);
// `--add-model`'s "name=Lumen X1,px=1920x1080,throw=1.36-2.18": pairs
// separated by commas, each key=value.
[[nodiscard]] Result<Terms> parseTerms(QStringView text);

// "1.36-2.18" or "-10--5", a range as the terms write it (a minus after a
// digit, a point or "%" ends the first number); one number alone has no
// second end.
[[nodiscard]] Result<std::pair<double, std::optional<double>>> parseRange(QStringView text);

// "1.3956*D-0.0241" (distance = a x D + b) as `wide-formula` takes it, and back.
[[nodiscard]] Result<std::pair<double, double>> parseFormula(QStringView text);
QString formulaText(double a, double b);

} // namespace vistrel
