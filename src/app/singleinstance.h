#pragma once

#include <QLockFile>

#include <memory>

namespace vistrel::app {

// Only one calculator runs per user: a lock file in the user's runtime
// folder. A lock left behind by a crashed instance is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockPath);
    // False when another running instance holds the lock.
    bool acquire();

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace vistrel::app
