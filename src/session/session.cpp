#include "session/session.h"

#include "calc/catalogueprobe.h"
#include "core/helpers.h"
#include "files/catalogueswitch.h"
#include "files/languagefile.h"
#include "files/modelloader.h"
#include "session/calculationfile.h"

namespace vistrel {

namespace {

// The calculation as a file keeps it, less the scale the isometric view
// happens to be drawn at, which a redraw may change without the user.
CalcFileData keptOf(const Calculator &calculator) {
    CalcFileData data = snapshotOf(calculator);
    data.maxDistance = 0;
    return data;
}

} // namespace

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
    VISTREL_TRY(calc_.startUp(std::move(catalogue.models)));
    kept_ = keptOf(calc_);
    takeWarnings(paths_.catalogueFile(), catalogue.warnings);
    return {};
}

void Session::takeWarnings(const QString &file, const std::vector<CatalogueNote> &warnings) {
    catalogueWarnings_ = describeAll(warnings);
    if (catalogueWarnings_.isEmpty())
        return;
    observers_.showWarnings(replaceText(texts().text(OptionalKey::PlannerDataUnknown),
                                        QStringLiteral("%1"), visibleText(file)),
                            catalogueWarnings_);
}

Result<void> Session::open(const QString &path) {
    CalcFileData data;
    VISTREL_TRY_ASSIGN(data, readCalcFile(path));
    VISTREL_TRY(calc_.restore(restoreRequestFrom(data)));
    currentFile_ = path;
    kept_ = keptOf(calc_);
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
    VISTREL_TRY(writeTo(fileName));
    kept_ = keptOf(calc_);
    return {};
}

bool Session::modified() const {
    return kept_ && !(keptOf(calc_) == *kept_);
}

Result<void> Session::writeTo(const QString &path) const {
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
    VISTREL_TRY(calc_.replaceCatalogue(std::move(result.catalogue.models)));
    takeWarnings(loaded, result.catalogue.warnings);
    return {};
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
