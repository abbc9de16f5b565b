#include "singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace vistrel::app {

SingleInstance::SingleInstance(const QString &lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)) {
    // Age alone never makes the lock of a running instance stale; a lock
    // whose process is gone still is.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_->tryLock(0);
}

QString SingleInstance::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("vistrel.lock"));
}

} // namespace vistrel::app
