#include "session/session.h"

#include "calc/catalogueprobe.h"
#include "calc/projectorsheet.h"
#include "core/helpers.h"
#include "core/numbers.h"
#include "files/catalogueswitch.h"
#include "files/languagefile.h"
#include "files/modelloader.h"
#include "files/ownmodels.h"
#include "session/calculationfile.h"

#include <QFile>

namespace vistrel {

Session::Session(QChar decimalPoint) : calc_(observers_, decimalPoint) {}

const LanguageLoad &Session::readTexts(const AppPaths &paths) {
    paths_ = paths;
    language_ = loadLanguage(paths.languageFile());
    calc_.setMessages(messagesFrom(language_.texts));
    return language_;
}

Result<void> Session::start() {
    currentFile_.clear();
    Catalogue catalogue;
    VISTREL_TRY_ASSIGN(catalogue, loadCatalogue(paths_.catalogueFile()));
    catalogue_ = std::move(catalogue.models);
    readOwnModels();
    VISTREL_TRY(calc_.startUp(modelList()));
    kept_ = keptNow();
    takeWarnings(paths_.catalogueFile(), catalogue.warnings);
    return {};
}

void Session::readOwnModels() {
    own_.clear();
    ownError_.reset();
    Result<Catalogue> own = loadOwnModels(paths_.ownModelsFile);
    if (!own) {
        ownError_ = own.error();
        observers_.showWarnings(
            QStringLiteral("Your own projectors in %1 could not be read. They are not listed, "
                           "and the file is left as it is:")
                .arg(visibleText(paths_.ownModelsFile)),
            {own.error().description});
        return;
    }
    own_ = std::move(own->models);
    const auto capacity = static_cast<std::size_t>(kModelCapacity);
    const std::size_t room = capacity - std::min(catalogue_.size(), capacity);
    if (own_.size() > room)
        observers_.showWarnings(
            QStringLiteral("The model list holds %1 models: %2 of your own projectors are not "
                           "listed.")
                .arg(kModelCapacity)
                .arg(own_.size() - room),
            {});
}

std::vector<ModelRecord> Session::modelList() const {
    std::vector<ModelRecord> list = catalogue_;
    for (const ModelRecord &model : own_) {
        if (list.size() >= static_cast<std::size_t>(kModelCapacity))
            break;
        list.push_back(model);
    }
    return list;
}

bool Session::isOwnModel(int catalogueIndex) const {
    const auto first = static_cast<qsizetype>(catalogue_.size());
    return catalogueIndex >= first &&
           catalogueIndex < first + static_cast<qsizetype>(own_.size()) &&
           catalogueIndex < kModelCapacity;
}

Result<void> Session::keepCalculationWith(std::vector<ModelRecord> list, const ModelRecord &model) {
    ProjectFileData now = keptNow();
    now.model = model;
    VISTREL_TRY(calc_.replaceCatalogue(std::move(list)));
    return calc_.restore(restoreRequestFrom(now));
}

Result<void> Session::setOwnModels(std::vector<ModelRecord> models) {
    if (ownError_)
        return makeError(ownError_->number,
                         QStringLiteral("%1 could not be read, so it is not written over: %2")
                             .arg(paths_.ownModelsFile, ownError_->description));
    if (paths_.ownModelsFile.isEmpty())
        return makeError(ErrorNumber::PathNotFound,
                         QStringLiteral("Path not found: there is no user data folder to keep "
                                        "your own projectors in"));
    for (std::size_t i = 0; i < models.size(); ++i) {
        // A name the file cannot hold would break its line, and every line after it.
        VISTREL_TRY(checkModelName(models[i].name));
        for (std::size_t j = 0; j < i; ++j) {
            if (models[i].name == models[j].name)
                return makeError(ErrorNumber::InvalidPropertyValue,
                                 QStringLiteral("Invalid property value: name: \"%1\" is the "
                                                "name of another of your own projectors")
                                     .arg(models[i].name));
        }
    }
    // Only a longer list is refused: after a switch to a larger catalogue the
    // own models may already overflow the list, and deleting or editing them
    // must still be possible.
    if (catalogue_.size() + models.size() > static_cast<std::size_t>(kModelCapacity) &&
        models.size() > own_.size())
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: the model list is full: it "
                                        "holds %1 models, the catalogue's %2 and your own")
                             .arg(kModelCapacity)
                             .arg(catalogue_.size()));
    VISTREL_TRY(saveOwnModels(paths_.ownModelsFile, models));
    // The model in use, as edited where it was; a deleted one stays in use
    // as a file's model does.
    ModelRecord current = calc_.currentModel() ? *calc_.currentModel() : ModelRecord{};
    const int index = calc_.state().modelIndex;
    if (isOwnModel(index)) {
        const ModelRecord &was = own_[static_cast<std::size_t>(index) - catalogue_.size()];
        for (const ModelRecord &model : models) {
            if (model.name == was.name)
                current = model;
        }
    }
    own_ = std::move(models);
    if (!calc_.currentModel())
        return calc_.replaceCatalogue(modelList());
    return keepCalculationWith(modelList(), current);
}

Result<SheetRecord> Session::ownModelFrom(const ProjectorSheet &sheet) const {
    SheetRecord out;
    VISTREL_TRY_ASSIGN(out, recordOf(sheet));
    for (const ModelRecord &model : catalogue_) {
        if (model.name == out.record.name) {
            out.warnings.push_back(
                {QStringLiteral("name"),
                 QStringLiteral(
                     "the catalogue has a model of this name too: the list shows both")});
            break;
        }
    }
    return out;
}

Result<std::size_t> Session::ownPosition(int catalogueIndex) const {
    if (!isOwnModel(catalogueIndex))
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: model %1 is none of your own "
                                        "projectors")
                             .arg(catalogueIndex));
    return static_cast<std::size_t>(catalogueIndex) - catalogue_.size();
}

Result<void> Session::saveOwnModel(ModelRecord model, std::optional<int> replacing) {
    std::vector<ModelRecord> models = own_;
    if (replacing) {
        std::size_t at = 0;
        VISTREL_TRY_ASSIGN(at, ownPosition(*replacing));
        models[at] = std::move(model);
    } else {
        models.push_back(std::move(model));
    }
    return setOwnModels(std::move(models));
}

Result<void> Session::deleteOwnModel(int catalogueIndex) {
    std::size_t at = 0;
    VISTREL_TRY_ASSIGN(at, ownPosition(catalogueIndex));
    std::vector<ModelRecord> models = own_;
    models.erase(models.begin() + static_cast<std::ptrdiff_t>(at));
    return setOwnModels(std::move(models));
}

std::vector<ImportEntry> Session::previewImport(const ModelTable &table) const {
    const std::size_t used = catalogue_.size() + own_.size();
    const auto capacity = static_cast<std::size_t>(kModelCapacity);
    return vistrel::previewImport(table, own_, capacity - std::min(used, capacity));
}

FitRequest Session::fitRequest() const {
    const CalcState &s = calc_.state();
    FitRequest request;
    request.diagonal = s.screenDiagonal;
    request.format = {s.aspectWidth, s.aspectHeight};
    request.anamorphic = s.anamorphic;
    request.settings = planner_;
    return request;
}

Result<void> Session::selectModelKeepingScreen(int catalogueIndex) {
    const std::vector<ModelRecord> &models = calc_.models();
    if (catalogueIndex < 0 || static_cast<std::size_t>(catalogueIndex) >= models.size())
        return makeError(ErrorNumber::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range: model %1").arg(catalogueIndex));
    ProjectFileData now = keptNow();
    now.model = models[static_cast<std::size_t>(catalogueIndex)];
    return calc_.restore(restoreRequestFrom(now));
}

void Session::takeWarnings(const QString &file, const std::vector<CatalogueNote> &warnings) {
    catalogueWarnings_ = describeAll(warnings);
    if (catalogueWarnings_.isEmpty())
        return;
    observers_.showWarnings(replaceText(texts().text(OptionalKey::PlannerDataUnknown),
                                        QStringLiteral("%1"), visibleText(file)),
                            catalogueWarnings_);
}

// The calculation as a project file keeps it: everything the user chose,
// without the isometric view's scale, which a redraw may change without the user.
ProjectFileData Session::keptNow() const {
    ProjectFileData data = projectOf(calc_, planner_);
    data.room = room_;
    data.details = details_;
    return data;
}

Result<void> Session::open(const QString &path) {
    QFile file(path);
    VISTREL_TRY(openForReading(file));
    // A calculation file starts with its model's name: a project file cannot be taken for one.
    if (startsAsProjectFile(file.peek(kProjectFileSniffBytes)))
        VISTREL_TRY(openProject(file, path));
    else
        VISTREL_TRY(openCalculation(file, path));
    currentFile_ = path;
    kept_ = keptNow();
    return {};
}

Result<void> Session::openProject(QIODevice &file, const QString &path) {
    ProjectFileData data;
    VISTREL_TRY_ASSIGN(data, readProjectFile(file, path));
    // Everything is checked before the calculator changes.
    for (const Result<void> &checked :
         {checkSettings(data.planner), checkRoom(data.room), checkDetails(data.details)}) {
        if (!checked)
            return makeError(checked.error().number, checked.error().description +
                                                         QStringLiteral(" in the project file ") +
                                                         path);
    }
    VISTREL_TRY(calc_.restore(restoreRequestFrom(data)));
    planner_ = data.planner;
    room_ = withRowsInOrder(data.room);
    details_ = data.details;
    return {};
}

Result<void> Session::openCalculation(QIODevice &file, const QString &path) {
    CalcFileData data;
    VISTREL_TRY_ASSIGN(data, readCalcFile(file, path));
    return calc_.restore(restoreRequestFrom(data));
}

Result<void> Session::save(SaveKind kind, const std::function<QString()> &askName, bool *named,
                           const std::function<QString(const QString &)> &offerProjectFile) {
    QString fileName = kind == SaveKind::Save ? currentFile_ : QString();
    if (named)
        *named = false;
    const bool asked = fileName.isEmpty() || !fileExists(fileName);
    if (asked) {
        fileName = askName();
        if (fileName.isEmpty()) {
            if (kind == SaveKind::Save)
                currentFile_.clear();
            return {};
        }
    }
    if (!isProjectFileName(fileName) && needsProjectFile()) {
        if (!offerProjectFile)
            return checkCalcFileName(fileName);
        fileName = offerProjectFile(projectFileNameFor(fileName));
        if (fileName.isEmpty())
            return {};
    }
    if (asked || fileName != currentFile_) {
        currentFile_ = fileName;
        if (named)
            *named = true;
    }
    VISTREL_TRY(writeTo(fileName));
    kept_ = keptNow();
    if (const QString notKept = roomNotKeptBy(fileName); !notKept.isEmpty())
        observers_.showMessage(notKept);
    return {};
}

bool Session::modified() const {
    return kept_ && !(keptNow() == *kept_);
}

bool Session::needsProjectFile() const {
    return !calcFileHolds(calc_.state());
}

Result<void> Session::checkCalcFileName(const QString &path) const {
    if (!needsProjectFile())
        return {};
    const CalcState &s = calc_.state();
    const QString what =
        s.anamorphic == kNoAnamorphic
            ? formatLabel({s.aspectWidth, s.aspectHeight})
            : QStringLiteral("%1 with an anamorphic lens of %2")
                  .arg(formatLabel({s.aspectWidth, s.aspectHeight}), formatShortest(s.anamorphic));
    return makeError(ErrorNumber::BadFileName,
                     QStringLiteral("Bad file name or number: %1 names a calculation file, which "
                                    "cannot hold %2; a name ending in .vistrel saves a Vistrel "
                                    "project file. Nothing was written")
                         .arg(path, what));
}

Result<void> Session::writeTo(const QString &path) const {
    if (isProjectFileName(path))
        return writeProjectFile(path, keptNow());
    VISTREL_TRY(checkCalcFileName(path));
    return writeCalcFile(path, snapshotOf(calc_));
}

Result<void> Session::switchCatalogue(const QString &file, const Confirm &confirm) {
    // A file that cannot be used leaves the catalogue in use, and the files, as they are.
    const auto usable = [this](const auto &models) { return probeCatalogue(calc_, models); };
    const auto replaceAnyway = [&](const std::vector<CatalogueNote> &doubts) {
        const QString heading = replaceText(texts().text(OptionalKey::ReplaceCatalogueDoubts),
                                            QStringLiteral("%1"), visibleText(file));
        return confirm(texts().text(OptionalKey::ReplaceCatalogueTitle),
                       headedList(heading, describeAll(doubts)) + QStringLiteral("\n\n") +
                           texts().text(OptionalKey::ReplaceCatalogueQuestion));
    };
    CatalogueSwitch result;
    VISTREL_TRY_ASSIGN(result, vistrel::switchCatalogue(file, paths_, usable, replaceAnyway));
    if (result.outcome == CatalogueSwitch::Outcome::Declined)
        return {};
    QString loaded = paths_.catalogueFile();
    if (result.outcome == CatalogueSwitch::Outcome::NoModels) {
        observers_.showMessage(
            replaceText(calc_.messages().noModels, QStringLiteral("%1"), visibleText(file)));
        if (result.reloadError)
            return *result.reloadError;
    } else {
        loaded = file;
    }
    catalogue_ = std::move(result.catalogue.models);
    VISTREL_TRY(calc_.replaceCatalogue(modelList()));
    takeWarnings(loaded, result.catalogue.warnings);
    return {};
}

Result<void> Session::setPlannerSettings(const PlannerSettings &settings) {
    VISTREL_TRY(checkSettings(settings));
    planner_ = settings;
    return {};
}

Result<void> Session::setRoomSettings(const RoomSettings &room) {
    VISTREL_TRY(checkRoom(room));
    room_ = withRowsInOrder(room);
    return {};
}

Result<void> Session::setProjectDetails(const ProjectDetails &details) {
    VISTREL_TRY(checkDetails(details));
    details_ = details;
    return {};
}

RoomReport Session::roomReport() const {
    if (const ModelRecord *model = calc_.currentModel())
        return roomReportOf(room_, roomPictureOf(*model, calc_.state()));
    return {};
}

QString Session::roomNotKeptBy(const QString &path) const {
    if (isProjectFileName(path) || (room_.isEmpty() && details_.isEmpty()))
        return {};
    return texts().text(OptionalKey::RoomNotKept);
}

Plan Session::plan() const {
    if (const ModelRecord *model = calc_.currentModel())
        return planOf(*model, calc_.state(), planner_);
    return {};
}

ThrowChart Session::chart() const {
    if (const ModelRecord *model = calc_.currentModel())
        return throwChart(*model, calc_.state());
    return {};
}

} // namespace vistrel
