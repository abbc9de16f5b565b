#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QTableWidget;

namespace vistrel {
class Session;
}

namespace vistrel::app {

class Dialogs;

// Which projectors fit the calculator's screen: every model against its
// picture and, where the user gives them, the distances the room leaves,
// in a table sorted as the user likes. Enter or a double click on a model
// makes it the calculator's for the same screen.
class FitTableView : public QWidget {
    Q_OBJECT

public:
    FitTableView(Session &session, Dialogs &dialogs, QWidget *parent);
    ~FitTableView() override;

    // The table for the calculation as it is now.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(const QModelIndex &index);
    void confirmRoom(QLineEdit *field);
    // A room distance typed, in inches; none for an empty field.
    std::optional<double> roomDistance(const QLineEdit *field) const;

    Session &session_;
    Dialogs &dialogs_;
    QLabel *subject_ = nullptr;
    QLineEdit *from_ = nullptr;
    QLineEdit *to_ = nullptr;
    QLabel *roomUnit_ = nullptr; // the calculator's unit, which the room's distances are in
    QTableWidget *table_ = nullptr;
};

} // namespace vistrel::app
