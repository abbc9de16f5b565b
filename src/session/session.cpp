#include "session/session.h"

#include "calc/catalogueprobe.h"
#include "catalogue/catalogueswitch.h"
#include "catalogue/modelloader.h"
#include "core/helpers.h"
#include "session/calculationfile.h"

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
    std::vector<ModelRecord> models;
    VISTREL_TRY_ASSIGN(models, loadCatalogue(paths_.catalogueFile()));
    return calc_.startUp(std::move(models));
}

Result<void> Session::open(const QString &path) {
    CalcFileData data;
    VISTREL_TRY_ASSIGN(data, readCalcFile(path));
    VISTREL_TRY(calc_.restore(restoreRequestFrom(data)));
    currentFile_ = path;
    return {};
}

Result<void> Session::save(SaveKind kind, const std::function<QString()> &askName, bool *named) {
    QString fileName = kind == SaveKind::Save ? currentFile_ : QString();
    if (named)
        *named = false;
    if (fileName.isEmpty() || !fileExists(fileName)) {
        fileName = askName();
        if (fileName.isEmpty()) {
            if (kind == SaveKind::Save)
                currentFile_.clear();
            return {};
        }
        currentFile_ = fileName;
        if (named)
            *named = true;
    }
    return writeTo(fileName);
}

Result<void> Session::writeTo(const QString &path) const {
    return writeCalcFile(path, snapshotOf(calc_));
}

Result<void> Session::switchCatalogue(const QString &file) {
    // A file that cannot be used leaves the catalogue in use, and the files, as they are.
    CatalogueSwitch result;
    VISTREL_TRY_ASSIGN(result, vistrel::switchCatalogue(file, paths_, [this](const auto &models) {
                           return probeCatalogue(calc_, models);
                       }));
    if (result.outcome == CatalogueSwitch::Outcome::NoModels) {
        observers_.showMessage(
            replaceText(calc_.messages().MsgGeneral, QStringLiteral("%1"), visibleText(file)));
        if (result.reloadError)
            return *result.reloadError;
    }
    return calc_.replaceCatalogue(std::move(result.models));
}

Result<void> Session::setPlannerSettings(const PlannerSettings &settings) {
    VISTREL_TRY(checkSettings(settings));
    planner_ = settings;
    return {};
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
