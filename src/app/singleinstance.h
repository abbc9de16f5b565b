#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vistrel::app {

// Only one calculator runs per user: a lock file in the user's runtime
// folder. A lock left behind by a crashed instance is taken over. Beside the
// lock the running instance listens on a local socket, so that a second
// start can bring its window to the front instead of opening another.
class SingleInstance {
public:
    enum class Start {
        First,          // the lock is ours
        AlreadyRunning, // a live instance holds it
        NoLock,         // the lock cannot be made (a full or odd runtime folder)
    };

    explicit SingleInstance(const QString &lockPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Start acquire();
    // Why the lock could not be made, after NoLock.
    QString lockProblem() const;

    // As the running instance, once the lock is ours: `raise` runs whenever
    // a second start asks.
    void listen(std::function<void()> raise);
    // As the second start: asks the running instance to show its window;
    // false when it could not be reached (an older program, no socket).
    bool askToRaise() const;

    static QString defaultLockPath();

private:
    void answer();

    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool holdsLock_ = false;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> raise_;
};

} // namespace vistrel::app
