// The window's File and Option menus against files that must not be used,
// and the texts' font size.
#include "files/filewriter.h"
#include "fsentries.h"
#include "testcatalogues.h"
#include "windowdriver.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include <sys/resource.h>
#include <sys/wait.h>

using namespace vistrel;
using namespace Qt::StringLiterals;
using vistrel::app::MainWindow;

namespace {

const QByteArray &kCatalogue = kThreeModelCatalogue;

} // namespace

class TestWindowFiles : public QObject, WindowDriver {
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow(kCatalogue)); }
    void cleanup() { QCOMPARE(tearDown(), QString()); }

    // A catalogue whose first model cannot be selected or drawn is refused
    // before anything is written: the next start-up still works, and the
    // window keeps its catalogue and model (Save writes that model).
    void unusableCataloguesAreRefused_data() {
        QTest::addColumn<QByteArray>("content"); // empty: `chosen` is not written
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
        // After the header and 1000 models, line 1002 holds one model too many.
        QByteArray tooMany = "header\r\n";
        for (int i = 0; i <= 1000; ++i)
            tooMany += "M" + QByteArray::number(i) +
                       ",30,300,30,250,0.62,1.1,0.5,0.9,0,0,0,0,1,0,30,280,30,230\r\n";
        QTest::newRow("1001 models")
            << tooMany << u"many.ini"_s << u"more than 1000 models (line 1002)"_s;
        QTest::newRow("missing") << QByteArray() << u"missing.ini"_s << u"Err : 53\r\n"_s;
    }
    void unusableCataloguesAreRefused() {
        QFETCH(QByteArray, content);
        QFETCH(QString, chosen);
        QFETCH(QString, reason);
        if (!content.isEmpty())
            QVERIFY(write(chosen, content));
        const QString chosenPath = QDir(dir_->path()).absoluteFilePath(chosen);
        chooseModel(2);
        const QStringList fields = fieldTexts();

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
        QCOMPARE(fieldTexts(), fields);

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
        QVERIFY(write(u"wild.ini"_s, wild));
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
        QVERIFY(write(u"doubtful.ini"_s, doubtful));
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

    // A file without a model is said in a message that names it as it is,
    // but for control characters; the catalogue stays, and the window goes
    // back to the first model.
    void aFileWithoutModelsIsRefused() {
        const QString name = u"no\x1Bmodels%1.ini"_s;
        QVERIFY(write(name, "header only\r\n"));
        chooseModel(2);
        trigger("mnuOptionModelInfo", path(name));
        QCOMPARE(dialogs_.messages.size(), 1);
        QVERIFY2(dialogs_.messages.first().contains(path(u"no\\x1Bmodels%1.ini"_s)),
                 qPrintable(dialogs_.messages.first()));
        QCOMPARE(readAll(path(u"ModelInfo.ini"_s)), kCatalogue);
        QVERIFY(!QFile::exists(path(u"OLD.ini"_s)));
        QCOMPARE(readAll(path(u"~tmp.ini"_s)), QByteArray("header only\r\n"));
        QCOMPARE(models()->currentText(), u"Alpha"_s);
        QCOMPARE(text(1), u"300"_s);
    }

    // Save As and Open refuse a FIFO at once (opening one would wait for a
    // writer: the window would freeze), and leave it and the window alone.
    void aFifoIsRefused_data() {
        QTest::addColumn<QByteArray>("action");
        QTest::newRow("save as") << QByteArray("mnuFileSaveAs");
        QTest::newRow("open") << QByteArray("mnuFileOpen");
    }
    void aFifoIsRefused() {
        QFETCH(QByteArray, action);
        type(1, u"120"_s);
        const QStringList before = fieldTexts();
        const QString fifo = path(u"room.cf"_s);
        QVERIFY(makeEntry(Entry::Fifo, fifo));
        const FifoRelease release(fifo);
        if (action == "mnuFileOpen")
            dialogs_.saveAnswers.enqueue(app::Dialogs::Unsaved::Discard);
        trigger(action.constData(), fifo);
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY2(dialogs_.errors[0].startsWith(u"Err : 75\r\n"_s) &&
                     dialogs_.errors[0].contains(u"is a FIFO"_s),
                 qPrintable(dialogs_.errors[0]));
        QCOMPARE(describeEntry(fifo), u"fifo"_s);
        QCOMPARE(fieldTexts(), before);
        if (action == "mnuFileOpen")
            QCOMPARE(window_->windowHandle()->title(), window_->appTitle() + u'*');
        trigger("mnuFileSaveAs", path(u"kept.cf"_s));
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(readAll(path(u"kept.cf"_s)).startsWith("\"Alpha\"\r\n"));
    }

    // A picture a calculation file cannot hold, saved under a .cf name: the
    // window asks whether to save a project file instead. Yes writes it under
    // the same name with .vistrel, which becomes the window's file; No writes
    // nothing and changes nothing.
    void anOtherFormatSavedAsCalculationAsks_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void anOtherFormatSavedAsCalculationAsks() {
        QFETCH(bool, yes);
        QVERIFY(session_->select(PictureFormat{2.39, 1}));
        const QString title = window_->windowHandle()->title();
        dialogs_.confirmations.enqueue(yes);
        trigger("mnuFileSaveAs", path(u"room.cf"_s));
        QCOMPARE(dialogs_.questions,
                 QStringList{session_->texts().text(OptionalKey::CalcFileCannotHold)});
        QVERIFY(dialogs_.questions.first().startsWith(u"A calculation file holds only"_s));
        QCOMPARE(dialogs_.errors, QStringList());
        QCOMPARE(QDir(dir_->path()).entryList({u"room*"_s}, QDir::Files | QDir::Hidden),
                 yes ? QStringList{u"room.vistrel"_s} : QStringList());
        QCOMPARE(window_->isWindowModified(), !yes);
        if (!yes) {
            QCOMPARE(window_->windowHandle()->title(), title);
            QVERIFY(session_->currentFile().isEmpty());
            return;
        }
        QCOMPARE(session_->currentFile(), path(u"room.vistrel"_s));
        QCOMPARE(window_->windowHandle()->title(), window_->appTitle() + u" [room]"_s);
        const QJsonObject picture =
            QJsonDocument::fromJson(readAll(path(u"room.vistrel"_s)))["picture"].toObject();
        QCOMPARE(picture["width"].toDouble(), 2.39);
        QCOMPARE(picture["height"].toDouble(), 1.0);
        // Save goes on writing the project file, without asking again.
        type(1, u"120"_s);
        trigger("mnuFileSave");
        QCOMPARE(dialogs_.questions.size(), 1);
        QCOMPARE(QJsonDocument::fromJson(readAll(path(u"room.vistrel"_s)))["inches"]["diagonal"]
                     .toDouble(),
                 120.0);
    }

    // Yes, where a project file of that name is there already: the save
    // dialog asks about it, and cancelled it keeps that file as it was.
    void aProjectFileInTheWayIsNotReplacedUnasked() {
        QVERIFY(write(u"room.vistrel"_s, "the previous project\n"));
        QVERIFY(session_->select(PictureFormat{2.39, 1}));
        dialogs_.confirmations.enqueue(true);
        dialogs_.answers.enqueue(path(u"room.cf"_s));
        dialogs_.answers.enqueue(QString()); // the second dialog, cancelled
        trigger("mnuFileSaveAs");
        QCOMPARE(dialogs_.asked.size(), 2);
        QCOMPARE(readAll(path(u"room.vistrel"_s)), QByteArray("the previous project\n"));
        QVERIFY(!QFile::exists(path(u"room.cf"_s)));
        QVERIFY(session_->currentFile().isEmpty());
    }

    // Under a file size limit the save fails with error 57 and the window
    // goes on, instead of the process being killed. In a child process, with
    // the signal handling both programs set up in main().
    void saveUnderTheFileSizeLimit() {
        QVERIFY(write(u"room.cf"_s, "the previous calculation\r\n"));
        const pid_t pid = fork();
        if (pid == 0) {
            ignoreFileSizeSignal();
            const rlimit limit{100, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            trigger("mnuFileSaveAs", path(u"room.cf"_s));
            const bool reported = dialogs_.errors.size() == 1 &&
                                  dialogs_.errors.first().startsWith(u"Err : 57\r\n"_s);
            chooseModel(1);
            const bool goesOn = text(1) == u"200"_s && dialogs_.errors.size() == 1;
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

    // A size outside 1 to 72 keeps the default size, as 0 does; a fraction
    // is rounded, halves to the even size.
    void fontSizes_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<double>("shown"); // 0: the default size
        QTest::newRow("-5") << u"-5"_s << 0.0;
        QTest::newRow("200") << u"200"_s << 0.0;
        QTest::newRow("32767") << u"32767"_s << 0.0;
        QTest::newRow("1") << u"1"_s << 1.0;
        QTest::newRow("72") << u"72"_s << 72.0;
        QTest::newRow("11") << u"11"_s << 11.0;
        QTest::newRow("9.5") << u"9.5"_s << 10.0;
        QTest::newRow("10.5") << u"10.5"_s << 10.0;
    }
    void fontSizes() {
        QFETCH(QString, size);
        QFETCH(double, shown);
        const QByteArray shipped = readAll(path(u"Language.ini"_s));
        const auto shownWith = [&](const QString &value) {
            if (!write(u"Language.ini"_s,
                       QByteArray(shipped).replace("FontSize=8", "FontSize=" + value.toLatin1())) ||
                startWindow() != MainWindow::StartResult::Ready)
                return -1.0;
            return child<QLabel>(u"lblModel"_s)->font().pointSizeF();
        };
        const double standard = shownWith(u"0"_s);
        QCOMPARE(shownWith(size), shown > 0 ? shown : standard);
    }
};

QTEST_MAIN(TestWindowFiles)
#include "tst_windowfiles.moc"
