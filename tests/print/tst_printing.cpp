#include "core/apppaths.h"
#include "mainwindow.h"
#include "printdialog.h"
#include "scripteddialogs.h"
#include "session/session.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using vistrel::app::PrintDialog;

namespace {

const QString kCupsDir = qEnvironmentVariable("VISTREL_CUPS_DIR");

QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

int jobs(const QString &queue) {
    return static_cast<int>(run(QStringLiteral("lpstat"), {"-W", "all", "-o", queue}).count(u'\n'));
}

// Counts the page's pixels near a colour, the page rendered by poppler.
int pixelsLike(const QString &pdf, const QColor &colour) {
    QTemporaryDir dir;
    run(QStringLiteral("pdftoppm"), {"-r", "60", "-png", "-singlefile", pdf, dir.filePath("page")});
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    int count = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            count += qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) +
                         qAbs(c.blue() - colour.blue()) <
                     30;
        }
    return count;
}

int pageCount(const QString &pdf) {
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? 0 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void listsPrintersWithTheDefaultSelected();
    void printsOneJobOnTheChosenQueue();
    void cancelAndNoSelectionPrintNothing();
    void aRefusedJobKeepsTheWindowOpen();
    void aQueueGoneSinceTheListWasReadIsReported();
    void noPrinterDisablesPrint();
    void cliWritesThePageAndTheWindowImage();

private:
    std::unique_ptr<PrintDialog> dialog() {
        return std::make_unique<PrintDialog>(*window_, dialogs_, window_->texts());
    }
    QListWidget *list(PrintDialog &d) {
        return d.findChild<QListWidget *>(QStringLiteral("lstPrinter"));
    }
    QPushButton *button(PrintDialog &d, const char *name) {
        return d.findChild<QPushButton *>(QLatin1String(name));
    }

    ScriptedDialogs dialogs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<app::MainWindow> window_;
};

void TestPrinting::initTestCase() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        return;
    QFile unavailable(kCupsDir + QStringLiteral("/unavailable"));
    if (unavailable.open(QIODevice::ReadOnly)) {
        const QByteArray why = "no private CUPS scheduler: " + unavailable.readAll().trimmed();
        if (qgetenv("CI") == "true")
            QFAIL(why.constData()); // CI must print for real
        QSKIP(why.constData());
    }
    QVERIFY2(QFile::exists(kCupsDir + QStringLiteral("/cups.sock")),
             "the scheduler is not running");
}

void TestPrinting::init() {
    dialogs_ = ScriptedDialogs();
    window_.reset();
    session_ = std::make_unique<Session>();
    window_ = std::make_unique<app::MainWindow>(*session_, dialogs_);
    QCOMPARE(window_->start(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString())),
             app::MainWindow::StartResult::Ready);
    window_->show();
}

void TestPrinting::listsPrintersWithTheDefaultSelected() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    auto d = dialog();
    QListWidget *printers = list(*d);
    QCOMPARE(printers->count(), 2);
    QCOMPARE(printers->item(0)->text(), QStringLiteral("pdf-a"));
    QCOMPARE(printers->item(1)->text(), QStringLiteral("pdf-b"));
    QCOMPARE(printers->currentRow(), 0);
    QVERIFY(button(*d, "cmdPrint")->isEnabled());
}

void TestPrinting::printsOneJobOnTheChosenQueue() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    const QString output = kCupsDir + QStringLiteral("/out/pdf-b.pdf");
    QFile::remove(output);
    const int before = jobs(QStringLiteral("pdf-b")), beforeA = jobs(QStringLiteral("pdf-a"));
    auto d = dialog();
    list(*d)->setCurrentRow(1);
    QTest::mouseClick(button(*d, "cmdPrint"), Qt::LeftButton);
    QVERIFY(dialogs_.errors.isEmpty());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QTRY_VERIFY_WITH_TIMEOUT(
        QFile(output).size() > 1000 && run("lpstat", {"-o", "pdf-b"}).trimmed().isEmpty(), 30000);
    QCOMPARE(jobs(QStringLiteral("pdf-b")), before + 1);
    QCOMPARE(jobs(QStringLiteral("pdf-a")), beforeA);
    QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("pdf-a"));
    QVERIFY(run(QStringLiteral("lpstat"), {"-d"}).contains(QStringLiteral("pdf-a")));
    QCOMPARE(pageCount(output), 1);
    QVERIFY(pixelsLike(output, QColor(0, 128, 255)) > 100); // the screen in the diagram
    QVERIFY(pixelsLike(output, Qt::white) > 10000);
}

void TestPrinting::cancelAndNoSelectionPrintNothing() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    const int before = jobs(QStringLiteral("pdf-a")) + jobs(QStringLiteral("pdf-b"));
    auto cancelled = dialog();
    QTest::mouseClick(button(*cancelled, "cmdCancel"), Qt::LeftButton);
    QCOMPARE(cancelled->result(), int(QDialog::Rejected));

    auto unselected = dialog();
    list(*unselected)->clearSelection();
    QTest::mouseClick(button(*unselected, "cmdPrint"), Qt::LeftButton);
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY(dialogs_.errors.first().startsWith(QStringLiteral("Err : 381\r\n")));
    QTest::qWait(500);
    QCOMPARE(jobs(QStringLiteral("pdf-a")) + jobs(QStringLiteral("pdf-b")), before);
}

// A queue that rejects jobs: the scheduler's reason in the error box, no
// job, and the window stays open for another choice.
void TestPrinting::aRefusedJobKeepsTheWindowOpen() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    const int before = jobs(QStringLiteral("pdf-b"));
    run(QStringLiteral("cupsreject"), {"pdf-b"});
    auto d = dialog();
    d->show();
    list(*d)->setCurrentRow(1);
    QTest::mouseClick(button(*d, "cmdPrint"), Qt::LeftButton);
    run(QStringLiteral("cupsaccept"), {"pdf-b"});
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY2(dialogs_.errors.first().startsWith(QStringLiteral("Err : 57\r\n")),
             qPrintable(dialogs_.errors.first()));
    QVERIFY2(dialogs_.errors.first().contains(QStringLiteral("not accepting"), Qt::CaseInsensitive),
             qPrintable(dialogs_.errors.first()));
    QVERIFY(d->isVisible());
    QTest::qWait(300);
    QCOMPARE(jobs(QStringLiteral("pdf-b")), before);

    // Accepting again, the same window prints.
    QTest::mouseClick(button(*d, "cmdPrint"), Qt::LeftButton);
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY(!d->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(jobs(QStringLiteral("pdf-b")), before + 1, 30000);
}

void TestPrinting::aQueueGoneSinceTheListWasReadIsReported() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    run(QStringLiteral("lpadmin"), {"-p", "pdf-gone", "-E", "-v", "file:///dev/null", "-P",
                                    kCupsDir + QStringLiteral("/vistrel-pdf.ppd")});
    auto d = dialog();
    d->show();
    const QList<QListWidgetItem *> gone =
        list(*d)->findItems(QStringLiteral("pdf-gone"), Qt::MatchExactly);
    QCOMPARE(gone.size(), 1);
    run(QStringLiteral("lpadmin"), {"-x", "pdf-gone"});
    list(*d)->setCurrentItem(gone.first());
    QTest::mouseClick(button(*d, "cmdPrint"), Qt::LeftButton);
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY2(dialogs_.errors.first().startsWith(QStringLiteral("Err : 57\r\n")) &&
                 dialogs_.errors.first().contains(QStringLiteral("pdf-gone")),
             qPrintable(dialogs_.errors.first()));
    QVERIFY(d->isVisible());
}

void TestPrinting::noPrinterDisablesPrint() {
    if (!qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs without any scheduler");
    auto d = dialog();
    d->show();
    QCOMPARE(list(*d)->count(), 0);
    QVERIFY(!button(*d, "cmdPrint")->isEnabled());
    // The empty list says why.
    auto *why = d->findChild<QLabel *>(QStringLiteral("lblNoPrinter"));
    QVERIFY(why && why->isVisible());
    QCOMPARE(why->text(), QStringLiteral("No printer is set up."));
}

void TestPrinting::cliWritesThePageAndTheWindowImage() {
    if (qEnvironmentVariableIsSet("VISTREL_EXPECT_NO_PRINTER"))
        QSKIP("runs with the private scheduler");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("w.pdf")),
                  png = dir.filePath(QStringLiteral("w.png"));
    QProcess cli;
    // A user's screen scaling does not change the files.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(VISTREL_CLI_PATH), {"--unit", "cm", "--pdf", pdf, "--png", png});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(pageCount(pdf), 1);
    QVERIFY(pixelsLike(pdf, QColor(0, 128, 255)) > 100);
    const QImage image(png);
    QCOMPARE(image.size(), window_->grab().size());
    const auto &g = *window_->calculator().isometric();
    const QPoint box =
        window_->findChild<QWidget *>(QStringLiteral("picDraw1"))->mapTo(window_.get(), QPoint());
    QCOMPARE(image.pixelColor(box + QPoint(g.s.x, g.s.y)), QColor(0, 128, 255));
    QCOMPARE(image.pixelColor(box + QPoint(2, 2)), QColor(Qt::white));

    // The page carries the window image without loss: every pixel as on screen.
    QVERIFY(!run(QStringLiteral("pdfimages"), {"-list", pdf}).contains(QStringLiteral("jpeg")));
    run(QStringLiteral("pdfimages"), {"-png", pdf, dir.filePath(QStringLiteral("page"))});
    const QImage embedded(dir.filePath(QStringLiteral("page-000.png")));
    QCOMPARE(embedded.size(), image.size());
    QCOMPARE(embedded.convertToFormat(QImage::Format_RGB32),
             image.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
