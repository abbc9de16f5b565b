#include "benchsupport.h"

#include <QEvent>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace vistrel::bench {

QString dataFolder() {
    return QStringLiteral(VISTREL_BENCH_DATA_DIR);
}

AppPaths shippedPaths() {
    return AppPaths::resolve(dataFolder(), QString());
}

namespace {

// A fixed generator rather than <random>: the distributions of the standard
// library may differ between library versions, and the file must not.
class Sequence {
public:
    // A value in [0, 1).
    double next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }
    double between(double low, double high, int decimals) {
        const double scale = std::pow(10.0, decimals);
        return std::round((low + (high - low) * next()) * scale) / scale;
    }

private:
    std::uint64_t state_ = 0x5eed5eedULL;
};

QString number(double value) {
    return QString::number(value, 'g', 8);
}

} // namespace

bool writeCatalogue(const QString &path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "Model,MinDiag43Wide,MaxDiag43Wide,MinDiag43Tele,MaxDiag43Tele,WideCoefA,WideCoefB,"
           "TeleCoefA,TeleCoefB,WideOffsetA,TeleOffsetA,WideOffsetB,TeleOffsetB,WideScreenMode,"
           "DrawFlag,MinDiag169Wide,MaxDiag169Wide,MinDiag169Tele,MaxDiag169Tele\n";
    static constexpr std::array<const char *, 10> kBrands{"Aster",  "Brisa",   "Corvin", "Dalmar",
                                                          "Elowen", "Fenwick", "Galen",  "Harlow",
                                                          "Isken",  "Jorvik"};
    static constexpr std::array<const char *, 4> kSuffixes{"", " HD", " ST", " Pro"};
    Sequence seq;
    for (int i = 0; i < count; ++i) {
        // Like the shipped catalogue: most models have both zoom ends, some
        // only one, and about a third shift the picture with a second offset.
        const bool wide = i % 7 != 3;
        const bool tele = !wide || i % 5 != 2;
        const int mode = i % 3;
        const double minWide = wide ? 10.0 * (2 + (i % 5)) : 0;
        const double maxWide = wide ? 150.0 + 15.0 * (i % 11) : 0;
        const double minTele = tele ? minWide + (wide ? 0 : 30) : 0;
        const double maxTele = tele ? std::max(maxWide, 120.0) - 20.0 * (i % 2) : 0;
        const double wideA = wide ? seq.between(0.5, 2.5, 4) : 0;
        const double wideB = wide ? seq.between(-1.5, 1.5, 2) : 0;
        const double teleA = tele ? seq.between(0.45, 0.9, 4) * (wide ? wideA : 1.0) : 0;
        const double teleB = tele ? seq.between(-1.5, 1.0, 2) : 0;
        const double OffsetB = i % 3 == 0 ? seq.between(0.3, 0.5, 2) : 0;
        const std::array<double, 18> fields{
            minWide,
            maxWide,
            minTele,
            maxTele,
            wideA,
            wideB,
            std::round(teleA * 10000) / 10000,
            teleB,
            wide ? seq.between(0, 0.15, 2) : 0,
            tele ? seq.between(0, 0.15, 2) : 0,
            wide ? OffsetB : 0,
            tele ? OffsetB : 0,
            double(mode),
            double(i % 4 == 1),
            mode != 0 && wide ? std::round(minWide * 1.2) : 0,
            mode != 0 && wide ? maxWide : 0,
            mode != 0 && tele ? std::round(minTele * 1.2) : 0,
            mode != 0 && tele ? maxTele : 0,
        };
        out << kBrands[static_cast<std::size_t>(i) % kBrands.size()] << ' ' << (100 + i)
            << kSuffixes[static_cast<std::size_t>(i / 10) % kSuffixes.size()];
        for (const double value : fields)
            out << ',' << number(value);
        out << '\n';
    }
    out.flush();
    return out.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
}

std::string format(const char *pattern, ...) {
    std::array<char, 512> buffer{};
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer.data(), buffer.size(), pattern, args);
    va_end(args);
    return buffer.data();
}

CalculatorWindow startCalculatorWindow(app::Dialogs &dialogs, const AppPaths &paths) {
    CalculatorWindow started{std::make_unique<Session>(), nullptr};
    started.window = std::make_unique<app::MainWindow>(*started.session, dialogs);
    if (started.window->start(paths) != app::MainWindow::StartResult::Ready)
        started.window.reset();
    return started;
}

FirstPaintWatch::FirstPaintWatch(QWidget *window) : window_(window) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, &loop_, &QEventLoop::quit);
    window_->installEventFilter(this);
}

bool FirstPaintWatch::wait(int limitMs) {
    if (!painted_) {
        deadline_.start(limitMs);
        loop_.exec();
        deadline_.stop();
    }
    window_->removeEventFilter(this);
    return painted_;
}

bool FirstPaintWatch::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window_ && event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        firstPaintAt_ = Clock::now();
        // The loop ends once this paint (the window and all its children,
        // painted in one pass) has been handed to the platform.
        loop_.quit();
    }
    return QObject::eventFilter(watched, event);
}

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says these about every main window it shows and
// every window it raises; they would bury the figures.
void dropPlatformChatter(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (text == QLatin1String("This plugin does not support propagateSizeHints()") ||
        text == QLatin1String("This plugin does not support raise()"))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

void quietPlatformMessages() {
    previousHandler = qInstallMessageHandler(dropPlatformChatter);
}

bool showAndWaitForPaint(QWidget *window, int limitMs) {
    FirstPaintWatch watch(window);
    window->show();
    if (watch.wait(limitMs))
        return true;
    window->grab();
    return false;
}

} // namespace vistrel::bench
