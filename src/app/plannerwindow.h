#pragma once

#include "calc/observer.h"
#include "session/chartcache.h"
#include "session/plannertext.h"

#include <QByteArray>
#include <QTimer>
#include <QWidget>

#include <array>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTableWidget;

namespace vistrel {
class Session;
}

namespace vistrel::app {

class Dialogs;
class LightPage;
class RoomPage;

// The installation planner beside the calculator window: the screen gain and
// the room's light as the user types them, the anamorphic lens of the
// calculation, the planner's numbers and the throw chart of the session on
// one page, the room and the light budget on the others, following every
// change the session reports.
class PlannerWindow : public QWidget, private EngineObserver {
    Q_OBJECT

public:
    PlannerWindow(Session &session, Dialogs &dialogs, QWidget *calculator);
    ~PlannerWindow() override;

    // Shows the window where it stood last time, or beside the calculator
    // window the first time, and gives it the keyboard.
    void present();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // EngineObserver: the calculator window shows the messages.
    void showMessage(const QString &) override {}
    void showError(const AppError &) override {}
    // The calculator is redrawn first; the planner follows in the next turn
    // of the event loop, once for all the changes of one entry.
    void fieldsChanged() override { followTimer_.start(); }
    void controlsChanged() override { followTimer_.start(); }

    QLayout *createInputs();
    void addAnamorphicInput(QFormLayout *form);
    QLayout *createNumbers();
    QLayout *createChart();
    QWidget *createRoomPage();
    QWidget *createLightPage();
    void confirm(PlannerInput input);
    void confirmAnamorphic();
    // The factor in use as its field shows it.
    QString anamorphicText() const;
    // The numbers and the chart of the session, while the window shows.
    void refresh();
    void showNumbers();
    void showChart();
    void highlightCurrentSize(const ThrowChart &chart);
    void placeBesideCalculator();
    QSize decorations() const;
    void keepOnScreen(const QRect &screen);
    // The chart of the session as it is now, shown anew when it changed.
    const ThrowChart &currentChart();
    void copyChart();
    void exportCsv();
    void remember(bool quietly = false);

    Session &session_;
    Dialogs &dialogs_;
    QWidget *calculator_;
    ChartCache chart_;
    bool placed_ = false;       // shown once, where it was or beside the calculator
    bool memoryFailed_ = false; // the user was told that the inputs cannot be kept
    QByteArray geometry_;       // where it stood at the end of the last start
    QTimer followTimer_;

    std::array<QLineEdit *, 2> inputs_{}; // by PlannerInput
    QComboBox *anamorphic_ = nullptr;
    std::array<QLabel *, kPlannerRowCount> values_{};
    QLabel *chartLabel_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    QTabWidget *pages_ = nullptr;
    RoomPage *room_ = nullptr;
    LightPage *light_ = nullptr;
    QTableWidget *chartTable_ = nullptr;
    int highlighted_ = -1; // the chart's row in bold
    QPushButton *copyButton_ = nullptr;
    QPushButton *exportCsvButton_ = nullptr;
};

} // namespace vistrel::app
