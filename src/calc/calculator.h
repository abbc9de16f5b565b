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
// What became of a typed value: taken into the result, or refused with the
// range message (the field then shows the stored result again).
enum class Entered { Taken, Refused };

struct Messages {
    QString noModels;                // msg1
    std::array<QString, 3> tooLarge; // msg2..msg4, by unit
    std::array<QString, 3> tooSmall; // msg5..msg7, by unit
};
Messages messagesFrom(const LanguageTexts &texts);

// What a calculation file restores: the model, the four options and the diagonal.
struct RestoreRequest {
    ModelRecord model;
    Zoom zoomEnd = Zoom::Wide;
    Position screenPosition = Position::Bottom;
    double aspectHeight = 3; // a pair outside the aspect table opens as 5 : 4
    double aspectWidth = 4;
    Unit unit = Unit::Inches;
    double screenDiagonal = 0;
    // A project file restores any picture format and the anamorphic lens; a
    // calculation file knows the three aspect options only.
    bool anyFormat = false;
    double anamorphic = kNoAnamorphic;
};

// The calculator: the calculation state, what the window's controls show, and
// every rule of the calculation, selection and value entry, without widgets.
// Selecting an option or a model runs the same rules whether the user or the
// program does it.
class Calculator {
public:
    explicit Calculator(EngineObserver &observer, QChar decimalPoint = u'.');
    // It holds its observer by reference: a copy would report to the original's.
    Q_DISABLE_COPY_MOVE(Calculator)

    void setMessages(Messages messages) { messages_ = std::move(messages); }
    void setMetrics(const IsometricMetrics &isometric, const SideMetrics &side);

    // Start-up once the texts are loaded: default options, the catalogue, the
    // first model, the first result and both drawings.
    [[nodiscard]] Result<void> startUp(std::vector<ModelRecord> models);

    // A new catalogue with its first model selected (a new model file).
    [[nodiscard]] Result<void> replaceCatalogue(std::vector<ModelRecord> models);

    // Restores a calculation file's model, options and diagonal. Everything is
    // checked before anything changes; a diagonal outside the limits is
    // clamped after the range message.
    [[nodiscard]] Result<void> restore(const RestoreRequest &request);

    // The option groups and the model list (by its list position). Choosing
    // what is chosen already does nothing. A zoom end or aspect ratio the
    // model does not offer is refused, naming it, and nothing changes. An
    // error of the recalculation is returned, and the observer has shown it
    // as the window shows it at once.
    [[nodiscard]] Result<void> select(Unit unit);
    [[nodiscard]] Result<void> select(Zoom zoom);
    [[nodiscard]] Result<void> select(Position position);
    [[nodiscard]] Result<void> select(Aspect aspect);
    [[nodiscard]] Result<void> selectModel(int listPosition);
    // Any picture format: one of the aspect options' is that option, any
    // other the "Other" choice (refused where the model offers no 16 : 9,
    // or outside kNarrowestRatio..kWidestRatio). The distance stays.
    [[nodiscard]] Result<void> select(const PictureFormat &format);
    // The anamorphic lens's factor (kNoAnamorphic..kLargestAnamorphic); the
    // diagonal stays.
    [[nodiscard]] Result<void> selectAnamorphic(double factor);

    // A value typed into `field` and confirmed. Text equal to what the field
    // shows is no new value and calculates nothing. Refused when the value is
    // out of range or negative, after the range message; an error of the
    // calculation is returned and has been shown.
    [[nodiscard]] Result<Entered> enter(Field field, const QString &text);

    // The calculation from a typed field's value (inches) or from the stored
    // diagonal: true when the diagonal was within the limits and the result
    // stored; false when it was out of range (refused, or clamped to the limit).
    [[nodiscard]] Result<bool> calculate(CalcMode mode, double d1);
    // The field texts from the stored result.
    void refreshFields();
    [[nodiscard]] Result<void> drawIsometric();
    [[nodiscard]] Result<void> drawSideView();
    // Everything shown again from the stored result; errors to the observer.
    [[nodiscard]] Result<void> redraw();

    const CalcState &state() const { return state_; }
    const Controls &controls() const { return controls_; }
    const std::vector<ModelRecord> &models() const { return models_; }
    const ModelRecord *currentModel() const;
    bool ready() const { return ready_; }
    bool clamping() const { return clampToLimits_; }
    const std::optional<IsometricGeometry> &isometric() const { return isometric_; }
    const std::optional<SideGeometry> &sideView() const { return side_; }
    const IsometricMetrics &isometricMetrics() const { return isoMetrics_; }
    const SideMetrics &sideMetrics() const { return sideMetrics_; }
    const Messages &messages() const { return messages_; }
    QChar decimalPoint() const { return decimalPoint_; }

private:
    enum class Outcome { Stored, Clamped, Refused };
    struct Pass {
        bool stored = false;
        double crossedLimit = 0; // when not stored
    };
    [[nodiscard]] Result<Pass> computePass(CalcMode mode, double d1);
    [[nodiscard]] Result<Outcome> compute(CalcMode mode, double d1);
    [[nodiscard]] Result<void> recalculateAndRedraw(CalcMode mode, double d1);
    [[nodiscard]] Result<void> recalculateDiagonal(double previousDiagonal);
    [[nodiscard]] Result<void> redrawAll();
    [[nodiscard]] Result<void> selectModelAt(int catalogueIndex);
    [[nodiscard]] Result<void> applyModelEntry();
    void selectLimits();
    void selectPanelLimits(const Lens &lens, AspectPair aspect);
    void chooseOther(const PictureFormat &format);
    void setFormat(const PictureFormat &format);
    // The choice itself, for the engine's own choices that need no check.
    void choose(Unit unit);
    void choose(Position position);
    void choose(Zoom zoom);
    void choose(Aspect aspect);
    Result<void> report(Result<void> result);
    void showRangeMessage(bool tooLarge);
    void loadCatalogue(std::vector<ModelRecord> models);

    EngineObserver &observer_;
    QChar decimalPoint_;
    CalcState state_;
    Controls controls_;
    std::vector<ModelRecord> models_;
    Messages messages_;
    bool ready_ = false;         // start-up is over; the option handlers recalculate
    bool clampToLimits_ = false; // the next out-of-range diagonal is pulled to its limit
    IsometricMetrics isoMetrics_;
    SideMetrics sideMetrics_;
    std::optional<IsometricGeometry> isometric_;
    std::optional<SideGeometry> side_;
};

} // namespace vistrel
