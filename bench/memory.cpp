// Resident memory of the shown calculator window against a bare main window.
// Each figure comes from a fresh process (this program run again with
// --measure), so neither window inherits the other's heap; the parent takes
// the median of several processes of each kind.
#include "benchsupport.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

using namespace vistrel;
using namespace vistrel::bench;

namespace {

const char *const kFields[] = {"VmRSS", "RssAnon", "RssFile", "RssShmem", "VmHWM"};

// The kiB figures of /proc/self/status that the report shows.
std::map<std::string, long> statusFigures() {
    std::map<std::string, long> figures;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return figures;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const std::string key = line.left(colon).toStdString();
        for (const char *field : kFields)
            if (key == field)
                figures[key] = line.mid(colon + 1).trimmed().split(' ').value(0).toLong();
    }
    return figures;
}

int measure(int argc, char **argv, const char *kind) {
    const auto t0 = Clock::now();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    quietPlatformMessages();
    const auto appMade = Clock::now();
    SilentDialogs dialogs;
    std::unique_ptr<QWidget> window;
    if (std::strcmp(kind, "calculator") == 0) {
        window = startCalculatorWindow(dialogs, shippedPaths());
        if (!window || dialogs.boxes != 0) {
            std::fputs("the calculator window did not start cleanly\n", stderr);
            return 1;
        }
    } else {
        window = bareWindow();
    }
    const auto built = Clock::now();
    if (!showAndWaitForPaint(window.get()))
        std::fputs("no paint event within 5 s; grab() stood in\n", stderr);
    const auto painted = Clock::now();
    // A short settle: what the event loop does right after the first paint
    // belongs to the running window too.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    for (const auto &[key, value] : statusFigures())
        std::printf("%s=%ld\n", key.c_str(), value);
    // From main() on: the part of a real start-up this program can see.
    std::printf("cold_total_ms=%.3f\n", millisecondsBetween(t0, painted));
    std::printf("cold_application_ms=%.3f\n", millisecondsBetween(t0, appMade));
    std::printf("cold_window_ms=%.3f\n", millisecondsBetween(appMade, built));
    std::printf("cold_paint_ms=%.3f\n", millisecondsBetween(built, painted));
    return 0;
}

struct Kind {
    const char *name;
    std::map<std::string, std::vector<double>> values;

    double medianOf(const std::string &key) const {
        const auto it = values.find(key);
        return it == values.end() ? 0 : median(it->second);
    }
};

bool runChild(const QString &self, Kind &kind) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QStringLiteral("--measure"), QString::fromLatin1(kind.name)});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        child.kill();
        child.waitForFinished(5000);
        std::fprintf(stderr, "vistrel-bench-memory: the %s process failed\n", kind.name);
        return false;
    }
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            kind.values[line.left(eq).toStdString()].push_back(line.mid(eq + 1).toDouble());
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--measure") == 0)
            return measure(argc, argv, argv[i + 1]);

    QCoreApplication app(argc, argv);
    int processes = 5;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--processes") == 0)
            processes = std::clamp(std::atoi(argv[i + 1]), 1, 100);

    const QString self = QCoreApplication::applicationFilePath();
    Kind calc{"calculator", {}};
    Kind bare{"bare", {}};
    for (int i = 0; i < processes; ++i)
        for (Kind *kind : {&calc, &bare})
            if (!runChild(self, *kind))
                return 1;

    std::printf("Resident memory after the first paint and a 300 ms settle, %d processes each "
                "(medians, MiB)\n",
                processes);
    std::printf("  %-20s %8s %8s %8s %9s %8s\n", "", "VmRSS", "RssAnon", "RssFile", "RssShmem",
                "VmHWM");
    for (const Kind *kind : {&calc, &bare}) {
        std::printf("  %-20s", kind == &calc ? "calculator window" : "bare window");
        for (const char *field : kFields)
            std::printf(" %8.2f", kind->medianOf(field) / 1024.0);
        std::printf("\n");
    }
    // The same processes timed from main() to the first painted window: a
    // cold start, which the in-process start-up benchmark leaves out.
    std::printf("Cold start in the same processes, from main() (medians, ms)\n");
    std::printf("  %-20s %8s %12s %10s %8s\n", "", "total", "QApplication", "window", "paint");
    for (const Kind *kind : {&calc, &bare})
        std::printf("  %-20s %8.2f %12.2f %10.2f %8.2f\n",
                    kind == &calc ? "calculator window" : "bare window",
                    kind->medianOf("cold_total_ms"), kind->medianOf("cold_application_ms"),
                    kind->medianOf("cold_window_ms"), kind->medianOf("cold_paint_ms"));
    std::printf("  ratio %.2f x (information; the start-up target is set on the in-process "
                "figures)\n",
                calc.medianOf("cold_total_ms") / bare.medianOf("cold_total_ms"));

    const double difference = (calc.medianOf("VmRSS") - bare.medianOf("VmRSS")) / 1024.0;
    printVerdict("resident memory (offscreen)", difference <= 8.0,
                 format("%+.2f MiB over the bare window (target <= 8 MiB); %.2f vs %.2f MiB",
                        difference, calc.medianOf("VmRSS") / 1024.0,
                        bare.medianOf("VmRSS") / 1024.0));
    return 0;
}
