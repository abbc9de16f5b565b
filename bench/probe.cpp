// libvistrel-bench-probe.so, preloaded (LD_PRELOAD) into a Qt 6 program that
// vistrel-bench-process measures. When the first top-level window has
// finished its first paint, it writes the time (CLOCK_MONOTONIC) to the file
// descriptor VISTREL_BENCH_FD names; after VISTREL_BENCH_SETTLE_MS more
// milliseconds it writes the process's memory figures and quits the program
// through its event loop, so that it ends as it would when closed. Without
// VISTREL_BENCH_FD it does nothing.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

int reportFd() {
    const char *fd = std::getenv("VISTREL_BENCH_FD");
    return fd ? std::atoi(fd) : -1;
}

void report(const std::string &line) {
    const int fd = reportFd();
    std::size_t done = 0;
    while (fd >= 0 && done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

// VmHWM, VmRSS, RssAnon and RssFile of /proc/self/status, in kiB.
std::string memoryFigures() {
    QFile status(QStringLiteral("/proc/self/status"));
    std::string line = "memory";
    if (!status.open(QIODevice::ReadOnly))
        return line + '\n';
    for (const QByteArray &row : status.readAll().split('\n')) {
        for (const char *field : {"VmHWM:", "VmRSS:", "RssAnon:", "RssFile:"}) {
            if (row.startsWith(field)) {
                const QByteArray name = row.left(row.indexOf(':'));
                const QByteArray kib =
                    row.mid(row.indexOf(':') + 1).simplified().split(' ').value(0);
                line += ' ' + name.toStdString() + '=' + kib.toStdString();
            }
        }
    }
    return line + '\n';
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            seen_ = true;
            // Queued: runs once the paint pass this event belongs to (the
            // window and all its children) has been flushed to the platform.
            QMetaObject::invokeMethod(this, &FirstPaint::painted, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void painted() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        report("painted " + std::to_string(now.tv_sec) + ' ' + std::to_string(now.tv_nsec) + '\n');
        const char *settle = std::getenv("VISTREL_BENCH_SETTLE_MS");
        QTimer::singleShot(settle ? std::atoi(settle) : 0, this, [] {
            report(memoryFigures());
            QCoreApplication::quit();
        });
    }

    bool seen_ = false;
};

void watchFirstPaint() {
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaint(app));
}

struct Install {
    Install() {
        if (reportFd() >= 0)
            qAddPreRoutine(watchFirstPaint);
    }
} install;

} // namespace
