#include "calc/calculator.h"

#include "calc/display.h"
#include "core/helpers.h"

#include <cmath>

namespace vistrel {

Messages messagesFrom(const LanguageTexts &texts) {
    Messages m;
    m.MsgGeneral = texts.text(LangKey::Msg1);
    m.MsgTooLarge = {texts.text(LangKey::Msg2), texts.text(LangKey::Msg3),
                     texts.text(LangKey::Msg4)};
    m.MsgTooSmall = {texts.text(LangKey::Msg5), texts.text(LangKey::Msg6),
                     texts.text(LangKey::Msg7)};
    return m;
}

Calculator::Calculator(EngineObserver &observer, QChar decimalPoint)
    : observer_(observer), decimalPoint_(decimalPoint) {}

void Calculator::setMetrics(const IsometricMetrics &isometric, const SideMetrics &side) {
    isoMetrics_ = isometric;
    sideMetrics_ = side;
}

const ModelRecord *Calculator::currentModel() const {
    if (state_.ModelIndex < 0 || static_cast<std::size_t>(state_.ModelIndex) >= models_.size())
        return nullptr;
    return &models_[static_cast<std::size_t>(state_.ModelIndex)];
}

void Calculator::report(const Status &status) {
    if (status)
        observer_.showError(*status);
}

void Calculator::loadCatalogue(std::vector<ModelRecord> models) {
    models_ = std::move(models);
    controls_.modelItems.clear();
    ++controls_.modelListVersion;
    controls_.modelItemData.clear();
    controls_.modelSelected = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        controls_.modelItems.append(models_[i].ModelName);
        controls_.modelItemData.push_back(static_cast<int>(i));
    }
}

Status Calculator::startUp(std::vector<ModelRecord> models) {
    clampToLimits_ = false;
    windowReady_ = false;
    ShowEnterButton(-1);
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
    state_.ModelIndex = 0;
    controls_.modelSelected = 0;
    const double previousDiagonal = state_.ScreenDiagonal;
    if (Status s = cboModel_Click())
        return s;
    if (Status s = recalculateDiagonal(previousDiagonal))
        return s;
    windowReady_ = true;
    return std::nullopt;
}

Result<bool> Calculator::CalcScreenSize(int mode, double d1) {
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
    const double r = state_.AspectRatio;
    if (r == 0 || !std::isfinite(r))
        return makeError(ErrorNumber::DivisionByZero,
                         QStringLiteral("Division by zero: no aspect ratio is selected"));
    const double s = std::sin(std::atan(1 / r));
    const Lens lens{*model, state_.WideScreenMode};
    const AspectPair aspect{state_.AspectHeight, state_.AspectWidth};

    double distance = 0, diagonal = 0, height = 0, width = 0;
    switch (mode) {
    case 0:
        distance = d1;
        diagonal = lens.DiagonalFromDistance(distance, state_.ZoomEnd, aspect);
        height = s * diagonal;
        width = r * height;
        break;
    case 1:
    case 9:
        diagonal = mode == 9 ? state_.ScreenDiagonal : d1;
        height = s * diagonal;
        width = r * height;
        VISTREL_TRY_ASSIGN(distance, lens.DistanceFromDiagonal(diagonal, state_.ZoomEnd, aspect));
        break;
    case 2:
        width = d1;
        height = width / r;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.DistanceFromDiagonal(diagonal, state_.ZoomEnd, aspect));
        break;
    case 3:
        height = d1;
        width = r * height;
        diagonal = std::sqrt(width * width + height * height);
        VISTREL_TRY_ASSIGN(distance, lens.DistanceFromDiagonal(diagonal, state_.ZoomEnd, aspect));
        break;
    default:
        return makeError(ErrorNumber::InvalidArgument,
                         QStringLiteral("Invalid procedure call or argument: mode %1").arg(mode));
    }

    // A diagonal that is not a number counts as too large.
    const bool tooLarge = !(diagonal <= state_.MaxDiagonal);
    const bool tooSmall = !tooLarge && diagonal < state_.MinDiagonal;
    if (tooLarge || tooSmall) {
        const double limit = tooLarge ? state_.MaxDiagonal : state_.MinDiagonal;
        showRangeMessage(tooLarge);
        if (!clampToLimits_)
            return false;
        // Clamp once: if the limit itself is refused (a model whose smallest
        // diagonal exceeds its largest), the repetition stops there.
        clampToLimits_ = false;
        if (Result<bool> repeated = calculate(1, limit); !repeated)
            return repeated.error();
        return false;
    }

    const bool tele = state_.ZoomEnd == Tele;
    const double OffsetA = lens.OffsetFromHeight(
        height, tele ? model->TeleOffsetCoefA : model->WideOffsetCoefA, aspect);
    const double OffsetB = lens.OffsetFromHeight(
        height, tele ? model->TeleOffsetCoefB : model->WideOffsetCoefB, aspect);
    for (const double v : {width, height, distance, diagonal, OffsetA, OffsetB}) {
        if (!std::isfinite(v))
            return makeError(ErrorNumber::Overflow,
                             QStringLiteral("Overflow: the result is too large to compute"));
    }
    state_.ScreenWidth = width;
    state_.ScreenHeight = height;
    state_.ProjectionDistance = distance;
    state_.ScreenDiagonal = diagonal;
    state_.OffsetA = OffsetA;
    state_.OffsetB = OffsetB;
    ++stores_;
    clampToLimits_ = false;
    return true;
}

void Calculator::showRangeMessage(bool tooLarge) {
    const double limit = tooLarge ? state_.MaxDiagonal : state_.MinDiagonal;
    const int unit = state_.UnitCode >= 0 && state_.UnitCode <= 2 ? state_.UnitCode : 0;
    const QString &text = (tooLarge ? messages_.MsgTooLarge : messages_.MsgTooSmall)[unit];
    observer_.showMessage(rangeMessage(text, unit, limit, decimalPoint_));
}

Status Calculator::recalculateAndRefresh(int mode, double d1) {
    if (Result<bool> r = CalcScreenSize(mode, d1); !r)
        return r.error();
    return refreshAll();
}

Status Calculator::recalculateDiagonal(double previousDiagonal) {
    const unsigned storesBefore = stores_;
    Result<bool> accepted = CalcScreenSize(9, 0);
    if (!accepted)
        return accepted.error();
    // Only a model whose smallest diagonal exceeds its largest refuses a
    // diagonal without storing anything; the diagonal then goes back to the
    // one the other results belong to.
    if (stores_ == storesBefore)
        state_.ScreenDiagonal = previousDiagonal;
    return refreshAll();
}

Status Calculator::refreshAll() {
    ShowResults();
    if (Status s = DrawScreen1())
        return s;
    return DrawScreen2();
}

void Calculator::ShowResults() {
    if (const ModelRecord *model = currentModel()) {
        const ResultTexts texts = resultTexts(state_, *model, decimalPoint_);
        controls_.fieldText = texts.values;
        controls_.offsetText = texts.offsets;
    }
    // Remembered after the refresh: a field left without typing must not
    // count as edited because the display rounded what was typed.
    savedText_ = controls_.fieldText;
    observer_.fieldsChanged();
}

Status Calculator::DrawScreen1() {
    const IsometricInput input{state_.ScreenWidth, state_.ScreenHeight, state_.ProjectionDistance,
                               state_.MaxDistance};
    Result<IsometricGeometry> g = layoutIsometric(isoMetrics_, input);
    if (!g) {
        isometric_.reset();
        observer_.isometricChanged();
        return g.error();
    }
    state_.MaxDistance = g->MaxDistance;
    isometric_ = *g;
    observer_.isometricChanged();
    return std::nullopt;
}

Status Calculator::DrawScreen2() {
    const int zoom = state_.ZoomEnd == Tele ? Tele : Wide;
    const SideInput input{state_.ScreenPosition, state_.OffsetCount[static_cast<std::size_t>(zoom)],
                          state_.OffsetA == 0 && state_.OffsetB == 0, state_.ModelDrawFlag};
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
