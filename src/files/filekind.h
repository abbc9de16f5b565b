#pragma once

#include <QString>

#include <sys/types.h>

namespace vistrel {

// How an error names what stands at a path that is not a regular file
// ("is a FIFO, not a regular file"), from the st_mode of its stat.
QString kindOf(mode_t mode);

} // namespace vistrel
