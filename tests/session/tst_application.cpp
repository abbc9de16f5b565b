#include "session/application.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace Qt::StringLiterals;

class TestApplication : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    char name_[8] = "program";
    char *argv_[2] = {name_, nullptr};
    int argc_ = 1;

private slots:
    // The window and vistrel-cli keep the catalogue in one user folder, named
    // after the program alone, whatever the executable is called.
    void userFolderIsTheProgramsOwn() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path()));
        const Application<QCoreApplication> app(argc_, argv_);
        QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                 dir_.filePath(u"Vistrel"_s));
    }

    // A write past the file size limit fails with error 57 and the previous
    // file stays, instead of the process being killed. In a child, with
    // SIGXFSZ as a fresh process has it.
    void writePastTheFileSizeLimitIsAnError() {
        const QString path = dir_.filePath(u"kept"_s);
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("previous") == 8);
        previous.close();
        const pid_t pid = fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            const Application<QCoreApplication> app(argc_, argv_);
            const rlimit limit{16, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            const Result<void> done = writeFileAtomically(path, QByteArray(1000, 'x'));
            _exit(done ? 0 : std::min(done.error().code(), 255));
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY2(WIFEXITED(status), "the child was killed");
        QCOMPARE(WEXITSTATUS(status), int(ErrorNumber::DeviceIoError));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("previous"));
    }
};

QTEST_APPLESS_MAIN(TestApplication)
#include "tst_application.moc"
