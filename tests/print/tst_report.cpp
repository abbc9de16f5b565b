#include "core/apppaths.h"
#include "mainwindow.h"
#include "scripteddialogs.h"
#include "session/session.h"
#include "testcatalogues.h"
#include "verifyok.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;
using vistrel::app::MainWindow;

namespace {

// The worked example's lens and light; a lens of a very wide range, whose
// chart runs over more than one page.
const QByteArray kCatalogue = "Model,numbers\r\n" + kWorkedExampleLine +
                              "Huge,10,2000,10,2000,0.62,1.1,0.5,0.9,0.1,0.12,0,0,0,0,0,0,0,0\r\n";

QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString &pdf) {
    const QString info = run(u"pdfinfo"_s, {pdf});
    const qsizetype at = info.indexOf(u"Pages:"_s);
    return at < 0 ? 0 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// The text of one page as poppler reads it, its blanks made single spaces:
// as laid out, or in the order it was drawn, which keeps a sentence wrapped
// in a column whole beside another column.
QString pageText(const QString &pdf, int page, const QString &order = u"-layout"_s) {
    const QString n = QString::number(page);
    return run(u"pdftotext"_s, {order, u"-f"_s, n, u"-l"_s, n, pdf, u"-"_s}).simplified();
}

// The Example on a 16 : 9 screen of 100 inches, gain 1.3 in a room of 50 lux.
const QStringList kFirstPage{"Installation sheet",
                             "Model Example",
                             "WIDE / TELE WIDE",
                             "Aspect Ratio 16 : 9",
                             "Projection Distance 130",
                             "Screen Size Diagonal 100",
                             "Width 88",
                             "Height 49",
                             "Offset 4.9",
                             "Screen gain 1.3",
                             "Ambient light (lux) 50",
                             "WIDE 130 inches",
                             "TELE 161 inches",
                             "Light on the screen 87.6 fL / 300.2 nits",
                             "Contrast in the room 15.4 : 1",
                             "Pixels blend from 156 inches"};
// Its chart: 30 to 280 inches at WIDE; TELE takes 16 : 9 pictures up to 230 only.
const QStringList kChart{"Throw chart",
                         "Example, 16 : 9, WIDE, inches",
                         "30 27 15 38 47 1.5",
                         "160 140 79 209 259 7.9",
                         "230 201 113 302 374 11.3",
                         "280 244 138 368 13.8"};

} // namespace

class TestReport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QTemporaryDir config_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> window_;

    QString catalogue() const { return dir_.filePath(u"ModelInfo.ini"_s); }
    template <typename T> T *child(const QString &name) const {
        T *w = window_->findChild<T *>(name);
        if (!w)
            qWarning("no child %s", qPrintable(name));
        return w;
    }
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }
    // File > Export report, from the keyboard.
    void exportReport() {
        QTest::keyClick(window_.get(), Qt::Key_F, Qt::AltModifier);
        QWidget *menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_E);
    }
    static void verifyText(const QString &text, const QStringList &expected) {
        for (const QString &part : expected)
            QVERIFY2(text.contains(part), qPrintable(part + u" not in: "_s + text));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid() && config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        QFile file(catalogue());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kCatalogue);
        // The room's worked example is the demo catalogue's Aster 2000.
        const QByteArray demo = readAll(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        const qsizetype aster = demo.indexOf("\nAster 2000,");
        QVERIFY(aster > 0);
        const QByteArray line = demo.mid(aster + 1);
        file.write(line.left(line.indexOf('\n')).trimmed() + "\r\n");
        file.close();
        QVERIFY(QFile::copy(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"),
                            dir_.filePath(u"Language.ini"_s)));
    }
    void init() {
        dialogs_ = ScriptedDialogs();
        QDir::setCurrent(dir_.path());
        window_.reset();
        session_ = std::make_unique<Session>();
        window_ = std::make_unique<MainWindow>(*session_, dialogs_);
        QCOMPARE(window_->start(AppPaths::resolve(dir_.path(), QString())),
                 MainWindow::StartResult::Ready);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        QCOMPARE(dialogs_.unexpected, 0);
        window_.reset();
    }

    // The sheet from the window and from the command line: the same three
    // pages, as text. The window confirms the value still being typed, and
    // takes the planner's inputs kept from the last start.
    void windowAndCommandLineWriteTheSameSheet() {
        {
            QVERIFY(QDir().mkpath(config_.filePath(u"Vistrel"_s)));
            QFile kept(config_.filePath(u"Vistrel/planner.ini"_s));
            QVERIFY(kept.open(QIODevice::WriteOnly));
            kept.write("; as a user would write it\n[Planner]\nGain = 1.3\nambient=50\n");
        }
        init(); // the inputs are taken when the window starts
        click(child<QRadioButton>(u"optAspect_2"_s));
        dialogs_.messages.clear(); // the largest 16 : 9 screen is smaller
        auto *diagonal = child<QLineEdit>(u"txtValue_1"_s);
        click(diagonal);
        QTest::keyClick(diagonal, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(diagonal, u"100"_s);

        const QString fromWindow = dir_.filePath(u"window.pdf"_s);
        dialogs_.answers.enqueue(fromWindow);
        exportReport();
        QCOMPARE(dialogs_.asked, QStringList{u"save PDF (*.pdf) .pdf"_s});
        QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(u" | ")));
        QCOMPARE(session_->state().screenDiagonal, 100.0);
        QCOMPARE(pageCount(fromWindow), 3);
        verifyText(pageText(fromWindow, 1), kFirstPage);
        verifyText(pageText(fromWindow, 2), {u"Light targets"_s});
        verifyText(pageText(fromWindow, 3), kChart);

        const QString fromCli = dir_.filePath(u"cli.pdf"_s);
        QProcess cli;
        cli.start(QStringLiteral(VISTREL_CLI_PATH),
                  {u"--catalogue"_s, catalogue(), u"--aspect"_s, u"16:9"_s, u"--diagonal"_s,
                   u"100"_s, u"--gain"_s, u"1.3"_s, u"--ambient"_s, u"50"_s, u"--report"_s,
                   fromCli});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(pageCount(fromCli), 3);
        for (int page = 1; page <= 3; ++page)
            QCOMPARE(pageText(fromCli, page), pageText(fromWindow, page));
    }

    // A chart longer than a page goes on, with its headers, to the last row.
    void aLongChartGoesOn() {
        const QString pdf = dir_.filePath(u"huge.pdf"_s);
        QProcess cli;
        cli.start(QStringLiteral(VISTREL_CLI_PATH),
                  {u"--catalogue"_s, catalogue(), u"--model"_s, u"Huge"_s, u"--report"_s, pdf});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(pageCount(pdf), 4);
        verifyText(pageText(pdf, 3),
                   {u"Huge, 4 : 3, WIDE, inches"_s, u"Offset 1"_s, u"10 8 6 15 18 0.6"_s});
        verifyText(pageText(pdf, 4), {u"Huge, 4 : 3, WIDE, inches"_s, u"Offset 1"_s,
                                      u"2000 1600 1200 3224 3998 120.0"_s});
        // Unknown light: the language's word, never a number.
        verifyText(pageText(pdf, 1), {u"Light output (lumens) unknown"_s});
        // Without lumens or a contrast, no viewing task has a white, lumens or an answer.
        verifyText(pageText(pdf, 2, u"-raw"_s),
                   {u"Passive viewing 7 : 1 unknown unknown unknown"_s});
    }

    // The room's worked example (tests/session/tst_roomtext.cpp): Aster 2000
    // at WIDE, "Top of Screen", 120 inches of 16 : 9, 104.59 x 58.83 in, its
    // bottom edge 24 in above the floor, a 108 in ceiling, the axis 6 in
    // below the plate: a drop of 0 to 108 - (85.77 + 6) = 16.2 in. Row 1 at
    // 143.68 in looks up atan((82.83 - 40) / 143.68) = 16.6 degrees; row 2
    // at 192 in needs its eyes at 24 + 20 x 192 / 143.68 = 50.7 in, a riser
    // of 10.7 in, and looks up atan((82.83 - 50.73) / 192) = 9.5 and down
    // atan(26.73 / 192) = 7.9 degrees. The drawings label in the unit's
    // symbol: the bottom edge 24.0 in, the picture 58.83 high and 104.59
    // wide, the ceiling 108.0 in, the rows 143.7 and 192.0 in away.
    void theRoomHasAPageOfItsOwn() {
        VERIFY_OK(session_->selectModel(2));
        VERIFY_OK(session_->select(Zoom::Wide));
        VERIFY_OK(session_->select(Position::Top));
        VERIFY_OK(session_->select(Aspect::Ratio16x9));
        VERIFY_TAKEN(session_->enter(Field::Diagonal, u"120"_s));
        const auto exported = [this](const QString &name) {
            const QString pdf = dir_.filePath(name);
            dialogs_.answers.enqueue(pdf);
            exportReport();
            return pdf;
        };
        const QString plain = exported(u"plain.pdf"_s);
        const int pages = pageCount(plain);
        QVERIFY(pages >= 3);

        // A title block alone adds no page; it is plain text, wrapped, not cut.
        const QString longValue = QStringList(40, u"Hall"_s).join(u' ');
        const ProjectDetails details{u"Westbrook <b>&amp; Co"_s, longValue, u"Room 2.14"_s,
                                     QString(), u"J. Ferrand"_s};
        VERIFY_OK(session_->setProjectDetails(details));
        const QString titled = exported(u"titled.pdf"_s);
        QCOMPARE(pageCount(titled), pages);
        verifyText(pageText(titled, 1),
                   {u"Installation sheet Project Westbrook <b>&amp; Co Client "_s + longValue,
                    u"Room name Room 2.14 Prepared by J. Ferrand"_s});
        QCOMPARE(pageText(titled, 2), pageText(plain, 2));

        RoomSettings room;
        room.screenBottom = 24;
        room.ceiling = 108;
        room.mountDepth = 6;
        room.rows = {{143.68}, {192}};
        VERIFY_OK(session_->setRoomSettings(room));
        const QString withRoom = exported(u"room.pdf"_s);
        QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(u" | ")));
        QCOMPARE(pageCount(withRoom), pages + 1);
        QCOMPARE(pageText(withRoom, 1), pageText(titled, 1));
        // The light follows the room; no half-gain angle, so no row against its cone.
        QCOMPARE(pageText(withRoom, 3), pageText(plain, 2));
        QCOMPARE(pageText(withRoom, 4), pageText(plain, 3));
        const QString roomPage = pageText(withRoom, 2, u"-raw"_s);
        verifyText(roomPage,
                   {u"Room Lens axis above the floor 85.8 inches to 109.3 inches"_s,
                    u"Ceiling mount drop 0.0 inches to 16.2 inches"_s,
                    u"Checks row 1 looks up 16.6\u00b0 to the top edge: lower the screen or "
                    "move the row back"_s,
                    u"Elevation"_s, u"Plan"_s, u"Seat rows"_s,
                    u"Row 2 192.0 inches 50.7 inches 10.7 inches 9.5\u00b0 7.9\u00b0"_s});
        for (const QString &label : {u"24.0 in"_s, u"58.8 in"_s, u"104.6 in"_s, u"108.0 in"_s,
                                     u"143.7 in"_s, u"192.0 in"_s}) {
            const QRegularExpression alone(u"(^| )"_s + QRegularExpression::escape(label) +
                                           u"( |$)"_s);
            QVERIFY2(roomPage.contains(alone), qPrintable(label + u" not in: "_s + roomPage));
        }
    }

    // The light's worked example: Aster 2000 at TELE, 4000 lm x 0.8, on a
    // 100-inch 16 : 9 screen of 87.16 x 49.03 in = 29.674 sq ft, gain 1, at
    // end of life (0.5). On the screen 4000 x 0.8 x 0.5 / 29.674 = 53.9 fL.
    // A target of N nits needs N / 3.4262591 x 29.674 lm on the screen and
    // twice that rated: 108 nits 935.3 and 1870.7, 48 nits 415.7, 300 nits 2598.2.
    void theLightHasAPageOfItsOwn() {
        VERIFY_OK(session_->selectModel(2));
        VERIFY_OK(session_->select(Zoom::Tele));
        VERIFY_OK(session_->select(Aspect::Ratio16x9));
        VERIFY_TAKEN(session_->enter(Field::Diagonal, u"100"_s));
        PlannerSettings settings;
        settings.lightAge = kEndOfLifeLight;
        VERIFY_OK(session_->setPlannerSettings(settings));
        const QString pdf = dir_.filePath(u"light.pdf"_s);
        dialogs_.answers.enqueue(pdf);
        exportReport();
        QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(u" | ")));
        QCOMPARE(pageCount(pdf), 3);
        verifyText(pageText(pdf, 1), {u"53.9 fL"_s});
        verifyText(pageText(pdf, 2, u"-raw"_s),
                   {u"Light Light source at end of life Half-gain angle, degrees not set"_s,
                    u"108 nits (HDR cinema) 935.3 1870.7"_s, u"415.7"_s, u"2598.2"_s,
                    u"Lumens for the room (ANSI/INFOCOMM 3M-2011) Sequential (on/off) contrast; "
                    "ANSI checkerboard contrast is a different measure."_s});
        VERIFY_OK(session_->setPlannerSettings({}));
    }

    void failuresWriteNothing() {
        // A typed value the model refuses: its message, and no sheet.
        auto *diagonal = child<QLineEdit>(u"txtValue_1"_s);
        click(diagonal);
        QTest::keyClick(diagonal, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(diagonal, u"5000"_s);
        exportReport();
        QCOMPARE(dialogs_.messages.size(), 1);
        QVERIFY(dialogs_.asked.isEmpty());

        // A folder that is not there: the common error box.
        const QString nowhere = dir_.filePath(u"missing/sheet.pdf"_s);
        dialogs_.answers.enqueue(nowhere);
        exportReport();
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY2(dialogs_.errors.first().startsWith(u"Err : "_s), qPrintable(dialogs_.errors[0]));
        QVERIFY(!QFile::exists(nowhere));

        // Cancelled: nothing.
        dialogs_.answers.enqueue(QString());
        exportReport();
        QCOMPARE(dialogs_.errors.size(), 1);
        QCOMPARE(dialogs_.asked.size(), 2);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
