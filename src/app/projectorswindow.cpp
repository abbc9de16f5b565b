#include "app/projectorswindow.h"

#include "app/dialogs.h"
#include "app/fittableview.h"
#include "app/importpreviewdialog.h"
#include "app/plaintext.h"
#include "app/projectorform.h"
#include "app/projectorpreview.h"
#include "app/projectortable.h"
#include "app/uifont.h"
#include "calc/sheetterms.h"
#include "core/helpers.h"
#include "files/modeltable.h"
#include "session/session.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vistrel::app {

namespace {

const QString kExportFilter = QStringLiteral("CSV (*.csv);;JSON (*.json)");
constexpr QSize kFirstSize{1100, 760};

QPushButton *button(const char *name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// The endings tableFormatOf knows.
QString importFilter(const LanguageTexts &texts) {
    return texts.text(OptionalKey::ImportFiles) + QStringLiteral(" (*.csv *.json *.ini *.txt)");
}

} // namespace

ProjectorsWindow::ProjectorsWindow(Session &session, Dialogs &dialogs, QWidget *calculator)
    : QWidget(calculator, Qt::Window), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmProjectors"));
    // A window beside the calculator: closing the calculator ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    const LanguageTexts &texts = session_.texts();
    setWindowTitle(plainWindowTitle(texts.text(OptionalKey::ProjectorsTitle)));
    setFont(uiFont(font(), texts));
    followTimer_.setSingleShot(true);
    followTimer_.setInterval(0);
    connect(&followTimer_, &QTimer::timeout, this, &ProjectorsWindow::refresh);

    auto *layout = new QVBoxLayout(this);
    ownError_ = new QLabel(this);
    ownError_->setObjectName(QStringLiteral("lblOwnError"));
    ownError_->setWordWrap(true);
    if (const std::optional<AppError> &error = session_.ownModelsError())
        ownError_->setText(texts.text(OptionalKey::OwnFileError) + u'\n' + error->description);
    ownError_->setVisible(session_.ownModelsError().has_value());
    layout->addWidget(ownError_);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("tabProjectors"));
    pages_->addTab(createModelsPage(), texts.text(OptionalKey::ModelsPage));
    fit_ = new FitTableView(session_, dialogs_, pages_);
    pages_->addTab(fit_, texts.text(OptionalKey::FitPage));
    layout->addWidget(pages_);
    showLabelsAsPlainText(this);
    resize(kFirstSize);

    showModels();
    table_->selectModel(session_.state().modelIndex);
    showSelected();
    session_.addObserver(*this);
}

ProjectorsWindow::~ProjectorsWindow() {
    session_.removeObserver(*this);
}

QWidget *ProjectorsWindow::createModelsPage() {
    const LanguageTexts &texts = session_.texts();
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);

    auto *top = new QHBoxLayout;
    table_ = new ProjectorTable(session_, page);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!editing_)
            showSelected();
    });
    top->addWidget(table_, 1);
    auto *listButtons = new QVBoxLayout;
    addButton_ = button("cmdAdd", texts.text(OptionalKey::AddModel), page);
    duplicateButton_ = button("cmdDuplicate", texts.text(OptionalKey::DuplicateModel), page);
    editButton_ = button("cmdEdit", texts.text(OptionalKey::EditModel), page);
    deleteButton_ = button("cmdDelete", texts.text(OptionalKey::DeleteModel), page);
    importButton_ = button("cmdImport", texts.text(OptionalKey::ImportModels), page);
    exportButton_ = button("cmdExport", texts.text(OptionalKey::ExportModels), page);
    warningsButton_ = button("cmdWarnings", texts.text(OptionalKey::CatalogueWarnings), page);
    auto *exportMenu = new QMenu(exportButton_);
    QAction *exportOwn = exportMenu->addAction(texts.text(OptionalKey::ExportOwn));
    exportOwn->setObjectName(QStringLiteral("mnuExportOwn"));
    QAction *exportAll = exportMenu->addAction(texts.text(OptionalKey::ExportAll));
    exportAll->setObjectName(QStringLiteral("mnuExportAll"));
    exportButton_->setMenu(exportMenu);
    connect(addButton_, &QPushButton::clicked, this, &ProjectorsWindow::onAdd);
    connect(duplicateButton_, &QPushButton::clicked, this, &ProjectorsWindow::onDuplicate);
    connect(editButton_, &QPushButton::clicked, this, &ProjectorsWindow::onEdit);
    connect(deleteButton_, &QPushButton::clicked, this, &ProjectorsWindow::onDelete);
    connect(importButton_, &QPushButton::clicked, this, &ProjectorsWindow::onImport);
    connect(exportOwn, &QAction::triggered, this, [this] { exportModels(true); });
    connect(exportAll, &QAction::triggered, this, [this] { exportModels(false); });
    connect(warningsButton_, &QPushButton::clicked, this, &ProjectorsWindow::onCatalogueWarnings);
    for (QPushButton *b : {addButton_, duplicateButton_, editButton_, deleteButton_})
        listButtons->addWidget(b);
    listButtons->addStretch();
    for (QPushButton *b : {importButton_, exportButton_, warningsButton_})
        listButtons->addWidget(b);
    top->addLayout(listButtons);
    layout->addLayout(top, 2);

    auto *bottom = new QHBoxLayout;
    form_ = new ProjectorForm(session_, page);
    auto *scroll = new QScrollArea(page);
    scroll->setWidget(form_);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes from field to field
    bottom->addWidget(scroll, 3);
    auto *side = new QVBoxLayout;
    preview_ = new ProjectorPreview(session_, page);
    side->addWidget(preview_, 1);
    auto *editButtons = new QHBoxLayout;
    saveButton_ = button("cmdSave", texts.text(OptionalKey::SaveModel), page);
    cancelButton_ = button("cmdCancel", texts.text(LangKey::CancelButton), page);
    connect(saveButton_, &QPushButton::clicked, this, &ProjectorsWindow::onSave);
    connect(cancelButton_, &QPushButton::clicked, this, &ProjectorsWindow::stopEditing);
    editButtons->addStretch();
    editButtons->addWidget(saveButton_);
    editButtons->addWidget(cancelButton_);
    side->addLayout(editButtons);
    bottom->addLayout(side, 2);
    layout->addLayout(bottom, 3);
    connect(form_, &ProjectorForm::checkedAgain, this, &ProjectorsWindow::showChecked);
    return page;
}

void ProjectorsWindow::present() {
    show();
    if (stale_)
        refresh();
    raise();
    activateWindow();
}

void ProjectorsWindow::keyPressEvent(QKeyEvent *event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && plain) {
        if (editing_)
            stopEditing();
        else
            close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain && editing_ &&
        form_->isAncestorOf(focusWidget())) {
        onSave();
        return;
    }
    QWidget::keyPressEvent(event);
}

// What the session changed: the list, the preview's unit, the fit table.
void ProjectorsWindow::refresh() {
    stale_ = !isVisible();
    if (stale_)
        return;
    showModels();
    showChecked();
    fit_->refresh();
}

void ProjectorsWindow::showModels() {
    if (!table_->showModels())
        return;
    catalogueWarned_ = !describeWarnings(session_.catalogueModels()).isEmpty();
    if (!editing_)
        showSelected();
}

void ProjectorsWindow::showSelected() {
    const std::optional<int> selected = table_->selectedModel();
    const std::vector<ModelRecord> &models = session_.calculator().models();
    if (selected && static_cast<std::size_t>(*selected) < models.size())
        form_->showSheet(sheetOf(models[static_cast<std::size_t>(*selected)]), false);
    else
        form_->showSheet({}, false);
    showButtons();
}

void ProjectorsWindow::showChecked() {
    preview_->showModel(form_->sheet(), form_->checked());
    showButtons();
}

void ProjectorsWindow::showButtons() {
    const bool ownReadable = !session_.ownModelsError();
    const std::optional<int> selected = table_->selectedModel();
    const bool own = selected && session_.isOwnModel(*selected);
    addButton_->setEnabled(ownReadable && !editing_);
    duplicateButton_->setEnabled(ownReadable && !editing_ && selected);
    editButton_->setEnabled(ownReadable && !editing_ && own);
    deleteButton_->setEnabled(ownReadable && !editing_ && own);
    importButton_->setEnabled(ownReadable && !editing_);
    exportButton_->setEnabled(!editing_);
    warningsButton_->setEnabled(catalogueWarned_);
    saveButton_->setEnabled(editing_ && form_->savable());
    cancelButton_->setEnabled(editing_);
    table_->setEnabled(!editing_);
}

void ProjectorsWindow::startEditing(const ProjectorSheet &sheet, bool replacing) {
    editing_ = true;
    edited_ = replacing ? std::optional(sheet.name) : std::nullopt;
    pages_->setCurrentIndex(0);
    form_->showSheet(sheet, true);
    showButtons();
    auto *name = qobject_cast<QLineEdit *>(form_->firstField());
    name->setFocus(Qt::OtherFocusReason);
    name->selectAll();
}

void ProjectorsWindow::stopEditing() {
    editing_ = false;
    edited_.reset();
    showSelected();
    table_->setFocus(Qt::OtherFocusReason);
}

void ProjectorsWindow::onAdd() {
    startEditing({}, false);
}

void ProjectorsWindow::onDuplicate() {
    if (const std::optional<int> selected = table_->selectedModel())
        startEditing(sheetOf(session_.calculator().models()[static_cast<std::size_t>(*selected)]),
                     false);
}

void ProjectorsWindow::onEdit() {
    const std::optional<int> selected = table_->selectedModel();
    if (selected && session_.isOwnModel(*selected))
        startEditing(sheetOf(session_.calculator().models()[static_cast<std::size_t>(*selected)]),
                     true);
}

void ProjectorsWindow::onDelete() {
    const std::optional<int> selected = table_->selectedModel();
    if (!selected || !session_.isOwnModel(*selected))
        return;
    const QString name = session_.calculator().models()[static_cast<std::size_t>(*selected)].name;
    const LanguageTexts &texts = session_.texts();
    if (!dialogs_.confirm(this, withoutMnemonic(texts.text(OptionalKey::DeleteModel)),
                          replaceText(texts.text(OptionalKey::DeleteQuestion), QStringLiteral("%1"),
                                      visibleText(name))))
        return;
    if (Result<void> deleted = session_.deleteOwnModel(*selected); !deleted)
        showFailure(deleted.error());
}

// The warnings are listed and asked about first; what the session refuses
// (a name another own model has) is said beside its field and in a box.
void ProjectorsWindow::onSave() {
    if (!editing_ || !form_->savable())
        return;
    const SheetRecord &made = *form_->checked();
    const LanguageTexts &texts = session_.texts();
    if (!made.warnings.empty()) {
        QStringList lines;
        for (const ModelWarning &warning : made.warnings)
            lines << visibleText(warning.text);
        const QString question =
            headedList(replaceText(texts.text(OptionalKey::SaveWithWarnings), QStringLiteral("%1"),
                                   visibleText(made.record.name)),
                       lines);
        if (!dialogs_.confirm(this, withoutMnemonic(texts.text(OptionalKey::SaveModel)), question))
            return;
    }
    const QString name = made.record.name;
    const std::optional<int> replacing = edited_ ? ownModelNamed(*edited_) : std::nullopt;
    if (Result<void> saved = session_.saveOwnModel(made.record, replacing); !saved) {
        form_->showRefusal(saved.error());
        showFailure(saved.error());
        return;
    }
    editing_ = false;
    showModels();
    if (const std::optional<int> saved = ownModelNamed(name))
        table_->selectModel(*saved);
    stopEditing();
}

// Own models come last, and their names are their own.
std::optional<int> ProjectorsWindow::ownModelNamed(const QString &name) const {
    const std::vector<ModelRecord> &models = session_.calculator().models();
    for (std::size_t i = models.size(); i-- > 0;)
        if (session_.isOwnModel(static_cast<int>(i)) && models[i].name == name)
            return static_cast<int>(i);
    return std::nullopt;
}

void ProjectorsWindow::onImport() {
    const QString path =
        dialogs_.showOpenDialog(this, importFilter(session_.texts()), QDir::currentPath());
    if (path.isEmpty())
        return;
    const std::optional<TableFormat> format = tableFormatOf(path);
    if (!format) {
        showFailure(makeError(ErrorNumber::BadFileName,
                              QStringLiteral("Bad file name or number: %1 is no CSV, JSON or "
                                             "catalogue file")
                                  .arg(path)));
        return;
    }
    const Result<ModelTable> table = readModelTable(path, *format);
    if (!table) {
        showFailure(table.error());
        return;
    }
    const std::vector<ImportEntry> entries = session_.previewImport(*table);
    ImportPreviewDialog preview(entries, session_.texts(), this);
    if (!dialogs_.runDialog(preview))
        return;
    const Result<void> imported = session_.importModels(
        entries, [&preview](const ImportEntry &entry) { return preview.replaces(entry); });
    if (!imported)
        showFailure(imported.error());
}

// CSV or JSON by the file's ending, which the dialog takes from the type chosen.
void ProjectorsWindow::exportModels(bool ownOnly) {
    const QString path =
        dialogs_.showSaveDialog(this, kExportFilter, QDir::currentPath(), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const TableFormat format =
        tableFormatOf(path) == TableFormat::Json ? TableFormat::Json : TableFormat::Csv;
    const std::vector<ModelRecord> &models =
        ownOnly ? session_.ownModels() : session_.calculator().models();
    if (Result<void> written = writeModelTable(path, exportRows(models), sheetTermKeys(), format);
        !written)
        showFailure(written.error());
}

void ProjectorsWindow::onCatalogueWarnings() {
    dialogs_.warning(
        this,
        headedList(replaceText(session_.texts().text(OptionalKey::ReplaceCatalogueDoubts),
                               QStringLiteral("%1"), visibleText(session_.paths().catalogueFile())),
                   describeWarnings(session_.catalogueModels())));
}

void ProjectorsWindow::showFailure(const AppError &error) {
    dialogs_.error(this, localizedBoxText(error, session_.texts()));
}

} // namespace vistrel::app
