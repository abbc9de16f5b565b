#pragma once

#include "session/roomtext.h"
#include "session/sheet.h"

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
class RoomDrawingView;
class SheetLinesView;
class SheetTableView;

// The planner's room: what the installer types of the room and the report's
// title block, and what the engine makes of it (its figures, the checks that
// fail, the seat rows and both drawings to scale), shown again whenever
// either the room or the calculation changes.
class RoomPage : public QWidget {
    Q_OBJECT

public:
    RoomPage(Session &session, Dialogs &dialogs, QWidget *parent = nullptr);
    ~RoomPage() override;

    // What the session says now, while the page shows; never over a value
    // being typed.
    void refresh();
    // Puts back what the session holds in every field, dropping what was typed.
    void dropTyping();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addRoomInputs(QFormLayout *form);
    void addDetailInputs(QFormLayout *form);
    QLabel *addHeading(QLayout *layout, OptionalKey key, const char *name);
    void confirmRoom(RoomInput input);
    [[nodiscard]] Result<void> take(RoomInput input, const QString &text);
    void confirmDetail(DetailInput input);
    QString shownText(RoomInput input) const;
    void showInputs(bool overTyping);
    void showChecks(const RoomSheet &sheet);

    Session &session_;
    Dialogs &dialogs_;
    std::array<QLineEdit *, kRoomInputs.size()> roomInputs_{};
    std::array<QLineEdit *, kDetailInputs.size()> detailInputs_{};
    SheetLinesView *lines_ = nullptr;
    QLabel *checksHeading_ = nullptr;
    QLabel *checks_ = nullptr;
    SheetTableView *seats_ = nullptr;
    RoomDrawingView *elevation_ = nullptr;
    RoomDrawingView *plan_ = nullptr;
};

} // namespace vistrel::app
