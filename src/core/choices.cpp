#include "core/choices.h"

namespace vistrel {

namespace {

template <typename Choice> constexpr const auto &tableOf() {
    if constexpr (std::is_same_v<Choice, Unit>)
        return kUnits;
    else if constexpr (std::is_same_v<Choice, Zoom>)
        return kZoomEnds;
    else if constexpr (std::is_same_v<Choice, Position>)
        return kPositions;
    else if constexpr (std::is_same_v<Choice, Aspect>)
        return kAspects;
    else
        return kFields;
}

// A row found by its enumerator's value must be that enumerator's row.
template <typename Table, typename Member>
constexpr bool inOrder(const Table &table, Member member) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (static_cast<std::size_t>(table[i].*member) != i)
            return false;
    return true;
}
static_assert(inOrder(kUnits, &UnitInfo::unit));
static_assert(inOrder(kZoomEnds, &ZoomInfo::zoom));
static_assert(inOrder(kPositions, &PositionInfo::position));
static_assert(inOrder(kAspects, &AspectInfo::aspect));
static_assert(inOrder(kFields, &FieldInfo::field));
// A typed field's calculation mode shares its number.
static_assert(int(CalcMode::Distance) == int(Field::Distance) &&
              int(CalcMode::Diagonal) == int(Field::Diagonal) &&
              int(CalcMode::Width) == int(Field::Width) &&
              int(CalcMode::Height) == int(Field::Height));

template <typename Choice> const auto &rowOf(Choice choice) {
    const auto &table = tableOf<Choice>();
    const auto i = static_cast<std::size_t>(choice);
    // Every enumerator has its row (checked above); a cast from a bad number does not.
    Q_ASSERT(i < table.size());
    return table[i < table.size() ? i : 0];
}

} // namespace

CalcMode modeOf(Field field) {
    return static_cast<CalcMode>(codeOf(field));
}

const UnitInfo &info(Unit unit) {
    return rowOf(unit);
}
const ZoomInfo &info(Zoom zoom) {
    return rowOf(zoom);
}
const PositionInfo &info(Position position) {
    return rowOf(position);
}
const AspectInfo &info(Aspect aspect) {
    return rowOf(aspect);
}
const FieldInfo &info(Field field) {
    return rowOf(field);
}

template <typename Choice> std::optional<Choice> choiceOf(int code) {
    if (code < 0 || code >= static_cast<int>(tableOf<Choice>().size()))
        return std::nullopt;
    return static_cast<Choice>(code);
}

template <typename Choice>
std::optional<Choice> choiceNamed(QStringView cli, Qt::CaseSensitivity cs) {
    for (const auto &row : tableOf<Choice>()) {
        if (cli.compare(QLatin1String(row.cli), cs) == 0)
            return static_cast<Choice>(&row - tableOf<Choice>().data());
    }
    return std::nullopt;
}

template std::optional<Unit> choiceOf<Unit>(int);
template std::optional<Zoom> choiceOf<Zoom>(int);
template std::optional<Position> choiceOf<Position>(int);
template std::optional<Aspect> choiceOf<Aspect>(int);
template std::optional<Field> choiceOf<Field>(int);
template std::optional<Unit> choiceNamed<Unit>(QStringView, Qt::CaseSensitivity);
template std::optional<Zoom> choiceNamed<Zoom>(QStringView, Qt::CaseSensitivity);
template std::optional<Position> choiceNamed<Position>(QStringView, Qt::CaseSensitivity);
template std::optional<Aspect> choiceNamed<Aspect>(QStringView, Qt::CaseSensitivity);
template std::optional<Field> choiceNamed<Field>(QStringView, Qt::CaseSensitivity);

std::optional<Aspect> aspectOf(double width, double height) {
    for (const AspectInfo &row : kAspects) {
        if (row.width == width && row.height == height)
            return row.aspect;
    }
    return std::nullopt;
}

double toInches(double value, Unit unit) {
    // Divided by the factor, not multiplied by its inverse: 12 is not the
    // inverse of the factor for feet as a double holds it.
    return unit == Unit::Inches ? value : value / info(unit).perInch;
}

double fromInches(double inches, Unit unit) {
    return unit == Unit::Inches ? inches : inches * info(unit).perInch;
}

} // namespace vistrel
