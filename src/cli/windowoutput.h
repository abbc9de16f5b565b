#pragma once

#include "clirun.h"

namespace vistrel::cli {

// Builds the real calculator window off-screen, applies the same options to
// it, and writes its image (--png) and its printed page (--pdf).
class WindowRenderer : public WindowOutput {
public:
    QString write(const CliOptions &options, const AppPaths &paths) override;
};

} // namespace vistrel::cli
