#include "print/windowimage.h"
#include "verifyok.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

const QColor kColour(0x20, 0x60, 0xa0);
const QSize kSize(180, 70);

// A window of one colour, so what its picture must show is known.
class PlainWindow : public QWidget {
public:
    PlainWindow() {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, kColour);
        setPalette(colours);
        setAutoFillBackground(true);
        setFixedSize(kSize);
        show();
    }
    QSize pixelSize() const { return kSize * devicePixelRatio(); }
};

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestWindowImage : public QObject {
    Q_OBJECT

private slots:
    void pngShowsTheWindow() {
        PlainWindow window;
        const Result<QByteArray> png = print::windowPng(window);
        QVERIFY(png);
        QImage image;
        QVERIFY(image.loadFromData(*png, "PNG"));
        QCOMPARE(image.size(), window.pixelSize());
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), kColour);
    }

    void writtenPngReadsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"window.png"_s);
        PlainWindow window;
        VERIFY_OK(print::writeWindowPng(window, path));
        QCOMPARE(QImage(path).size(), window.pixelSize());
    }

    // A write cut short (here by the file size limit, which holds for root
    // too) is reported and leaves the picture that was there. In a child
    // process, with the signal handling every program sets up at its start.
    void failedWriteKeepsThePreviousFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"window.png"_s);
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("previous") == 8);
        previous.close();
        PlainWindow window;
        const pid_t pid = fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{16, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            const Result<void> done = print::writeWindowPng(window, path);
            _exit(done ? 0 : std::min(done.error().code(), 255));
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY2(WIFEXITED(status), "the child was killed");
        QCOMPARE(WEXITSTATUS(status), int(ErrorNumber::DeviceIoError));
        QCOMPARE(readAll(path), QByteArray("previous"));
    }
};

QTEST_MAIN(TestWindowImage)
#include "tst_windowimage.moc"
