#include "calc/calculator.h"
#include "core/filenames.h"
#include "core/language.h"
#include "files/calcfile.h"
#include "files/catalogueswitch.h"
#include "files/languagefile.h"
#include "files/modelloader.h"
#include "files/ownmodels.h"
#include "fsentries.h"
#include "recordingobserver.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

constexpr uid_t kNobody = 65534;

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Root drops to nobody so that permissions count; an ordinary user stays.
bool becomeNobody() {
    return geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0);
}

// A folder "shared" of the given mode inside `outer`, which others may enter.
QString sharedFolder(const QTemporaryDir &outer, mode_t mode) {
    QFile::setPermissions(outer.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
    const QString shared = outer.filePath(QStringLiteral("shared"));
    if (!QDir().mkdir(shared) || ::chmod(QFile::encodeName(shared).constData(), mode) != 0)
        return QString();
    return shared;
}

// Runs `work` in a child process, as a user who may not write `folder` (root
// writes anywhere) or with the file size limit set; its error number (0: none)
// is the child's exit status.
int inChild(const QString &folder, rlim_t sizeLimit, const std::function<Result<void>()> &work) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!folder.isEmpty()) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther);
            if (!becomeNobody())
                _exit(99);
        }
        if (sizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
            const rlimit limit{sizeLimit, sizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const Result<void> done = work();
        _exit(done ? 0 : std::min(done.error().code(), 255));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!folder.isEmpty())
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const QByteArray kCatalogue =
    "h\r\nAlpha,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n";

// Runs vistrel-cli with the file size limit set and SIGXFSZ as a fresh
// process has it, so only the program's own handling keeps it alive. Its
// stderr (a pipe: the limit applies to files only) goes to `errors`; the
// result is its exit status, -1 when it was killed.
int cliWithSizeLimit(const QStringList &arguments, rlim_t sizeLimit, QByteArray &errors) {
    QList<QByteArray> args{QByteArray(VISTREL_CLI_PATH)};
    for (const QString &a : arguments)
        args << QFile::encodeName(a);
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    if (pipe(pipeEnds) != 0)
        return -2;
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        if (dup2(pipeEnds[1], STDERR_FILENO) < 0)
            _exit(98);
        const rlimit limit{sizeLimit, sizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execv(argv[0], argv.data());
        _exit(99);
    }
    close(pipeEnds[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        errors.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }

private slots:
    void failedSavesKeepThePreviousFile_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<int>("sizeLimit");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only folder") << true << 0 << int(ErrorNumber::PermissionDenied);
        QTest::newRow("file size limit") << false << 100 << int(ErrorNumber::DeviceIoError);
    }
    void failedSavesKeepThePreviousFile() {
        QFETCH(bool, readOnlyFolder);
        QFETCH(int, sizeLimit);
        QFETCH(int, error);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("room.cf"));
        writeAll(file, "the previous calculation\r\n");
        CalcFileData data;
        data.model = testModel(QStringLiteral("Alpha"), 0.62, 1.1, 0.5, 0.9);
        const int result = inChild(readOnlyFolder ? folder.path() : QString(), rlim_t(sizeLimit),
                                   [&] { return writeCalcFile(file, data); });
        QCOMPARE(result, error);
        QCOMPARE(readAll(file), QByteArray("the previous calculation\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("room.cf")});
    }

    // The own-models file under each fault: what could not be written or
    // read is reported, and whatever stood there stays as it was.
    void ownModelsFileUnderFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("saveError"); // 0: saved
        QTest::newRow("read-only folder") << u"read-only"_s << int(ErrorNumber::PermissionDenied);
        QTest::newRow("full disk") << u"size limit"_s << int(ErrorNumber::DeviceIoError);
        QTest::newRow("link to a file") << u"link"_s << 0;
        QTest::newRow("FIFO") << u"fifo"_s << -1;
        QTest::newRow("4 MiB of junk") << u"junk"_s << 0;
    }
    void ownModelsFileUnderFaults() {
        QFETCH(QString, fault);
        QFETCH(int, saveError);
        QTemporaryDir folder;
        const QString file = folder.filePath(kOwnModelsFile);
        const QString target = folder.filePath(u"synced.ini"_s);
        const std::vector<ModelRecord> models{testModel(u"Tarn"_s, 0.62, 1.1, 0.5, 0.9)};
        VERIFY_OK(saveOwnModels(fault == u"link" ? target : file, models));
        const QByteArray saved = readAll(fault == u"link" ? target : file);
        QByteArray junk(4 << 20, '\0');
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32 *>(junk.data()), junk.size() / 4);
        if (fault == u"link")
            QVERIFY(QFile::link(target, file));
        if (fault == u"fifo")
            QVERIFY(QFile::remove(file) && makeEntry(Entry::Fifo, file));
        if (fault == u"junk")
            writeAll(file, junk);
        const std::vector<ModelRecord> more{models[0], testModel(u"Tarn 2"_s, 0.6, 1, 0.5, 0.9)};
        const int result = fault == u"read-only" || fault == u"size limit"
                               ? inChild(fault == u"read-only" ? folder.path() : QString(),
                                         fault == u"size limit" ? 100 : 0,
                                         [&] { return saveOwnModels(file, more); })
                               : (fault == u"junk"            ? 0
                                  : saveOwnModels(file, more) ? 0
                                                              : -1);
        QCOMPARE(result, saveError);
        const Result<Catalogue> read = loadOwnModels(file);
        if (fault == u"fifo" || fault == u"junk") {
            QVERIFY(!read);
            if (fault == u"fifo")
                QCOMPARE(describeEntry(file), u"fifo"_s);
            else
                QCOMPARE(readAll(file), junk);
        } else if (saveError != 0) {
            VERIFY_OK(read);
            QCOMPARE(read->models, models);
            QCOMPARE(readAll(file), saved);
        } else {
            VERIFY_OK(read);
            QCOMPARE(read->models, more);
            QVERIFY(QFileInfo(file).isSymLink());
        }
    }

    // The real program under a file size limit: a save, the window image and
    // the printed page each fail with error 57 and keep the previous file.
    void cliKeepsFilesUnderTheSizeLimit_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("save") << QStringLiteral("--save");
        QTest::newRow("png") << QStringLiteral("--png");
        QTest::newRow("pdf") << QStringLiteral("--pdf");
        QTest::newRow("report") << QStringLiteral("--report");
    }
    void cliKeepsFilesUnderTheSizeLimit() {
        QFETCH(QString, option);
        QTemporaryDir folder;
        writeAll(folder.filePath(kModelInfoFile), kCatalogue);
        const QString target = folder.filePath(QStringLiteral("previous.out"));
        writeAll(target, "the previous file\r\n");
        QByteArray errors;
        const int status = cliWithSizeLimit(
            {QStringLiteral("--catalogue"), folder.filePath(kModelInfoFile), option, target}, 100,
            errors);
        QCOMPARE(status, 2);
        QVERIFY2(errors.contains("Err : 57") && errors.contains("is unchanged"),
                 errors.constData());
        QCOMPARE(readAll(target), QByteArray("the previous file\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{kModelInfoFile, QStringLiteral("previous.out")}));
    }

    // A folder where others may create files but not replace them (the
    // sticky bit, as /tmp): the rename is refused, which is a permission error.
    void refusedRenameIsAPermissionError() {
        if (geteuid() != 0)
            QSKIP("needs root to give the file to another user than the one saving");
        QTemporaryDir outer;
        const QString sticky = sharedFolder(outer, 01777);
        QVERIFY(!sticky.isEmpty());
        const QString file = sticky + QStringLiteral("/room.cf");
        writeAll(file, "root's calculation\r\n");
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0666) == 0);
        const int result = inChild(QString(), 0, [&] {
            if (!becomeNobody())
                return Result<void>(makeError(ErrorNumber::InvalidArgument, QString()));
            return writeCalcFile(file, CalcFileData());
        });
        QCOMPARE(result, int(ErrorNumber::PermissionDenied));
        QCOMPARE(readAll(file), QByteArray("root's calculation\r\n"));
        QCOMPARE(QDir(sticky).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("room.cf")});
    }

    // A read-only file in a folder the user may write: the rename would
    // replace it, so the save is refused (as a link to it is).
    void readOnlyFilesAreKept_data() {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("file") << false;
        QTest::newRow("link to it") << true;
    }
    void readOnlyFilesAreKept() {
        QFETCH(bool, throughLink);
        QTemporaryDir outer;
        const QString shared = sharedFolder(outer, 0777);
        QVERIFY(!shared.isEmpty());
        const QString file = shared + QStringLiteral("/room.cf");
        writeAll(file, "kept\r\n");
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        const QString link = shared + QStringLiteral("/link.cf");
        QVERIFY(QFile::link(file, link));
        const QString target = throughLink ? link : file;
        const int result = inChild(QString(), 0, [&] {
            if (!becomeNobody())
                return Result<void>(makeError(ErrorNumber::InvalidArgument, QString()));
            return writeCalcFile(target, CalcFileData());
        });
        QCOMPARE(result, int(ErrorNumber::PermissionDenied));
        QCOMPARE(readAll(file), QByteArray("kept\r\n"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 (QStringList{QStringLiteral("link.cf"), QStringLiteral("room.cf")}));
    }

    void failedSwitchesKeepTheCatalogue_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<int>("sizeLimit");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("read-only program folder") << true << 0 << false;
        QTest::newRow("chosen file vanished") << false << 0 << true;
        QTest::newRow("copy cut by the size limit") << false << 1000 << false;
    }
    void failedSwitchesKeepTheCatalogue() {
        QFETCH(bool, readOnlyFolder);
        QFETCH(int, sizeLimit);
        QFETCH(bool, vanished);
        QTemporaryDir folder;
        writeAll(folder.filePath(kModelInfoFile), kCatalogue);
        QByteArray chosen = "header\r\n";
        for (int i = 0; i < 200; ++i)
            chosen +=
                "Model " + QByteArray::number(i) + ",30,300,30,250,0.6,1,0.5,1,0,0,0,0,1,0\r\n";
        writeAll(path("chosen.ini"), chosen);
        const QString chosenPath = vanished ? path("gone.ini") : path("chosen.ini");
        const int result =
            inChild(readOnlyFolder ? folder.path() : QString(), rlim_t(sizeLimit), [&] {
                AppPaths paths;
                paths.dataFolder = paths.catalogueFolder = folder.path();
                Result<CatalogueSwitch> r = switchCatalogue(
                    chosenPath, paths, [](const auto &) { return Result<void>(); },
                    [](const auto &) { return true; });
                return r ? Result<void>() : Result<void>(r.error());
            });
        QVERIFY(result != 0);
        QCOMPARE(readAll(folder.filePath(kModelInfoFile)), kCatalogue);
        QVERIFY(loadCatalogue(folder.filePath(kModelInfoFile)).ok());
    }

    void badTextFilesFailCleanly_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("folder");
        QRandomGenerator random(7);
        QByteArray noise(1 << 20, '\0');
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QByteArray big;
        big.reserve(50 << 20);
        while (big.size() < (50 << 20))
            big += "Model,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n";
        QTest::newRow("a folder") << QByteArray() << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("binary noise") << noise << false;
        QTest::newRow("50 MB") << big << false;
        QTest::newRow("1 MB line")
            << QByteArray("[Language]\r\nCaption=") + QByteArray(1 << 20, 'x') << false;
    }
    // Each gives an error, no models or a missing text; none crashes or hangs.
    void badTextFilesFailCleanly() {
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        const QString file = path("bad.ini");
        QFile::remove(file);
        QDir(file).removeRecursively();
        if (folder)
            QVERIFY(QDir().mkpath(file));
        else
            writeAll(file, content);
        const auto models = loadCatalogue(file);
        QVERIFY(!models.ok() || models->models.size() <= 1000);
        if (folder)
            QCOMPARE(models.error().code(), int(ErrorNumber::PathFileAccessError));
        const LanguageLoad language = loadLanguage(file);
        QVERIFY(!language.complete());
        QVERIFY(language.texts.text(LangKey::Caption).size() <= 1023);
    }

    void hostileFieldTextLeavesTheStateFinite() {
        RecordingObserver observer;
        Calculator calc(observer);
        calc.setMessages(testMessages());
        QVERIFY(calc.startUp({testModel(QStringLiteral("Alpha"), 0.62, 1.1, 0.5, 0.9)}));
        const QStringList hostile{
            QString(400, u'9'),    QStringLiteral("1e999"),    QStringLiteral("-0"),
            QStringLiteral("NaN"), QStringLiteral("Infinity"), QStringLiteral("\x01\x7f\t\r\n"),
            QString(10000, u'7'),  QStringLiteral("-1e999"),   QStringLiteral("1e-999")};
        for (const FieldInfo &field : kFields)
            for (const QString &text : hostile) {
                observer.clear();
                const Result<Entered> entered = calc.enter(field.field, text);
                VERIFY_OK(entered);
                QVERIFY(*entered == Entered::Taken || observer.messages.size() == 1);
                QVERIFY(observer.errors.isEmpty());
                const CalcState &s = calc.state();
                for (double v : {s.screenWidth, s.screenHeight, s.screenDiagonal,
                                 s.projectionDistance, s.offsetA, s.offsetB, s.maxDistance})
                    QVERIFY(std::isfinite(v));
                QVERIFY(calc.isometric().has_value() && calc.sideView().has_value());
            }
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
