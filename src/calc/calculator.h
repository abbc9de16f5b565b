#pragma once

#include "calc/controls.h"
#include "calc/lens.h"
#include "calc/observer.h"
#include "catalogue/modelrecord.h"
#include "core/calcstate.h"
#include "core/language.h"
#include "draw/isometric.h"
#include "draw/sideview.h"

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

// The message texts of Language.ini the calculation shows.
struct Messages {
    QString MsgGeneral;                 // msg1
    std::array<QString, 3> MsgTooLarge; // msg2..msg4, by unit
    std::array<QString, 3> MsgTooSmall; // msg5..msg7, by unit
};
Messages messagesFrom(const LanguageTexts &texts);

// What a calculation file restores: the model, the four options and the diagonal.
struct RestoreRequest {
    ModelRecord model;
    int ZoomEnd = 0;
    int ScreenPosition = 1;
    double AspectHeight = 3;
    double AspectWidth = 4;
    int UnitCode = 0;
    double ScreenDiagonal = 0;
};

inline constexpr int kEnterKey = 13;

// The calculator: the shared calculation state, the state of the calculator
// window's controls, and every handler of the window, without widgets.
// Selecting an option or a list entry runs its handler exactly as a click does.
class Calculator {
public:
    explicit Calculator(EngineObserver &observer, QChar decimalPoint = u'.');

    void setMessages(Messages messages) { messages_ = std::move(messages); }
    void setMetrics(const IsometricMetrics &isometric, const SideMetrics &side);

    // Start-up after the texts are loaded: default options, the catalogue, the
    // first model, the first result and both drawings. An error ends start-up.
    Status startUp(std::vector<ModelRecord> models);

    // Replaces the catalogue and selects its first model (a new model file).
    Status replaceCatalogue(std::vector<ModelRecord> models);

    // Restores a calculation file's model, options and diagonal. Everything is
    // checked before anything changes; a diagonal outside the limits is
    // clamped after the range message.
    Status restore(const RestoreRequest &request);

    // Option groups and the model list, as clicked by the user or from code.
    void selectUnit(int index);
    void selectZoom(int index);
    void selectPosition(int index);
    void selectAspect(int index);
    void selectModelEntry(int position);

    // Value entry of field `index` (0 distance, 1 diagonal, 2 width, 3 height).
    // An edit of the text shows the field's Enter button.
    void setFieldText(int index, const QString &text);
    void txtValue_GotFocus(int index);
    void txtValue_KeyDown(int index, int key);
    void txtValue_LostFocus(int index);
    // Confirms the field; false when the typed value was refused.
    bool cmdEnter_Click(int index);
    // Escape: the field shows again what it showed when it got the focus.
    void cancelEdit(int index);
    // Confirms the field being edited, if any, as Enter would; false when its
    // value was refused. Saving and printing call it first, so that what they
    // write is what the fields show.
    bool confirmPendingEdit();

    // The calculation: true when the diagonal was within the limits and the
    // result stored; false when it was out of range (refused or clamped).
    Result<bool> CalcScreenSize(int mode, double d1);
    void ShowResults();
    Status DrawScreen1();
    Status DrawScreen2();

    const CalcState &state() const { return state_; }
    const Controls &controls() const { return controls_; }
    const std::vector<ModelRecord> &models() const { return models_; }
    const ModelRecord *currentModel() const;
    bool WindowReady() const { return windowReady_; }
    bool ClampToLimits() const { return clampToLimits_; }
    const std::array<QString, 4> &SavedText() const { return savedText_; }
    const std::optional<IsometricGeometry> &isometric() const { return isometric_; }
    const std::optional<SideGeometry> &sideView() const { return side_; }
    const IsometricMetrics &isometricMetrics() const { return isoMetrics_; }
    const SideMetrics &sideMetrics() const { return sideMetrics_; }
    const Messages &messages() const { return messages_; }
    QChar decimalPoint() const { return decimalPoint_; }

    const QString &CurrentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString &path) { currentFileName_ = path; }

private:
    Result<bool> calculate(int mode, double d1);
    Status recalculateAndRefresh(int mode, double d1);
    Status recalculateDiagonal(double previousDiagonal);
    Status refreshAll();
    Status SelectModel(int catalogueIndex);
    Status cboModel_Click();
    void SelectLimits();
    void ShowEnterButton(int index);
    void optAspect_Click(int index);
    void optWIDE_Click(int index);
    void optUnits_Click(int index);
    void optPosition_Click(int index);
    void report(const Status &status);
    void showRangeMessage(bool tooLarge);
    void loadCatalogue(std::vector<ModelRecord> models);

    EngineObserver &observer_;
    QChar decimalPoint_;
    CalcState state_;
    Controls controls_;
    std::vector<ModelRecord> models_;
    Messages messages_;
    bool windowReady_ = false;
    bool clampToLimits_ = false;
    std::array<QString, 4> savedText_;
    unsigned stores_ = 0; // results stored so far; tells a refusal from a clamp
    QString currentFileName_;
    IsometricMetrics isoMetrics_;
    SideMetrics sideMetrics_;
    std::optional<IsometricGeometry> isometric_;
    std::optional<SideGeometry> side_;
};

} // namespace vistrel
