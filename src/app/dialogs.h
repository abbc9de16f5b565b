#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace vistrel::app {

// Every modal question the window asks goes through here, so tests can answer
// without a dialog ever waiting for a click.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with an OK button and no icon.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // The common error box: critical icon, OK button.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // Something the user should know that stopped nothing: warning icon, OK button.
    virtual void warning(QWidget *parent, const QString &text) = 0;
    // A question before something that cannot be undone: true for OK, false
    // for Cancel (the default, and Escape).
    virtual bool confirm(QWidget *parent, const QString &title, const QString &text) = 0;
    // A question of the program's with two answers: true for Yes (the
    // default), false for No (and Escape).
    virtual bool askYesNo(QWidget *parent, const QString &text) = 0;
    // Before unsaved changes would be lost: Save, Discard or Cancel (the
    // default, and Escape).
    enum class Unsaved { Save, Discard, Cancel };
    virtual Unsaved askToSave(QWidget *parent, const QString &text) = 0;
    // The path chosen in an Open dialog, or empty when cancelled. `filter` is
    // in Qt's form, e.g. "Calculation files (*.cf)", several separated by ";;".
    virtual QString showOpenDialog(QWidget *parent, const QString &filter,
                                   const QString &folder) = 0;
    // The path chosen in a Save dialog (which asks before overwriting and
    // appends `suffix` to a name without one), or empty when cancelled. With
    // several filters the first is chosen at first, `suffix` being its
    // ending, and a name without one gets the ending of the filter chosen.
    virtual QString showSaveDialog(QWidget *parent, const QString &filter, const QString &folder,
                                   const QString &suffix) = 0;
    // A dialog of the program's own (an import's preview), modal: true
    // when the user accepted it, whatever its widgets then hold.
    virtual bool runDialog(QDialog &dialog) = 0;
};

} // namespace vistrel::app
