// vistrel-bench-samewidgets-check: the floor of the start-up and memory
// targets must stay the calculator window without its logic. Builds both in
// one process, shows them and compares their widget trees line by line.
#include "benchsupport.h"
#include "session/application.h"
#include "print/offscreen.h"
#include "samewidgets.h"
#include "widgettree.h"

#include <QApplication>

#include <cstdio>

using namespace vistrel::bench;

int main(int argc, char *argv[]) {
    vistrel::print::drawOffScreen(vistrel::print::OffScreen::UnlessChosen);
    vistrel::Application<QApplication> app(argc, argv);
    quietPlatformMessages();

    vistrel::app::SilentDialogs dialogs;
    CalculatorWindow real = startCalculatorWindow(dialogs, shippedPaths());
    const std::unique_ptr<QMainWindow> floor = sameWidgetsWindow();
    if (!real || !showAndWaitForPaint(real.get()) || !showAndWaitForPaint(floor.get())) {
        std::fputs("vistrel-bench-samewidgets-check: a window did not show\n", stderr);
        return 1;
    }
    const QStringList want = describeWidgetTree(real.get());
    const QStringList got = describeWidgetTree(floor.get());
    int differences = 0;
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        if (want.value(i) == got.value(i))
            continue;
        if (++differences <= 10)
            std::printf("  window:     %s\n  same-widgets: %s\n", qPrintable(want.value(i)),
                        qPrintable(got.value(i)));
    }
    if (differences) {
        std::printf("The same-widgets program differs from the calculator window in %d of %lld "
                    "lines; its figures are no floor until it is brought in line "
                    "(bench/samewidgets.cpp)\n",
                    differences, static_cast<long long>(want.size()));
        return 1;
    }
    std::printf("The same-widgets program matches the calculator window: %lld widgets and "
                "menus, their texts, fonts, colours, positions and pictures\n",
                static_cast<long long>(want.size()));
    return 0;
}
