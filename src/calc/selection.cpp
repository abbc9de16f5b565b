// Model, zoom-end and aspect selection, and the option handlers.
#include "calc/calculator.h"

#include "core/helpers.h"
#include "core/numbers.h"

#include <algorithm>
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
            QStringLiteral("Model \"%1\" has no lens line for either zoom end").arg(m.modelName));
    const Lens lens{m, m.wideScreenMode};
    auto distance = [&](bool present, double diagonal, int zoom,
                        AspectPair aspect) -> Result<double> {
        if (!present)
            return 0.0;
        Result<double> d = lens.distanceFromDiagonal(diagonal, zoom, aspect);
        if (d && !std::isfinite(*d))
            return makeError(
                ErrorNumber::Overflow,
                QStringLiteral("Overflow: the lens data of model \"%1\" give no usable "
                               "projection distance")
                    .arg(m.modelName));
        return d;
    };
    const AspectPair r43{3, 4}, r54{4, 5}, r169{9, 16};
    double wide43 = 0, tele43 = 0, wide54 = 0, tele54 = 0;
    VISTREL_TRY_ASSIGN(wide43, distance(m.hasWide(), m.maxDiagonal43Wide, Wide, r43));
    VISTREL_TRY_ASSIGN(tele43, distance(m.hasTele(), m.maxDiagonal43Tele, Tele, r43));
    VISTREL_TRY_ASSIGN(wide54, distance(m.hasWide(), m.maxDiagonal43Wide, Wide, r54));
    VISTREL_TRY_ASSIGN(tele54, distance(m.hasTele(), m.maxDiagonal43Tele, Tele, r54));

    LongestDistances out;
    out.ratio43 = maxOf(maxOf(maxOf(wide43, tele43), wide54), tele54);
    if (m.wideScreenMode == 1 || m.wideScreenMode == 2) {
        double wide169 = 0, tele169 = 0;
        VISTREL_TRY_ASSIGN(wide169, distance(m.hasWide(), m.maxDiagonal169Wide, Wide, r169));
        VISTREL_TRY_ASSIGN(tele169, distance(m.hasTele(), m.maxDiagonal169Tele, Tele, r169));
        out.ratio169 = maxOf(wide169, tele169);
    } else {
        out.ratio169 = maxOf(wide43, tele43);
    }
    return out;
}

LimitTable limitsOf(const ModelRecord &m) {
    LimitTable t;
    t.maxDiagonal43Wide = m.maxDiagonal43Wide;
    t.maxDiagonal43Tele = m.maxDiagonal43Tele;
    t.maxDiagonal169Wide = m.maxDiagonal169Wide;
    t.maxDiagonal169Tele = m.maxDiagonal169Tele;
    t.minDiagonal43Wide = m.minDiagonal43Wide;
    t.minDiagonal43Tele = m.minDiagonal43Tele;
    t.minDiagonal169Wide = m.minDiagonal169Wide;
    t.minDiagonal169Tele = m.minDiagonal169Tele;
    return t;
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

} // namespace

void Calculator::selectLimits() {
    const bool ratio169 = controls_.aspect == 2;
    const bool tele = state_.zoomEnd == Tele;
    const LimitTable &t = state_.limits;
    state_.maxDistance = ratio169 ? state_.maxDistance169 : state_.maxDistance43;
    if (ratio169) {
        state_.maxDiagonal = tele ? t.maxDiagonal169Tele : t.maxDiagonal169Wide;
        state_.minDiagonal = tele ? t.minDiagonal169Tele : t.minDiagonal169Wide;
    } else {
        state_.maxDiagonal = tele ? t.maxDiagonal43Tele : t.maxDiagonal43Wide;
        state_.minDiagonal = tele ? t.minDiagonal43Tele : t.minDiagonal43Wide;
    }
}

Status Calculator::selectModel(int catalogueIndex) {
    if (catalogueIndex < 0 || static_cast<std::size_t>(catalogueIndex) >= models_.size())
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: model %1").arg(catalogueIndex));
    const ModelRecord &m = models_[static_cast<std::size_t>(catalogueIndex)];
    // Checked before anything changes, so an unusable model leaves the current one in place.
    Result<LongestDistances> longest = longestDistances(m);
    if (!longest)
        return longest.error();

    // The aspect and zoom options changed on the way only update the state;
    // the one recalculation is this selection's own, with this model's limits.
    const bool ready = windowReady_;
    windowReady_ = false;

    state_.modelIndex = catalogueIndex;
    state_.offsetCount = {m.wideOffsetCoefB == 0 ? 1 : 2, m.teleOffsetCoefB == 0 ? 1 : 2};
    if (m.wideScreenMode == 0) {
        controls_.aspect169Enabled = false;
        if (controls_.aspect == 2)
            selectAspect(0);
    } else {
        controls_.aspect169Enabled = true;
    }
    state_.modelDrawFlag = m.modelDrawFlag;
    state_.wideScreenMode = m.wideScreenMode;

    const bool both = m.hasTele() && m.hasWide();
    controls_.zoomEnabled = {both, both};
    selectZoom(m.hasTele() && !m.hasWide() ? Tele : Wide);

    state_.maxDistance43 = longest->ratio43;
    state_.maxDistance169 = longest->ratio169;
    state_.limits = limitsOf(m);
    selectLimits();
    const double previousDiagonal = state_.screenDiagonal;
    state_.screenDiagonal = state_.maxDiagonal;

    windowReady_ = ready;
    observer_.controlsChanged();
    if (!ready)
        return std::nullopt;
    return recalculateDiagonal(previousDiagonal);
}

Status Calculator::clickModelList() {
    const int pos = controls_.modelSelected;
    if (pos < 0 || static_cast<std::size_t>(pos) >= controls_.modelItemData.size())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: model list entry %1").arg(pos));
    const int previous = state_.modelIndex;
    Status s = selectModel(controls_.modelItemData[static_cast<std::size_t>(pos)]);
    if (s && state_.modelIndex == previous) {
        // The model was refused: the list shows the model still in use.
        for (std::size_t i = 0; i < controls_.modelItemData.size(); ++i) {
            if (controls_.modelItemData[i] == previous)
                controls_.modelSelected = static_cast<int>(i);
        }
        observer_.controlsChanged();
    }
    return s;
}

void Calculator::selectModelEntry(int position) {
    controls_.modelSelected = position;
    report(clickModelList());
}

void Calculator::selectUnit(int index) {
    if (controls_.unit == index)
        return;
    controls_.unit = index;
    state_.unitCode = index;
    observer_.controlsChanged();
    if (windowReady_)
        showResults();
}

void Calculator::selectPosition(int index) {
    if (controls_.position == index)
        return;
    controls_.position = index;
    state_.screenPosition = index;
    observer_.controlsChanged();
    if (windowReady_)
        report(drawScreen2());
}

void Calculator::selectZoom(int index) {
    if (controls_.zoom == index)
        return;
    controls_.zoom = index;
    zoomClicked(index);
}

void Calculator::selectAspect(int index) {
    if (controls_.aspect == index)
        return;
    controls_.aspect = index;
    aspectClicked(index);
}

void Calculator::zoomClicked(int index) {
    state_.zoomEnd = index;
    selectLimits();
    observer_.controlsChanged();
    if (windowReady_) {
        clampToLimits_ = true;
        report(recalculateAndRefresh(9, 0));
    }
}

void Calculator::aspectClicked(int index) {
    static constexpr std::array<AspectPair, 3> pairs{{{3, 4}, {4, 5}, {9, 16}}};
    const AspectPair pair = pairs[static_cast<std::size_t>(std::clamp(index, 0, 2))];
    state_.aspectHeight = pair.height;
    state_.aspectWidth = pair.width;
    state_.aspectRatio = pair.width / pair.height;

    // The sample keeps its height and centre; its width shows the shape.
    AspectSample &sample = controls_.aspectSample;
    const double oldWidth = roundHalfEven(sample.boxWidth);
    const double newWidth = roundHalfEven(sample.boxHeight * state_.aspectRatio);
    sample.boxWidth = newWidth;
    sample.boxLeft = (oldWidth - newWidth) / 2 + sample.boxLeft;
    sample.caption =
        formatFixed(pair.width, 0) + QStringLiteral(" : ") + formatFixed(pair.height, 0);
    sample.labelTop = (sample.boxHeight - sample.labelHeight) / 2 + sample.boxTop;
    sample.labelLeft = (sample.boxWidth - sample.labelWidth) / 2 + sample.boxLeft;

    selectLimits();
    observer_.controlsChanged();
    if (windowReady_) {
        clampToLimits_ = true;
        report(recalculateAndRefresh(0, state_.projectionDistance));
    }
}

Status Calculator::restore(const RestoreRequest &request) {
    // Everything that could refuse the file is checked before anything changes.
    if (request.zoomEnd < 0 || request.zoomEnd > 1 || request.screenPosition < 0 ||
        request.screenPosition > 1 || request.unitCode < 0 || request.unitCode > 2)
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("Invalid property value: an option of the file is out of range"));
    int index = -1;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        if (models_[i].modelName == request.model.modelName) {
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
    if (Result<LongestDistances> usable = longestDistances(model); !usable)
        return usable.error();

    windowReady_ = false;
    const double previousDiagonal = state_.screenDiagonal;
    if (index < 0) {
        models_.push_back(request.model);
        index = static_cast<int>(models_.size() - 1);
        controls_.modelItems.append(request.model.modelName);
        controls_.modelItemData.push_back(index);
    }
    // The list holds one entry per catalogue entry, in catalogue order.
    controls_.modelSelected = index;
    Status status = clickModelList();
    if (!status) {
        const ModelRecord &selected = models_[static_cast<std::size_t>(index)];
        // A zoom end the model lacks, or 16 : 9 for a model without it, keeps
        // what the model selection chose.
        const bool zoomOffered = request.zoomEnd == Tele ? selected.hasTele() : selected.hasWide();
        if (zoomOffered)
            selectZoom(request.zoomEnd);
        selectPosition(request.screenPosition);
        selectUnit(request.unitCode);
        int aspect = 1;
        if (request.aspectHeight == 3 && request.aspectWidth == 4)
            aspect = 0;
        else if (request.aspectHeight == 9 && request.aspectWidth == 16)
            aspect = 2;
        if (aspect != 2 || selected.wideScreenMode != 0)
            selectAspect(aspect);
        state_.screenDiagonal = request.screenDiagonal;
        // A stored diagonal outside the current limits is pulled to the limit,
        // so that width, height and distance always belong to the diagonal shown.
        clampToLimits_ = true;
        status = recalculateDiagonal(previousDiagonal);
    }
    windowReady_ = true;
    observer_.controlsChanged();
    return status;
}

} // namespace vistrel
