#pragma once

#include "calc/observer.h"

#include <QTimer>
#include <QWidget>

#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace vistrel {
class Session;
struct ProjectorSheet;
} // namespace vistrel

namespace vistrel::app {

class Dialogs;
class FitTableView;
class ProjectorForm;
class ProjectorPreview;
class ProjectorTable;

// Option > Projectors: the calculator's models in data-sheet terms, the
// user's own added, edited, deleted, imported and exported through the
// session, and which projectors fit the calculator's screen. A view of the
// session like the calculator window, following every change it reports.
class ProjectorsWindow : public QWidget, private EngineObserver {
    Q_OBJECT

public:
    ProjectorsWindow(Session &session, Dialogs &dialogs, QWidget *calculator);
    ~ProjectorsWindow() override;

    // Shows the window, raised and holding the keyboard.
    void present();

protected:
    // Escape drops an edit, else closes the window; Enter in the form saves.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // EngineObserver: the calculator window shows the messages.
    void showMessage(const QString &) override {}
    void showError(const AppError &) override {}
    // Once for all the changes of one entry, in the next turn of the event loop.
    void fieldsChanged() override { followTimer_.start(); }
    void controlsChanged() override { followTimer_.start(); }

    QWidget *createModelsPage();
    void refresh();
    void showModels();
    void showSelected();
    void showChecked();
    void showButtons();
    void startEditing(const ProjectorSheet &sheet, bool replacing);
    void stopEditing();
    void onAdd();
    void onDuplicate();
    void onEdit();
    void onDelete();
    void onSave();
    void onImport();
    void exportModels(bool ownOnly);
    void onCatalogueWarnings();
    void showFailure(const AppError &error);
    std::optional<int> ownModelNamed(const QString &name) const;

    Session &session_;
    Dialogs &dialogs_;
    QTimer followTimer_;
    // A closed window follows the calculation only when it is shown again,
    // so that it costs no entry anything.
    bool stale_ = false;
    bool editing_ = false;
    // The own model being edited, by its name: its place in the list moves
    // when the catalogue changes meanwhile.
    std::optional<QString> edited_;
    bool catalogueWarned_ = false; // whether the catalogue's models have warnings

    QLabel *ownError_ = nullptr;
    QTabWidget *pages_ = nullptr;
    ProjectorTable *table_ = nullptr;
    ProjectorForm *form_ = nullptr;
    ProjectorPreview *preview_ = nullptr;
    FitTableView *fit_ = nullptr;
    QPushButton *addButton_ = nullptr;
    QPushButton *duplicateButton_ = nullptr;
    QPushButton *editButton_ = nullptr;
    QPushButton *deleteButton_ = nullptr;
    QPushButton *importButton_ = nullptr;
    QPushButton *exportButton_ = nullptr;
    QPushButton *warningsButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
};

} // namespace vistrel::app
