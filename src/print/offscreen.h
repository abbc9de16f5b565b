#pragma once

namespace vistrel::print {

// How a program that draws the window for no one to watch takes Qt's
// off-screen platform.
enum class OffScreen {
    // Unless QT_QPA_PLATFORM names another: the benchmarks, which are run on a
    // display too.
    UnlessChosen,
    // Always, whatever QT_QPA_PLATFORM says.
    Always,
    // Always, and at the window's own size whatever the user's screen
    // scaling, so that the files show the window as it is.
    AtOwnSize,
};

// Before the application object exists, which reads the platform once.
void drawOffScreen(OffScreen how);

} // namespace vistrel::print
