#include "aboutdialog.h"
#include "clirun.h"
#include "core/apppaths.h"
#include "diagrampainter.h"
#include "drawbox.h"
#include "fsentries.h"
#include "mainwindow.h"
#include "pictures.h"
#include "printdialog.h"
#include "scripteddialogs.h"
#include "session/session.h"
#include "testcatalogues.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace vistrel;
using vistrel::app::Dialogs;
using vistrel::app::MainWindow;

namespace {

const QByteArray &kCatalogue = kThreeModelCatalogue;

// What a box would hold had nothing been drawn into it before.
template <typename Geometry, typename Paint>
QImage freshDrawing(const QImage &like, const Geometry &g, Paint paint) {
    QImage fresh(like.size(), QImage::Format_RGB32);
    fresh.setDevicePixelRatio(like.devicePixelRatio());
    fresh.fill(Qt::white);
    app::DrawnArea drawn(fresh.size(), qRound(fresh.devicePixelRatio()));
    paint(fresh, g, app::DrawingKit(), drawn);
    return fresh;
}

// The parts of a widget that paint events covered.
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget *w) { w->installEventFilter(this); }
    QRegion region;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

long areaOf(const QRegion &region) {
    long area = 0;
    for (const QRect &r : region)
        area += long(r.width()) * r.height();
    return area;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpState();
    void refusedValueRestoresTheField();
    void tabLeavesTheNumbersAlone_data();
    void tabLeavesTheNumbersAlone();
    void leavingAfterDisplayRoundingKeepsTheValue();
    void tabEntersAnOptionGroupAtItsChoice();
    void enterButtonFollowsEdits();
    void saveConfirmsTheTypedValue();
    void printConfirmsTheTypedValue();
    void negativeLengthsAreRefused();
    void enterButtonConfirms();
    void modelAspectAndZoomChanges();
    void unitAndPositionRedrawOnlyTheirPart();
    void windowAndCliAgree_data();
    void windowAndCliAgree();
    void saveAndOpenThroughTheMenu();
    void openRefusesAFifoAtOnce();
    void unsavedChangesAreAskedAboutOnQuit();
    void catalogueSwitch();
    void catalogueSwitchRefusesAFileWithoutModels();
    void catalogueSwitchKeepsTheCatalogueWhenTheFileFails();
    void diagramPixels();
    void diagramsShowTheShippedPictures_data();
    void diagramsShowTheShippedPictures();
    void redrawnDiagramsEqualFreshOnes();
    void anEntryRepaintsOnlyWhatChanged();
    void highDensityDiagrams();
    void fieldPlacements();
    void missingLanguageKeyStopsTheStart();
    void textsAreShownAsTheyAre();
    void screenReadersHearCaptions();
    void keyboardReachesEveryControl();

private:
    void write(const QString &name, const QByteArray &bytes) {
        QFile f(dir_->filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    MainWindow::StartResult startWindow() {
        window_.reset();
        session_ = std::make_unique<Session>();
        window_ = std::make_unique<MainWindow>(*session_, dialogs_);
        return window_->start(AppPaths::resolve(dir_->path(), QString()));
    }
    template <typename T> T *child(const QString &name) const {
        T *w = window_->findChild<T *>(name);
        if (!w)
            qWarning("no child %s", qPrintable(name));
        return w;
    }
    QLineEdit *field(int i) const { return child<QLineEdit>(QStringLiteral("txtValue_%1").arg(i)); }
    QString text(int i) const { return field(i)->text(); }
    QRadioButton *option(const char *name) const {
        return child<QRadioButton>(QLatin1String(name));
    }
    // Near the left edge: an option button only takes clicks on its circle and caption.
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }
    // Click into the field, replace its text and press `key`, like a user.
    void type(int i, const QString &typed, Qt::Key key = Qt::Key_Return) {
        click(field(i));
        QTest::keyClick(field(i), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field(i), typed);
        QTest::keyClick(field(i), key);
    }
    void chooseModel(int index) {
        auto *box = child<QComboBox>(QStringLiteral("cboModel"));
        box->setFocus(Qt::TabFocusReason);
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
    QImage image(const char *box) const { return child<app::DrawBox>(QLatin1String(box))->image(); }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> window_;
};

void TestMainWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QDir::setCurrent(dir_->path());
    write(QStringLiteral("ModelInfo.ini"), kCatalogue);
    QVERIFY(QFile::copy(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"),
                        dir_->filePath(QStringLiteral("Language.ini"))));
    dialogs_ = ScriptedDialogs();
    QCOMPARE(startWindow(), MainWindow::StartResult::Ready);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestMainWindow::cleanup() {
    QCOMPARE(dialogs_.unexpected, 0);
    window_.reset();
}

void TestMainWindow::startUpState() {
    QCOMPARE(window_->windowHandle()->title(), window_->appTitle());
    QCOMPARE(window_->centralWidget()->size(), QSize(594, 389));
    QCOMPARE(child<QWidget>(QStringLiteral("picDraw1"))->size(), QSize(453, 241));
    QCOMPARE(child<QWidget>(QStringLiteral("picDraw2"))->size(), QSize(453, 113));
    auto *models = child<QComboBox>(QStringLiteral("cboModel"));
    QCOMPARE(models->count(), 3);
    QCOMPARE(models->currentText(), QStringLiteral("Alpha"));
    QCOMPARE(models->itemData(2).toInt(), 2);
    for (const char *name : {"optUnits_0", "optWIDE_0", "optPosition_1", "optAspect_0"})
        QVERIFY2(option(name)->isChecked(), name);
    QCOMPARE((QStringList{text(1), text(2), text(3)}), (QStringList{"300", "240", "180"}));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!child<QToolButton>(QStringLiteral("cmdEnter_%1").arg(i))->isVisible());
    QCOMPARE(child<QLabel>(QStringLiteral("lblAspect"))->text(), QStringLiteral("4 : 3"));
    QVERIFY(dialogs_.messages.isEmpty() && dialogs_.errors.isEmpty());
}

void TestMainWindow::refusedValueRestoresTheField() {
    type(2, QStringLiteral("abc"));
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY(
        dialogs_.messages.first().contains(QStringLiteral("smallest screen size is 30 inches")));
    QCOMPARE(text(2), QStringLiteral("240"));
    QCOMPARE(window_->calculator().state().screenDiagonal, 300.0);

    // Hostile text typed into the real fields: a message each, the window still working.
    for (const QString &hostile :
         {QStringLiteral("1e999"), QStringLiteral("-1e999"), QString(2000, u'9'),
          QStringLiteral("NaN"), QStringLiteral("+-3")}) {
        dialogs_.messages.clear();
        type(1, hostile);
        QCOMPARE(dialogs_.messages.size(), 1);
        QCOMPARE(text(1), QStringLiteral("300"));
    }
    type(1, QStringLiteral("100"));
    QCOMPARE(text(2), QStringLiteral("80"));
}

void TestMainWindow::tabLeavesTheNumbersAlone_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QString>("typed");
    const std::array<std::pair<const char *, const char *>, 3> units{
        {{"optUnits_0", "200"}, {"optUnits_1", "20"}, {"optUnits_2", "500"}}};
    for (const auto &[unit, typed] : units)
        for (const char *zoom : {"optWIDE_0", "optWIDE_1"})
            QTest::addRow("%s %s", unit, zoom)
                << QString::fromLatin1(unit) << QString::fromLatin1(zoom)
                << QString::fromLatin1(typed);
}

// A value confirmed by Tab, then Tab round the window twice: focusing and
// leaving fields without typing must never recalculate from a rounded text.
void TestMainWindow::tabLeavesTheNumbersAlone() {
    QFETCH(QString, unit);
    QFETCH(QString, zoom);
    QFETCH(QString, typed);
    click(child<QRadioButton>(zoom));
    click(child<QRadioButton>(unit));
    dialogs_.messages.clear(); // TELE takes the largest screen down to its own limit
    // Tab goes from field to field: an Enter button taking the focus on the
    // way, even for the moment it takes to hide itself, is where drift began.
    QStringList focused;
    const auto spy =
        connect(qApp, &QApplication::focusChanged, this, [&focused](QWidget *, QWidget *now) {
            if (now)
                focused.append(now->objectName());
        });
    type(0, typed, Qt::Key_Tab);
    const QStringList shown{text(0), text(1), text(2), text(3)};
    const CalcState before = window_->calculator().state();
    QCOMPARE(shown.first(), typed);
    for (int round = 0; round < 2; ++round) {
        int presses = 0;
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != field(0) && ++presses < 60);
        QVERIFY(presses < 60);
    }
    QTest::keyClick(field(0), Qt::Key_Tab);
    QCOMPARE((QStringList{text(0), text(1), text(2), text(3)}), shown);
    QCOMPARE(window_->calculator().state().projectionDistance, before.projectionDistance);
    QCOMPARE(window_->calculator().state().screenDiagonal, before.screenDiagonal);
    disconnect(spy);
    // One move per Tab, straight to the next control.
    for (qsizetype i = 1; i < focused.size(); ++i)
        QVERIFY2(focused[i] != focused[i - 1], qPrintable(focused.join(u' ')));

    // Nor does a detour through another unit and back.
    click(option("optUnits_2"));
    click(child<QRadioButton>(unit));
    QCOMPARE((QStringList{text(0), text(1), text(2), text(3)}), shown);
    QVERIFY(dialogs_.messages.isEmpty());
}

void TestMainWindow::leavingAfterDisplayRoundingKeepsTheValue() {
    click(option("optUnits_2"));
    type(0, QStringLiteral("253"));
    QCOMPARE(text(0), QStringLiteral("260"));
    QVERIFY(qAbs(window_->calculator().state().projectionDistance - 253 / 2.54) < 1e-9);
    QTest::keyClick(field(0), Qt::Key_Tab);
    QVERIFY(qAbs(window_->calculator().state().projectionDistance - 253 / 2.54) < 1e-9);
}

// Tab enters a group of options at its checked button; the arrow keys move
// within the group and choose, as everywhere else.
void TestMainWindow::tabEntersAnOptionGroupAtItsChoice() {
    click(option("optUnits_1"));
    auto *before = child<QRadioButton>(QStringLiteral("optWIDE_1"));
    before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), option("optPosition_1"));
    QTest::keyClick(option("optPosition_1"), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), option("optPosition_0"));
    QVERIFY(option("optPosition_0")->isChecked());
    QCOMPARE(window_->calculator().state().screenPosition, Position::Top);
    QTest::keyClick(option("optPosition_0"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), option("optAspect_0"));
    // Backwards into the units, which were changed by a click: their choice again.
    QTest::keyClick(option("optAspect_0"), Qt::Key_Backtab);
    QTest::keyClick(option("optPosition_0"), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), option("optUnits_1"));
}

// Only an edit shows the Enter button; Escape takes the edit back.
void TestMainWindow::enterButtonFollowsEdits() {
    auto *button = child<QToolButton>(QStringLiteral("cmdEnter_1"));
    type(1, QStringLiteral("150"));
    QVERIFY(!button->isVisible());
    for (const auto &[key, modifiers] :
         std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Shift, Qt::ShiftModifier},
             {Qt::Key_Control, Qt::ControlModifier},
             {Qt::Key_Left, Qt::NoModifier},
             {Qt::Key_Home, Qt::NoModifier},
             {Qt::Key_C, Qt::ControlModifier},
             {Qt::Key_Alt, Qt::AltModifier}}) {
        QTest::keyClick(field(1), key, modifiers);
        QVERIFY2(!button->isVisible(), qPrintable(QKeySequence(key | modifiers).toString()));
    }
    // Alt gave the menu bar the keyboard; Escape hands it back to the field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), field(1));
    QVERIFY(!button->isVisible());
    QTest::keyClick(field(1), Qt::Key_End);
    QTest::keyClick(field(1), Qt::Key_Backspace);
    QVERIFY(button->isVisible());
    QTest::keyClicks(field(1), QStringLiteral("99"));
    QCOMPARE(text(1), QStringLiteral("1599"));
    QTest::keyClick(field(1), Qt::Key_Escape);
    QCOMPARE(text(1), QStringLiteral("150"));
    QVERIFY(!button->isVisible());
    QCOMPARE(QApplication::focusWidget(), field(1));
    QTest::keyClick(field(1), Qt::Key_Tab);
    QCOMPARE(window_->calculator().state().screenDiagonal, 150.0);
    QVERIFY(dialogs_.messages.isEmpty());
}

// What is typed but not yet confirmed is what Save writes; a value the
// model refuses stops the save.
void TestMainWindow::saveConfirmsTheTypedValue() {
    const QString file = dir_->filePath(QStringLiteral("typed.cf"));
    click(field(1));
    QTest::keyClick(field(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(1), QStringLiteral("150"));
    dialogs_.answers.enqueue(file);
    child<QAction>(QStringLiteral("mnuFileSaveAs"))->trigger();
    QCOMPARE(text(2), QStringLiteral("120"));
    QCOMPARE(readAll(file).split('\n').at(27).trimmed(), QByteArray("150"));

    QTest::keyClick(field(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(1), QStringLiteral("999"));
    child<QAction>(QStringLiteral("mnuFileSave"))->trigger();
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY(dialogs_.messages.first().contains(QStringLiteral("300")));
    QCOMPARE(readAll(file).split('\n').at(27).trimmed(), QByteArray("150"));
    QCOMPARE(text(1), QStringLiteral("150"));
    QCOMPARE(dialogs_.asked.size(), 1);
}

// Print puts the window as it shows on the page, so a typed value is
// confirmed first; a refused one stops before the printer window opens.
void TestMainWindow::printConfirmsTheTypedValue() {
    click(field(1));
    QTest::keyClick(field(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(1), QStringLiteral("999"));
    child<QAction>(QStringLiteral("mnuFilePrint"))->trigger();
    QCOMPARE(dialogs_.messages.size(), 1);
    QCOMPARE(text(1), QStringLiteral("300"));

    QTest::keyClick(field(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(1), QStringLiteral("150"));
    QString opened;
    QTimer::singleShot(0, this, [&opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
        }
    });
    child<QAction>(QStringLiteral("mnuFilePrint"))->trigger();
    QCOMPARE(opened, QStringLiteral("frmPrint"));
    QCOMPARE(text(2), QStringLiteral("120"));
    QVERIFY(!child<QToolButton>(QStringLiteral("cmdEnter_1"))->isVisible());
}

void TestMainWindow::negativeLengthsAreRefused() {
    for (int i = 0; i < 4; ++i) {
        dialogs_.messages.clear();
        type(i, QStringLiteral("-100"));
        QCOMPARE(dialogs_.messages.size(), 1);
        QVERIFY(dialogs_.messages.first().contains(QStringLiteral("smallest")));
    }
    QCOMPARE((QStringList{text(1), text(2), text(3)}), (QStringList{"300", "240", "180"}));
    QVERIFY(window_->calculator().state().screenWidth > 0);
}

void TestMainWindow::enterButtonConfirms() {
    click(field(1));
    auto *button = child<QToolButton>(QStringLiteral("cmdEnter_1"));
    QVERIFY(button->isVisible());
    QTest::keyClick(field(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(1), QStringLiteral("150"));
    click(button);
    QCOMPARE(window_->calculator().state().screenDiagonal, 150.0);
    QCOMPARE(text(2), QStringLiteral("120"));
    QVERIFY(!button->isVisible());
    // Enter confirms too, and the field keeps the focus.
    type(3, QStringLiteral("60"));
    QCOMPARE(text(1), QStringLiteral("100"));
    QCOMPARE(QApplication::focusWidget(), field(3));
}

void TestMainWindow::modelAspectAndZoomChanges() {
    type(1, QStringLiteral("280"));
    click(option("optWIDE_1")); // TELE accepts at most 250
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY(dialogs_.messages.first().contains(QStringLiteral("250")));
    QCOMPARE(text(1), QStringLiteral("250"));

    click(option("optAspect_2")); // the same distance gives too large a 16 : 9 picture at TELE
    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(child<QLabel>(QStringLiteral("lblAspect"))->text(), QStringLiteral("16 : 9"));
    chooseModel(2); // WIDE only, without 16 : 9
    QVERIFY(option("optAspect_0")->isChecked());
    QVERIFY(!option("optAspect_2")->isEnabled());
    QVERIFY(option("optWIDE_0")->isChecked());
    QVERIFY(!option("optWIDE_0")->isEnabled() && !option("optWIDE_1")->isEnabled());
    QCOMPARE(text(1), QStringLiteral("150"));
    QCOMPARE(dialogs_.messages.size(), 2);
}

void TestMainWindow::unitAndPositionRedrawOnlyTheirPart() {
    const qint64 iso = image("picDraw1").cacheKey();
    const qint64 side = image("picDraw2").cacheKey();
    click(option("optUnits_2"));
    QCOMPARE(text(1), QStringLiteral("762"));
    QCOMPARE(image("picDraw1").cacheKey(), iso);
    QCOMPARE(image("picDraw2").cacheKey(), side);
    click(option("optPosition_0"));
    QCOMPARE(image("picDraw1").cacheKey(), iso);
    QVERIFY(image("picDraw2").cacheKey() != side);
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtOffset_0"))->y(), 22);
}

void TestMainWindow::windowAndCliAgree_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("options"); // object names of options to click
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("cli");
    QTest::newRow("start") << 0 << QStringList{} << -1 << QString() << QStringList{};
    QTest::newRow("in width fraction")
        << 0 << QStringList{} << 2 << "79.2" << QStringList{"--width", "79.2"};
    QTest::newRow("ft diagonal") << 0 << QStringList{"optUnits_1"} << 1 << "10"
                                 << QStringList{"--unit", "ft", "--diagonal", "10"};
    QTest::newRow("tele cm distance")
        << 0 << QStringList{"optWIDE_1", "optUnits_2"} << 0 << "700"
        << QStringList{"--zoom", "tele", "--unit", "cm", "--distance", "700"};
    QTest::newRow("16:9 mode 2 feet")
        << 1 << QStringList{"optAspect_2", "optUnits_1"} << 2 << "9"
        << QStringList{"--model", "Beta", "--aspect", "16:9", "--unit", "ft", "--width", "9"};
    QTest::newRow("5:4 height refused")
        << 1 << QStringList{"optAspect_1"} << 3 << "2"
        << QStringList{"--model", "Beta", "--aspect", "5:4", "--height", "2"};
    QTest::newRow("wide only top")
        << 2 << QStringList{"optPosition_0"} << 1 << "99.5"
        << QStringList{"--model", "Gamma", "--position", "top", "--diagonal", "99.5"};
}

void TestMainWindow::windowAndCliAgree() {
    QFETCH(int, model);
    QFETCH(QStringList, options);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, cli);
    if (model > 0)
        chooseModel(model);
    for (const QString &name : options)
        click(child<QRadioButton>(name));
    if (field >= 0)
        type(field, typed);

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const AppPaths paths = AppPaths::resolve(dir_->path(), QString());
    cli::runCli(cli + QStringList{"--json"}, paths, outStream, errStream);
    outStream.flush();
    const QJsonObject fields = QJsonDocument::fromJson(out.toUtf8()).object()["fields"].toObject();
    QCOMPARE(text(0), fields["distance"].toString());
    QCOMPARE(text(1), fields["diagonal"].toString());
    QCOMPARE(text(2), fields["width"].toString());
    QCOMPARE(text(3), fields["height"].toString());
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtOffset_0"))->text(), fields["offset1"].toString());
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtOffset_1"))->text(), fields["offset2"].toString());
}

void TestMainWindow::saveAndOpenThroughTheMenu() {
    const QString file = dir_->filePath(QStringLiteral("room.cf"));
    chooseModel(1);
    click(option("optUnits_1"));
    type(1, QStringLiteral("12"));
    const QStringList saved{text(0), text(1), text(2), text(3)};

    dialogs_.answers.enqueue(file);
    child<QAction>(QStringLiteral("mnuFileSaveAs"))->trigger();
    QCOMPARE(dialogs_.asked, QStringList{QStringLiteral("save CalculateFile (*.cf) .cf")});
    QVERIFY(QFile::exists(file));
    const QString title = window_->appTitle() + QStringLiteral(" [room]");
    QCOMPARE(window_->windowHandle()->title(), title);

    // Save again writes without asking; the title marks what is not saved.
    type(1, QStringLiteral("13"));
    QCOMPARE(window_->windowHandle()->title(), title + u'*');
    child<QAction>(QStringLiteral("mnuFileSave"))->trigger();
    QCOMPARE(dialogs_.asked.size(), 1);
    QCOMPARE(window_->windowHandle()->title(), title);
    type(1, QStringLiteral("12"));
    child<QAction>(QStringLiteral("mnuFileSave"))->trigger();

    // Opening over changes asks first; they are dropped when the user says so.
    chooseModel(0);
    click(option("optUnits_0"));
    QCOMPARE(window_->windowHandle()->title(), title + u'*');
    dialogs_.saveAnswers.enqueue(Dialogs::Unsaved::Discard);
    dialogs_.answers.enqueue(file);
    child<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
    QCOMPARE(dialogs_.questions.size(), 1);
    QCOMPARE(window_->windowHandle()->title(), title);
    QCOMPARE(child<QComboBox>(QStringLiteral("cboModel"))->currentText(), QStringLiteral("Beta"));
    QVERIFY(option("optUnits_1")->isChecked());
    QCOMPARE((QStringList{text(0), text(1), text(2), text(3)}), saved);

    // Cancelling the Open dialog changes nothing.
    dialogs_.answers.enqueue(QString());
    child<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
    QCOMPARE((QStringList{text(0), text(1), text(2), text(3)}), saved);
    QVERIFY(dialogs_.errors.isEmpty());
}

// Opening a FIFO would wait for a writer: the window would freeze.
void TestMainWindow::openRefusesAFifoAtOnce() {
    type(1, QStringLiteral("120"));
    dialogs_.saveAnswers.enqueue(Dialogs::Unsaved::Discard);
    const QStringList before{text(0), text(1), text(2), text(3)};
    const QString fifo = dir_->filePath(QStringLiteral("room.cf"));
    QVERIFY(makeEntry(Entry::Fifo, fifo));
    const FifoRelease release(fifo);
    dialogs_.answers.enqueue(fifo);
    child<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY2(dialogs_.errors[0].contains(QStringLiteral("Err : 75")) &&
                 dialogs_.errors[0].contains(QStringLiteral("is a FIFO")),
             qPrintable(dialogs_.errors[0]));
    QCOMPARE((QStringList{text(0), text(1), text(2), text(3)}), before);
    QCOMPARE(window_->windowHandle()->title(), window_->appTitle() + u'*');
}

// Quitting with unsaved changes asks: Cancel keeps the window, Save writes
// the calculation and closes, and without changes nothing is asked.
void TestMainWindow::unsavedChangesAreAskedAboutOnQuit() {
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::AltModifier);
    QVERIFY(window_->close()); // nothing changed: no question
    QCOMPARE(dialogs_.questions.size(), 0);
    window_->show();
    type(1, QStringLiteral("150"));
    dialogs_.saveAnswers.enqueue(Dialogs::Unsaved::Cancel);
    QVERIFY(!window_->close());
    QVERIFY(window_->isVisible());
    const QString file = dir_->filePath(QStringLiteral("kept.cf"));
    dialogs_.saveAnswers.enqueue(Dialogs::Unsaved::Save);
    dialogs_.answers.enqueue(file);
    QVERIFY(window_->close());
    QCOMPARE(dialogs_.questions.size(), 2);
    QVERIFY(dialogs_.questions[1].contains(QStringLiteral("not saved")));
    QVERIFY(QFile::exists(file));
    // Save cancelled in its dialog (the file is gone, so it asks): the window stays.
    window_->show();
    type(1, QStringLiteral("160"));
    QVERIFY(QFile::remove(file));
    dialogs_.saveAnswers.enqueue(Dialogs::Unsaved::Save);
    dialogs_.answers.enqueue(QString());
    QVERIFY(!window_->close());
    QVERIFY(!QFile::exists(file));
}

void TestMainWindow::catalogueSwitch() {
    const QByteArray previous = readAll(dir_->filePath(QStringLiteral("ModelInfo.ini")));
    const QByteArray chosen =
        "h\r\nDelta,30,200,30,200,0.7,1,0.6,1,0.1,0.1,0,0,1,0,30,200,30,200\r\n";
    write(QStringLiteral(".other.ini"), chosen); // a hidden file is as good as any
    type(1, QStringLiteral("100"));
    dialogs_.answers.enqueue(dir_->filePath(QStringLiteral(".other.ini")));
    child<QAction>(QStringLiteral("mnuOptionModelInfo"))->trigger();
    QCOMPARE(dialogs_.asked, QStringList{QStringLiteral("open ModelFile (*.ini)")});
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("ModelInfo.ini"))), chosen);
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("OLD.ini"))), previous);
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("~tmp.ini"))));
    auto *models = child<QComboBox>(QStringLiteral("cboModel"));
    QCOMPARE(models->count(), 1);
    QCOMPARE(models->currentText(), QStringLiteral("Delta"));
    QCOMPARE(text(1), QStringLiteral("200"));

    // Choosing the backup swaps the two files back.
    dialogs_.answers.enqueue(dir_->filePath(QStringLiteral("OLD.ini")));
    child<QAction>(QStringLiteral("mnuOptionModelInfo"))->trigger();
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("ModelInfo.ini"))), previous);
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("OLD.ini"))), chosen);
    QCOMPARE(models->count(), 3);

    // Choosing the working copy itself loses nothing.
    write(QStringLiteral("~tmp.ini"), chosen);
    dialogs_.answers.enqueue(dir_->filePath(QStringLiteral("~tmp.ini")));
    child<QAction>(QStringLiteral("mnuOptionModelInfo"))->trigger();
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("ModelInfo.ini"))), chosen);
    QVERIFY(dialogs_.errors.isEmpty());
}

void TestMainWindow::catalogueSwitchRefusesAFileWithoutModels() {
    const QByteArray previous = readAll(dir_->filePath(QStringLiteral("ModelInfo.ini")));
    write(QStringLiteral("empty%1.ini"), "header only\r\n");
    chooseModel(2);
    dialogs_.answers.enqueue(dir_->filePath(QStringLiteral("empty%1.ini")));
    child<QAction>(QStringLiteral("mnuOptionModelInfo"))->trigger();
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY(dialogs_.messages.first().contains(dir_->filePath(QStringLiteral("empty%1.ini"))));
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("ModelInfo.ini"))), previous);
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("OLD.ini"))));
    QCOMPARE(readAll(dir_->filePath(QStringLiteral("~tmp.ini"))), QByteArray("header only\r\n"));
    QCOMPARE(child<QComboBox>(QStringLiteral("cboModel"))->currentText(), QStringLiteral("Alpha"));
    QCOMPARE(text(1), QStringLiteral("300"));
}

void TestMainWindow::catalogueSwitchKeepsTheCatalogueWhenTheFileFails() {
    const QByteArray previous = readAll(dir_->filePath(QStringLiteral("ModelInfo.ini")));
    QByteArray tooMany = "header\r\n";
    for (int i = 0; i <= 1000; ++i)
        tooMany += "M" + QByteArray::number(i) +
                   ",30,300,30,250,0.62,1.1,0.5,0.9,0,0,0,0,1,0,30,280,30,230\r\n";
    write(QStringLiteral("many.ini"), tooMany);
    write(QStringLiteral("overflow.ini"), "h\r\nX,30,300,30,250,0.6,1,0.5,1,0,0,0,0,40000,0\r\n");
    type(1, QStringLiteral("111"));
    for (const char *name : {"many.ini", "overflow.ini", "missing.ini"}) {
        dialogs_.errors.clear();
        dialogs_.answers.enqueue(dir_->filePath(QLatin1String(name)));
        child<QAction>(QStringLiteral("mnuOptionModelInfo"))->trigger();
        QCOMPARE(dialogs_.errors.size(), 1);
        QCOMPARE(readAll(dir_->filePath(QStringLiteral("ModelInfo.ini"))), previous);
    }
    QVERIFY(dialogs_.errors.first().startsWith(QStringLiteral("Err : 53\r\n")));
    QCOMPARE(text(1), QStringLiteral("111"));
    type(1, QStringLiteral("120"));
    QCOMPARE(text(2), QStringLiteral("96"));
}

void TestMainWindow::diagramPixels() {
    const QImage iso = image("picDraw1");
    const auto &g = *window_->calculator().isometric();
    QCOMPARE(iso.size(), QSize(453, 241));
    QCOMPARE(iso.pixelColor(g.s.x, g.s.y), QColor(0, 128, 255));
    QCOMPARE(iso.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(iso.pixelColor(450, 238), QColor(Qt::white));
    int red = 0;
    for (double t = 0.5; t < 0.95; t += 0.01) {
        const int x = qRound(g.lens.x + t * (g.tl.x - g.lens.x));
        const int y = qRound(g.lens.y + t * (g.tl.y - g.lens.y));
        red += iso.pixelColor(x, y) == QColor(200, 0, 0);
    }
    QVERIFY(red > 10);
    const QImage &projector = app::Pictures::projector();
    QCOMPARE(iso.pixelColor(g.projector.x + 10, g.projector.y + 25), projector.pixelColor(10, 25));

    // The rays end where the outline starts: the corners stay navy.
    for (const PointI &corner : {g.tl, g.tr, g.br, g.bl})
        QCOMPARE(iso.pixelColor(corner.x, corner.y), QColor(0, 0, 128));

    const QImage side = image("picDraw2");
    const auto &s = *window_->calculator().sideView();
    QCOMPARE(QList<int>({s.x, s.a, s.t, s.b, s.e}), QList<int>({340, 86, 20, 93, 93}));
    QCOMPARE(side.pixelColor(200, 5), QColor(Qt::white));
    // The screen, two pixels wide, is painted over only by the two ticks.
    for (int y = 5; y < s.yb; ++y)
        for (int x : {s.x, s.x + 1})
            QCOMPARE(side.pixelColor(x, y),
                     y == s.a || y == s.e ? QColor(Qt::black) : QColor(0, 128, 255));
    QCOMPARE(side.pixelColor(s.x - 1, 4), QColor(Qt::white));
    // Each tick is 15 pixels long.
    for (int y : {s.a, s.e}) {
        QCOMPARE(side.pixelColor(s.x + 14, y), QColor(Qt::black));
        QCOMPARE(side.pixelColor(s.x + 15, y), QColor(Qt::white));
    }
    // The rays run into the screen at their own rows: the lower one meets its tick.
    QCOMPARE(side.pixelColor(s.x - 1, s.b), QColor(200, 0, 0));
    QCOMPARE(side.pixelColor(s.x - 1, s.t), QColor(200, 0, 0));
    // The lens axis: dash, dot, dot from the lens.
    const QColor axis(0, 0, 255);
    for (int x = 80; x < 80 + 48; ++x) {
        const int p = (x - 80) % 24;
        const bool on = p < 9 || (p >= 12 && p < 15) || (p >= 18 && p < 21);
        QVERIFY2((side.pixelColor(x, s.a) == axis) == on, qPrintable(QString::number(x)));
    }
}

void TestMainWindow::diagramsShowTheShippedPictures_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("sidePicture");
    QTest::newRow("bottom of screen") << "optPosition_1"
                                      << "projector_side_up.png";
    QTest::newRow("top of screen: hung upside down") << "optPosition_0"
                                                     << "projector_side_down.png";
}

// The pictures are decoded at build time; what the boxes show must be the
// shipped PNG files, read here by Qt's own decoder, laid on the white box.
void TestMainWindow::diagramsShowTheShippedPictures() {
    QFETCH(QString, position);
    QFETCH(QString, sidePicture);
    click(option(qPrintable(position)));
    const auto onWhite = [](const QString &file) {
        const QImage picture(QStringLiteral(VISTREL_DATA_DIR "/pictures/") + file);
        QImage laid(picture.size(), QImage::Format_RGB32);
        laid.fill(Qt::white);
        QPainter(&laid).drawImage(0, 0, picture);
        return laid;
    };
    const QImage side = onWhite(sidePicture);
    QVERIFY(!side.isNull());
    const auto &s = *window_->calculator().sideView();
    QCOMPARE(image("picDraw2").copy(QRect(QPoint(s.projector.x, s.projector.y), side.size())),
             side);
    // The isometric projector covers the screen behind it, and the rays start
    // at its lens: where the picture is opaque, it shows, or a ray crosses it.
    const auto &g = *window_->calculator().isometric();
    const QImage picture(QStringLiteral(VISTREL_DATA_DIR "/pictures/projector.png"));
    const QImage projector = onWhite(QStringLiteral("projector.png"));
    const QImage drawn =
        image("picDraw1").copy(QRect(QPoint(g.projector.x, g.projector.y), projector.size()));
    const QRect box = image("picDraw1").rect();
    int opaque = 0;
    int crossed = 0;
    for (int y = 0; y < projector.height(); ++y)
        for (int x = 0; x < projector.width(); ++x) {
            // Parts of the picture may lie outside the box.
            if (qAlpha(picture.pixel(x, y)) != 255 ||
                !box.contains(g.projector.x + x, g.projector.y + y))
                continue;
            ++opaque;
            if (drawn.pixel(x, y) != projector.pixel(x, y)) {
                QCOMPARE(drawn.pixelColor(x, y), QColor(200, 0, 0));
                ++crossed;
            }
        }
    QVERIFY(opaque > 0);
    QVERIFY2(crossed < opaque / 10,
             qPrintable(QStringLiteral("%1 of %2").arg(crossed).arg(opaque)));
}

// A box keeps its image and erases only what the drawing before set: after
// screens of every size and shape, and both positions, what it holds is
// what a fresh drawing would be.
void TestMainWindow::redrawnDiagramsEqualFreshOnes() {
    type(1, QStringLiteral("30"));
    type(1, QStringLiteral("200"));
    click(option("optAspect_2"));
    type(0, QStringLiteral("150"));
    click(option("optPosition_0"));
    chooseModel(1);
    type(2, QStringLiteral("100"));
    QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u'|')));
    const QImage iso = image("picDraw1");
    QCOMPARE(iso, freshDrawing(iso, *window_->calculator().isometric(), &app::paintIsometric));
    const QImage side = image("picDraw2");
    QCOMPARE(side, freshDrawing(side, *window_->calculator().sideView(), &app::paintSideView));
}

// An entry repaints the pixels that changed, not the whole box; the side
// view, the same for every screen size, is not drawn again.
void TestMainWindow::anEntryRepaintsOnlyWhatChanged() {
    auto *box1 = child<app::DrawBox>(QStringLiteral("picDraw1"));
    auto *box2 = child<app::DrawBox>(QStringLiteral("picDraw2"));
    type(1, QStringLiteral("200"));
    QCoreApplication::processEvents();
    const QImage before = box1->image();
    const qint64 side = box2->image().cacheKey();
    PaintedRegion painted1(box1), painted2(box2);
    type(1, QStringLiteral("210"));
    QCoreApplication::processEvents();
    const QImage after = box1->image();

    // In pixels of the box: on a high-density screen, those of two by two image pixels.
    const int scale = qRound(after.devicePixelRatio());
    QRegion changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                changed += QRect(x / scale, y / scale, 1, 1);
    QVERIFY(!changed.isEmpty());
    // Under a label that fills its background the box is never seen.
    for (const QWidget *w : box1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && w->autoFillBackground())
            changed -= w->geometry();
    QCOMPARE(changed.subtracted(painted1.region), QRegion());
    QVERIFY2(areaOf(painted1.region) < 453 * 241 / 2,
             qPrintable(QString::number(areaOf(painted1.region))));

    QCOMPARE(box2->image().cacheKey(), side);
    QRegion fields;
    for (const char *name : {"txtOffset_0", "txtOffset_1"})
        if (auto *w = child<QWidget>(QLatin1String(name)); w->isVisible())
            fields += w->geometry();
    QCOMPARE(painted2.region.subtracted(fields), QRegion());
}

// Run by CTest a second time with QT_SCALE_FACTOR=2: the layout stays, the
// diagrams hold every device pixel and a one-pixel line is two device
// pixels of pure colour.
void TestMainWindow::highDensityDiagrams() {
    if (window_->devicePixelRatioF() != 2.0) {
        QVERIFY(!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"));
        QSKIP("runs with QT_SCALE_FACTOR=2");
    }
    QCOMPARE(window_->centralWidget()->size(), QSize(594, 389));
    QCOMPARE(child<QWidget>(QStringLiteral("picDraw1"))->size(), QSize(453, 241));
    const QImage iso = image("picDraw1");
    const QImage side = image("picDraw2");
    QCOMPARE(iso.size(), QSize(906, 482));
    QCOMPARE(side.size(), QSize(906, 226));
    QCOMPARE(iso.devicePixelRatio(), 2.0);

    const QList<QColor> kit{Qt::white,         QColor(200, 0, 0),   QColor(0, 0, 128),
                            QColor(0, 0, 255), QColor(0, 128, 255), Qt::black};
    const auto &s = *window_->calculator().sideView();
    // Down a column crossing the ray to the upper edge: two red device pixels, nothing blended.
    const int x = 2 * 200;
    int red = 0;
    for (int y = 0; y < side.height(); ++y) {
        const QColor c = side.pixelColor(x, y);
        QVERIFY2(kit.contains(c), qPrintable(c.name()));
        red += c == QColor(200, 0, 0);
    }
    QCOMPARE(red, 4); // two rays, two device pixels each
    // The lens axis: its first dash fills two device rows, the rows beside it stay white.
    for (int dx = 0; dx < 18; ++dx) {
        QCOMPARE(side.pixelColor(2 * 80 + dx, 2 * s.a), QColor(0, 0, 255));
        QCOMPARE(side.pixelColor(2 * 80 + dx, 2 * s.a + 1), QColor(0, 0, 255));
    }
    QCOMPARE(iso.pixelColor(2 * 2, 2 * 2), QColor(Qt::white));
}

void TestMainWindow::fieldPlacements() {
    const auto &g = *window_->calculator().isometric();
    QCOMPARE(field(0)->x(), std::max(g.c.x, g.lens.x) + 30);
    QCOMPARE(field(0)->y(), 241 - 19 - 5);
    QVERIFY(field(2)->x() >= (453 - 37) / 2);
    for (int i = 0; i < 4; ++i) {
        auto *label = child<QLabel>(QStringLiteral("lblValue_%1").arg(i));
        QCOMPARE(label->x(), field(i)->x());
        QCOMPARE(label->y() + label->height(), field(i)->y());
    }
    auto *first = child<QLineEdit>(QStringLiteral("txtOffset_0"));
    auto *second = child<QLineEdit>(QStringLiteral("txtOffset_1"));
    QCOMPARE(first->pos(), QPoint(360, 88));
    QCOMPARE(second->x(), 415);
    QCOMPARE(child<QLabel>(QStringLiteral("imgKara"))->x(), 388);
    QVERIFY(!second->isVisible());
    chooseModel(1); // two offsets, near edge mirrored
    QVERIFY(second->isVisible());
    QCOMPARE(first->pos(), QPoint(360, 81));
    click(option("optPosition_0"));
    QCOMPARE(first->pos(), QPoint(360, 29));
}

void TestMainWindow::missingLanguageKeyStopsTheStart() {
    QByteArray language = readAll(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
    language.replace("LBL3=inches", "LBL3=zoll");
    language.replace("LBL5=centimeters", "LBL5=   ");
    language.replace("FontSize=8", "FontSize=9.5");
    write(QStringLiteral("Language.ini"), language);
    window_.reset();
    dialogs_ = ScriptedDialogs();
    QCOMPARE(startWindow(), MainWindow::StartResult::LanguageError);
    QCOMPARE(dialogs_.messages, QStringList{QStringLiteral("LANGUAGE.INI ERRER !!!! ")});
    QCOMPARE(option("optUnits_0")->text(), QStringLiteral("zoll"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblModel"))->font().pointSizeF(), 10.0);
    QCOMPARE(option("optUnits_2")->text(), QStringLiteral("centimeters"));
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraWIDE"))->title(), QStringLiteral("WIDE / TELE"));
}

// Captions, messages, model and file names are text, never markup; only
// the value labels turn "<BR>" into a line break.
void TestMainWindow::textsAreShownAsTheyAre() {
    QByteArray language = readAll(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
    language.replace("Caption=Vistrel Projection Distance Calculator",
                     "Caption=<b>Calc</b> &amp; [*]");
    language.replace("LBL1=Model", "LBL1=Mo<BR>del");
    language.replace("LBL2=Units", "LBL2=<i>Units</i>");
    language.replace("LBL13=Projection Distance", "LBL13=Throw<BR>Dist <br> &amp;");
    language.replace("LBL14=Screen Size Diagonal", "LBL14=<img src=\"x.png\">Diag");
    language.replace("LBL19=Printer", "LBL19=<u>Printer</u>");
    write(QStringLiteral("Language.ini"), language);
    write(
        QStringLiteral("ModelInfo.ini"),
        "h\r\n<b>Bold</b> &lt;,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n");
    window_.reset();
    QCOMPARE(startWindow(), MainWindow::StartResult::Ready);
    window_->show();

    for (QLabel *label : window_->findChildren<QLabel *>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(child<QLabel>(QStringLiteral("lblModel"))->text(), QStringLiteral("Mo<BR>del"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblValue_0"))->text(),
             QStringLiteral("Throw\nDist <br> &amp;"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblValue_1"))->text(),
             QStringLiteral("<img src=\"x.png\">Diag"));
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraUnits"))->title(), QStringLiteral("<i>Units</i>"));
    QCOMPARE(child<QComboBox>(QStringLiteral("cboModel"))->currentText(),
             QStringLiteral("<b>Bold</b> &lt;"));
    QCOMPARE(window_->windowHandle()->title(), QStringLiteral("<b>Calc</b> &amp; [*]"));

    // A file name with markup in the caption, as it is.
    const QString file = dir_->filePath(QStringLiteral("<i>room<b> &amp; [*].cf"));
    dialogs_.answers.enqueue(file);
    child<QAction>(QStringLiteral("mnuFileSaveAs"))->trigger();
    QCOMPARE(window_->windowHandle()->title(),
             QStringLiteral("<b>Calc</b> &amp; [*] [<i>room<b> &amp; [*]]"));

    app::PrintDialog printer(*window_, dialogs_, window_->texts());
    for (QLabel *label : printer.findChildren<QLabel *>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(printer.findChild<QLabel *>(QStringLiteral("lblPrint"))->text(),
             QStringLiteral("<u>Printer</u>"));
    app::AboutDialog about(window_->texts());
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblTitle"))->textFormat(), Qt::PlainText);
}

// A screen reader names each control by its caption, not by its kind, and
// reads the drawings' numbers as they change.
void TestMainWindow::screenReadersHearCaptions() {
    auto said = [](QObject *widget, QAccessible::Text text = QAccessible::Name) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
        return a ? a->text(text) : QString();
    };
    const QStringList fields{"Projection Distance", "Screen Size Diagonal", "Width", "Height"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(said(field(i)), fields[i]);
    // A list is named by the label it is linked to (here the name is its current entry).
    QAccessibleInterface *models =
        QAccessible::queryAccessibleInterface(child<QComboBox>(QStringLiteral("cboModel")));
    const auto labels = models->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Model"));
    QCOMPARE(said(child<QLineEdit>(QStringLiteral("txtOffset_0"))), QStringLiteral("Offset 1"));
    for (const auto &[name, caption] : std::initializer_list<std::pair<const char *, const char *>>{
             {"optUnits_1", "Feet"},
             {"optWIDE_1", "TELE"},
             {"optPosition_0", "Top of Screen"},
             {"optAspect_2", "16 : 9"}})
        QCOMPARE(said(option(name)), QLatin1String(caption));
    QCOMPARE(said(child<QWidget>(QStringLiteral("picDraw1"))),
             QStringLiteral("Installation drawing"));

    QWidget *drawing = child<QWidget>(QStringLiteral("picDraw1"));
    QCOMPARE(said(drawing, QAccessible::Description),
             QStringLiteral("Projection Distance: 482 inches, Screen Size Diagonal: 300 inches, "
                            "Width: 240 inches, Height: 180 inches"));
    click(option("optUnits_2"));
    type(1, QStringLiteral("254"));
    QVERIFY(said(drawing, QAccessible::Description)
                .contains(QStringLiteral("Screen Size Diagonal: 254 centimeters")));
    click(option("optUnits_1")); // the unit alone redraws nothing, but the numbers change
    QVERIFY(said(drawing, QAccessible::Description)
                .contains(QStringLiteral("Screen Size Diagonal: 9 Feet")));
    click(option("optUnits_2"));
    click(option("optPosition_0"));
    QCOMPARE(said(child<QWidget>(QStringLiteral("picDraw2")), QAccessible::Description),
             QStringLiteral("Position: Top of Screen, Offset: 16 centimeters"));
}

void TestMainWindow::keyboardReachesEveryControl() {
    QSet<QWidget *> reached;
    QWidget *start = child<QComboBox>(QStringLiteral("cboModel"));
    start->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 40; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (int i = 0; i < 4; ++i) {
        QVERIFY(reached.contains(field(i)));
        // Enter and Tab confirm; the Enter buttons are for the mouse.
        QVERIFY(!reached.contains(child<QToolButton>(QStringLiteral("cmdEnter_%1").arg(i))));
    }
    // Tab enters each option frame; the arrow keys move within it.
    for (const char *frame : {"fraUnits", "fraWIDE", "fraPosition", "fraAspect"}) {
        const auto *box = child<QGroupBox>(QLatin1String(frame));
        QVERIFY2(std::any_of(reached.begin(), reached.end(),
                             [box](QWidget *w) { return w && w->parentWidget() == box; }),
                 frame);
    }
    for (QAction *a : window_->menuBar()->actions())
        QVERIFY(a->text().contains(u'&'));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
