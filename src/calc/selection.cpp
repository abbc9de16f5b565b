// Model, zoom-end and aspect selection, and the option handlers.
#include "calc/calculator.h"

#include "core/helpers.h"

#include <cmath>
#include <initializer_list>
#include <optional>

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
    const AspectGroup group =
        controls_.aspect ? info(*controls_.aspect).group : AspectGroup::FourThree;
    state_.maxDistance =
        group == AspectGroup::SixteenNine ? state_.maxDistance169 : state_.maxDistance43;
    const DiagonalRange &range = state_.limits.at(group, state_.zoomEnd);
    state_.maxDiagonal = range.max;
    state_.minDiagonal = range.min;
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
    if (controls_.aspect && !controls_.enabled(*controls_.aspect))
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
    state_.unit = unit;
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
    state_.screenPosition = position;
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
    state_.zoomEnd = zoom;
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
            QStringLiteral("the model does not offer %1").arg(QLatin1String(info(aspect).label)));
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
    state_.aspectHeight = row.height;
    state_.aspectWidth = row.width;
    state_.aspectRatio = row.width / row.height;
    selectLimits();
    observer_.controlsChanged();
    if (ready_) {
        // The distance stays; a picture that no longer fits is pulled to the limit.
        clampToLimits_ = true;
        report(recalculateAndRedraw(CalcMode::Distance, state_.projectionDistance));
    }
}

Result<void> Calculator::restore(const RestoreRequest &request) {
    // Everything that could refuse the file is checked before anything changes.
    int index = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        if (models_[i].name == request.model.name) {
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
        select(request.screenPosition);
        select(request.unit);
        const Aspect aspect =
            aspectOf(request.aspectWidth, request.aspectHeight).value_or(Aspect::Ratio5x4);
        if (controls_.enabled(aspect))
            choose(aspect);
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

} // namespace vistrel
