#pragma once

#include "calc/planner.h"

#include <QString>
#include <QStringList>

namespace vistrel {

// The columns of a throw chart, by the names of its CSV header and JSON keys.
inline const QStringList kChartColumns{
    QStringLiteral("diagonal"),     QStringLiteral("width"),        QStringLiteral("height"),
    QStringLiteral("distanceWide"), QStringLiteral("distanceTele"), QStringLiteral("offset1"),
    QStringLiteral("offset2")};

// The CSV header of a chart in `unit`: each column's name and the unit, as
// "diagonal (in)"; every column is a length.
QStringList csvColumns(Unit unit);

// The texts of one row, column by column, written as the fields write the
// numbers (files always with "." for the decimal point); an absent number is empty.
QStringList chartCells(const ThrowChart &chart, const ChartRow &row, QChar decimalPoint = u'.');

// The chart as a table for a spreadsheet: `headers` (one per column), then
// one line per row, fields separated by `separator`. With ',' it is CSV
// (RFC 4180: CR LF line ends, a field quoted when it holds a separator,
// quotation mark or line end); with a tab and the user's decimal point it
// pastes as cells of the user's spreadsheet.
QString chartTable(const ThrowChart &chart, QChar separator, const QStringList &headers,
                   QChar decimalPoint = u'.');

} // namespace vistrel
