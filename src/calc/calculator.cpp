#include "calc/calculator.h"

#include "calc/display.h"
#include "core/helpers.h"
#include "core/numbers.h"

#include <cmath>
#include <initializer_list>
#include <optional>

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

Result<void> Calculator::report(Result<void> result) {
    if (!result)
        observer_.showError(result.error());
    return result;
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
    choose(Unit::Inches);
    choose(Zoom::Wide);
    choose(Position::Bottom);
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
    const Lens lens = lensOf(*model, state_);
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

Result<void> Calculator::redraw() {
    return report(redrawAll());
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

// Model, zoom-end and aspect selection, and the option handlers.

namespace {

struct LongestDistances {
    double ratio43 = 0;
    double ratio169 = 0;
};

// The longest projection distance of a model per aspect group, from its
// largest diagonals. Also the check that the model's lens lines are usable.
Result<LongestDistances> longestDistances(const ModelRecord &m) {
    if (!m.hasWide() && !m.hasTele())
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("Model \"%1\" has no lens line for either zoom end").arg(m.name));
    const Lens lens{m, m.wideScreenMode};
    auto distance = [&](Zoom zoom, double diagonal, Aspect aspect) -> Result<double> {
        if (!m.hasEnd(zoom))
            return 0.0;
        Result<double> d = lens.distanceFromDiagonal(diagonal, zoom, pairOf(aspect));
        if (d && !(std::abs(*d) <= kLongestLength && diagonal <= kLongestLength))
            return makeError(
                ErrorNumber::Overflow,
                QStringLiteral("Overflow: the lens data of model \"%1\" give no usable "
                               "projection distance")
                    .arg(m.name));
        return d;
    };
    // The longest distance at both zoom ends of `aspects`, each at the
    // largest diagonal of its group.
    auto longest = [&](std::initializer_list<Aspect> aspects) -> Result<double> {
        std::optional<double> most;
        for (const Aspect aspect : aspects) {
            for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
                double d = 0;
                VISTREL_TRY_ASSIGN(
                    d, distance(zoom, m.diagonals.at(info(aspect).group, zoom).max, aspect));
                most = most ? maxOf(*most, d) : d;
            }
        }
        return most.value_or(0);
    };

    LongestDistances out;
    VISTREL_TRY_ASSIGN(out.ratio43, longest({Aspect::Ratio4x3, Aspect::Ratio5x4}));
    if (m.offers169()) {
        VISTREL_TRY_ASSIGN(out.ratio169, longest({Aspect::Ratio16x9}));
    } else {
        VISTREL_TRY_ASSIGN(out.ratio169, longest({Aspect::Ratio4x3}));
    }
    return out;
}

} // namespace

void Calculator::selectLimits() {
    const ModelRecord *model = currentModel();
    const AspectPair aspect{state_.aspectHeight, state_.aspectWidth};
    if (model && lensOf(*model, state_).onPanel(aspect)) {
        selectPanelLimits(lensOf(*model, state_), aspect);
        return;
    }
    const AspectGroup group =
        controls_.aspect ? info(*controls_.aspect).group : AspectGroup::FourThree;
    state_.maxDistance =
        group == AspectGroup::SixteenNine ? state_.maxDistance169 : state_.maxDistance43;
    const DiagonalRange &range = state_.limits.at(group, state_.zoomEnd);
    state_.maxDiagonal = range.max;
    state_.minDiagonal = range.min;
}

void Calculator::selectPanelLimits(const Lens &lens, AspectPair aspect) {
    const DiagonalRange range = lens.limits(state_.zoomEnd, aspect);
    state_.maxDiagonal = range.max;
    state_.minDiagonal = range.min;
    // The diagram's scale: the longest distance of this picture at either end.
    double longest = 0;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (!lens.model.hasEnd(zoom))
            continue;
        const Result<double> distance =
            lens.distanceFromDiagonal(lens.limits(zoom, aspect).max, zoom, aspect);
        if (distance && std::abs(*distance) <= kLongestLength)
            longest = maxOf(longest, *distance);
    }
    state_.maxDistance = longest;
}

Result<void> Calculator::selectModelAt(int catalogueIndex) {
    if (catalogueIndex < 0 || static_cast<std::size_t>(catalogueIndex) >= models_.size())
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: model %1").arg(catalogueIndex));
    const ModelRecord &m = models_[static_cast<std::size_t>(catalogueIndex)];
    // Checked before anything changes, so an unusable model leaves the current one in place.
    LongestDistances longest;
    VISTREL_TRY_ASSIGN(longest, longestDistances(m));

    // The aspect and zoom options changed on the way only update the state;
    // the one recalculation is this selection's own, with this model's limits.
    const bool ready = ready_;
    ready_ = false;

    state_.modelIndex = catalogueIndex;
    state_.offsetCount = {m.offsetCount(Zoom::Wide), m.offsetCount(Zoom::Tele)};
    controls_.wideScreenEnabled = m.offers169();
    if ((controls_.aspect && !controls_.enabled(*controls_.aspect)) ||
        (controls_.otherChosen && !controls_.wideScreenEnabled))
        choose(Aspect::Ratio4x3);
    state_.drawFlag = m.drawFlag;
    state_.wideScreenMode = m.wideScreenMode;

    // A model with both ends starts at WIDE; one with TELE only at TELE.
    const bool both = m.hasTele() && m.hasWide();
    controls_.zoomEnabled = {both, both};
    choose(m.hasTele() && !m.hasWide() ? Zoom::Tele : Zoom::Wide);

    state_.maxDistance43 = longest.ratio43;
    state_.maxDistance169 = longest.ratio169;
    state_.limits = m.diagonals;
    selectLimits();
    const double previousDiagonal = state_.screenDiagonal;
    state_.screenDiagonal = state_.maxDiagonal;

    ready_ = ready;
    observer_.controlsChanged();
    if (!ready)
        return {};
    return recalculateDiagonal(previousDiagonal);
}

Result<void> Calculator::applyModelEntry() {
    const int pos = controls_.modelSelected;
    if (pos < 0 || static_cast<std::size_t>(pos) >= controls_.modelItemData.size())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: model list entry %1").arg(pos));
    const int previous = state_.modelIndex;
    Result<void> selected = selectModelAt(controls_.modelItemData[static_cast<std::size_t>(pos)]);
    if (!selected && state_.modelIndex == previous) {
        // The model was refused: the list shows the model still in use.
        for (std::size_t i = 0; i < controls_.modelItemData.size(); ++i) {
            if (controls_.modelItemData[i] == previous)
                controls_.modelSelected = static_cast<int>(i);
        }
        observer_.controlsChanged();
    }
    return selected;
}

Result<void> Calculator::selectModel(int listPosition) {
    controls_.modelSelected = listPosition;
    return report(applyModelEntry());
}

// A choice takes effect in two steps: the state and the controls follow it
// (choose), then, once the calculator shows a result, the result does. The
// engine's own choices are made while nothing is shown, so they calculate
// nothing and cannot fail.

void Calculator::choose(Unit unit) {
    if (controls_.unit == unit)
        return;
    controls_.unit = unit;
    state_.unit = unit;
    observer_.controlsChanged();
}

void Calculator::choose(Position position) {
    if (controls_.position == position)
        return;
    controls_.position = position;
    state_.screenPosition = position;
    observer_.controlsChanged();
}

void Calculator::choose(Zoom zoom) {
    if (controls_.zoom == zoom)
        return;
    controls_.zoom = zoom;
    state_.zoomEnd = zoom;
    selectLimits();
    observer_.controlsChanged();
}

void Calculator::choose(Aspect aspect) {
    if (controls_.aspect == aspect)
        return;
    controls_.aspect = aspect;
    controls_.otherChosen = false;
    setFormat(formatOf(aspect));
}

void Calculator::chooseOther(const PictureFormat &format) {
    if (controls_.otherChosen && controls_.otherFormat == format)
        return;
    controls_.aspect.reset();
    controls_.otherChosen = true;
    controls_.otherFormat = format;
    setFormat(format);
}

void Calculator::setFormat(const PictureFormat &format) {
    state_.aspectHeight = format.height;
    state_.aspectWidth = format.width;
    state_.aspectRatio = format.ratio();
    selectLimits();
    observer_.controlsChanged();
}

Result<void> Calculator::select(Unit unit) {
    if (controls_.unit == unit)
        return {};
    choose(unit);
    if (ready_)
        refreshFields();
    return {};
}

Result<void> Calculator::select(Position position) {
    if (controls_.position == position)
        return {};
    choose(position);
    if (!ready_)
        return {};
    return report(drawSideView());
}

Result<void> Calculator::select(Zoom zoom) {
    if (controls_.zoom == zoom)
        return {};
    if (!controls_.zoomEnabled[static_cast<std::size_t>(zoom)])
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("the model does not offer the %1 end")
                             .arg(QLatin1String(info(zoom).name)));
    choose(zoom);
    if (!ready_)
        return {};
    // The diagonal stays; one that no longer fits is pulled to the limit.
    clampToLimits_ = true;
    return report(recalculateAndRedraw(CalcMode::StoredDiagonal, 0));
}

Result<void> Calculator::select(Aspect aspect) {
    if (controls_.aspect == aspect)
        return {};
    if (!controls_.enabled(aspect))
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("the model does not offer %1").arg(QLatin1String(info(aspect).label)));
    choose(aspect);
    if (!ready_)
        return {};
    // The distance stays; a picture that no longer fits is pulled to the limit.
    clampToLimits_ = true;
    return report(recalculateAndRedraw(CalcMode::Distance, state_.projectionDistance));
}

Result<void> Calculator::select(const PictureFormat &format) {
    if (const std::optional<Aspect> aspect = aspectOf(format))
        return select(*aspect);
    VISTREL_TRY(checkFormat(format));
    if (controls_.otherChosen && controls_.otherFormat == format)
        return {};
    if (!controls_.wideScreenEnabled)
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("the model does not offer %1").arg(formatLabel(format)));
    chooseOther(format);
    if (!ready_)
        return {};
    // As for an aspect option: the distance stays.
    clampToLimits_ = true;
    return report(recalculateAndRedraw(CalcMode::Distance, state_.projectionDistance));
}

Result<void> Calculator::selectAnamorphic(double factor) {
    VISTREL_TRY(checkAnamorphic(factor));
    if (state_.anamorphic == factor)
        return {};
    state_.anamorphic = factor;
    selectLimits();
    observer_.controlsChanged();
    if (!ready_)
        return {};
    // The screen stays; the projector moves to fill it.
    clampToLimits_ = true;
    return report(recalculateAndRedraw(CalcMode::StoredDiagonal, 0));
}

Result<void> Calculator::restore(const RestoreRequest &request) {
    // Everything that could refuse the file is checked before anything changes.
    // By name, as a file names its model; where two models share the name
    // (a user's own beside the catalogue's), the one the file holds exactly.
    int index = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        if (models_[i].name != request.model.name)
            continue;
        if (index < 0 || models_[i] == request.model)
            index = static_cast<int>(i);
        if (models_[i] == request.model)
            break;
    }
    const ModelRecord &model =
        index >= 0 ? models_[static_cast<std::size_t>(index)] : request.model;
    if (index < 0 && models_.size() >= static_cast<std::size_t>(kModelCapacity))
        return makeError(
            ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Subscript out of range: the model list is full (%1 models)")
                .arg(kModelCapacity));
    VISTREL_TRY(longestDistances(model));
    VISTREL_TRY(checkAnamorphic(request.anamorphic));
    if (request.anyFormat)
        VISTREL_TRY(checkFormat({request.aspectWidth, request.aspectHeight}));

    ready_ = false;
    const double previousDiagonal = state_.screenDiagonal;
    if (index < 0) {
        models_.push_back(request.model);
        index = static_cast<int>(models_.size() - 1);
        controls_.modelItems.append(request.model.name);
        ++controls_.modelListVersion;
        controls_.modelItemData.push_back(index);
    }
    // The list holds one entry per catalogue entry, in catalogue order.
    controls_.modelSelected = index;
    Result<void> restored = applyModelEntry();
    if (restored) {
        const ModelRecord &selected = models_[static_cast<std::size_t>(index)];
        // A zoom end the model lacks, or 16 : 9 for a model without it, keeps
        // what the model selection chose.
        if (selected.hasEnd(request.zoomEnd))
            choose(request.zoomEnd);
        choose(request.screenPosition);
        choose(request.unit);
        state_.anamorphic = request.anamorphic;
        const PictureFormat format{request.aspectWidth, request.aspectHeight};
        const std::optional<Aspect> aspect = aspectOf(format);
        if (!aspect && request.anyFormat) {
            if (controls_.wideScreenEnabled)
                chooseOther(format);
        } else if (controls_.enabled(aspect.value_or(Aspect::Ratio5x4))) {
            choose(aspect.value_or(Aspect::Ratio5x4));
        }
        selectLimits();
        state_.screenDiagonal = request.screenDiagonal;
        // A stored diagonal outside the current limits is pulled to the limit,
        // so that width, height and distance always belong to the diagonal shown.
        clampToLimits_ = true;
        restored = recalculateDiagonal(previousDiagonal);
    }
    ready_ = true;
    observer_.controlsChanged();
    return restored;
}

// Value entry: a typed value in one of the four fields.

Result<Entered> Calculator::enter(Field field, const QString &text) {
    // What the field shows already is no new value: leaving a field whose
    // text the display rounded must not calculate from the rounded text.
    if (text == controls_.text(field))
        return Entered::Taken;
    // Where the desktop writes "14,4", the user types "100,5" and means it;
    // the dot keeps working there, as everywhere.
    const double value = roundUp(leadingNumber(withDotDecimal(text, decimalPoint_)));
    Result<Entered> entered = Entered::Refused;
    if (value < 0) {
        // No length is negative; left to the calculation, a negative width
        // would draw an upside-down screen.
        showRangeMessage(false);
    } else if (Result<bool> result = calculate(modeOf(field), toInches(value, state_.unit));
               !result) {
        observer_.showError(result.error());
        entered = result.error();
    } else if (*result) {
        entered = Entered::Taken;
    }
    // The fields show the stored result again, a refused value's field included.
    if (ready_)
        VISTREL_TRY(redraw());
    else
        observer_.fieldsChanged();
    return entered;
}

} // namespace vistrel
