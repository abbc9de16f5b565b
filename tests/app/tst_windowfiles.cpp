// The window's File and Option menus against files that must not be used,
// and the texts' font size.
#include "core/apppaths.h"
#include "files/filewriter.h"
#include "fsentries.h"
#include "mainwindow.h"
#include "scripteddialogs.h"
#include "session/session.h"
#include "testcatalogues.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>

using namespace vistrel;
using namespace Qt::StringLiterals;
using vistrel::app::MainWindow;

namespace {

const QByteArray &kCatalogue = kThreeModelCatalogue;

} // namespace

class TestWindowFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> window_;

    QString path(const QString &name) const { return dir_->filePath(name); }
    void write(const QString &name, const QByteArray &bytes) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    MainWindow::StartResult startWindow() {
        window_.reset();
        session_ = std::make_unique<Session>();
        window_ = std::make_unique<MainWindow>(*session_, dialogs_);
        return window_->start(AppPaths::resolve(dir_->path(), QString()));
    }
    void trigger(const char *action, const QString &answer) {
        dialogs_.answers.enqueue(answer);
        window_->findChild<QAction *>(QLatin1String(action))->trigger();
    }
    QComboBox *models() const { return window_->findChild<QComboBox *>(u"cboModel"_s); }
    // As the user does: the list's own keys run the window's handler.
    void chooseModel(int index) {
        QComboBox *box = models();
        box->setFocus(Qt::TabFocusReason);
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
    }
    QString field(int i) const {
        return window_->findChild<QLineEdit *>(u"txtValue_%1"_s.arg(i))->text();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QDir::setCurrent(dir_->path());
        write(u"ModelInfo.ini"_s, kCatalogue);
        QVERIFY(
            QFile::copy(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"), path(u"Language.ini"_s)));
        dialogs_ = ScriptedDialogs();
        QCOMPARE(startWindow(), MainWindow::StartResult::Ready);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        QCOMPARE(dialogs_.unexpected, 0);
        window_.reset();
    }

    // A catalogue whose first model cannot be selected or drawn is refused
    // before anything is written: the next start-up still works, and the
    // window keeps its catalogue and model (Save writes that model).
    void unusableCataloguesAreRefused_data() {
        QTest::addColumn<QByteArray>("content"); // empty: choose `chosen` as it is
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no lens line")
            << QByteArray("h\r\nNone,30,300,30,250\r\n") << u"none.ini"_s << u"Err : 380"_s;
        QTest::newRow("flat lens line")
            << QByteArray("h\r\nFlat,30,300,30,250,0,5\r\n") << u"flat.ini"_s << u"Err : 11"_s;
        QTest::newRow("limits too small to draw")
            << QByteArray("h\r\nSpeck,0,5e-324,0,5e-324,1,0,1,0,0,0,0,0,1,0,0,5e-324,0,5e-324\r\n")
            << u"speck.ini"_s << u"Err : 11"_s;
        QTest::newRow("a file of the system")
            << QByteArray() << u"/proc/self/status"_s << u"Err : 380"_s;
        QTest::newRow("16-bit overflow")
            << QByteArray("h\r\nX,30,300,30,250,0.6,1,0.5,1,0,0,0,0,40000,0\r\n")
            << u"overflow.ini"_s << u"line 2, field 13 of "_s;
        QTest::newRow("control character in the name")
            << QByteArray("h\r\nBad\x01Name\r\n") << u"control.ini"_s << u"Bad\\x01Name"_s;
    }
    void unusableCataloguesAreRefused() {
        QFETCH(QByteArray, content);
        QFETCH(QString, chosen);
        QFETCH(QString, reason);
        if (!content.isEmpty())
            write(chosen, content);
        const QString chosenPath = content.isEmpty() ? chosen : path(chosen);
        chooseModel(2);
        const QStringList fields{field(0), field(1), field(2), field(3)};

        trigger("mnuOptionModelInfo", chosenPath);
        QCOMPARE(dialogs_.errors.size(), 1);
        const QString &error = dialogs_.errors.first();
        QVERIFY2(error.contains(reason) && error.contains(chosenPath), qPrintable(error));
        QVERIFY(!error.contains(u'\x01') && !error.contains(u"~tmp.ini"_s));
        QCOMPARE(readAll(path(u"ModelInfo.ini"_s)), kCatalogue);
        QCOMPARE(QDir(dir_->path()).entryList({u"*.ini"_s}, QDir::Files | QDir::Hidden).size(),
                 content.isEmpty() ? 2 : 3);
        QCOMPARE(models()->count(), 3);
        QCOMPARE(models()->currentText(), u"Gamma"_s);
        QCOMPARE((QStringList{field(0), field(1), field(2), field(3)}), fields);

        trigger("mnuFileSaveAs", path(u"kept.cf"_s));
        QVERIFY(readAll(path(u"kept.cf"_s)).startsWith("\"Gamma\"\r\n"));
        dialogs_.errors.clear();
        QCOMPARE(startWindow(), MainWindow::StartResult::Ready);
    }

    // Planner data a catalogue cannot give is one warning for the whole load,
    // at start-up as after a switch; the calculator works on.
    void unusablePlannerDataIsOneWarning() {
        const QByteArray wild = "h\r\nWild,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,"
                                "30,230,-5,9\r\nTame,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,"
                                "1,0,30,280,30,230,2000,-1\r\n";
        write(u"wild.ini"_s, wild);
        trigger("mnuOptionModelInfo", path(u"wild.ini"_s));
        QCOMPARE(dialogs_.errors, QStringList());
        QCOMPARE(dialogs_.warnings.size(), 1);
        const QStringList lines = dialogs_.warnings.first().split(u'\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].contains(path(u"wild.ini"_s)));
        QVERIFY(lines[1].startsWith(u"line 2, field 19 (Lumens): \"-5\""_s));
        QVERIFY(lines[3].startsWith(u"line 3, field 20 (TeleLumenFactor): \"-1\""_s));
        QCOMPARE(models()->count(), 2);
        QCOMPARE(readAll(path(u"ModelInfo.ini"_s)), wild);
        dialogs_.warnings.clear();
        QCOMPARE(startWindow(), MainWindow::StartResult::Ready);
        QCOMPARE(dialogs_.warnings.size(), 1);
    }

    // A file that reads but looks wrong is asked about before it replaces
    // the catalogue; Cancel changes nothing.
    void doubtfulCataloguesAreAskedAbout_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("cancelled") << false;
        QTest::newRow("replaced") << true;
    }
    void doubtfulCataloguesAreAskedAbout() {
        QFETCH(bool, replace);
        // The first model passes every check; the second would fail at TELE.
        const QByteArray doubtful =
            "h\r\nFirst,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n"
            "Aster 1500,30,300,30,300,0.8333,0.6,x0.6944,0.5,0.08,0.08,0,0,1,0,36,300,36,300\r\n";
        write(u"doubtful.ini"_s, doubtful);
        chooseModel(1);
        dialogs_.confirmations.enqueue(replace);
        trigger("mnuOptionModelInfo", path(u"doubtful.ini"_s));
        QCOMPARE(dialogs_.questions.size(), 1);
        const QString question = dialogs_.questions.first();
        QVERIFY2(question.startsWith(u"Replace the model catalogue\n"_s), qPrintable(question));
        QVERIFY(question.contains(u"line 3, field 7 (TeleCoefA): \"x0.6944\""_s));
        QCOMPARE(dialogs_.errors, QStringList());
        QCOMPARE(readAll(path(u"ModelInfo.ini"_s)), replace ? doubtful : kCatalogue);
        QCOMPARE(models()->currentText(), replace ? u"First"_s : u"Beta"_s);
    }

    // The no-model message names the chosen file without raw control characters.
    void theNoModelMessageShowsControlCharacters() {
        const QString name = u"no\x1Bmodels.ini"_s;
        write(name, "header only\r\n");
        trigger("mnuOptionModelInfo", path(name));
        QCOMPARE(dialogs_.messages.size(), 1);
        QVERIFY2(dialogs_.messages.first().contains(u"no\\x1Bmodels.ini"_s),
                 qPrintable(dialogs_.messages.first()));
    }

    // File > Save As refuses what is not a regular file and leaves it alone.
    void saveRefusesWhatIsNotAFile() {
        QVERIFY(makeEntry(Entry::Fifo, path(u"pipe.cf"_s)));
        trigger("mnuFileSaveAs", path(u"pipe.cf"_s));
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(dialogs_.errors.first().startsWith(u"Err : 75\r\n"_s));
        QCOMPARE(describeEntry(path(u"pipe.cf"_s)), u"fifo"_s);
        trigger("mnuFileSaveAs", path(u"room.cf"_s));
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(readAll(path(u"room.cf"_s)).startsWith("\"Alpha\"\r\n"));
    }

    // Under a file size limit the save fails with error 57 and the window
    // goes on, instead of the process being killed. In a child process, with
    // the signal handling both programs set up in main().
    void saveUnderTheFileSizeLimit() {
        write(u"room.cf"_s, "the previous calculation\r\n");
        const pid_t pid = fork();
        if (pid == 0) {
            ignoreFileSizeSignal();
            const rlimit limit{100, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            trigger("mnuFileSaveAs", path(u"room.cf"_s));
            const bool reported = dialogs_.errors.size() == 1 &&
                                  dialogs_.errors.first().startsWith(u"Err : 57\r\n"_s);
            chooseModel(1);
            const bool goesOn = field(1) == u"200"_s && dialogs_.errors.size() == 1;
            _exit(reported ? (goesOn ? 0 : 2) : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY2(WIFEXITED(status), "the child was killed");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readAll(path(u"room.cf"_s)), QByteArray("the previous calculation\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList({u"*room*"_s}, QDir::Files | QDir::Hidden),
                 QStringList{u"room.cf"_s});
    }

    // A size outside 1 to 72 keeps the default size, as 0 does.
    void fontSizes_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("-5") << u"-5"_s << false;
        QTest::newRow("200") << u"200"_s << false;
        QTest::newRow("32767") << u"32767"_s << false;
        QTest::newRow("1") << u"1"_s << true;
        QTest::newRow("72") << u"72"_s << true;
        QTest::newRow("11") << u"11"_s << true;
    }
    void fontSizes() {
        QFETCH(QString, size);
        QFETCH(bool, taken);
        const QByteArray shipped = readAll(path(u"Language.ini"_s));
        const auto shownWith = [&](const QString &value) {
            write(u"Language.ini"_s,
                  QByteArray(shipped).replace("FontSize=8", "FontSize=" + value.toLatin1()));
            if (startWindow() != MainWindow::StartResult::Ready)
                return -1.0;
            return window_->findChild<QLabel *>(u"lblModel"_s)->font().pointSizeF();
        };
        const double standard = shownWith(u"0"_s);
        QCOMPARE(shownWith(size), taken ? size.toDouble() : standard);
    }
};

QTEST_MAIN(TestWindowFiles)
#include "tst_windowfiles.moc"
