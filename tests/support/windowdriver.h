#pragma once

#include "app/mainwindow.h"
#include "scripteddialogs.h"
#include "session/session.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// The calculator window on a temporary folder of its own, driven the way a
// user drives it: mouse clicks where a user clicks, keys into the control
// that has the focus, and every dialog answered from a script. The window
// tests derive from it.
class WindowDriver {
public:
    WindowDriver();

    // A missing child is said by name: the null pointer alone only crashes the test.
    template <typename T> static T *childOf(const QObject *parent, const QString &name) {
        T *w = parent->findChild<T *>(name);
        if (!w)
            qWarning("no child %s", qPrintable(name));
        return w;
    }
    // Near the left edge: an option button only takes clicks on its circle and caption.
    static void click(QWidget *w);
    // Clicks into the field, replaces its text and presses `key`.
    static void type(QLineEdit *edit, const QString &typed, Qt::Key key = Qt::Key_Return);

protected:
    // New dialogs, and a new, empty temporary folder made the current one
    // as the program's own folder is.
    [[nodiscard]] bool setUp();
    // The same, with `catalogue` and the shipped texts in the folder, and the
    // window on them, shown and holding the keyboard.
    [[nodiscard]] bool setUpWindow(const QByteArray &catalogue);
    QString path(const QString &name) const { return dir_->filePath(name); }
    [[nodiscard]] bool write(const QString &name, const QByteArray &bytes) const;
    // A file as the package installs it, from the source tree's data folder.
    [[nodiscard]] bool copyShipped(const QString &name) const;
    // A new session and window on the folder, as the program starts.
    vistrel::app::MainWindow::StartResult startWindow(QChar decimalPoint = u'.');
    // The same, started without a fault, shown and holding the keyboard.
    [[nodiscard]] bool openWindow(QChar decimalPoint = u'.');

    // Closes the window and says what went otherwise than scripted: dialogs
    // and questions nobody answered, and modal windows, each closed as soon
    // as it opened so that no test waits for a click. Empty when all went as
    // scripted.
    QString tearDown();

    template <typename T> T *child(const QString &name) const {
        return childOf<T>(window_.get(), name);
    }
    const vistrel::CalcState &state() const { return window_->calculator().state(); }
    QLineEdit *field(int i) const;
    QString text(int i) const { return field(i)->text(); }
    // Distance, diagonal, width and height as the fields show them.
    QStringList fieldTexts() const;
    QRadioButton *option(const char *name) const;
    QComboBox *models() const;
    QImage image(const char *box) const;

    void type(int i, const QString &typed, Qt::Key key = Qt::Key_Return) {
        type(field(i), typed, key);
    }
    // With the list's own keys, so that the window's handler runs as for a user.
    void chooseModel(int index);
    // A menu entry, by its object name.
    void trigger(const char *action);
    // A menu entry whose file dialog is answered with `answer` ("" cancels).
    void trigger(const char *action, const QString &answer);

    // The user's data folder the window starts with (own projectors); none
    // unless a test sets it after setUp.
    QString userData_;
    // Where the planner keeps its inputs while the tests run: never the user's own.
    QTemporaryDir config_;
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedDialogs dialogs_;
    // The window goes before the session it shows.
    std::unique_ptr<vistrel::Session> session_;
    std::unique_ptr<vistrel::app::MainWindow> window_;
    QStringList closedModals_; // their object names, in the order they opened

private:
    QTimer modalWatch_;
};
