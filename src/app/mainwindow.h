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
class OptionFrame;
class PlannerWindow;

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

    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuFileExportReport_Click();
    void mnuOptionModelInfo_Click();
    void mnuOptionPlanner_Click();
    void mnuAboutAbout_Click();

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
    bool ApplyLanguage(const LanguageLoad &load);
    void applyUiFont();
    void measureForTheDiagrams();
    void showCaption(const QString &fileName);
    void showAspectSample(Aspect aspect);
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

    QLabel *lblModel_ = nullptr;
    QComboBox *cboModel_ = nullptr;
    std::array<QFrame *, 2> lineMenu_{};
    DrawBox *picDraw1_ = nullptr;
    DrawBox *picDraw2_ = nullptr;
    std::array<QLineEdit *, 4> txtValue_{};
    std::array<QToolButton *, 4> cmdEnter_{};
    std::array<QLabel *, 4> lblValue_{};
    std::array<QLineEdit *, 2> txtOffset_{};
    QLabel *lblOffset_ = nullptr;
    QLabel *imgKara_ = nullptr;
    OptionFrame *fraUnits_ = nullptr;
    OptionFrame *fraWIDE_ = nullptr;
    OptionFrame *fraPosition_ = nullptr;
    OptionFrame *fraAspect_ = nullptr;
    QLabel *lblAspectBox_ = nullptr;
    QLabel *lblAspect_ = nullptr;
    QLabel *picLogo_ = nullptr;
    QLabel *imgLogo_ = nullptr;
    FieldEditor *fieldEditor_ = nullptr;

    QMenu *nmuFile_ = nullptr;
    QMenu *mnuOption_ = nullptr;
    QMenu *mnuAbout_ = nullptr;
    QAction *mnuFileOpen_ = nullptr;
    QAction *mnuFileSave_ = nullptr;
    QAction *mnuFileSaveAs_ = nullptr;
    QAction *mnuFilePrint_ = nullptr;
    QAction *mnuFileExportReport_ = nullptr;
    QAction *mnuFileQuit_ = nullptr;
    QAction *mnuOptionModelInfo_ = nullptr;
    QAction *mnuOptionPlanner_ = nullptr;
    QAction *mnuAboutAbout_ = nullptr;
    PlannerWindow *planner_ = nullptr; // made at its first showing
};

} // namespace vistrel::app
