#pragma once

// Entries that are not regular files, made in a test's temporary folder, and
// a description of what stands at a name, to tell whether it was touched.

#include <QFile>
#include <QMetaType>
#include <QString>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

enum class Entry { None, File, Fifo, Socket, Folder, NullDevice, Link, DanglingLink };
Q_DECLARE_METATYPE(Entry)

// Makes `kind` at `path` (a link points to `linkTarget`); false when it cannot
// be made here (a device node needs root).
inline bool makeEntry(Entry kind, const QString &path, const QString &linkTarget = QString()) {
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
    case Entry::None:
        return true;
    case Entry::File: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("previous\r\n") == 10;
    }
    case Entry::Fifo:
        return ::mkfifo(name.constData(), 0644) == 0;
    case Entry::Socket: {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
            return false;
        std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    case Entry::Folder:
        return ::mkdir(name.constData(), 0755) == 0;
    case Entry::NullDevice:
        return ::geteuid() == 0 && ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Entry::Link:
    case Entry::DanglingLink:
        return ::symlink(QFile::encodeName(linkTarget).constData(), name.constData()) == 0;
    }
    return false;
}

// What stands at `path`, without following a link: its kind, a link's target
// and a regular file's content.
inline QString describeEntry(const QString &path) {
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0)
        return QStringLiteral("nothing");
    if (S_ISLNK(info.st_mode)) {
        char target[4096] = {};
        const ssize_t n = ::readlink(name.constData(), target, sizeof target - 1);
        return QStringLiteral("link to ") + QFile::decodeName(QByteArray(target, n < 0 ? 0 : n));
    }
    if (S_ISREG(info.st_mode)) {
        QFile f(path);
        return QStringLiteral("file: ") +
               (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
    }
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("socket");
    if (S_ISCHR(info.st_mode))
        return QStringLiteral("device %1,%2").arg(major(info.st_rdev)).arg(minor(info.st_rdev));
    return QStringLiteral("other");
}

// Opens `fifo` for writing, and closes it again, as soon as a reader waits on
// it: a program that blocks in opening a FIFO then reads an empty file and
// the test fails instead of hanging. Gives up after `seconds`.
class FifoRelease {
public:
    explicit FifoRelease(const QString &fifo, int seconds = 10)
        : thread_([this, name = QFile::encodeName(fifo), seconds] {
              for (int i = 0; i < seconds * 100 && !stop_; ++i) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      ::close(fd);
                      return;
                  }
                  ::usleep(10000);
              }
          }) {}
    ~FifoRelease() {
        stop_ = true;
        thread_.join();
    }
    FifoRelease(const FifoRelease &) = delete;
    FifoRelease &operator=(const FifoRelease &) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
