#pragma once

#include "cli/clirun.h"

namespace vistrel::cli {

// Shows the command line's session in the real calculator window off-screen
// and writes its image (--png), its printed page (--pdf) and the
// installation sheet (--report).
class WindowRenderer : public WindowOutput {
public:
    Result<void> write(Session &session, const CliOptions &options, QStringList &written) override;
};

} // namespace vistrel::cli
