#include "app/plannerwindow.h"
#include "app/roomdrawingview.h"
#include "fsentries.h"
#include "print/roompainter.h"
#include "session/lighttext.h"
#include "session/roomtext.h"
#include "testcatalogues.h"
#include "windowdriver.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;
using vistrel::app::MainWindow;

Q_DECLARE_METATYPE(vistrel::RoomInput)
Q_DECLARE_METATYPE(vistrel::LightInput)

namespace {

// The worked example's lens and light, the same lens without the
// planner's fields, and the room's worked example (offsets 0.05 and 0.45 at WIDE).
const QByteArray kCatalogue =
    "Model,numbers\r\n" + kWorkedExampleLine +
    "Older,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n"
    "Aster 2000,40,300,40,300,1.0417,0.4,0.8013,0.3,0.05,0.05,0.45,0.45,1,0,48,300,48,300,4000,"
    "0.8,1920,1080,3000\r\n";

// A small RFC 4180 reader: fields separated by commas, records by CR LF,
// quoted fields with doubled quotation marks.
QList<QStringList> readCsv(const QString &text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            record << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

// Row 0 and the last row of the Example's chart, 4 : 3 at WIDE in inches:
// diagonal, width, height, distance at WIDE and TELE, offsets.
const QStringList kFirstRow{"30", "24", "18", "47", "58", "1.8", ""};
const QStringList kLastRow{"300", "240", "180", "482", "", "18.0", ""};

} // namespace

class TestPlannerWindow : public QObject, WindowDriver {
    Q_OBJECT

    static bool wholeOnItsScreen(const QWidget *window) {
        return window->screen()->availableGeometry().contains(window->frameGeometry());
    }
    // Option > Installation planner, from the keyboard.
    app::PlannerWindow *openPlanner() {
        QTest::keyClick(window_.get(), Qt::Key_O, Qt::AltModifier);
        QWidget *menu = QApplication::activePopupWidget();
        if (!menu)
            return nullptr;
        QTest::keyClick(menu, Qt::Key_I);
        auto *planner = child<app::PlannerWindow>(u"frmPlanner"_s);
        if (!planner ||
            !QTest::qWaitFor([planner] { return QApplication::activeWindow() == planner; }))
            return nullptr;
        return planner;
    }
    // The user turns to a window: it takes the keyboard.
    bool use(QWidget *window) {
        window->activateWindow();
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    // The planner follows the calculator in the next turn of the event loop:
    // what it shows is looked at after that turn.
    template <typename T> T *in(QWidget *parent, const QString &name) const {
        QCoreApplication::processEvents();
        return childOf<T>(parent, name);
    }
    // What the user types into: an input's field, or the lens list's.
    QLineEdit *inputField(QWidget *planner, const QString &name) const {
        QWidget *input = in<QWidget>(planner, name);
        auto *list = qobject_cast<QComboBox *>(input);
        return list ? list->lineEdit() : qobject_cast<QLineEdit *>(input);
    }
    QString value(QWidget *planner, PlannerRow row) const {
        return in<QLabel>(planner, u"valPlan_%1"_s.arg(codeOf(row)))->text();
    }
    QStringList chartRow(QWidget *planner, int row) const {
        auto *table = in<QTableWidget>(planner, u"tblChart"_s);
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(row, c)->text();
        return cells;
    }

    // Aster 2000 showing a 120-inch 16 : 9 picture at WIDE, "Top of Screen",
    // and the planner turned to its room with Ctrl+Tab.
    QWidget *openRoom() {
        chooseModel(2);
        click(option("optPosition_0"));
        click(option("optAspect_2"));
        type(1, u"120"_s);
        dialogs_.messages.clear(); // the other models' screens do not all fit 16 : 9
        QWidget *planner = openPlanner();
        if (!planner)
            return nullptr;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        return in<QWidget>(planner, u"pageRoom"_s)->isVisible() ? planner : nullptr;
    }
    QLineEdit *roomField(QWidget *planner, RoomInput input) const {
        return in<QLineEdit>(planner, u"txtRoom_%1"_s.arg(static_cast<int>(input)));
    }
    // The figure beside a caption of the room's lines.
    QString roomValue(QWidget *planner, OptionalKey caption) const {
        const QString wanted = withoutMnemonic(session_->texts().text(caption)).simplified();
        QCoreApplication::processEvents();
        for (int i = 0; auto *line = planner->findChild<QLabel *>(u"lblRoomLine_%1"_s.arg(i)); ++i)
            if (line->isVisible() && line->text() == wanted)
                return planner->findChild<QLabel *>(u"valRoom_%1"_s.arg(i))->text();
        return u"(no line %1)"_s.arg(wanted);
    }
    // The room of the worked examples: the screen's bottom edge 24 in above
    // the floor, a 108 in ceiling, the lens axis 6 in below the plate.
    void typeWorkedRoom(QWidget *planner) {
        type(roomField(planner, RoomInput::ScreenBottom), u"24"_s);
        type(roomField(planner, RoomInput::Ceiling), u"108"_s);
        type(roomField(planner, RoomInput::MountDepth), u"6"_s);
    }

    // Aster 2000 showing a 100-inch 16 : 9 picture at TELE, and the planner
    // turned to its light budget with Ctrl+Tab twice.
    QWidget *openLight() {
        chooseModel(2);
        click(option("optAspect_2"));
        click(option("optWIDE_1"));
        type(1, u"100"_s);
        dialogs_.messages.clear(); // the other models' screens do not all fit 16 : 9
        QWidget *planner = openPlanner();
        if (!planner)
            return nullptr;
        for (int page = 0; page < 2; ++page)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        return in<QWidget>(planner, u"pageLight"_s)->isVisible() ? planner : nullptr;
    }
    QLineEdit *lightField(QWidget *planner, LightInput input) const {
        return in<QLineEdit>(planner, u"txtLight_%1"_s.arg(static_cast<int>(input)));
    }
    QStringList tableRow(QWidget *planner, const QString &table, int row) const {
        auto *shown = in<QTableWidget>(planner, table);
        QStringList cells;
        for (int c = 0; c < shown->columnCount(); ++c)
            cells << (shown->item(row, c) ? shown->item(row, c)->text() : u"(none)"_s);
        return cells;
    }

private slots:
    void init() {
        QFile::remove(config_.filePath(u"Vistrel/planner.ini"_s));
        QVERIFY(setUpWindow(kCatalogue));
    }
    void cleanup() { QCOMPARE(tearDown(), QString()); }

    // Every change in the calculator shows in the planner at once; a typed
    // value leaves the chart as it was.
    void followsTheCalculator() {
        auto *planner = openPlanner();
        QVERIFY(planner);
        QVERIFY(wholeOnItsScreen(planner));
        QCOMPARE(chartRow(planner, 0), kFirstRow);
        auto *table = in<QTableWidget>(planner, u"tblChart"_s);
        QCOMPARE(chartRow(planner, table->rowCount() - 1), kLastRow);

        QVERIFY(use(window_.get()));
        click(option("optAspect_2"));
        dialogs_.messages.clear(); // the largest 16 : 9 screen is smaller
        QTableWidgetItem *shown = in<QTableWidget>(planner, u"tblChart"_s)->item(0, 0);
        type(1, u"100"_s);
        QCOMPARE(value(planner, PlannerRow::RangeWide), u"130 inches"_s);
        QCOMPARE(value(planner, PlannerRow::OnScreen), u"67.4 fL / 230.9 nits"_s);
        QCOMPARE(value(planner, PlannerRow::Needed16fL), u"475"_s);
        QCOMPARE(value(planner, PlannerRow::Seat30), u"163 inches"_s);
        QCOMPARE(value(planner, PlannerRow::Seat36), u"134 inches"_s);
        QCOMPARE(value(planner, PlannerRow::Seat40), u"120 inches"_s);
        QCOMPARE(value(planner, PlannerRow::Acuity), u"156 inches"_s);
        QCOMPARE(value(planner, PlannerRow::Contrast), u"2000 : 1"_s);
        QCOMPARE(table->item(0, 0), shown);
        // The row of the screen in the fields is the one in bold: 30, 40, ... 100.
        const auto bold = [table](int row) { return table->item(row, 0)->font().bold(); };
        QCOMPARE(table->item(7, 0)->text(), u"100"_s);
        QVERIFY(bold(7) && !bold(0) && !bold(9));
        type(1, u"121"_s);
        QTRY_VERIFY(bold(9) && !bold(7)); // 120 is nearest
        type(1, u"100"_s);
        QTRY_VERIFY(bold(7) && !bold(9));

        click(option("optWIDE_1"));
        QCOMPARE(value(planner, PlannerRow::Lumens), u"1600"_s);
        QVERIFY(in<QLabel>(planner, u"lblChart"_s)->text().endsWith(u"16 : 9, TELE, inches"_s));
        QVERIFY(table->item(0, 0) != shown);
        QCOMPARE(chartRow(planner, 0)[4], table->item(0, 4)->text());
        QVERIFY(!table->item(0, 4)->text().isEmpty());

        click(option("optUnits_2"));
        QCOMPARE(value(planner, PlannerRow::Seat30), u"410 centimeters"_s);

        chooseModel(1);
        QCOMPARE(models()->currentText(), u"Older"_s);
        QCOMPARE(value(planner, PlannerRow::Lumens), u"unknown"_s);
        QCOMPARE(value(planner, PlannerRow::Acuity), u"unknown"_s);
        QVERIFY(in<QLabel>(planner, u"lblChart"_s)->text().contains(u"Older, "_s));

        // A calculation file opened: its model.
        const QString file = path(u"older.cf"_s);
        trigger("mnuFileSaveAs", file);
        chooseModel(0);
        // Another model starts at WIDE.
        QCOMPARE(value(planner, PlannerRow::Lumens), u"2000"_s);
        dialogs_.saveAnswers.enqueue(app::Dialogs::Unsaved::Discard); // the other model
        trigger("mnuFileOpen", file);
        QCOMPARE(value(planner, PlannerRow::Lumens), u"unknown"_s);
        QVERIFY(in<QLabel>(planner, u"lblChart"_s)->text().contains(u"Older, "_s));

        // A project file opened: its planner inputs, in the planner's fields.
        const QString project = path(u"gain.vistrel"_s);
        type(in<QLineEdit>(planner, u"txtGain"_s), u"1.3"_s);
        trigger("mnuFileSaveAs", project);
        type(in<QLineEdit>(planner, u"txtGain"_s), u"0.8"_s);
        dialogs_.saveAnswers.enqueue(app::Dialogs::Unsaved::Discard);
        trigger("mnuFileOpen", project);
        QCOMPARE(in<QLineEdit>(planner, u"txtGain"_s)->text(), u"1.3"_s);

        // Another catalogue: its first model at once.
        QVERIFY(
            write(u"other.ini"_s,
                  "h\r\nDelta,30,200,30,200,0.7,1,0.6,1,0.1,0.1,0,0,1,0,30,200,30,200,900\r\n"));
        trigger("mnuOptionModelInfo", path(u"other.ini"_s));
        QVERIFY(in<QLabel>(planner, u"lblChart"_s)->text().contains(u": Delta, 16 : 9"_s));
        QCOMPARE(value(planner, PlannerRow::Lumens), u"900"_s);
        QVERIFY2(dialogs_.messages.isEmpty() && dialogs_.errors.isEmpty(),
                 qPrintable((dialogs_.messages + dialogs_.errors).join(u" | ")));
    }

    void refusedInputsChangeNothing_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("kept"); // what the input shows again
        const QString gain = u"Screen gain: please type a number from 0.1 to 10."_s;
        const QString ambient = u"Ambient light (lux): please type a number from 0 to 100000."_s;
        const QString lens = u"Anamorphic lens: please type a number from 1 to 2."_s;
        QTest::newRow("gain 0") << u"txtGain"_s << u"0"_s << gain << u"1.3"_s;
        QTest::newRow("gain, text") << u"txtGain"_s << u"bright"_s << gain << u"1.3"_s;
        QTest::newRow("negative gain") << u"txtGain"_s << u"-1.2"_s << gain << u"1.3"_s;
        QTest::newRow("negative ambient") << u"txtAmbient"_s << u"-5"_s << ambient << u"50"_s;
        QTest::newRow("ambient, text") << u"txtAmbient"_s << u"dim"_s << ambient << u"50"_s;
        QTest::newRow("gain beyond 10") << u"txtGain"_s << u"25"_s << gain << u"1.3"_s;
        QTest::newRow("ambient beyond 100000")
            << u"txtAmbient"_s << u"250000"_s << ambient << u"50"_s;
        QTest::newRow("lens below 1") << u"cboAnamorphic"_s << u"0.8"_s << lens << u"1"_s;
        QTest::newRow("lens beyond 2") << u"cboAnamorphic"_s << u"2.5"_s << lens << u"1"_s;
        QTest::newRow("lens, text") << u"cboAnamorphic"_s << u"scope"_s << lens << u"1"_s;
    }
    void refusedInputsChangeNothing() {
        QFETCH(QString, input);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, kept);
        auto *planner = openPlanner();
        QVERIFY(planner);
        QVERIFY(use(window_.get()));
        click(option("optAspect_2"));
        dialogs_.messages.clear(); // the largest 16 : 9 screen is smaller
        type(1, u"100"_s);
        QVERIFY(use(planner));
        auto *gain = in<QLineEdit>(planner, u"txtGain"_s);
        type(gain, u"1.3"_s);
        type(in<QLineEdit>(planner, u"txtAmbient"_s), u"50"_s);
        QCOMPARE(value(planner, PlannerRow::OnScreen), u"87.6 fL / 300.2 nits"_s);
        const QString contrast = value(planner, PlannerRow::Contrast);
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u" | ")));

        // Refused by Enter and by leaving the field alike.
        const QStringList shown = fieldTexts();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            dialogs_.messages.clear();
            QLineEdit *edit = inputField(planner, input);
            type(edit, typed, key);
            QCOMPARE(dialogs_.messages, QStringList{message});
            QCOMPARE(edit->text(), kept);
            QCOMPARE(session_->plannerSettings().gain, 1.3);
            QCOMPARE(session_->plannerSettings().ambientLux, 50.0);
            QCOMPARE(session_->state().anamorphic, 1.0);
            QCOMPARE(value(planner, PlannerRow::OnScreen), u"87.6 fL / 300.2 nits"_s);
            QCOMPARE(value(planner, PlannerRow::Contrast), contrast);
            QCOMPARE(fieldTexts(), shown);
        }
    }

    void anamorphicLensMovesTheProjector_data() {
        QTest::addColumn<int>("down"); // presses of the arrow key in the list, else
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Qt::Key>("key"); // confirms what is typed
        QTest::addColumn<double>("factor");
        QTest::newRow("picked") << 1 << QString() << Qt::Key_unknown << 1.25;
        QTest::newRow("typed, Return") << 0 << u"1.33"_s << Qt::Key_Return << 1.33;
        QTest::newRow("typed, Tab") << 0 << u"1.5"_s << Qt::Key_Tab << 1.5;
    }
    // A 2.39 picture on the Example's 16 : 9 panel: a lens that widens the
    // panel's image leaves the screen as it is and brings the projector nearer.
    void anamorphicLensMovesTheProjector() {
        QFETCH(int, down);
        QFETCH(QString, typed);
        QFETCH(Qt::Key, key);
        QFETCH(double, factor);
        type(1, u"100"_s); // a 2.39 picture of the largest 4 : 3 screen's width is too large
        QVERIFY(session_->select(PictureFormat{2.39, 1}));
        type(2, u"200"_s);
        const QStringList shown = fieldTexts();
        auto *planner = openPlanner();
        QVERIFY(planner);
        const QString ratio = value(planner, PlannerRow::RatioWide);
        QTest::keyClick(planner, Qt::Key_N, Qt::AltModifier);
        auto *lens = in<QComboBox>(planner, u"cboAnamorphic"_s);
        QCOMPARE(QApplication::focusWidget(), lens);
        for (int i = 0; i < down; ++i)
            QTest::keyClick(lens, Qt::Key_Down);
        if (!typed.isEmpty())
            type(lens->lineEdit(), typed, key);
        const QString factorText = typed.isEmpty() ? lens->itemText(down) : typed;
        QCOMPARE(session_->state().anamorphic, factor);
        QCOMPARE(lens->currentText(), factorText);
        QCOMPARE(fieldTexts().mid(1), shown.mid(1));
        QVERIFY2(text(0).toDouble() < shown[0].toDouble(), qPrintable(text(0)));
        QVERIFY(value(planner, PlannerRow::RatioWide) != ratio);

        // Without the lens, the projector where it was.
        type(lens->lineEdit(), u"1"_s);
        QCOMPARE(fieldTexts(), shown);
        QCOMPARE(value(planner, PlannerRow::RatioWide), ratio);
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u'|')));
        // A factor the session takes from elsewhere shows too.
        QVERIFY(session_->selectAnamorphic(factor));
        QCOMPARE(in<QComboBox>(planner, u"cboAnamorphic"_s)->currentText(), factorText);
    }

    void copyPutsTabSeparatedRows() {
        auto *planner = openPlanner();
        QVERIFY(planner);
        QApplication::clipboard()->clear();
        click(in<QPushButton>(planner, u"cmdCopy"_s));
        const QStringList lines = QApplication::clipboard()->text().split(u"\r\n"_s);
        QVERIFY2(lines.size() > 2, qPrintable(QApplication::clipboard()->text()));
        QCOMPARE(lines[0], u"Screen Size Diagonal\tWidth\tHeight\tProjection Distance WIDE\t"
                           "Projection Distance TELE\tOffset 1\tOffset 2"_s);
        QCOMPARE(lines.size(), 28 + 2);
        QCOMPARE(lines[1].split(u'\t'), kFirstRow);
        QCOMPARE(lines[lines.size() - 2].split(u'\t'), kLastRow);

        // And from the keyboard: Alt and the button's underlined letter.
        QApplication::clipboard()->clear();
        QTest::keyClick(planner, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!QApplication::clipboard()->text().isEmpty()); // a button's click is animated
        QCOMPARE(QApplication::clipboard()->text().split(u"\r\n"_s).value(1).split(u'\t'),
                 kFirstRow);
    }

    // Pasted into a spreadsheet of the user's language: its decimal point.
    void copyWritesTheUsersDecimalPoint() {
        QVERIFY(openWindow(u','));
        auto *planner = openPlanner();
        QVERIFY(planner);
        QApplication::clipboard()->clear();
        click(in<QPushButton>(planner, u"cmdCopy"_s));
        QCOMPARE(QApplication::clipboard()->text().split(u"\r\n"_s).value(1),
                 u"30\t24\t18\t47\t58\t1,8\t"_s);
    }

    // Where the desktop writes a decimal comma, the calculator's fields read
    // one: 100,5 is 100.5 inches, rounded up to 101 as any typed value.
    void theFieldsReadTheUsersDecimalPoint() {
        QVERIFY(openWindow(u','));
        type(1, u"100,5"_s);
        QCOMPARE(field(1)->text(), u"101"_s);
        QCOMPARE(session_->state().screenDiagonal, 101.0);
        QCOMPARE(dialogs_.messages, QStringList());
    }

    void exportCsvParsesBack() {
        auto *planner = openPlanner();
        QVERIFY(planner);
        const QString chart = path(u"chart.csv"_s);
        // A chart exported before, still open in another program.
        QVERIFY(writeFile(chart, "the previous chart\r\n"));
        QFile previous(chart);
        QVERIFY(previous.open(QIODevice::ReadOnly));
        dialogs_.answers.enqueue(chart);
        click(in<QPushButton>(planner, u"cmdExportCsv"_s));
        QCOMPARE(dialogs_.asked, QStringList{u"save CSV (*.csv) .csv"_s});
        // Replaced whole, not rewritten in place: the reader keeps what it had.
        QCOMPARE(previous.readAll(), QByteArray("the previous chart\r\n"));
        const QList<QStringList> records = readCsv(QString::fromUtf8(readAll(chart)));
        QCOMPARE(records.size(), 28 + 1);
        // The header names the unit of every column.
        QCOMPARE(records[0],
                 (QStringList{"diagonal (in)", "width (in)", "height (in)", "distanceWide (in)",
                              "distanceTele (in)", "offset1 (in)", "offset2 (in)"}));
        QCOMPARE(records[1], kFirstRow);
        QCOMPARE(records[14], (QStringList{"160", "128", "96", "257", "318", "9.6", ""}));
        QCOMPARE(records.last(), kLastRow);

        // A folder that is not there: the common error box, no file.
        const QString nowhere = path(u"missing/chart.csv"_s);
        dialogs_.answers.enqueue(nowhere);
        click(in<QPushButton>(planner, u"cmdExportCsv"_s));
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY2(dialogs_.errors.first().startsWith(u"Err : "_s), qPrintable(dialogs_.errors[0]));
        QVERIFY(!QFile::exists(nowhere));
        // Cancelled: nothing written, nothing said.
        dialogs_.answers.enqueue(QString());
        click(in<QPushButton>(planner, u"cmdExportCsv"_s));
        QCOMPARE(dialogs_.errors.size(), 1);
    }

    void remembersInputsAndPlace() {
        auto *planner = openPlanner();
        QVERIFY(planner);
        type(in<QLineEdit>(planner, u"txtGain"_s), u"1.3"_s);
        type(in<QLineEdit>(planner, u"txtAmbient"_s), u"50"_s);
        planner->move(40, 30);
        const QPoint place = planner->pos();
        planner->close();
        QVERIFY(QFile::exists(config_.filePath(u"Vistrel/planner.ini"_s)));

        QVERIFY(openWindow());
        // Taken at the start: part of the calculation as it started, not a change.
        QCOMPARE(session_->plannerSettings().gain, 1.3);
        planner = openPlanner();
        QVERIFY(!session_->modified());
        QVERIFY(planner);
        QCOMPARE(in<QLineEdit>(planner, u"txtGain"_s)->text(), u"1.3"_s);
        QCOMPARE(in<QLineEdit>(planner, u"txtAmbient"_s)->text(), u"50"_s);
        QCOMPARE(session_->plannerSettings().ambientLux, 50.0);
        QCOMPARE(planner->pos(), place);

        // A place on no screen (a monitor since unplugged) is dropped; the
        // window shrinks to a small size, the rest scrolls.
        planner->move(planner->screen()->geometry().bottomRight() + QPoint(4000, 3000));
        planner->close();
        QVERIFY(openWindow());
        planner = openPlanner();
        QVERIFY(planner);
        QVERIFY(wholeOnItsScreen(planner));
        planner->resize(250, 170);
        QCOMPARE(planner->size(), QSize(250, 170));

        // A file edited by hand to hold nonsense: the defaults.
        window_.reset();
        QFile file(config_.filePath(u"Vistrel/planner.ini"_s));
        QVERIFY(writeFile(file.fileName(), "[planner]\ngain=-3\nambient=50\n"));
        QVERIFY(openWindow());
        planner = openPlanner();
        QVERIFY(planner);
        QCOMPARE(in<QLineEdit>(planner, u"txtGain"_s)->text(), u"1"_s);
        QCOMPARE(in<QLineEdit>(planner, u"txtAmbient"_s)->text(), u"0"_s);

        // A link in its place is replaced by the program's own file, and
        // what it pointed to stays as it was.
        planner->close();
        QVERIFY(QFile::remove(file.fileName()));
        const QString elsewhere = config_.filePath(u"elsewhere.txt"_s);
        QVERIFY(writeFile(elsewhere, "not the planner's\n"));
        QVERIFY(QFile::link(elsewhere, file.fileName()));
        QVERIFY(use(window_.get()));
        planner = openPlanner();
        QVERIFY(planner);
        planner->close();
        QCOMPARE(describeEntry(elsewhere), u"file: not the planner's\n"_s);
        QVERIFY(describeEntry(file.fileName()).startsWith(u"file: [planner]"_s));
    }

    // Inputs that cannot be kept (a file where the folder belongs) are said
    // once, not each time the window closes.
    void inputsThatCannotBeKeptAreSaidOnce() {
        QDir(config_.filePath(u"Vistrel"_s)).removeRecursively();
        QFile blocker(config_.filePath(u"Vistrel"_s));
        QVERIFY(writeFile(blocker.fileName(), {}));
        for (int round = 0; round < 2; ++round) {
            QVERIFY(use(window_.get()));
            auto *planner = openPlanner();
            QVERIFY(planner);
            planner->close();
        }
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY2(dialogs_.errors[0].startsWith(u"Err : 76"_s), qPrintable(dialogs_.errors[0]));
        QVERIFY(QFile::remove(blocker.fileName()));
    }

    // Tab walks the inputs, the chart and the buttons, and leaves the table
    // instead of walking its cells; the captions' letters reach the inputs.
    void keyboardReachesEveryControl() {
        auto *planner = openPlanner();
        QVERIFY(planner);
        auto *gain = in<QLineEdit>(planner, u"txtGain"_s);
        gain->setFocus(Qt::TabFocusReason);
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"txtGain", "txtAmbient", "cboAnamorphic", "tblChart",
                                     "cmdCopy", "cmdExportCsv", "txtGain"}));
        QTest::keyClick(planner, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"txtAmbient"_s);
        QTest::keyClick(planner, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"cboAnamorphic"_s);
        QTest::keyClick(planner, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"txtGain"_s);
        QCOMPARE(dialogs_.messages, QStringList());

        // Escape closes it from any control; the menu brings it back.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!planner->isVisible());
        QVERIFY(use(window_.get()));
        QCOMPARE(openPlanner(), planner);
        auto *table = in<QTableWidget>(planner, u"tblChart"_s);
        table->setFocus(Qt::TabFocusReason);
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!planner->isVisible());
        QVERIFY(window_->isVisible());
    }

    void escapeDropsWhatIsBeingTyped_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("gain") << u"txtGain"_s;
        QTest::newRow("anamorphic lens") << u"cboAnamorphic"_s;
    }
    // Escape drops a value being typed, whether the input would take it or not.
    void escapeDropsWhatIsBeingTyped() {
        QFETCH(QString, input);
        auto *planner = openPlanner();
        QVERIFY(planner);
        QLineEdit *edit = inputField(planner, input);
        const QString shown = edit->text();
        const auto inputs = [this] {
            return QList<double>{session_->plannerSettings().gain,
                                 session_->plannerSettings().ambientLux,
                                 session_->state().anamorphic};
        };
        const QList<double> before = inputs();
        for (const QString &typed : {u"abc"_s, u"1.3"_s}) {
            type(edit, typed, Qt::Key_Escape);
            QVERIFY(!planner->isVisible());
            QCOMPARE(dialogs_.messages, QStringList());
            QCOMPARE(inputs(), before);
            QVERIFY(use(window_.get()));
            QCOMPARE(openPlanner(), planner);
            QCOMPARE(edit->text(), shown);
        }
    }

    // 120 in of 16 : 9 is 104.59 x 58.83 in: its top edge at 24 + 58.83 =
    // 82.83 in, the lens axis 0.05 x 58.83 = 2.94 to 0.45 x 58.83 = 26.47 in
    // above it, 85.77 to 109.30 in. Under the 108 in ceiling the axis may
    // reach 108 - 6 = 102 in: a drop of 108 - (102 + 6) = 0 to 108 - (85.77 +
    // 6) = 16.23 in, 41.2 cm. A row at 143.68 in looks up atan((82.83 - 40) /
    // 143.68) = 16.6 degrees. Of rows at 144 and 192 in, row 2 sees the
    // bottom edge over row 1's heads (40 + 4 in) with its eyes at 24 + 20 x
    // 192 / 144 = 50.67 in: a riser of 10.7 in.
    void roomOfTheWorkedExample() {
        QWidget *planner = openRoom();
        QVERIFY(planner);
        auto *checks = in<QLabel>(planner, u"lblChecks"_s);
        QVERIFY(!checks->isVisible()); // no room yet, nothing to check
        typeWorkedRoom(planner);
        QCOMPARE(roomValue(planner, OptionalKey::CeilingDropLine), u"0.0 inches to 16.2 inches"_s);
        QCOMPARE(checks->text(), u"Every check passes."_s);
        QVERIFY(checks->isVisible());

        type(roomField(planner, RoomInput::Rows), u"143.68"_s);
        QCOMPARE(checks->text(), u"row 1 looks up 16.6\u00b0 to the top edge: lower the screen "
                                 "or move the row back"_s);
        QCOMPARE(checks->palette().color(QPalette::WindowText),
                 print::roomInkStyle(RoomInk::Failing).line);
        type(roomField(planner, RoomInput::Rows), u"192;144"_s);
        QCOMPARE(roomField(planner, RoomInput::Rows)->text(), u"144; 192"_s); // nearest first
        auto *seats = in<QTableWidget>(planner, u"tblSeats"_s);
        QCOMPARE(seats->rowCount(), 2);
        QCOMPARE(seats->item(1, 3)->text(), u"10.7 inches"_s);
        QCOMPARE(seats->item(0, 3)->text(), QString());
        // A bottom edge at 25 in: row 2's eyes at 25 + 19 x 192 / 144 = 50.33 in,
        // a riser of 10.3 in, the same width of text as before.
        type(roomField(planner, RoomInput::ScreenBottom), u"25"_s);
        QCOMPARE(seats->item(1, 3)->text(), u"10.3 inches"_s);
        type(roomField(planner, RoomInput::ScreenBottom), u"24"_s);

        // Typed into the title block as plain text, markup and all.
        type(in<QLineEdit>(planner, u"txtProject_0"_s), u"Hall <b>B</b> & Co"_s);
        QCOMPARE(session_->projectDetails().project, u"Hall <b>B</b> & Co"_s);

        // The screen's ink where its stroke runs along the wall, at half its
        // height, 24 + 58.83 / 2 in above the floor; paper far from any stroke.
        auto *elevation = in<app::RoomDrawingView>(planner, u"picElevation"_s);
        const QImage image = elevation->grab().toImage();
        const QPoint edge = print::roomTransform(elevation->drawing(), QRectF(elevation->rect()))
                                .map(QPointF(0, 24 + 58.83 / 2))
                                .toPoint();
        const QColor ink = print::roomInkStyle(RoomInk::Screen).line;
        int inked = 0;
        for (int dx = -2; dx <= 2; ++dx)
            inked += image.pixelColor(edge + QPoint(dx, 0)) == ink ? 1 : 0;
        QVERIFY2(inked > 0, qPrintable(image.pixelColor(edge).name()));
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));

        // Another unit: the inputs and figures in it at once.
        QVERIFY(use(window_.get()));
        click(option("optUnits_2"));
        QCOMPARE(roomField(planner, RoomInput::ScreenBottom)->text(), u"60.96"_s);
        QCOMPARE(roomValue(planner, OptionalKey::CeilingDropLine),
                 u"0.0 centimeters to 41.2 centimeters"_s);
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u" | ")));
    }

    void refusedRoomInputsChangeNothing_data() {
        QTest::addColumn<RoomInput>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative")
            << RoomInput::Ceiling << u"-5"_s
            << u"Ceiling height: please type a distance of 0 or more, or nothing."_s;
        QTest::newRow("text") << RoomInput::Rows << u"abc"_s
                              << u"Seat rows: distance@eyes; \u2026: please type each row's "
                                 "distance from the screen, with @ and its eye height where it "
                                 "differs, separated by ;"_s;
        QTest::newRow("ceiling below the screen")
            << RoomInput::Ceiling << u"20"_s
            << u"Invalid property value: the ceiling must be above the screen's bottom edge"_s;
    }
    void refusedRoomInputsChangeNothing() {
        QFETCH(RoomInput, input);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QWidget *planner = openRoom();
        QVERIFY(planner);
        typeWorkedRoom(planner);
        type(roomField(planner, RoomInput::Rows), u"143.68"_s);
        const RoomSettings room = session_->roomSettings();
        const QString shown = roomField(planner, input)->text();
        const QString checks = in<QLabel>(planner, u"lblChecks"_s)->text();
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u" | ")));

        type(roomField(planner, input), typed);
        QCOMPARE(dialogs_.messages, QStringList{message});
        QCOMPARE(roomField(planner, input)->text(), shown);
        QVERIFY(session_->roomSettings() == room);
        QCOMPARE(in<QLabel>(planner, u"lblChecks"_s)->text(), checks);
    }
    // Aster 2000 at TELE gives 4000 x 0.8 = 3200 lm; 100 in of 16 : 9 is
    // 87.158 x 49.026 in = 29.674 sq ft: 3200 / 29.674 = 107.8 fL new, x 0.5
    // = 53.9 fL (x 3.4262591 = 184.7 nits) at end of life. 108 nits need
    // 108 / 3.4262591 x 29.674 = 935.3 lm on the screen, 935.3 / 0.5 =
    // 1870.7 rated; the picture gives 184.7 / 108 = 1.7 x. 14 fL is
    // 14 x 3.4262591 = 48.0 nits.
    void lightOfTheWorkedExample() {
        QWidget *planner = openLight();
        QVERIFY(planner);
        QCOMPARE(value(planner, PlannerRow::OnScreen), u"107.8 fL / 369.5 nits"_s);
        type(lightField(planner, LightInput::Age), u"end"_s);
        QCOMPARE(value(planner, PlannerRow::OnScreen), u"53.9 fL / 184.7 nits"_s);
        QCOMPARE(session_->plannerSettings().lightAge, 0.5);
        const QStringList hdr = tableRow(planner, u"tblTargets"_s, 2);
        QCOMPARE(hdr.mid(1), (QStringList{u"935.3"_s, u"1870.7"_s, u"1.7 \u00d7"_s}));
        QVERIFY(in<QLabel>(planner, u"lblTasksNote"_s)->text().startsWith(u"Sequential"_s));

        // Typed as a factor, the age reads as its word.
        type(lightField(planner, LightInput::Age), u"0.75"_s);
        QCOMPARE(lightField(planner, LightInput::Age)->text(), u"mid"_s);
        QCOMPARE(value(planner, PlannerRow::OnScreen).left(7), u"80.9 fL"_s);

        auto *targets = in<QTableWidget>(planner, u"tblTargets"_s);
        QCOMPARE(targets->rowCount(), 4);
        type(lightField(planner, LightInput::Target), u"14 fL"_s);
        QCOMPARE(targets->rowCount(), 5);
        QCOMPARE(tableRow(planner, u"tblTargets"_s, 4).first(), u"Own target, 48.0 nits"_s);

        // A model without its light: the picture against each target is unknown.
        QVERIFY(use(window_.get()));
        chooseModel(1);
        QCOMPARE(tableRow(planner, u"tblTargets"_s, 2).last(), u"unknown"_s);
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u" | ")));
    }

    void refusedLightInputsChangeNothing_data() {
        QTest::addColumn<LightInput>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("age beyond 1")
            << LightInput::Age << u"1.5"_s
            << u"Light source: please type new, mid, end or a factor from 0.1 to 1."_s;
        QTest::newRow("target 0") << LightInput::Target << u"0"_s
                                  << u"Own target, nits or fL: please type nits above 0 (at most "
                                     "10000), fL followed by fL, or nothing."_s;
        QTest::newRow("edge-on half-gain")
            << LightInput::HalfGain << u"90"_s
            << u"Half-gain angle, degrees: please type an angle above 0 and below 90 degrees, "
               "or nothing."_s;
    }
    void refusedLightInputsChangeNothing() {
        QFETCH(LightInput, input);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QWidget *planner = openLight();
        QVERIFY(planner);
        type(lightField(planner, LightInput::Age), u"mid"_s);
        type(lightField(planner, LightInput::Target), u"100"_s);
        type(lightField(planner, LightInput::HalfGain), u"30"_s);
        const PlannerSettings settings = session_->plannerSettings();
        const QString shown = lightField(planner, input)->text();
        const QString onScreen = value(planner, PlannerRow::OnScreen);
        QVERIFY2(dialogs_.messages.isEmpty(), qPrintable(dialogs_.messages.join(u" | ")));

        type(lightField(planner, input), typed);
        QCOMPARE(dialogs_.messages, QStringList{message});
        QCOMPARE(lightField(planner, input)->text(), shown);
        QVERIFY(session_->plannerSettings() == settings);
        QCOMPARE(value(planner, PlannerRow::OnScreen), onScreen);
    }
};

QTEST_MAIN(TestPlannerWindow)
#include "tst_plannerwindow.moc"
