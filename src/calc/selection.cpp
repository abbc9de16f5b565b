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
            QStringLiteral("Model \"%1\" has no lens line for either zoom end").arg(m.ModelName));
    const Lens lens{m, m.WideScreenMode};
    auto distance = [&](bool present, double diagonal, int zoom,
                        AspectPair aspect) -> Result<double> {
        if (!present)
            return 0.0;
        Result<double> d = lens.DistanceFromDiagonal(diagonal, zoom, aspect);
        if (d && !std::isfinite(*d))
            return makeError(
                ErrorNumber::Overflow,
                QStringLiteral("Overflow: the lens data of model \"%1\" give no usable "
                               "projection distance")
                    .arg(m.ModelName));
        return d;
    };
    const AspectPair r43{3, 4}, r54{4, 5}, r169{9, 16};
    double wide43 = 0, tele43 = 0, wide54 = 0, tele54 = 0;
    VISTREL_TRY_ASSIGN(wide43, distance(m.hasWide(), m.MaxDiagonal43Wide, Wide, r43));
    VISTREL_TRY_ASSIGN(tele43, distance(m.hasTele(), m.MaxDiagonal43Tele, Tele, r43));
    VISTREL_TRY_ASSIGN(wide54, distance(m.hasWide(), m.MaxDiagonal43Wide, Wide, r54));
    VISTREL_TRY_ASSIGN(tele54, distance(m.hasTele(), m.MaxDiagonal43Tele, Tele, r54));

    LongestDistances out;
    out.ratio43 = MaxOf(MaxOf(MaxOf(wide43, tele43), wide54), tele54);
    if (m.offers169()) {
        double wide169 = 0, tele169 = 0;
        VISTREL_TRY_ASSIGN(wide169, distance(m.hasWide(), m.MaxDiagonal169Wide, Wide, r169));
        VISTREL_TRY_ASSIGN(tele169, distance(m.hasTele(), m.MaxDiagonal169Tele, Tele, r169));
        out.ratio169 = MaxOf(wide169, tele169);
    } else {
        out.ratio169 = MaxOf(wide43, tele43);
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

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

} // namespace

void Calculator::SelectLimits() {
    const bool ratio169 = controls_.aspect == 2;
    const bool tele = state_.ZoomEnd == Tele;
    const LimitTable &t = state_.limits;
    state_.MaxDistance = ratio169 ? state_.MaxDistance169 : state_.MaxDistance43;
    if (ratio169) {
        state_.MaxDiagonal = tele ? t.MaxDiagonal169Tele : t.MaxDiagonal169Wide;
        state_.MinDiagonal = tele ? t.MinDiagonal169Tele : t.MinDiagonal169Wide;
    } else {
        state_.MaxDiagonal = tele ? t.MaxDiagonal43Tele : t.MaxDiagonal43Wide;
        state_.MinDiagonal = tele ? t.MinDiagonal43Tele : t.MinDiagonal43Wide;
    }
}

Status Calculator::SelectModel(int catalogueIndex) {
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

    state_.ModelIndex = catalogueIndex;
    state_.OffsetCount = {m.WideOffsetCoefB == 0 ? 1 : 2, m.TeleOffsetCoefB == 0 ? 1 : 2};
    if (!m.offers169()) {
        controls_.aspect169Enabled = false;
        if (controls_.aspect == 2)
            selectAspect(0);
    } else {
        controls_.aspect169Enabled = true;
    }
    state_.ModelDrawFlag = m.ModelDrawFlag;
    state_.WideScreenMode = m.WideScreenMode;

    const bool both = m.hasTele() && m.hasWide();
    controls_.zoomEnabled = {both, both};
    selectZoom(m.hasTele() && !m.hasWide() ? Tele : Wide);

    state_.MaxDistance43 = longest->ratio43;
    state_.MaxDistance169 = longest->ratio169;
    state_.limits = limitsOf(m);
    SelectLimits();
    const double previousDiagonal = state_.ScreenDiagonal;
    state_.ScreenDiagonal = state_.MaxDiagonal;

    windowReady_ = ready;
    observer_.controlsChanged();
    if (!ready)
        return std::nullopt;
    return recalculateDiagonal(previousDiagonal);
}

Status Calculator::cboModel_Click() {
    const int pos = controls_.modelSelected;
    if (pos < 0 || static_cast<std::size_t>(pos) >= controls_.modelItemData.size())
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: model list entry %1").arg(pos));
    const int previous = state_.ModelIndex;
    Status s = SelectModel(controls_.modelItemData[static_cast<std::size_t>(pos)]);
    if (s && state_.ModelIndex == previous) {
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
    report(cboModel_Click());
}

void Calculator::selectUnit(int index) {
    if (controls_.unit == index)
        return;
    controls_.unit = index;
    optUnits_Click(index);
}

void Calculator::optUnits_Click(int index) {
    state_.UnitCode = index;
    observer_.controlsChanged();
    if (windowReady_)
        ShowResults();
}

void Calculator::selectPosition(int index) {
    if (controls_.position == index)
        return;
    controls_.position = index;
    optPosition_Click(index);
}

void Calculator::optPosition_Click(int index) {
    state_.ScreenPosition = index;
    observer_.controlsChanged();
    if (windowReady_)
        report(DrawScreen2());
}

void Calculator::selectZoom(int index) {
    if (controls_.zoom == index)
        return;
    controls_.zoom = index;
    optWIDE_Click(index);
}

void Calculator::selectAspect(int index) {
    if (controls_.aspect == index)
        return;
    controls_.aspect = index;
    optAspect_Click(index);
}

void Calculator::optWIDE_Click(int index) {
    state_.ZoomEnd = index;
    SelectLimits();
    observer_.controlsChanged();
    if (windowReady_) {
        clampToLimits_ = true;
        report(recalculateAndRefresh(9, 0));
    }
}

void Calculator::optAspect_Click(int index) {
    static constexpr std::array<AspectPair, 3> pairs{{{3, 4}, {4, 5}, {9, 16}}};
    const AspectPair pair = pairs[static_cast<std::size_t>(std::clamp(index, 0, 2))];
    state_.AspectHeight = pair.height;
    state_.AspectWidth = pair.width;
    state_.AspectRatio = pair.width / pair.height;

    // The sample keeps its height and centre; its width shows the shape.
    AspectSample &sample = controls_.aspectSample;
    const double oldWidth = roundHalfEven(sample.boxWidth);
    const double newWidth = roundHalfEven(sample.boxHeight * state_.AspectRatio);
    sample.boxWidth = newWidth;
    sample.boxLeft = (oldWidth - newWidth) / 2 + sample.boxLeft;
    sample.caption =
        formatFixed(pair.width, 0) + QStringLiteral(" : ") + formatFixed(pair.height, 0);
    sample.labelTop = (sample.boxHeight - sample.labelHeight) / 2 + sample.boxTop;
    sample.labelLeft = (sample.boxWidth - sample.labelWidth) / 2 + sample.boxLeft;

    SelectLimits();
    observer_.controlsChanged();
    if (windowReady_) {
        clampToLimits_ = true;
        report(recalculateAndRefresh(0, state_.ProjectionDistance));
    }
}

Status Calculator::restore(const RestoreRequest &request) {
    // Everything that could refuse the file is checked before anything changes.
    if (request.ZoomEnd < 0 || request.ZoomEnd > 1 || request.ScreenPosition < 0 ||
        request.ScreenPosition > 1 || request.UnitCode < 0 || request.UnitCode > 2)
        return makeError(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("Invalid property value: an option of the file is out of range"));
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
    if (Result<LongestDistances> usable = longestDistances(model); !usable)
        return usable.error();

    windowReady_ = false;
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
    Status status = cboModel_Click();
    if (!status) {
        const ModelRecord &selected = models_[static_cast<std::size_t>(index)];
        // A zoom end the model lacks, or 16 : 9 for a model without it, keeps
        // what the model selection chose.
        const bool zoomOffered = request.ZoomEnd == Tele ? selected.hasTele() : selected.hasWide();
        if (zoomOffered)
            selectZoom(request.ZoomEnd);
        selectPosition(request.ScreenPosition);
        selectUnit(request.UnitCode);
        int aspect = 1;
        if (request.AspectHeight == 3 && request.AspectWidth == 4)
            aspect = 0;
        else if (request.AspectHeight == 9 && request.AspectWidth == 16)
            aspect = 2;
        if (aspect != 2 || selected.offers169())
            selectAspect(aspect);
        state_.ScreenDiagonal = request.ScreenDiagonal;
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
