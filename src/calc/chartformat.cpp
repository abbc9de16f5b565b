#include "calc/chartformat.h"

#include "calc/display.h"
#include "core/numbers.h"

namespace vistrel {

namespace {

QString cell(const std::optional<double> &value, Step step, QChar decimalPoint) {
    return value ? formatFixed(*value, decimalsOf(step), decimalPoint) : QString();
}

QString quotedIfNeeded(const QString &field, QChar separator) {
    if (!field.contains(separator) && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    QString quoted = field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString line(const QStringList &fields, QChar separator) {
    QStringList out;
    for (const QString &field : fields)
        out << quotedIfNeeded(field, separator);
    return out.join(separator) + QStringLiteral("\r\n");
}

} // namespace

QStringList csvColumns(Unit unit) {
    QStringList columns;
    for (const QString &column : kChartColumns)
        columns << column + QStringLiteral(" (") + QLatin1String(info(unit).cli) + u')';
    return columns;
}

QStringList chartCells(const ThrowChart &chart, const ChartRow &row, QChar decimalPoint) {
    const UnitInfo &unit = info(chart.unit);
    const auto c = [decimalPoint](const std::optional<double> &value, Step step) {
        return cell(value, step, decimalPoint);
    };
    return {c(row.diagonal, unit.lengthStep),       c(row.width, unit.lengthStep),
            c(row.height, unit.lengthStep),         c(row.distanceWide, unit.distanceStep),
            c(row.distanceTele, unit.distanceStep), c(row.offset1, unit.offsetStep),
            c(row.offset2, unit.offsetStep)};
}

QString chartTable(const ThrowChart &chart, QChar separator, const QStringList &headers,
                   QChar decimalPoint) {
    QString text = line(headers, separator);
    for (const ChartRow &row : chart.rows)
        text += line(chartCells(chart, row, decimalPoint), separator);
    return text;
}

} // namespace vistrel
