#pragma once

#include "core/choices.h"

#include <QObject>

class QComboBox;
class QLineEdit;

namespace vistrel {
class Session;
struct Controls;
struct LanguageTexts;
} // namespace vistrel

namespace vistrel::app {

class Dialogs;
class OptionFrame;

// The picture format as the aspect frame chooses it: the three aspect
// options, "Other" after them, the list of other formats with "Custom..."
// last, and the field for a typed format. The aspect options go to the
// session as every option group's do; Other, the list and the field go
// through here. All of them show the session's Controls.
class FormatChooser : public QObject {
    Q_OBJECT

public:
    // Other's id in the aspect frame, after the aspect options' codes.
    static constexpr int kOtherId = static_cast<int>(kAspects.size());

    FormatChooser(Session &session, Dialogs &dialogs, OptionFrame *frame, QComboBox *list,
                  QLineEdit *typed, QWidget *window);

    // Other's caption, the list's last entry and what a screen reader calls them.
    void showTexts(const LanguageTexts &texts);
    void showControls(const Controls &controls);

private:
    void chooseOther();
    void chooseRow(int row);
    void confirmTyped();
    int customRow() const;

    Session &session_;
    Dialogs &dialogs_;
    OptionFrame *frame_;
    QComboBox *list_;
    QLineEdit *typed_;
    QWidget *window_;
};

} // namespace vistrel::app
