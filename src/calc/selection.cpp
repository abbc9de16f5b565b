// Model, zoom-end and aspect selection, and the option handlers.
#include "calc/calculator.h"

#include "core/helpers.h"

#include <cmath>

namespace vistrel {

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
            QStringLiteral("Model \"%1\" has no lens line for either zoom end").arg(m.ModelName));
    const Lens lens{m, m.WideScreenMode};
    auto distance = [&](Zoom zoom, double diagonal, Aspect aspect) -> Result<double> {
        if (!m.hasEnd(zoom))
            return 0.0;
        Result<double> d = lens.distanceFromDiagonal(diagonal, zoom, pairOf(aspect));
        if (d && !(std::abs(*d) <= kLongestLength && diagonal <= kLongestLength))
            return makeError(
                ErrorNumber::Overflow,
                QStringLiteral("Overflow: the lens data of model \"%1\" give no usable "
                               "projection distance")
                    .arg(m.ModelName));
        return d;
    };
    double wide43 = 0, tele43 = 0, wide54 = 0, tele54 = 0;
    VISTREL_TRY_ASSIGN(wide43, distance(Zoom::Wide, m.MaxDiagonal43Wide, Aspect::Ratio4x3));
    VISTREL_TRY_ASSIGN(tele43, distance(Zoom::Tele, m.MaxDiagonal43Tele, Aspect::Ratio4x3));
    VISTREL_TRY_ASSIGN(wide54, distance(Zoom::Wide, m.MaxDiagonal43Wide, Aspect::Ratio5x4));
    VISTREL_TRY_ASSIGN(tele54, distance(Zoom::Tele, m.MaxDiagonal43Tele, Aspect::Ratio5x4));

    LongestDistances out;
    out.ratio43 = maxOf(maxOf(maxOf(wide43, tele43), wide54), tele54);
    if (m.offers169()) {
        double wide169 = 0, tele169 = 0;
        VISTREL_TRY_ASSIGN(wide169, distance(Zoom::Wide, m.MaxDiagonal169Wide, Aspect::Ratio16x9));
        VISTREL_TRY_ASSIGN(tele169, distance(Zoom::Tele, m.MaxDiagonal169Tele, Aspect::Ratio16x9));
        out.ratio169 = maxOf(wide169, tele169);
    } else {
        out.ratio169 = maxOf(wide43, tele43);
    }
    return out;
}

LimitTable limitsOf(const ModelRecord &m) {
    LimitTable t;
    t.MaxDiagonal43Wide = m.MaxDiagonal43Wide;
    t.MaxDiagonal43Tele = m.MaxDiagonal43Tele;
    t.MaxDiagonal169Wide = m.MaxDiagonal169Wide;
    t.MaxDiagonal169Tele = m.MaxDiagonal169Tele;
    t.MinDiagonal43Wide = m.MinDiagonal43Wide;
    t.MinDiagonal43Tele = m.MinDiagonal43Tele;
    t.MinDiagonal169Wide = m.MinDiagonal169Wide;
    t.MinDiagonal169Tele = m.MinDiagonal169Tele;
    return t;
}

} // namespace

void Calculator::selectLimits() {
    const bool wideGroup = controls_.aspect && info(*controls_.aspect).wideGroup;
    state_.MaxDistance = wideGroup ? state_.MaxDistance169 : state_.MaxDistance43;
    state_.MaxDiagonal = state_.limits.maxDiagonal(wideGroup, state_.ZoomEnd);
    state_.MinDiagonal = state_.limits.minDiagonal(wideGroup, state_.ZoomEnd);
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

    state_.ModelIndex = catalogueIndex;
    state_.OffsetCount = {m.offsetCount(Zoom::Wide), m.offsetCount(Zoom::Tele)};
    controls_.wideScreenEnabled = m.offers169();
    if (controls_.aspect && !controls_.enabled(*controls_.aspect))
        choose(Aspect::Ratio4x3);
    state_.ModelDrawFlag = m.ModelDrawFlag;
    state_.WideScreenMode = m.WideScreenMode;

    // A model with both ends starts at WIDE; one with TELE only at TELE.
    const bool both = m.hasTele() && m.hasWide();
    controls_.zoomEnabled = {both, both};
    choose(m.hasTele() && !m.hasWide() ? Zoom::Tele : Zoom::Wide);

    state_.MaxDistance43 = longest.ratio43;
    state_.MaxDistance169 = longest.ratio169;
    state_.limits = limitsOf(m);
    selectLimits();
    const double previousDiagonal = state_.ScreenDiagonal;
    state_.ScreenDiagonal = state_.MaxDiagonal;

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
    const int previous = state_.ModelIndex;
    Result<void> selected = selectModelAt(controls_.modelItemData[static_cast<std::size_t>(pos)]);
    if (!selected && state_.ModelIndex == previous) {
        // The model was refused: the list shows the model still in use.
        for (std::size_t i = 0; i < controls_.modelItemData.size(); ++i) {
            if (controls_.modelItemData[i] == previous)
                controls_.modelSelected = static_cast<int>(i);
        }
        observer_.controlsChanged();
    }
    return selected;
}

void Calculator::selectModel(int listPosition) {
    controls_.modelSelected = listPosition;
    report(applyModelEntry());
}

void Calculator::select(Unit unit) {
    if (controls_.unit == unit)
        return;
    controls_.unit = unit;
    applyUnit(unit);
}

void Calculator::applyUnit(Unit unit) {
    state_.UnitCode = unit;
    observer_.controlsChanged();
    if (ready_)
        refreshFields();
}

void Calculator::select(Position position) {
    if (controls_.position == position)
        return;
    controls_.position = position;
    applyPosition(position);
}

void Calculator::applyPosition(Position position) {
    state_.ScreenPosition = position;
    observer_.controlsChanged();
    if (ready_)
        report(drawSideView());
}

Result<void> Calculator::select(Zoom zoom) {
    if (controls_.zoom == zoom)
        return {};
    if (!controls_.zoomEnabled[static_cast<std::size_t>(zoom)])
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("the model does not offer the %1 end")
                             .arg(QLatin1String(info(zoom).name)));
    choose(zoom);
    return {};
}

void Calculator::choose(Zoom zoom) {
    if (controls_.zoom == zoom)
        return;
    controls_.zoom = zoom;
    applyZoom(zoom);
}

void Calculator::applyZoom(Zoom zoom) {
    state_.ZoomEnd = zoom;
    selectLimits();
    observer_.controlsChanged();
    if (ready_) {
        // The diagonal stays; one that no longer fits is pulled to the limit.
        clampToLimits_ = true;
        report(recalculateAndRedraw(CalcMode::StoredDiagonal, 0));
    }
}

Result<void> Calculator::select(Aspect aspect) {
    if (controls_.aspect == aspect)
        return {};
    if (!controls_.enabled(aspect))
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("the model does not offer %1").arg(QLatin1String(info(aspect).caption)));
    choose(aspect);
    return {};
}

void Calculator::choose(Aspect aspect) {
    if (controls_.aspect == aspect)
        return;
    controls_.aspect = aspect;
    applyAspect(aspect);
}

void Calculator::applyAspect(Aspect aspect) {
    const AspectInfo &row = info(aspect);
    state_.AspectHeight = row.height;
    state_.AspectWidth = row.width;
    state_.AspectRatio = row.width / row.height;
    selectLimits();
    observer_.controlsChanged();
    if (ready_) {
        // The distance stays; a picture that no longer fits is pulled to the limit.
        clampToLimits_ = true;
        report(recalculateAndRedraw(CalcMode::Distance, state_.ProjectionDistance));
    }
}

Result<void> Calculator::restore(const RestoreRequest &request) {
    // Everything that could refuse the file is checked before anything changes.
    int index = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        if (models_[i].ModelName == request.model.ModelName) {
            index = static_cast<int>(i);
            break;
        }
    }
    const ModelRecord &model =
        index >= 0 ? models_[static_cast<std::size_t>(index)] : request.model;
    if (index < 0 && models_.size() >= static_cast<std::size_t>(kModelCapacity))
        return makeError(
            ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Subscript out of range: the model list is full (%1 models)")
                .arg(kModelCapacity));
    VISTREL_TRY(longestDistances(model));

    ready_ = false;
    const double previousDiagonal = state_.ScreenDiagonal;
    if (index < 0) {
        models_.push_back(request.model);
        index = static_cast<int>(models_.size() - 1);
        controls_.modelItems.append(request.model.ModelName);
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
        if (selected.hasEnd(request.ZoomEnd))
            choose(request.ZoomEnd);
        select(request.ScreenPosition);
        select(request.UnitCode);
        const Aspect aspect =
            aspectOf(request.AspectWidth, request.AspectHeight).value_or(Aspect::Ratio5x4);
        if (controls_.enabled(aspect))
            choose(aspect);
        state_.ScreenDiagonal = request.ScreenDiagonal;
        // A stored diagonal outside the current limits is pulled to the limit,
        // so that width, height and distance always belong to the diagonal shown.
        clampToLimits_ = true;
        restored = recalculateDiagonal(previousDiagonal);
    }
    ready_ = true;
    observer_.controlsChanged();
    return restored;
}

} // namespace vistrel
