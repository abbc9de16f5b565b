#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vistrel::app {

namespace {

constexpr char kRaise = 'r';
constexpr int kAnswerMilliseconds = 2000; // a busy window answers long before

QByteArray socketPath(const QString &lockPath) {
    return QFile::encodeName(lockPath + QStringLiteral(".socket"));
}

// The address of `path`, or nothing when it is too long for one.
bool addressOf(const QByteArray &path, sockaddr_un &address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    return true;
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath)
    : lockPath_(lockPath), lock_(std::make_unique<QLockFile>(lockPath)) {
    // Age alone never makes the lock of a running instance stale; a lock
    // whose process is gone still is.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) {
        notifier_.reset();
        ::close(listener_);
        ::unlink(socketPath(lockPath_).constData());
    }
}

SingleInstance::Start SingleInstance::acquire() {
    if (lock_->tryLock(0)) {
        holdsLock_ = true;
        return Start::First;
    }
    // Only a lock that names a live holder means another copy runs; a folder
    // or unreadable file in its place says nothing of the kind.
    qint64 pid = 0;
    QString host, application;
    if (lock_->error() == QLockFile::LockFailedError &&
        lock_->getLockInfo(&pid, &host, &application) && pid > 0)
        return Start::AlreadyRunning;
    return Start::NoLock;
}

QString SingleInstance::lockProblem() const {
    return lock_->error() == QLockFile::PermissionError
               ? QStringLiteral("%1 cannot be written").arg(lockPath_)
               : QStringLiteral("%1 cannot be made").arg(lockPath_);
}

void SingleInstance::listen(std::function<void()> raise) {
    // Only the holder of the lock answers: a copy started without one must
    // not take the socket of a copy that runs.
    if (!holdsLock_)
        return;
    sockaddr_un address{};
    const QByteArray path = socketPath(lockPath_);
    if (!addressOf(path, address))
        return;
    // Left by an instance that crashed; ours now that we hold the lock.
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    listener_ = fd;
    raise_ = std::move(raise);
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { answer(); });
}

void SingleInstance::answer() {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    char request = 0;
    pollfd ready{client, POLLIN, 0};
    if (::poll(&ready, 1, kAnswerMilliseconds) == 1 && ::read(client, &request, 1) == 1 &&
        request == kRaise) {
        raise_();
        // The asker may have given up: its closed end must not end this program.
        [[maybe_unused]] const ssize_t sent = ::send(client, &kRaise, 1, MSG_NOSIGNAL);
    }
    ::close(client);
}

bool SingleInstance::askToRaise() const {
    sockaddr_un address{};
    if (!addressOf(socketPath(lockPath_), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    char reply = 0;
    pollfd ready{fd, POLLIN, 0};
    const bool raised =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
        ::send(fd, &kRaise, 1, MSG_NOSIGNAL) == 1 && ::poll(&ready, 1, kAnswerMilliseconds) == 1 &&
        ::read(fd, &reply, 1) == 1 && reply == kRaise;
    ::close(fd);
    return raised;
}

QString SingleInstance::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("vistrel.lock"));
}

} // namespace vistrel::app
