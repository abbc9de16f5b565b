// Start-up to the first painted calculator window, beside a bare main window
// holding one label. Both are built, shown and destroyed alternately in one
// process, so that both meet the same machine load and the same warm caches;
// the ratio of the medians is the figure that counts.
#include "benchsupport.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace vistrel;
using namespace vistrel::bench;

namespace {

struct Sample {
    double total = 0;      // construction to the end of the first paint
    double construct = 0;  // the constructor
    double start = 0;      // start(): texts, catalogue, first result, diagrams
    double shown = 0;      // show() to the end of the first paint
    double firstPaint = 0; // construction to the window's first paint event
    bool painted = true;   // false when the paint never came and grab() stood in
};

struct Series {
    const char *name;
    std::vector<Sample> samples;
    Sample cold;
    int grabbed = 0;

    double medianOf(double Sample::*field) const {
        std::vector<double> values;
        values.reserve(samples.size());
        for (const Sample &s : samples)
            values.push_back(s.*field);
        return median(std::move(values));
    }
};

// Whatever a closed window leaves posted (deferred deletes, platform events)
// is handled before the next measurement starts.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Sample finish(QWidget *window, Clock::time_point t0, Clock::time_point shownFrom) {
    Sample s;
    FirstPaintWatch watch(window);
    window->show();
    s.painted = watch.wait(5000);
    if (!s.painted)
        window->grab();
    const auto end = Clock::now();
    s.total = millisecondsBetween(t0, end);
    s.shown = millisecondsBetween(shownFrom, end);
    s.firstPaint = s.painted ? millisecondsBetween(t0, watch.firstPaintAt()) : s.total;
    return s;
}

// `started` false shows the same widgets without start(): no texts, no
// catalogue, no result, no diagrams. The difference is the program's own work.
bool calculatorOnce(Series &series, SilentDialogs &dialogs, const AppPaths &paths, bool started,
                    bool cold, QSize *size) {
    const auto t0 = Clock::now();
    Session session;
    auto window = std::make_unique<app::MainWindow>(session, dialogs);
    const auto t1 = Clock::now();
    if (started &&
        (window->start(paths) != app::MainWindow::StartResult::Ready || dialogs.boxes != 0)) {
        std::fprintf(stderr,
                     "vistrel-bench-startup: the calculator window did not start cleanly\n");
        return false;
    }
    const auto t2 = Clock::now();
    Sample s = finish(window.get(), t0, t2);
    s.construct = millisecondsBetween(t0, t1);
    s.start = millisecondsBetween(t1, t2);
    if (size)
        *size = window->size();
    window.reset();
    settle();
    series.grabbed += s.painted ? 0 : 1;
    (cold ? series.cold : series.samples.emplace_back()) = s;
    return true;
}

void bareOnce(Series &series, QSize size, bool cold) {
    const auto t0 = Clock::now();
    auto window = bareWindow();
    if (size.isValid())
        window->resize(size);
    const auto t1 = Clock::now();
    Sample s = finish(window.get(), t0, t1);
    s.construct = millisecondsBetween(t0, t1);
    window.reset();
    settle();
    series.grabbed += s.painted ? 0 : 1;
    (cold ? series.cold : series.samples.emplace_back()) = s;
}

int roundsFrom(int argc, char **argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rounds") == 0)
            return std::clamp(std::atoi(argv[i + 1]), 3, 10000);
    return 60;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    quietPlatformMessages();
    const int rounds = roundsFrom(argc, argv);
    const QString platform = QGuiApplication::platformName();

    SilentDialogs dialogs;
    const AppPaths paths = shippedPaths();
    Series calc{"calculator window", {}, {}, 0};
    Series bare{"bare window (one label)", {}, {}, 0};
    Series bareSized{"bare window, calculator's size", {}, {}, 0};
    Series widgets{"calculator widgets, not started", {}, {}, 0};

    // The first round pays what a process pays once (fonts, style, platform
    // window classes); it is shown apart and left out of the medians.
    QSize calcSize;
    if (!calculatorOnce(calc, dialogs, paths, true, true, &calcSize))
        return 1;
    bareOnce(bare, QSize(), true);
    bareOnce(bareSized, calcSize, true);
    calculatorOnce(widgets, dialogs, paths, false, true, nullptr);

    // The order turns every round, so that no kind always follows the same one.
    for (int r = 0; r < rounds; ++r) {
        for (int k = 0; k < 4; ++k) {
            switch ((r + k) % 4) {
            case 0:
                if (!calculatorOnce(calc, dialogs, paths, true, false, nullptr))
                    return 1;
                break;
            case 1:
                bareOnce(bare, QSize(), false);
                break;
            case 2:
                bareOnce(bareSized, calcSize, false);
                break;
            default:
                calculatorOnce(widgets, dialogs, paths, false, false, nullptr);
                break;
            }
        }
    }

    std::printf("Start-up to the first painted window, platform %s, %d rounds (medians, ms)\n",
                qPrintable(platform), rounds);
    std::printf("  %-32s %8s %10s %8s %12s %12s %10s\n", "", "total", "construct", "start",
                "show->paint", "first paint", "cold total");
    for (const Series *s : {&calc, &bare, &bareSized, &widgets}) {
        std::printf("  %-32s %8.2f %10.2f %8.2f %12.2f %12.2f %10.2f\n", s->name,
                    s->medianOf(&Sample::total), s->medianOf(&Sample::construct),
                    s->medianOf(&Sample::start), s->medianOf(&Sample::shown),
                    s->medianOf(&Sample::firstPaint), s->cold.total);
        if (s->grabbed)
            std::printf("  (%s: no paint event within 5 s in %d runs; grab() stood in)\n", s->name,
                        s->grabbed);
    }
    std::printf("  calculator window %dx%d\n", calcSize.width(), calcSize.height());

    const double calcTotal = calc.medianOf(&Sample::total);
    const double ratio = calcTotal / bare.medianOf(&Sample::total);
    const double ratioSized = calcTotal / bareSized.medianOf(&Sample::total);
    printVerdict(format("start-up (%s)", qPrintable(platform)), ratio <= 1.25,
                 format("%.2f x bare window (target <= 1.25 x); %.2f ms vs %.2f ms; "
                        "%.2f x a bare window of the same size; %.2f x its own widgets unstarted",
                        ratio, calcTotal, bare.medianOf(&Sample::total), ratioSized,
                        calcTotal / widgets.medianOf(&Sample::total)));
    return 0;
}
