#include "calc/calculator.h"

#include "calc/display.h"
#include "core/helpers.h"

#include <cmath>

namespace vistrel {

Messages messagesFrom(const LanguageTexts &texts) {
    Messages m;
    m.general = texts.text(LangKey::Msg1);
    m.tooLarge = {texts.text(LangKey::Msg2), texts.text(LangKey::Msg3), texts.text(LangKey::Msg4)};
    m.tooSmall = {texts.text(LangKey::Msg5), texts.text(LangKey::Msg6), texts.text(LangKey::Msg7)};
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

void Calculator::report(const Status &status) {
    if (status)
        observer_.showError(*status);
}

void Calculator::loadCatalogue(std::vector<ModelRecord> models) {
    models_ = std::move(models);
    controls_.modelItems.clear();
    controls_.modelItemData.clear();
    controls_.modelSelected = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        controls_.modelItems.append(models_[i].modelName);
        controls_.modelItemData.push_back(static_cast<int>(i));
    }
}

Status Calculator::startUp(std::vector<ModelRecord> models) {
    clampToLimits_ = false;
    windowReady_ = false;
    showEnterButton(-1);
    selectUnit(Inches);
    selectZoom(Wide);
    selectPosition(Bottom);
    selectAspect(0);
    currentFileName_.clear();
    if (Status s = replaceCatalogue(std::move(models)))
        return s;
    windowReady_ = true;
    return std::nullopt;
}

Status Calculator::replaceCatalogue(std::vector<ModelRecord> models) {
    windowReady_ = false;
    loadCatalogue(std::move(models));
    observer_.controlsChanged();
    if (models_.empty())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the model list is empty"));
    state_.modelIndex = 0;
    controls_.modelSelected = 0;
    const double previousDiagonal = state_.screenDiagonal;
    if (Status s = clickModelList())
        return s;
    if (Status s = recalculateDiagonal(previousDiagonal))
        return s;
    windowReady_ = true;
    return std::nullopt;
}

Result<bool> Calculator::calcScreenSize(int mode, double d1) {
    Result<bool> result = calculate(mode, d1);
    if (!result)
        clampToLimits_ =
            false; // a failed calculation must not leave clamping on for the next entry
    return result;
}

Result<bool> Calculator::calculate(int mode, double d1) {
    const ModelRecord *model = currentModel();
    if (!model)
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: no model is selected"));
    const double r = state_.aspectRatio;
    if (r == 0 || !std::isfinite(r))
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: no aspect ratio is selected"));
    const double s = std::sin(std::atan(1 / r));
    const Lens lens{*model, state_.wideScreenMode};
    const AspectPair aspect{state_.aspectHeight, state_.aspectWidth};

    double distance = 0, diagonal = 0, height = 0, width = 0;
    switch (mode) {
    case 0:
        distance = d1;
        diagonal = lens.diagonalFromDistance(distance, state_.zoomEnd, aspect);
        height = s * diagonal;
        width = r * height;
        break;
    case 1:
    case 9:
        diagonal = mode == 9 ? state_.screenDiagonal : d1;
        height = s * diagonal;
        width = r * height;
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    case 2:
        width = d1;
        height = width / r;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    case 3:
        height = d1;
        width = r * height;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.distanceFromDiagonal(diagonal, state_.zoomEnd, aspect));
        break;
    default:
        return makeError(ErrorNumber::InvalidArgument,
                         QStringLiteral("Invalid procedure call or argument: mode %1").arg(mode));
    }

    // A diagonal that is not a number counts as too large.
    const bool tooLarge = !(diagonal <= state_.maxDiagonal);
    const bool tooSmall = !tooLarge && diagonal < state_.minDiagonal;
    if (tooLarge || tooSmall) {
        const double limit = tooLarge ? state_.maxDiagonal : state_.minDiagonal;
        const int unit = state_.unitCode >= 0 && state_.unitCode <= 2 ? state_.unitCode : 0;
        const QString &text = (tooLarge ? messages_.tooLarge : messages_.tooSmall)[unit];
        observer_.showMessage(rangeMessage(text, unit, limit, decimalPoint_));
        if (!clampToLimits_)
            return false;
        // Clamp once: if the limit itself is refused (a model whose smallest
        // diagonal exceeds its largest), the repetition stops there.
        clampToLimits_ = false;
        if (Result<bool> repeated = calculate(1, limit); !repeated)
            return repeated.error();
        return false;
    }

    const bool tele = state_.zoomEnd == Tele;
    const double offsetA = lens.offsetFromHeight(
        height, tele ? model->teleOffsetCoefA : model->wideOffsetCoefA, aspect);
    const double offsetB = lens.offsetFromHeight(
        height, tele ? model->teleOffsetCoefB : model->wideOffsetCoefB, aspect);
    for (const double v : {width, height, distance, diagonal, offsetA, offsetB}) {
        if (!std::isfinite(v))
            return makeError(ErrorNumber::Overflow,
                             QStringLiteral("Overflow: the result is too large to compute"));
    }
    state_.screenWidth = width;
    state_.screenHeight = height;
    state_.projectionDistance = distance;
    state_.screenDiagonal = diagonal;
    state_.offsetA = offsetA;
    state_.offsetB = offsetB;
    ++stores_;
    clampToLimits_ = false;
    return true;
}

Status Calculator::recalculateAndRefresh(int mode, double d1) {
    if (Result<bool> r = calcScreenSize(mode, d1); !r)
        return r.error();
    return refreshAll();
}

Status Calculator::recalculateDiagonal(double previousDiagonal) {
    const unsigned storesBefore = stores_;
    Result<bool> accepted = calcScreenSize(9, 0);
    if (!accepted)
        return accepted.error();
    // Only a model whose smallest diagonal exceeds its largest refuses a
    // diagonal without storing anything; the diagonal then goes back to the
    // one the other results belong to.
    if (stores_ == storesBefore)
        state_.screenDiagonal = previousDiagonal;
    return refreshAll();
}

Status Calculator::refreshAll() {
    showResults();
    if (Status s = drawScreen1())
        return s;
    return drawScreen2();
}

void Calculator::showResults() {
    if (const ModelRecord *model = currentModel()) {
        const ResultTexts texts = resultTexts(state_, *model, decimalPoint_);
        controls_.fieldText = texts.values;
        controls_.offsetText = texts.offsets;
    }
    observer_.fieldsChanged();
}

Status Calculator::drawScreen1() {
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
    return std::nullopt;
}

Status Calculator::drawScreen2() {
    const int zoom = state_.zoomEnd == Tele ? Tele : Wide;
    const SideInput input{state_.screenPosition, state_.offsetCount[static_cast<std::size_t>(zoom)],
                          state_.offsetA == 0 && state_.offsetB == 0, state_.modelDrawFlag};
    Result<SideGeometry> g = layoutSideView(sideMetrics_, input);
    if (!g) {
        side_.reset();
        observer_.sideViewChanged();
        return g.error();
    }
    side_ = *g;
    observer_.sideViewChanged();
    return std::nullopt;
}

} // namespace vistrel
