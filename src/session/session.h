#pragma once

#include "calc/calculator.h"
#include "calc/fittable.h"
#include "calc/planner.h"
#include "calc/room.h"
#include "core/apppaths.h"
#include "core/language.h"
#include "files/calcfile.h"
#include "files/modelloader.h"
#include "files/projectfile.h"
#include "session/modelimport.h"
#include "session/observers.h"

#include <QString>

#include <functional>
#include <optional>

namespace vistrel {

enum class SaveKind { Save, SaveAs };

// One calculation as the user works on it: the calculator with its catalogue,
// the texts, where the program's files are, and the calculation file in use.
// The window is a view of a session; the command line drives one. Whoever
// shows it adds itself as an observer and is told every change and message.
class Session {
public:
    explicit Session(QChar decimalPoint = u'.');
    // The calculator reports to this session's observers: a copy would
    // report to the original's.
    Q_DISABLE_COPY_MOVE(Session)

    void addObserver(EngineObserver &observer) { observers_.add(observer); }
    void removeObserver(EngineObserver &observer) { observers_.remove(observer); }

    // Start-up, in two steps so that a window can put the texts on its
    // controls and measure them in between. First Language.ini (or the
    // translation the user's languages choose): the keys read are kept also
    // when one is missing, which ends the start.
    const LanguageLoad &readTexts(const AppPaths &paths);
    // Then the catalogue, the default options, the first model and the first result.
    [[nodiscard]] Result<void> start();

    // File > Open: a project file or a calculation file, told apart by what
    // it holds, not by its name. The file's model, options and diagonal, and
    // a project file's picture format, anamorphic lens and planner inputs;
    // the current file on success. A file that is refused changes nothing.
    [[nodiscard]] Result<void> open(const QString &path);
    // File > Save and Save As. Save writes to the current file without asking
    // while that file exists; otherwise, and always for Save As, `askName`
    // gives a name (empty when the user cancelled). The chosen name becomes
    // the current file before it is written, and a Save whose question was
    // cancelled leaves none. `named` tells whether a name was chosen.
    // A calculation file's name for a calculation it cannot hold
    // (needsProjectFile) asks `offerProjectFile`, given the project file of
    // the same name (projectFileNameFor), which file to save instead; when
    // it gives none, nothing is saved, and without it the save is refused as
    // writeTo refuses it.
    [[nodiscard]] Result<void>
    save(SaveKind kind, const std::function<QString()> &askName, bool *named = nullptr,
         const std::function<QString(const QString &)> &offerProjectFile = {});
    // The calculation written to `path`, the current file staying as it is:
    // a project file for a name ending in ".vistrel" (isProjectFileName),
    // else a calculation file, which is refused (error 52, nothing written)
    // while needsProjectFile().
    [[nodiscard]] Result<void> writeTo(const QString &path) const;
    // Whether only a project file can hold the calculation: a picture format
    // other than the three aspect options, or an anamorphic lens.
    bool needsProjectFile() const;
    // Option > Select model info file: installs `file` as the catalogue when
    // it can be used as start-up will use it; one without models is reported
    // with msg1 and changes nothing. One whose values look wrong is installed
    // only when `confirm` (a title and a question) says yes.
    using Confirm = std::function<bool(const QString &title, const QString &question)>;
    [[nodiscard]] Result<void> switchCatalogue(const QString &file, const Confirm &confirm);

    // What the user does in the window, as the calculator takes it: each
    // says what happened, and the observers have shown what the window shows
    // at once (a range message, an error box).
    [[nodiscard]] Result<Entered> enter(Field field, const QString &text) {
        return calc_.enter(field, text);
    }
    [[nodiscard]] Result<void> select(Unit unit) { return calc_.select(unit); }
    [[nodiscard]] Result<void> select(Zoom zoom) { return calc_.select(zoom); }
    [[nodiscard]] Result<void> select(Position position) { return calc_.select(position); }
    [[nodiscard]] Result<void> select(Aspect aspect) { return calc_.select(aspect); }
    [[nodiscard]] Result<void> select(const PictureFormat &format) { return calc_.select(format); }
    [[nodiscard]] Result<void> selectAnamorphic(double factor) {
        return calc_.selectAnamorphic(factor);
    }
    [[nodiscard]] Result<void> selectModel(int listPosition) {
        return calc_.selectModel(listPosition);
    }
    // Everything shown again from the stored result (a new view, new sizes).
    [[nodiscard]] Result<void> redraw() { return calc_.redraw(); }
    void setMetrics(const IsometricMetrics &isometric, const SideMetrics &side) {
        calc_.setMetrics(isometric, side);
    }

    // The user's own projectors (files/ownmodels.h), listed after the
    // catalogue's models; the list holds kModelCapacity models in all.
    const std::vector<ModelRecord> &ownModels() const { return own_; }
    const std::vector<ModelRecord> &catalogueModels() const { return catalogue_; }
    // Whether the calculator's model at `catalogueIndex` is an own model.
    bool isOwnModel(int catalogueIndex) const;
    // Why the own models' file could not be read at the start: while it
    // cannot, it is never written, so that nothing it holds is lost.
    const std::optional<AppError> &ownModelsError() const { return ownError_; }
    // The own models replaced by `models`: refused, and nothing changes,
    // for a name used twice or a list beyond kModelCapacity; the file is
    // written first, and an error there changes nothing either. The
    // calculation keeps its model (as edited, where it was) and its screen.
    [[nodiscard]] Result<void> setOwnModels(std::vector<ModelRecord> models);
    // An own model from its data sheet (recordOf), warned besides when the
    // catalogue has a model of its name: the list then shows both.
    [[nodiscard]] Result<SheetRecord> ownModelFrom(const ProjectorSheet &sheet) const;
    // `model` saved as the own model at list position `replacing`, or added
    // after the others without it; refused as setOwnModels refuses, and for
    // a position that holds no own model.
    [[nodiscard]] Result<void> saveOwnModel(ModelRecord model, std::optional<int> replacing = {});
    // The own model at list position `catalogueIndex` deleted.
    [[nodiscard]] Result<void> deleteOwnModel(int catalogueIndex);
    // What importing `table` would do to the own models, row by row, with
    // the room the list has left; nothing is written.
    std::vector<ImportEntry> previewImport(const ModelTable &table) const;
    // The previewed rows imported (setOwnModels), each replacement where
    // `replace` says yes.
    [[nodiscard]] Result<void>
    importModels(const std::vector<ImportEntry> &entries,
                 const std::function<bool(const ImportEntry &)> &replace = {}) {
        return setOwnModels(importedModels(own_, entries, replace));
    }
    // Another model for the screen the calculation has: its size, format
    // and options stay where the model allows them.
    [[nodiscard]] Result<void> selectModelKeepingScreen(int catalogueIndex);

    // The calculation's screen (and the planner's gain) as the fit table
    // asks it of every model; no room distances.
    FitRequest fitRequest() const;
    // Every model of the list against `request`, in list order.
    std::vector<FitRow> fit(const FitRequest &request) const {
        return fitTable(calc_.models(), request);
    }

    // The installation planner: the user's screen gain and room light (kept
    // by a project file, not by a calculation file), and what they give for
    // the current calculation.
    const PlannerSettings &plannerSettings() const { return planner_; }
    // Refused, and nothing changes, when a value is not sensible.
    [[nodiscard]] Result<void> setPlannerSettings(const PlannerSettings &settings);
    Plan plan() const;
    ThrowChart chart() const;

    // The room around the screen and the report's title block: kept by a
    // project file; a calculation file saved while either is set says that
    // it does not keep them (roomNotKeptBy).
    const RoomSettings &roomSettings() const { return room_; }
    // Refused, and nothing changes, when checkRoom refuses; rows are kept nearest first.
    [[nodiscard]] Result<void> setRoomSettings(const RoomSettings &room);
    const ProjectDetails &projectDetails() const { return details_; }
    [[nodiscard]] Result<void> setProjectDetails(const ProjectDetails &details);
    // The room with the calculation's picture; empty without a model.
    RoomReport roomReport() const;
    // What writing `path` would leave out: the notice for a calculation
    // file while a room or title block is set, else nothing.
    QString roomNotKeptBy(const QString &path) const;

    const Calculator &calculator() const { return calc_; }
    const CalcState &state() const { return calc_.state(); }
    const Controls &controls() const { return calc_.controls(); }
    const LanguageLoad &language() const { return language_; }
    const LanguageTexts &texts() const { return language_.texts; }
    const AppPaths &paths() const { return paths_; }
    const QString &currentFile() const { return currentFile_; }
    // Whether the calculation differs from what was last opened or saved (or
    // started with): what closing now would lose.
    bool modified() const;
    // What the catalogue in use could not give the planner, one line each.
    const QStringList &catalogueWarnings() const { return catalogueWarnings_; }
    QChar decimalPoint() const { return calc_.decimalPoint(); }

private:
    ObserverList observers_;
    Calculator calc_;
    LanguageLoad language_;
    AppPaths paths_;
    QString currentFile_;
    // The calculation as last opened, saved or started; none before the start.
    std::optional<ProjectFileData> kept_;
    QStringList catalogueWarnings_;
    PlannerSettings planner_;
    RoomSettings room_;
    ProjectDetails details_;
    std::vector<ModelRecord> catalogue_;
    std::vector<ModelRecord> own_;
    std::optional<AppError> ownError_;

    // Where the own model at list position `catalogueIndex` stands among them.
    [[nodiscard]] Result<std::size_t> ownPosition(int catalogueIndex) const;
    void takeWarnings(const QString &file, const std::vector<CatalogueNote> &warnings);
    void readOwnModels();
    // The catalogue's models, then the own ones as far as the list holds them.
    std::vector<ModelRecord> modelList() const;
    [[nodiscard]] Result<void> keepCalculationWith(std::vector<ModelRecord> list,
                                                   const ModelRecord &model);
    [[nodiscard]] Result<void> openProject(QIODevice &file, const QString &path);
    [[nodiscard]] Result<void> openCalculation(QIODevice &file, const QString &path);
    [[nodiscard]] Result<void> checkCalcFileName(const QString &path) const;
    ProjectFileData keptNow() const;
};

} // namespace vistrel
