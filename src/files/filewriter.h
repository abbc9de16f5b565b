#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QString>

namespace vistrel {

// What may stand at the name a file is written to.
enum class WriteTarget {
    // A file the user named: a regular file, or a symbolic link to one (the
    // file it points to is replaced and the link stays). Devices, FIFOs,
    // sockets, folders and dangling links are refused and left untouched.
    UserFile,
    // One of the program's own files (the catalogue, its working copy and
    // backup): whatever stands at the name, a link included, is replaced by
    // a fresh regular file; nothing is ever written through it. A folder is
    // refused.
    OwnFile,
};

// The one way the program writes a file. The bytes go to a new temporary
// file in the target's folder; only when every byte was written and synced
// to the disk is it renamed over the target, and the folder is synced, so
// a failure at any point (a full disk, the file size limit, a read-only
// folder, a crash) keeps the previous file whole and leaves no temporary
// file behind. The error names the cause and says that nothing was replaced.
// A name that cannot stand for the exact bytes of a file name (one holding
// U+FFFD, which stands in for bytes that are not valid UTF-8) is refused.
Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes,
                                 WriteTarget target = WriteTarget::UserFile);

// Removes one of the program's own files; a link is removed, not its target.
// A missing file is no error.
Result<void> removeOwnFile(const QString &path);

// A write beyond the file size limit (RLIMIT_FSIZE) then fails with an error
// the writer reports, instead of the signal that would kill the process.
void ignoreFileSizeSignal();

} // namespace vistrel
