#include "app/aboutdialog.h"
#include "app/plannerwindow.h"
#include "app/printdialog.h"
#include "testcatalogues.h"
#include "windowdriver.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;
using vistrel::app::MainWindow;

// Fails with every entry of the list when it is not empty.
#define VERIFY_NONE(list)                                                                          \
    do {                                                                                           \
        const QStringList found = (list);                                                          \
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u"; ")));                                  \
    } while (false)

namespace {

QString describe(const QWidget *w, const QString &text, const QString &what) {
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className())
                             : w->objectName();
    return u"%1 \"%2\": %3"_s.arg(name, text, what);
}

QString rectText(const QRect &r) {
    return u"(%1, %2) %3 x %4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString tooSmall(const QSize &need, const QRect &room) {
    return u"needs %1 x %2 px, has %3 x %4"_s.arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height());
}

// The room a text needs: its advance width (mnemonics hidden), and from
// the top of the first line's ink to the bottom of the last line's, since a
// line box may overhang a tight label without clipping a glyph.
QSize needed(const QFontMetrics &fm, const QString &text) {
    const QStringList lines = text.split(u'\n');
    int ink = 0;
    for (const QString &line : lines)
        ink = std::max(ink, fm.tightBoundingRect(QString(line).remove(u'&')).height());
    return {fm.size(Qt::TextShowMnemonic, text).width(),
            int(lines.size() - 1) * fm.lineSpacing() + ink};
}

// Where the caption of `w` is drawn, in its own coordinates, and what it
// needs there; an empty text for widgets without a caption.
struct Caption {
    QString text;
    QRect room;
    QSize need;
};

Caption captionOf(QWidget *w) {
    const QFontMetrics fm(w->font());
    QStyle *style = w->style();
    if (auto *label = qobject_cast<QLabel *>(w)) {
        const QRect room = label->contentsRect();
        if (label->wordWrap()) // as many lines as its width makes of it
            return {label->text(),
                    room,
                    {room.width(), fm.boundingRect(QRect(0, 0, room.width(), 1 << 20),
                                                   Qt::TextWordWrap, label->text())
                                       .height()}};
        return {label->text(), room, needed(fm, label->text())};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool radio = qobject_cast<QRadioButton *>(button) != nullptr;
        const QRect room = style->subElementRect(radio ? QStyle::SE_RadioButtonContents
                                                       : QStyle::SE_PushButtonContents,
                                                 &option, button);
        return {button->text(), room, needed(fm, button->text())};
    }
    if (auto *box = qobject_cast<QGroupBox *>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        QRect room =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        room = room.intersected(box->rect()); // a title runs out of its frame unclipped
        return {box->title(), room, needed(fm, box->title())};
    }
    return {};
}

// Whether `w` lies in a scroll area within `top`: what is out of sight there scrolls into it.
bool scrolls(const QWidget *w, const QWidget *top) {
    for (const QWidget *a = w->parentWidget(); a && a != top; a = a->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(a))
            return true;
    return false;
}

// Every caption of `top` that is cut off: too small for its text, outside
// its parent, or partly under a sibling stacked above it.
QStringList cutCaptions(QWidget *top) {
    QStringList cut;
    const auto widgets = top->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        const Caption c = captionOf(w);
        if (c.text.isEmpty() || !w->isVisibleTo(top))
            continue;
        if (c.need.width() > c.room.width() || c.need.height() > c.room.height()) {
            cut << describe(w, c.text, tooSmall(c.need, c.room));
            continue;
        }
        QWidget *parent = w->parentWidget();
        if (!parent->rect().contains(w->geometry()))
            cut << describe(w, c.text, u"runs out of %1"_s.arg(parent->objectName()));
        else if (!scrolls(w, top) &&
                 !top->rect().contains(QRect(w->mapTo(top, QPoint(0, 0)), w->size())))
            cut << describe(w, c.text, u"runs out of %1"_s.arg(top->objectName()));
        const auto *label = qobject_cast<QLabel *>(w);
        const Qt::Alignment align =
            label ? label->alignment() : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
        const QRect ink =
            QStyle::alignedRect(w->layoutDirection(), align, c.need, c.room).translated(w->pos());
        const QObjectList siblings = parent->children();
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
            auto *above = qobject_cast<QWidget *>(siblings.at(i));
            if (above && !above->isWindow() && above->isVisibleTo(top) &&
                above->geometry().intersects(ink))
                cut << describe(w, c.text,
                                u"drawn at %1 under %2 at %3"_s.arg(rectText(ink),
                                                                    above->objectName(),
                                                                    rectText(above->geometry())));
        }
    }
    return cut;
}

QString withoutMnemonic(QString text) {
    return text.remove(u'&');
}

// The menu bar's titles must all show within the window (none pushed into
// an overflow button), and each menu must fit the window's width.
QStringList cutMenus(QMainWindow *window) {
    QStringList cut;
    QMenuBar *bar = window->menuBar();
    if (bar->width() > window->width())
        cut << u"the menu bar is wider than the window"_s;
    for (QAction *title : bar->actions()) {
        const QRect at = bar->actionGeometry(title);
        if (at.isEmpty() || !bar->rect().contains(at))
            cut << describe(bar, title->text(), u"does not fit the menu bar"_s);
        QMenu *menu = title->menu();
        if (menu->sizeHint().width() > window->width())
            cut << describe(menu, title->text(), u"menu wider than the window"_s);
        const QFontMetrics fm(menu->font());
        for (QAction *entry : menu->actions()) {
            if (entry->isSeparator())
                continue;
            const int need = fm.horizontalAdvance(withoutMnemonic(entry->text()));
            if (need > menu->actionGeometry(entry).width())
                cut << describe(menu, entry->text(), u"entry cut off"_s);
        }
    }
    return cut;
}

// Every letter Alt takes to two controls of `window`: one of them could not be reached.
QStringList sharedLetters(const QWidget *window) {
    QStringList shared;
    QHash<QString, QString> taken;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<const QLabel *>(w);
        const auto *button = qobject_cast<const QAbstractButton *>(w);
        const QString text = label && label->buddy() ? label->text() : button ? button->text() : "";
        const QString key = QKeySequence::mnemonic(text).toString();
        if (!key.isEmpty() && taken.contains(key))
            shared << u"%1: %2, %3"_s.arg(key, taken[key], text);
        taken.insert(key, text);
    }
    return shared;
}

} // namespace

class TestTranslations : public QObject, WindowDriver {
    Q_OBJECT

    QLocale original_;

    MainWindow::StartResult startIn(const QString &locale) {
        QLocale::setDefault(QLocale(locale));
        return startWindow();
    }

private slots:
    // As installed: the shipped catalogue and every shipped text file.
    void init() {
        original_ = QLocale();
        QVERIFY(setUp());
        const QStringList shipped = QDir(QStringLiteral(VISTREL_DATA_DIR))
                                        .entryList({u"Language*.ini"_s, u"ModelInfo.ini"_s});
        QCOMPARE(shipped.size(), 5);
        for (const QString &name : shipped)
            QVERIFY(copyShipped(name));
    }
    void cleanup() {
        QLocale::setDefault(original_);
        QCOMPARE(tearDown(), QString());
    }

    // The captions over the diagram's fields stay in the box for every model
    // at its smallest and largest screen, in every language.
    void diagramCaptionsStayInTheBox_data() {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"en_US", "de_DE", "fr_FR", "es_ES"})
            QTest::newRow(locale) << QString::fromLatin1(locale);
    }
    void diagramCaptionsStayInTheBox() {
        QFETCH(QString, locale);
        QCOMPARE(startIn(locale), MainWindow::StartResult::Ready);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto *box = child<QWidget>(u"picDraw1"_s);
        for (int m = 0; m < models()->count(); ++m) {
            chooseModel(m);
            const CalcState &s = session_->state();
            for (const double size : {std::ceil(s.minDiagonal), std::floor(s.maxDiagonal)}) {
                type(1, QString::number(size));
                QCOMPARE(session_->state().screenDiagonal, size);
                const QStringList cut = cutCaptions(box);
                QVERIFY2(cut.isEmpty(),
                         qPrintable(models()->currentText() + u' ' + QString::number(size) +
                                    u": "_s + cut.join(u"; "_s)));
            }
        }
        QCOMPARE(dialogs_.messages, QStringList());
    }

    void nothingIsCutOff_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("printer");
        QTest::newRow("English") << u"en_US"_s << u"Model"_s << u"Printer"_s;
        QTest::newRow("German") << u"de_DE"_s << u"Typ"_s << u"Drucker"_s;
        QTest::newRow("French") << u"fr_FR"_s << u"Type"_s << u"Imprimante"_s;
        QTest::newRow("Spanish") << u"es_ES"_s << u"Tipo"_s << u"Impresora"_s;
    }
    void nothingIsCutOff() {
        QFETCH(QString, locale);
        QFETCH(QString, model);
        QFETCH(QString, printer);
        QCOMPARE(startIn(locale), MainWindow::StartResult::Ready);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCOMPARE(child<QLabel>(u"lblModel"_s)->text(), model);

        // The diagrams place the value labels anew for each position and aspect.
        for (const char *position : {"optPosition_0", "optPosition_1"}) {
            for (const char *aspect :
                 {"optAspect_0", "optAspect_1", "optAspect_2", "optAspect_3"}) {
                click(option(position));
                click(option(aspect));
                VERIFY_NONE(cutCaptions(window_.get()));
            }
        }
        VERIFY_NONE(cutMenus(window_.get()));
        // Other's letter is its own: one a menu has too would open the menu.
        click(option("optAspect_0"));
        QTest::keySequence(window_.get(), QKeySequence::mnemonic(option("optAspect_3")->text()));
        QTRY_VERIFY(option("optAspect_3")->isChecked());

        app::AboutDialog about(window_->texts(), window_.get());
        VERIFY_NONE(cutCaptions(&about));
        app::PrintDialog print(*window_, dialogs_, window_->texts(), window_.get());
        QCOMPARE(print.findChild<QLabel *>(u"lblPrint"_s)->text(), printer);
        VERIFY_NONE(cutCaptions(&print));

        window_->onPlanner();
        auto *planner = child<app::PlannerWindow>(u"frmPlanner"_s);
        QVERIFY(planner && planner->isVisible());
        VERIFY_NONE(cutCaptions(planner));
        // The numbers' texts are longest with the room lit and the model's every number known.
        click(option("optUnits_2"));
        type(childOf<QLineEdit>(planner, u"txtAmbient"_s), u"12.5"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        VERIFY_NONE(cutCaptions(planner));
        // The room's page, with a room that fails its checks and two rows of seats.
        RoomSettings room;
        room.screenBottom = 24;
        room.ceiling = 60;
        room.rows = {{144}, {192}};
        QVERIFY(session_->setRoomSettings(room));
        QTest::keyClick(childOf<QLineEdit>(planner, u"txtAmbient"_s), Qt::Key_Tab,
                        Qt::ControlModifier);
        QVERIFY(planner->findChild<QWidget *>(u"pageRoom"_s)->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        VERIFY_NONE(cutCaptions(planner));
        // The light budget's page, its tables full and a seat row against the cone.
        PlannerSettings light = session_->plannerSettings();
        light.lightAge = 0.6;
        light.targetNits = 100;
        light.halfGainAngle = 30;
        QVERIFY(session_->setPlannerSettings(light));
        room.seatOffset = 60;
        QVERIFY(session_->setRoomSettings(room));
        QTest::keyClick(childOf<QLineEdit>(planner, u"txtRoom_0"_s), Qt::Key_Tab,
                        Qt::ControlModifier);
        QVERIFY(planner->findChild<QWidget *>(u"pageLight"_s)->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        VERIFY_NONE(cutCaptions(planner));
        VERIFY_NONE(sharedLetters(planner));

        window_->onProjectors();
        auto *projectors = child<QWidget>(u"frmProjectors"_s);
        QVERIFY(projectors && projectors->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        VERIFY_NONE(cutCaptions(projectors));
    }

    // A text file without a key, or with a blank one, stops the start with
    // the program's own message; the texts before the key are the file's,
    // those from it on the built-in English.
    void aTextFileWithoutAKeyStopsTheStart_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("lbl5"); // what stands in the place of LBL5's line
        QTest::newRow("German, left out") << u"de_CH"_s << u"Language.de.ini"_s << QByteArray();
        QTest::newRow("English, blank")
            << u"en_US"_s << u"Language.ini"_s << QByteArray("LBL5=   ");
    }
    void aTextFileWithoutAKeyStopsTheStart() {
        QFETCH(QString, locale);
        QFETCH(QString, file);
        QFETCH(QByteArray, lbl5);
        QByteArray text = readAll(path(file));
        const auto setLine = [&text](const QByteArray &key, const QByteArray &line) {
            const qsizetype at = text.indexOf("\n" + key + '=') + 1;
            QVERIFY(at > 0);
            text.replace(at, text.indexOf('\n', at) - at, line);
        };
        setLine("FontSize", "FontSize=11");
        setLine("LBL3", "LBL3=in."); // inches
        setLine("LBL5", lbl5);       // centimeters
        QVERIFY(write(file, text));

        QCOMPARE(startIn(locale), MainWindow::StartResult::LanguageError);
        QCOMPARE(dialogs_.messages, QStringList{u"LANGUAGE.INI ERRER !!!! "_s});
        QCOMPARE(option("optUnits_0")->text(), u"in."_s);
        QCOMPARE(child<QLabel>(u"lblModel"_s)->font().pointSizeF(), 11.0);
        QCOMPARE(option("optUnits_2")->text(), u"centimeters"_s);
        QCOMPARE(child<QGroupBox>(u"fraWIDE"_s)->title(), u"WIDE / TELE"_s);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
