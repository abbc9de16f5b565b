// Secondary diagnostics, measured with Google Benchmark in a warm process:
// catalogue loading, and one confirmed entry through the engine alone (what
// the user waits for, the repaint included, is vistrel-bench-entry's figure).
// The window's texts and metrics need a QApplication, so it is made before
// benchmark::Initialize; the benchmarks are registered once everything they
// use exists.
#include "benchsupport.h"
#include "medianreporter.h"

#include "calc/calculator.h"
#include "files/modelloader.h"
#include "files/textfile.h"
#include "print/offscreen.h"
#include "session/application.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace vistrel;
using namespace vistrel::bench;

namespace {

constexpr int kCatalogueModels = 1000;
constexpr int kRepetitions = 15;

// Closes with the catalogue's diagnostics.
class TargetReporter : public bench::MedianReporter {
public:
    // Diagnostics, not targets: the loop loads the same catalogue again and
    // again, and whether glibc hands its large blocks out of the heap or maps
    // and unmaps them each time doubles the figure from one run to the next;
    // the program loads a catalogue once.
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double load = median("CatalogueLoad");
        const double readSplit = median("CatalogueReadSplit");
        if (load > 0 && readSplit > 0)
            std::printf("DIAGNOSTIC | catalogue of 1000 models | %.3f ms, %.2f x read + split "
                        "lines (%.1f us); < 2 ms and <= 3 x when first set\n",
                        load / 1000, load / readSplit, readSplit);
    }
};

void configure(benchmark::internal::Benchmark *b, double minTime) {
    b->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->MinTime(minTime)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly();
}

// One confirmed diagonal. The value turns between 120 and 121 so every
// confirmation is a change and calculates.
void confirmEntries(benchmark::State &state, Calculator &calc) {
    int turn = 0;
    for (auto _ : state) {
        const Result<Entered> entered = calc.enter(
            Field::Diagonal, (turn++ % 2) ? QStringLiteral("121") : QStringLiteral("120"));
        if (!entered || *entered != Entered::Taken) {
            state.SkipWithError("the diagonal was refused");
            break;
        }
    }
}

} // namespace

int main(int argc, char *argv[]) {
    print::drawOffScreen(print::OffScreen::UnlessChosen);
    Application<QApplication> app(argc, argv);
    quietPlatformMessages();
    benchmark::Initialize(&argc, argv);

    QTemporaryDir folder;
    const QString cataloguePath = folder.filePath(QStringLiteral("ModelInfo.ini"));
    if (!folder.isValid() || !writeCatalogue(cataloguePath, kCatalogueModels)) {
        std::fputs("vistrel-bench-calc: cannot write the test catalogue\n", stderr);
        return 1;
    }
    const auto check = loadCatalogue(cataloguePath);
    if (!check || check->models.size() != std::size_t{kCatalogueModels}) {
        std::fputs("vistrel-bench-calc: the test catalogue does not load as 1000 models\n", stderr);
        return 1;
    }
    const QString catalogueText = *readTextFile(cataloguePath, kCatalogueLimits);

    // The window, for its texts and measured field sizes.
    app::SilentDialogs dialogs;
    const AppPaths paths = shippedPaths();
    auto window = startCalculatorWindow(dialogs, paths);
    if (!window) {
        std::fputs("vistrel-bench-calc: the calculator window did not start\n", stderr);
        return 1;
    }

    // The engine alone, with the window's texts, metrics and decimal point.
    NullObserver observer;
    Calculator engine(observer, window->calculator().decimalPoint());
    engine.setMessages(messagesFrom(window->texts()));
    engine.setMetrics(window->calculator().isometricMetrics(), window->calculator().sideMetrics());
    if (auto loaded = loadCatalogue(paths.catalogueFile());
        !loaded || !engine.startUp(loaded->models)) {
        std::fputs("vistrel-bench-calc: the engine did not start\n", stderr);
        return 1;
    }

    configure(benchmark::RegisterBenchmark("CatalogueReadSplit",
                                           [&](benchmark::State &state) {
                                               for (auto _ : state) {
                                                   auto text = readTextFile(cataloguePath,
                                                                            kCatalogueLimits);
                                                   auto lines = splitLines(*text);
                                                   benchmark::DoNotOptimize(lines);
                                               }
                                           }),
              0.2);
    configure(benchmark::RegisterBenchmark("CatalogueLoad",
                                           [&](benchmark::State &state) {
                                               for (auto _ : state) {
                                                   auto models = loadCatalogue(cataloguePath);
                                                   benchmark::DoNotOptimize(models);
                                               }
                                           }),
              0.2);
    configure(benchmark::RegisterBenchmark("CatalogueParseOnly",
                                           [&](benchmark::State &state) {
                                               for (auto _ : state) {
                                                   auto models =
                                                       parseCatalogue(catalogueText, cataloguePath);
                                                   benchmark::DoNotOptimize(models);
                                               }
                                           }),
              0.2);
    configure(benchmark::RegisterBenchmark(
                  "EntryEngine", [&](benchmark::State &state) { confirmEntries(state, engine); }),
              0.2);

    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (dialogs.boxesShown() != 0 || observer.boxes != 0)
        std::printf("note: %d boxes came up during the run\n",
                    dialogs.boxesShown() + observer.boxes);
    return 0;
}
