#include "files/filewriter.h"

#include "files/filekind.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Where the bytes go, as the system names it, and what stood there before.
struct Target {
    QByteArray path;
    bool existed = false;
    bool keepOwner = false; // a regular file whose mode and owner the new file takes
    struct stat previous {};
};

QString nameOf(const QByteArray &path) {
    return QFile::decodeName(path);
}

// How an errno shows in the error box: the error number users know, its text.
std::pair<ErrorNumber, QString> classify(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return {ErrorNumber::PermissionDenied, QStringLiteral("Permission denied")};
    case ENOENT:
    case ENOTDIR:
        return {ErrorNumber::PathNotFound, QStringLiteral("Path not found")};
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EIO:
        return {ErrorNumber::DeviceIoError, QStringLiteral("Device I/O error")};
    case ENAMETOOLONG:
        return {ErrorNumber::BadFileName, QStringLiteral("Bad file name or number")};
    default:
        return {ErrorNumber::PathFileAccessError, QStringLiteral("Path/File access error")};
    }
}

QString outcome(const Target &target) {
    return target.existed ? QStringLiteral("%1 is unchanged").arg(nameOf(target.path))
                          : QStringLiteral("nothing was written");
}

AppError systemError(int error, const QString &action, const Target &target) {
    const auto [number, label] = classify(error);
    return makeError(number,
                     QStringLiteral("%1: %2 %3 (%4); %5")
                         .arg(label, action, nameOf(target.path),
                              QString::fromLocal8Bit(std::strerror(error)), outcome(target)));
}

AppError refusal(ErrorNumber number, const QString &path, const QString &why) {
    const QString kind =
        number == ErrorNumber::BadFileName        ? QStringLiteral("Bad file name or number")
        : number == ErrorNumber::PermissionDenied ? QStringLiteral("Permission denied")
                                                  : QStringLiteral("Path/File access error");
    return makeError(number, QStringLiteral("%1: %2 %3; nothing was written").arg(kind, path, why));
}

// A file the user made read-only is kept so: the rename would replace it
// as long as the folder may be written.
Result<void> mayReplace(const QString &path, const QByteArray &file) {
    if (::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return refusal(ErrorNumber::PermissionDenied, path, QStringLiteral("is read-only"));
    return {};
}

QByteArray folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Follows a link the user named to the regular file it points to.
Result<Target> followLink(const QString &path, const QByteArray &encoded) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (!::realpath(encoded.constData(), resolved) || ::stat(resolved, &info) != 0)
        return refusal(ErrorNumber::PathFileAccessError, path,
                       QStringLiteral("is a link that leads to no file"));
    if (!S_ISREG(info.st_mode))
        return refusal(ErrorNumber::PathFileAccessError, path,
                       QStringLiteral("is a link to something that ") + kindOf(info.st_mode));
    Target target;
    target.path = QByteArray(resolved);
    VISTREL_TRY(mayReplace(path, target.path));
    target.existed = true;
    target.keepOwner = true;
    target.previous = info;
    return target;
}

Result<Target> resolveTarget(const QString &path, WriteTarget kind) {
    if (path.isEmpty())
        return refusal(ErrorNumber::BadFileName, QStringLiteral("\"\""),
                       QStringLiteral("is no file name"));
    if (path.contains(QChar::ReplacementCharacter))
        return refusal(ErrorNumber::BadFileName, path,
                       QStringLiteral("holds U+FFFD, which stands for bytes that are not valid "
                                      "UTF-8, so it does not name one file"));
    Target target;
    target.path = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(target.path.constData(), &info) != 0) {
        const int error = errno;
        struct stat folder {};
        if (error == ENOENT && ::stat(folderOf(target.path).constData(), &folder) == 0 &&
            S_ISDIR(folder.st_mode))
            return target;
        return systemError(error, QStringLiteral("cannot write"), target);
    }
    target.existed = true;
    if (S_ISDIR(info.st_mode))
        return refusal(ErrorNumber::PathFileAccessError, path, kindOf(info.st_mode));
    if (kind == WriteTarget::OwnFile)
        return target;
    if (S_ISLNK(info.st_mode))
        return followLink(path, target.path);
    if (!S_ISREG(info.st_mode))
        return refusal(ErrorNumber::PathFileAccessError, path, kindOf(info.st_mode));
    VISTREL_TRY(mayReplace(path, target.path));
    target.keepOwner = true;
    target.previous = info;
    return target;
}

// Hidden, beside the target, short enough for any file system:
// ".NAME.PID-RANDOM.tmp". The process id tells a write still under way from
// one that was killed.
QByteArray temporaryPrefix(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    return '.' + path.mid(slash + 1).left(180) + '.';
}

QByteArray temporaryName(const QByteArray &path) {
    return folderOf(path) + '/' + temporaryPrefix(path) + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
}

// The process that made a temporary file of ours, when the name is one.
std::optional<pid_t> writerOf(const QByteArray &name, const QByteArray &prefix) {
    if (!name.startsWith(prefix) || !name.endsWith(".tmp"))
        return std::nullopt;
    const QByteArray middle = name.mid(prefix.size(), name.size() - prefix.size() - 4);
    const qsizetype dash = middle.indexOf('-');
    // The random part as temporaryName writes it, so that the temporary file
    // of another target (".a.1-x.2-y.tmp" of "a.1-x") never reads as ours.
    const QByteArray random = middle.mid(dash + 1);
    if (dash <= 0 || random.isEmpty() || !std::all_of(random.begin(), random.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
        }))
        return std::nullopt;
    bool ok = false;
    const long pid = middle.left(dash).toLong(&ok);
    if (!ok || pid <= 0 || pid > INT_MAX)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

// A write that was killed (power cut, kill -9) leaves its temporary file
// behind; the next write to the same target removes it. A file whose
// writer still runs is another write under way and stays, and so is one
// touched in the last minutes: a writer in another container or on another
// host of a shared folder has a process id this system does not know.
void removeStaleTemporaries(const QByteArray &path) {
    constexpr int kEntriesLooked = 100000; // a folder of the user's may be huge
    constexpr time_t kSettledSeconds = 10 * 60;
    DIR *folder = ::opendir(folderOf(path).constData());
    if (!folder)
        return;
    const QByteArray prefix = temporaryPrefix(path);
    const int fd = ::dirfd(folder);
    int looked = 0;
    while (const dirent *entry = ::readdir(folder)) {
        if (++looked > kEntriesLooked)
            break;
        const QByteArray name(entry->d_name);
        const std::optional<pid_t> writer = writerOf(name, prefix);
        if (!writer || (::kill(*writer, 0) == 0 || errno != ESRCH))
            continue;
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            info.st_mtime < ::time(nullptr) - kSettledSeconds)
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(folder);
}

// Opens a new temporary file; a name that is taken is tried again (a bounded
// number of times).
Result<int> createTemporary(const Target &target, QByteArray &name) {
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = temporaryName(target.path);
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return systemError(errno, QStringLiteral("cannot create a file beside"), target);
    }
    return systemError(EEXIST, QStringLiteral("cannot create a file beside"), target);
}

int writeAll(int fd, const QByteArray &bytes) {
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<qsizetype>(left, 1 << 30));
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written == 0 ? ENOSPC : errno;
        data += written;
        left -= written;
    }
    return 0;
}

// Writes, syncs and closes the temporary file; the errno of the first failure.
int fillTemporary(int fd, const Target &target, const QByteArray &bytes) {
    if (target.keepOwner) {
        // The new file keeps what the user gave the old one; failing to keep
        // the owner (only root may give files away) is no reason to fail.
        [[maybe_unused]] const int moded = ::fchmod(fd, target.previous.st_mode & 07777);
        if (::geteuid() == 0) {
            [[maybe_unused]] const int owned =
                ::fchown(fd, target.previous.st_uid, target.previous.st_gid);
        }
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// After the rename, the folder entry itself must reach the disk.
int syncFolder(const QByteArray &path) {
    const int fd = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; that is not a failed write.
    return error == EINVAL || error == EROFS ? 0 : error;
}

} // namespace

Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes, WriteTarget kind) {
    Result<Target> resolved = resolveTarget(path, kind);
    if (!resolved)
        return resolved.error();
    const Target &target = *resolved;
    removeStaleTemporaries(target.path);

    QByteArray temporary;
    Result<int> fd = createTemporary(target, temporary);
    if (!fd)
        return fd.error();
    if (const int error = fillTemporary(*fd, target, bytes)) {
        ::unlink(temporary.constData());
        return systemError(error, QStringLiteral("cannot write"), target);
    }
    if (::rename(temporary.constData(), target.path.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error, QStringLiteral("cannot replace"), target);
    }
    if (const int error = syncFolder(target.path))
        return makeError(
            ErrorNumber::DeviceIoError,
            QStringLiteral("Device I/O error: %1 was written, but its folder could "
                           "not be synced to the disk (%2)")
                .arg(nameOf(target.path), QString::fromLocal8Bit(std::strerror(error))));
    return {};
}

Result<void> removeOwnFile(const QString &path) {
    Target target;
    target.path = QFile::encodeName(path);
    target.existed = true;
    if (::unlink(target.path.constData()) != 0 && errno != ENOENT)
        return systemError(errno, QStringLiteral("cannot remove"), target);
    return {};
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace vistrel
