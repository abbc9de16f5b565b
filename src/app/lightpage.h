#pragma once

#include "session/lighttext.h"

#include <QWidget>

#include <array>

class QFormLayout;
class QLabel;
class QLineEdit;

namespace vistrel {
class Session;
}

namespace vistrel::app {

class Dialogs;
class SheetLinesView;
class SheetTableView;

// The planner's light budget: the light source's age, the installer's own
// target and the screen's half-gain angle as typed, and what the engine
// makes of them (the targets and the lumens each needs, the lumens for each
// viewing task, the seats against the half-gain cone), shown again whenever
// they or the calculation change.
class LightPage : public QWidget {
    Q_OBJECT

public:
    LightPage(Session &session, Dialogs &dialogs, QWidget *parent = nullptr);
    ~LightPage() override;

    // What the session says now, while the page shows; never over a value
    // being typed.
    void refresh();
    // Puts back what the session holds in every field, dropping what was typed.
    void dropTyping();

signals:
    // An input was taken: every figure of light in the planner changed with it.
    void settingsTaken();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addInputs(QFormLayout *form);
    QLabel *addHeading(QLayout *layout, const char *name);
    void confirm(LightInput input);
    [[nodiscard]] Result<void> take(LightInput input, const QString &text);
    QString shownText(LightInput input) const;
    void showInputs(bool overTyping);
    static void showText(QLabel *label, const QString &text);

    Session &session_;
    Dialogs &dialogs_;
    std::array<QLineEdit *, kLightInputs.size()> inputs_{};
    SheetLinesView *lines_ = nullptr;
    QLabel *targetsHeading_ = nullptr;
    SheetTableView *targets_ = nullptr;
    QLabel *tasksHeading_ = nullptr;
    SheetTableView *tasks_ = nullptr;
    QLabel *tasksNote_ = nullptr;
};

} // namespace vistrel::app
