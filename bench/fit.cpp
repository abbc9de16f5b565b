// vistrel-bench-fit: the fit table ("which projectors fit") over a full model
// list, the engine alone in a warm process. The list is the shipped catalogue
// repeated under new names up to the 1000 models a list holds, so that its
// lenses, limits and light data are those of real lines. Target: the whole
// table in under 50 ms, what `--fit` and the window's table ask of it.
#include "calc/fittable.h"
#include "figures.h"
#include "files/modelloader.h"
#include "medianreporter.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace vistrel;

namespace {

constexpr int kRepetitions = 15;
constexpr double kTargetMs = 50;

// Closes with the verdict on the table's median.
class TargetReporter : public bench::MedianReporter {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double medianMs = median("FitTable1000");
        if (medianMs <= 0)
            return;
        char figures[96];
        std::snprintf(figures, sizeof figures, "%.3f ms median (target <= %.0f ms)", medianMs,
                      kTargetMs);
        bench::printVerdict("fit table of 1000 models", medianMs <= kTargetMs, figures);
    }
};

// The shipped models again and again, each copy under a name of its own.
std::vector<ModelRecord> fullList(const std::vector<ModelRecord> &shipped) {
    std::vector<ModelRecord> models;
    models.reserve(static_cast<std::size_t>(kModelCapacity));
    for (int copy = 1; models.size() < static_cast<std::size_t>(kModelCapacity); ++copy) {
        for (const ModelRecord &model : shipped) {
            if (models.size() == static_cast<std::size_t>(kModelCapacity))
                break;
            models.push_back(model);
            models.back().name += QStringLiteral(" #%1").arg(copy);
        }
    }
    return models;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const Result<Catalogue> shipped =
        loadCatalogue(QStringLiteral(VISTREL_BENCH_DATA_DIR "/ModelInfo.ini"));
    if (!shipped || shipped->models.empty()) {
        std::fputs("vistrel-bench-fit: the shipped catalogue does not load\n", stderr);
        return 1;
    }
    const std::vector<ModelRecord> models = fullList(shipped->models);

    // A 120-inch 16 : 9 screen in a room that leaves 100 to 400 inches: most
    // models reach it, some only from too near or too far, some not at all.
    FitRequest request;
    request.diagonal = 120;
    request.format = {16, 9};
    request.nearest = 100;
    request.farthest = 400;

    benchmark::RegisterBenchmark("FitTable1000",
                                 [&](benchmark::State &state) {
                                     for (auto _ : state) {
                                         auto rows = fitTable(models, request);
                                         if (rows.size() != models.size()) {
                                             state.SkipWithError("a model has no row");
                                             break;
                                         }
                                         benchmark::DoNotOptimize(rows);
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(0.2)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly();

    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
