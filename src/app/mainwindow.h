#pragma once

#include "app/drawingkit.h"
#include "calc/observer.h"
#include "core/apppaths.h"
#include "core/language.h"
#include "session/session.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace vistrel::app {

class Dialogs;
class DrawBox;
class FieldEditor;
class FormatChooser;
class OptionFrame;
class PlannerWindow;
class ProjectorsWindow;

// The calculator window: a view of a session. Every rule lives in the
// engine; the window forwards the user's actions to the session and shows
// what it reports.
class MainWindow : public QMainWindow, private EngineObserver {
    Q_OBJECT

public:
    enum class StartResult { Ready, LanguageError, Failed };

    MainWindow(Session &session, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The whole start-up: texts, default options, the catalogue, the first
    // model, the first result and both diagrams. Anything but Ready has
    // already been shown to the user, and the program then ends.
    StartResult start(const AppPaths &paths);
    // Shows a session that was started elsewhere (vistrel-cli draws its own).
    void showSession();

    const Session &session() const { return session_; }
    const Calculator &calculator() const { return session_.calculator(); }
    const QString &appTitle() const { return texts().text(LangKey::Caption); }
    const LanguageTexts &texts() const { return session_.texts(); }

    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onFilePrint();
    void onExportReport();
    void onModelInfo();
    void onPlanner();
    void onProjectors();
    void onAbout();

private:
    // EngineObserver
    void showMessage(const QString &text) override;
    void showError(const AppError &error) override;
    void showWarnings(const QString &heading, const QStringList &lines) override;
    void fieldsChanged() override;
    void isometricChanged() override;
    void sideViewChanged() override;
    void controlsChanged() override;

    void closeEvent(QCloseEvent *event) override;
    // Unsaved changes are saved, dropped, or kept by cancelling what was
    // about to lose them; true when that may go on.
    bool mayDropChanges();
    void showModified();

    void createControls();
    void createDiagramBoxes(QWidget *client);
    void createOptionFrames(QWidget *client);
    void createActions();
    void createMenus();
    void connectControls();
    template <typename Choice> void connectGroup(OptionFrame *frame);
    // What the window asked of the session is on the screen already: a
    // failure through showError, and the choices the session refuses have
    // their buttons disabled.
    static void shown(const Result<void> &) {}
    bool applyLanguage(const LanguageLoad &load);
    void applyUiFont();
    void measureForTheDiagrams();
    void showCaption(const QString &fileName);
    void showAspectSample(const PictureFormat &format);
    void saveWith(SaveKind kind);
    void nameControlsForScreenReaders();
    void describeDiagrams();
    // What the side view adds to the diagrams' descriptions.
    struct SideFacts {
        std::optional<Position> position;
        bool secondOffset = false;
        bool operator==(const SideFacts &) const = default;
    };
    SideFacts sideFacts() const;

    Session &session_;
    Dialogs &dialogs_;
    DrawingKit kit_;
    unsigned shownModelList_ = ~0U; // the model list version cboModel shows
    // What the boxes' images show, so that an unchanged diagram is not drawn again.
    std::optional<IsometricGeometry> drawnIsometric_;
    std::optional<SideGeometry> drawnSide_;
    std::optional<SideFacts> describedSide_; // what the descriptions were last made from

    QLabel *modelLabel_ = nullptr;
    QComboBox *modelCombo_ = nullptr;
    std::array<QFrame *, 2> menuRules_{};
    DrawBox *isometricBox_ = nullptr;
    DrawBox *sideViewBox_ = nullptr;
    std::array<QLineEdit *, 4> lengthEdits_{};
    std::array<QToolButton *, 4> confirmButtons_{};
    std::array<QLabel *, 4> lengthLabels_{};
    std::array<QLineEdit *, 2> offsetEdits_{};
    QLabel *offsetLabel_ = nullptr;
    QLabel *tildeMark_ = nullptr;
    OptionFrame *unitFrame_ = nullptr;
    OptionFrame *zoomFrame_ = nullptr;
    OptionFrame *positionFrame_ = nullptr;
    OptionFrame *aspectFrame_ = nullptr;
    QLabel *aspectSampleBox_ = nullptr;
    QLabel *aspectSample_ = nullptr;
    QComboBox *formatList_ = nullptr;
    QLineEdit *formatEdit_ = nullptr;
    QLabel *logoBox_ = nullptr;
    QLabel *logo_ = nullptr;
    FieldEditor *fieldEditor_ = nullptr;
    FormatChooser *formatChooser_ = nullptr;

    QMenu *fileMenu_ = nullptr;
    QMenu *optionMenu_ = nullptr;
    QMenu *aboutMenu_ = nullptr;
    QAction *openAction_ = nullptr;
    QAction *saveAction_ = nullptr;
    QAction *saveAsAction_ = nullptr;
    QAction *printAction_ = nullptr;
    QAction *exportReportAction_ = nullptr;
    QAction *quitAction_ = nullptr;
    QAction *modelInfoAction_ = nullptr;
    QAction *plannerAction_ = nullptr;
    QAction *projectorsAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    PlannerWindow *planner_ = nullptr;       // made at its first showing
    ProjectorsWindow *projectors_ = nullptr; // likewise
};

} // namespace vistrel::app
