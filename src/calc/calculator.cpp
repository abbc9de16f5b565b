#include "calc/calculator.h"

#include "calc/display.h"
#include "core/helpers.h"

#include <cmath>

namespace vistrel {

Messages messagesFrom(const LanguageTexts &texts) {
    Messages m;
    m.noModels = texts.text(LangKey::NoModelsMessage);
    m.tooLarge = {texts.text(LangKey::TooLargeInches), texts.text(LangKey::TooLargeFeet),
                  texts.text(LangKey::TooLargeCentimeters)};
    m.tooSmall = {texts.text(LangKey::TooSmallInches), texts.text(LangKey::TooSmallFeet),
                  texts.text(LangKey::TooSmallCentimeters)};
    return m;
}

Calculator::Calculator(EngineObserver &observer, QChar decimalPoint)
    : observer_(observer), decimalPoint_(decimalPoint) {}

void Calculator::setMetrics(const IsometricMetrics &isometric, const SideMetrics &side) {
    isoMetrics_ = isometric;
    sideMetrics_ = side;
}

const ModelRecord *Calculator::currentModel() const {
    if (state_.modelIndex < 0 || static_cast<std::size_t>(state_.modelIndex) >= models_.size())
        return nullptr;
    return &models_[static_cast<std::size_t>(state_.modelIndex)];
}

void Calculator::report(const Result<void> &result) {
    if (!result)
        observer_.showError(result.error());
}

void Calculator::loadCatalogue(std::vector<ModelRecord> models) {
    models_ = std::move(models);
    controls_.modelItems.clear();
    ++controls_.modelListVersion;
    controls_.modelItemData.clear();
    controls_.modelSelected = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        controls_.modelItems.append(models_[i].name);
        controls_.modelItemData.push_back(static_cast<int>(i));
    }
}

Result<void> Calculator::startUp(std::vector<ModelRecord> models) {
    clampToLimits_ = false;
    ready_ = false;
    select(Unit::Inches);
    choose(Zoom::Wide);
    select(Position::Bottom);
    choose(Aspect::Ratio4x3);
    VISTREL_TRY(replaceCatalogue(std::move(models)));
    ready_ = true;
    return {};
}

Result<void> Calculator::replaceCatalogue(std::vector<ModelRecord> models) {
    ready_ = false;
    loadCatalogue(std::move(models));
    observer_.controlsChanged();
    if (models_.empty())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the model list is empty"));
    state_.modelIndex = 0;
    controls_.modelSelected = 0;
    const double previousDiagonal = state_.screenDiagonal;
    VISTREL_TRY(applyModelEntry());
    VISTREL_TRY(recalculateDiagonal(previousDiagonal));
    ready_ = true;
    return {};
}

Result<Calculator::Pass> Calculator::computePass(CalcMode mode, double d1) {
    const ModelRecord *model = currentModel();
    if (!model)
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: no model is selected"));
    const double r = state_.aspectRatio;
    if (r == 0 || !std::isfinite(r))
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: no aspect ratio is selected"));
    const double s = std::sin(std::atan(1 / r)); // the height of a picture of diagonal 1
    const Lens lens{*model, state_.wideScreenMode};
    const AspectPair aspect{state_.aspectHeight, state_.aspectWidth};

    double distance = 0, diagonal = 0, height = 0, width = 0;
    switch (mode) {
    case CalcMode::Distance:
        distance = d1;
        diagonal = lens.diagonalFromDistance(distance, state_.zoomEnd, aspect);
        height = s * diagonal;
        width = r * height;
        break;
    case CalcMode::Diagonal:
    case CalcMode::StoredDiagonal:
        diagonal = mode == CalcMode::StoredDiagonal ? state_.screenDiagonal : d1;
        height = s * diagonal;
        width = r * height;
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    case CalcMode::Width:
        width = d1;
        height = width / r;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    case CalcMode::Height:
        height = d1;
        width = r * height;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    }

    // A diagonal that is not a number counts as too large.
    const bool tooLarge = !(diagonal <= state_.maxDiagonal);
    const bool tooSmall = !tooLarge && diagonal < state_.minDiagonal;
    if (tooLarge || tooSmall) {
        showRangeMessage(tooLarge);
        return Pass{false, tooLarge ? state_.maxDiagonal : state_.minDiagonal};
    }

    const Offsets offsets = lens.offsets(height, state_.zoomEnd, aspect);
    for (const double v : {width, height, distance, diagonal, offsets.a, offsets.b}) {
        if (!std::isfinite(v))
            return makeError(ErrorNumber::Overflow,
                             QStringLiteral("Overflow: the result is too large to compute"));
    }
    state_.screenWidth = width;
    state_.screenHeight = height;
    state_.projectionDistance = distance;
    state_.screenDiagonal = diagonal;
    state_.offsetA = offsets.a;
    state_.offsetB = offsets.b;
    clampToLimits_ = false;
    return Pass{true, 0};
}

Result<Calculator::Outcome> Calculator::compute(CalcMode mode, double d1) {
    Result<Pass> pass = computePass(mode, d1);
    if (pass && !pass->stored && clampToLimits_) {
        // Pulled to the crossed limit, once: a model whose smallest diagonal
        // exceeds its largest refuses the limit too, and that is the end.
        clampToLimits_ = false;
        pass = computePass(CalcMode::Diagonal, pass->crossedLimit);
        if (pass)
            return pass->stored ? Outcome::Clamped : Outcome::Refused;
    }
    if (!pass) {
        // A failed calculation must not leave clamping on for the next entry.
        clampToLimits_ = false;
        return pass.error();
    }
    return pass->stored ? Outcome::Stored : Outcome::Refused;
}

Result<bool> Calculator::calculate(CalcMode mode, double d1) {
    Outcome outcome = Outcome::Refused;
    VISTREL_TRY_ASSIGN(outcome, compute(mode, d1));
    return outcome == Outcome::Stored;
}

void Calculator::showRangeMessage(bool tooLarge) {
    const double limit = tooLarge ? state_.maxDiagonal : state_.minDiagonal;
    const auto unit = static_cast<std::size_t>(state_.unit);
    const QString &text = (tooLarge ? messages_.tooLarge : messages_.tooSmall)[unit];
    observer_.showMessage(rangeMessage(text, state_.unit, limit, decimalPoint_));
}

Result<void> Calculator::recalculateAndRedraw(CalcMode mode, double d1) {
    VISTREL_TRY(compute(mode, d1));
    return redrawAll();
}

Result<void> Calculator::recalculateDiagonal(double previousDiagonal) {
    Outcome outcome = Outcome::Refused;
    VISTREL_TRY_ASSIGN(outcome, compute(CalcMode::StoredDiagonal, 0));
    // Only a model whose smallest diagonal exceeds its largest refuses a
    // diagonal without storing anything; the diagonal then goes back to the
    // one the other results belong to.
    if (outcome == Outcome::Refused)
        state_.screenDiagonal = previousDiagonal;
    return redrawAll();
}

Result<void> Calculator::redrawAll() {
    refreshFields();
    VISTREL_TRY(drawIsometric());
    return drawSideView();
}

void Calculator::redraw() {
    report(redrawAll());
}

void Calculator::refreshFields() {
    if (const ModelRecord *model = currentModel()) {
        const ResultTexts texts = resultTexts(state_, *model, decimalPoint_);
        controls_.fieldText = texts.values;
        controls_.offsetText = texts.offsets;
    }
    observer_.fieldsChanged();
}

Result<void> Calculator::drawIsometric() {
    const IsometricInput input{state_.screenWidth, state_.screenHeight, state_.projectionDistance,
                               state_.maxDistance};
    Result<IsometricGeometry> g = layoutIsometric(isoMetrics_, input);
    if (!g) {
        isometric_.reset();
        observer_.isometricChanged();
        return g.error();
    }
    state_.maxDistance = g->maxDistance;
    isometric_ = *g;
    observer_.isometricChanged();
    return {};
}

Result<void> Calculator::drawSideView() {
    const SideInput input{state_.screenPosition, state_.offsetCountNow(),
                          state_.offsetA == 0 && state_.offsetB == 0, state_.drawFlag};
    Result<SideGeometry> g = layoutSideView(sideMetrics_, input);
    if (!g) {
        side_.reset();
        observer_.sideViewChanged();
        return g.error();
    }
    side_ = *g;
    observer_.sideViewChanged();
    return {};
}

} // namespace vistrel
