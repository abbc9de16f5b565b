#pragma once

#include "app/mainwindow.h"
#include "app/silentdialogs.h"
#include "calc/observer.h"
#include "core/apppaths.h"
#include "figures.h"
#include "session/session.h"

#include <QEventLoop>
#include <QMainWindow>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace vistrel::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The engine's reports go nowhere, which leaves the window out of a figure.
class NullObserver : public EngineObserver {
public:
    void showMessage(const QString &) override { ++boxes; }
    void showError(const AppError &) override { ++boxes; }

    int boxes = 0;
};

// Language.ini and the shipped ModelInfo.ini.
QString dataFolder();
AppPaths shippedPaths();

// Writes a catalogue of `count` models that look like real ones (a header
// line, then one line of 19 fields per model); the same file on every run.
bool writeCatalogue(const QString &path, int count);

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));

// The calculator window with the session it shows.
struct CalculatorWindow {
    std::unique_ptr<Session> session;
    std::unique_ptr<app::MainWindow> window;

    app::MainWindow *get() const { return window.get(); }
    app::MainWindow *operator->() const { return window.get(); }
    explicit operator bool() const { return window != nullptr; }
};

// The calculator window, built and started as the program does it; empty
// when start-up did not reach Ready.
CalculatorWindow startCalculatorWindow(app::Dialogs &dialogs, const AppPaths &paths);
// Notices the first paint event of a top-level window. wait() runs the event
// loop until the paint that event started has finished (the whole window
// painted and handed to the platform), or until the limit passes.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget *window);

    bool wait(int limitMs);
    bool painted() const { return painted_; }
    Clock::time_point firstPaintAt() const { return firstPaintAt_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    QEventLoop loop_;
    QTimer deadline_;
    bool painted_ = false;
    Clock::time_point firstPaintAt_{};
};

// Leaves out the platform's remarks that say nothing about the figures.
void quietPlatformMessages();

// Shows the window and waits for its first paint; falls back to rendering it
// with QWidget::grab when no paint arrives (reported by the return value).
bool showAndWaitForPaint(QWidget *window, int limitMs = 5000);

} // namespace vistrel::bench
