#include "files/filekind.h"

#include <sys/stat.h>

namespace vistrel {

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a FIFO, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("is a socket, not a regular file");
    return QStringLiteral("is not a regular file");
}

} // namespace vistrel
