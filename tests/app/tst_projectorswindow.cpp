// Option > Projectors driven as a user drives it: a projector typed from its
// data sheet, edited, warned of, refused and deleted; an import previewed
// row by row; and which projectors fit the calculator's screen. Distances
// are checked against the worked examples in the comments.
#include "app/importpreviewdialog.h"
#include "app/projectorswindow.h"
#include "calc/sheetterms.h"
#include "files/modeltable.h"
#include "testcatalogues.h"
#include "windowdriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// Two own projectors as a catalogue file holds them (MyProjectors.ini): a
// 16 : 9 panel of throw ratio 1.5 to 2 (A = 1 / (1.5 x 1.066667) = 0.625,
// 1 / (2 x 1.066667) = 0.46875), sizes 40 to 300 in of 16 : 9.
const QByteArray kOwnModels =
    "Model,numbers\r\n"
    "Tarn A,32.68,245.13,32.68,245.13,0.625,0,0.46875,0,0.1,0.1,0,0,1,0,40,300,40,300\r\n"
    "Tarn B,32.68,245.13,32.68,245.13,0.625,0,0.46875,0,0.1,0.1,0,0,1,0,40,300,40,300\r\n";

} // namespace

class TestProjectorsWindow : public QObject, WindowDriver {
    Q_OBJECT

    QWidget *projectors_ = nullptr;

    QString own(const QString &name) const { return QDir(userData_).filePath(name); }
    template <typename T> T *in(const QString &name) const {
        QCoreApplication::processEvents();
        return childOf<T>(projectors_, name);
    }
    QLineEdit *edit(const QString &name) const { return in<QLineEdit>(name); }
    QPushButton *button(const char *name) const { return in<QPushButton>(QLatin1String(name)); }
    QString shown(const QString &label) const { return in<QLabel>(label)->text(); }
    // Types into a field and moves on with Tab, as from one field of a sheet to the next.
    void fill(const QString &field, const QString &text) { type(edit(field), text, Qt::Key_Tab); }
    // A button pressed by its mnemonic, Alt and its letter; the button
    // shows itself pressed before it clicks.
    bool alt(const char *name) {
        QPushButton *pressed = button(name);
        QSignalSpy clicked(pressed, &QAbstractButton::clicked);
        QWidget *focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : projectors_, QKeySequence::mnemonic(pressed->text()));
        return clicked.count() > 0 || clicked.wait(2000);
    }
    QStringList listed(const char *list) const {
        QStringList items;
        auto *w = in<QListWidget>(QLatin1String(list));
        for (int i = 0; i < w->count(); ++i)
            items << w->item(i)->text();
        return items;
    }
    QTableWidget *table(const char *name) const { return in<QTableWidget>(QLatin1String(name)); }
    int rowOf(QTableWidget *t, const QString &name) const {
        for (int r = 0; r < t->rowCount(); ++r)
            if (t->item(r, 0)->text() == name)
                return r;
        return -1;
    }
    void selectModel(const QString &name) {
        QTableWidget *t = table("tblModels");
        const int row = rowOf(t, name);
        QVERIFY2(row >= 0, qPrintable(name));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                          t->visualItemRect(t->item(row, 0)).center());
    }
    // Option > Projectors, from the keyboard.
    // The user turns to a window: it takes the keyboard.
    static bool use(QWidget *window) {
        window->activateWindow();
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    bool openProjectors() {
        if (!use(window_.get()))
            return false;
        QTest::keyClick(window_.get(), Qt::Key_O, Qt::AltModifier);
        QWidget *menu = QApplication::activePopupWidget();
        if (!menu)
            return false;
        QTest::keyClick(menu, Qt::Key_P);
        projectors_ = child<QWidget>(u"frmProjectors"_s);
        return projectors_ &&
               QTest::qWaitFor([this] { return QApplication::activeWindow() == projectors_; });
    }
    // The window on the shipped demo catalogue, with `ownFile` as the user's
    // own projectors.
    bool start(const QByteArray &ownFile = {}) {
        if (!setUp() || !QDir().mkpath(path(u"user"_s)))
            return false;
        userData_ = path(u"user"_s);
        return copyShipped(u"ModelInfo.ini"_s) && copyShipped(u"Language.ini"_s) &&
               (ownFile.isEmpty() || write(u"user/MyProjectors.ini"_s, ownFile)) && openWindow() &&
               openProjectors();
    }

private slots:
    void cleanup() {
        projectors_ = nullptr;
        QCOMPARE(tearDown(), QString());
    }

    // Closed, the window leaves the calculation alone; opened again, it
    // shows what changed meanwhile.
    void aClosedWindowCatchesUpWhenOpened() {
        QVERIFY(start());
        QTest::keyClick(projectors_, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([this] { return !projectors_->isVisible(); }));
        const Result<SheetRecord> tarn = recordFromTerms(
            {{u"name"_s, u"Tarn late"_s}, {u"throw"_s, u"1.5-2"_s}, {u"diag"_s, u"40-300"_s}});
        QVERIFY(tarn);
        QVERIFY(session_->setOwnModels({tarn->record}));
        QVERIFY(rowOf(table("tblModels"), u"Tarn late"_s) < 0);
        QVERIFY(openProjectors());
        QVERIFY(rowOf(table("tblModels"), u"Tarn late"_s) >= 0);
    }

    // The projector typed from its sheet: the preview follows every
    // key, Enter saves it, and the calculator lists it last; edited, it
    // moves; deleted after the question, it is gone.
    void aProjectorFromItsDataSheet() {
        QVERIFY(start());
        // One window, raised again from the menu.
        QVERIFY(openProjectors());
        QCOMPARE(window_->findChildren<app::ProjectorsWindow *>().size(), 1);

        QVERIFY(alt("cmdAdd"));
        QCOMPARE(QApplication::focusWidget(), edit(u"txtName"_s));
        QVERIFY(!button("cmdSave")->isEnabled()); // no name, no lens yet
        fill(u"txtName"_s, u"Lumen X1"_s);
        fill(u"txtPixelsWide"_s, u"1920"_s);
        fill(u"txtPixelsHigh"_s, u"1080"_s);
        QCOMPARE(shown(u"lblPanelShape"_s), u"16 : 9"_s);
        fill(u"txtThrow_0"_s, u"1.36"_s);
        fill(u"txtThrow_1"_s, u"2.18"_s);
        for (const QString &end : {u"0"_s, u"1"_s}) {
            fill(u"txtOffset_"_s + end, u"110"_s);
            fill(u"txtSizeMin_"_s + end, u"40"_s);
            fill(u"txtSizeMax_"_s + end, u"300"_s);
        }
        // A 100-inch 16 : 9 picture is 100 x 16 / sqrt(337) = 87.16 in wide:
        // 1.36 x 87.16 = 118.5 in at WIDE, 2.18 x 87.16 = 190.0 in at TELE.
        QVERIFY(shown(u"lblPreview"_s).contains(u"16 : 9"_s));
        QCOMPARE(shown(u"valPreview_0"_s), u"118.5 in"_s);
        QCOMPARE(shown(u"valPreview_1"_s), u"190.0 in"_s);
        QCOMPARE(listed("lstWarnings"), QStringList());
        QVERIFY(button("cmdSave")->isEnabled());
        QTest::keyClick(edit(u"txtSizeMax_1"_s), Qt::Key_Return);
        QCOMPARE(models()->itemText(models()->count() - 1), u"Lumen X1"_s);
        QCOMPARE(session_->ownModels().size(), std::size_t(1));
        QVERIFY(readAll(own(u"MyProjectors.ini"_s)).contains("Lumen X1,"));
        // Offset 110 %: the near edge 10 % of the height off the axis; sizes
        // 40 to 300 in of the panel's own 16 : 9.
        const ModelRecord &saved = session_->ownModels().front();
        QCOMPARE(saved.offsetCoefs[Zoom::Tele].a, 0.1);
        QVERIFY(std::abs(saved.diagonals.sixteenNine[Zoom::Tele].max - 300) < 1e-9);
        QTableWidget *list = table("tblModels");
        QCOMPARE(list->currentRow(), list->rowCount() - 1);
        QCOMPARE(list->item(list->currentRow(), 2)->text(), u"1.36"_s);

        // Throw ratio 1.5 at WIDE: 1.5 x 87.16 = 130.7 in.
        QVERIFY(alt("cmdEdit"));
        fill(u"txtThrow_0"_s, u"1.5"_s);
        QCOMPARE(shown(u"valPreview_0"_s), u"130.7 in"_s);
        QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
        QCOMPARE(list->item(list->rowCount() - 1, 2)->text(), u"1.50"_s);
        QCOMPARE(session_->ownModels().front().lens[Zoom::Wide].a, 1 / (1.5 * 0.6 * 16 / 9));

        // Delete asks; No keeps it, Yes deletes it.
        dialogs_.confirmations << false << true;
        QVERIFY(alt("cmdDelete"));
        QCOMPARE(session_->ownModels().size(), std::size_t(1));
        QVERIFY(alt("cmdDelete"));
        QCOMPARE(dialogs_.questions.size(), 2);
        QVERIFY(dialogs_.questions[1].contains(u"Lumen X1"_s));
        QVERIFY(session_->ownModels().empty());
        QVERIFY(models()->findText(u"Lumen X1"_s) < 0);
    }

    // What the engine says of a field stands beside it: a warning lets the
    // model be saved after the question that lists it, a refusal or a text
    // that is no number does not.
    void whatIsWrongStandsBesideItsField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("savable");
        QTest::newRow("throw ratio 12 at TELE")
            << u"txtThrow_1"_s << u"12"_s << u"lblLensNote_1"_s << u"outside 0.1 to 10"_s << true;
        QTest::newRow("throw ratio 0")
            << u"txtThrow_1"_s << u"0"_s << u"lblLensNote_1"_s << u"above 0"_s << false;
        QTest::newRow("a comma in the name")
            << u"txtName"_s << u"Tarn, A"_s << u"lblNameNote"_s << u"comma"_s << false;
        QTest::newRow("a catalogue model's name")
            << u"txtName"_s << u"Aster 2000"_s << u"lblNameNote"_s << u"catalogue"_s << true;
        QTest::newRow("lumens in words")
            << u"txtLumens"_s << u"bright"_s << u"lblLumensNote"_s << u"number"_s << false;
        QTest::newRow("offset 350 %")
            << u"txtOffset_0"_s << u"350"_s << u"lblOffsetNote_0"_s << u"200 %"_s << true;
    }
    void whatIsWrongStandsBesideItsField() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, note);
        QFETCH(QString, said);
        QFETCH(bool, savable);
        QVERIFY(start(kOwnModels));
        const QByteArray file = readAll(own(u"MyProjectors.ini"_s));
        selectModel(u"Tarn A"_s);
        QVERIFY(alt("cmdEdit"));
        QVERIFY(in<QLabel>(note)->isHidden());
        fill(field, typed);
        QVERIFY(in<QLabel>(note)->isVisible());
        QVERIFY2(shown(note).contains(said), qPrintable(shown(note)));
        QCOMPARE(button("cmdSave")->isEnabled(), savable);
        if (savable) {
            QVERIFY(listed("lstWarnings").join(u'\n').contains(said));
            // The question lists the warning; No keeps the form as it is.
            dialogs_.confirmations.enqueue(false);
            QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
            QCOMPARE(dialogs_.questions.size(), 1);
            QVERIFY(dialogs_.questions[0].contains(said));
            QCOMPARE(edit(field)->text(), typed);
        }
        // Escape drops the edit: the model shows as it was, nothing is written.
        QTest::keyClick(edit(field), Qt::Key_Escape);
        QVERIFY(edit(field)->isReadOnly());
        QVERIFY(in<QLabel>(note)->isHidden());
        QCOMPARE(readAll(own(u"MyProjectors.ini"_s)), file);
        QVERIFY(projectors_->isVisible());
    }

    // A name another own model has is refused on saving, by the session,
    // beside the name; a catalogue model is shown but not edited.
    void namesAreTheirOwn() {
        QVERIFY(start(kOwnModels));
        selectModel(u"Aster 2000"_s);
        QVERIFY(!button("cmdEdit")->isEnabled() && !button("cmdDelete")->isEnabled());
        QCOMPARE(edit(u"txtName"_s)->text(), u"Aster 2000"_s);
        QVERIFY(edit(u"txtName"_s)->isReadOnly());
        // Aster 2000's sheet: 1920 x 1080 and a lens line with an intercept,
        // shown as its formula; D43 = 100 / 1.223837 = 81.71, (81.71 - 0.4) /
        // 1.0417 = 78.1 in.
        QCOMPARE(shown(u"valPreview_0"_s), u"78.1 in"_s);

        selectModel(u"Tarn B"_s);
        QVERIFY(alt("cmdEdit"));
        fill(u"txtName"_s, u"Tarn A"_s);
        QTest::keyClick(edit(u"txtName"_s), Qt::Key_Return);
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(dialogs_.errors[0].contains(u"Tarn A"_s));
        QVERIFY(shown(u"lblNameNote"_s).contains(u"another of your own"_s));
        QCOMPARE(readAll(own(u"MyProjectors.ini"_s)), kOwnModels);
    }

    // An import shows every row before anything is written: the good ones
    // added, the bad one with its reason, the replacing one only when ticked.
    void anImportIsPreviewedFirst() {
        QVERIFY(start(kOwnModels));
        QVERIFY(write(u"more.csv"_s, "name,px,throw,diag\n"
                                     "Lumen X1,1920x1080,1.36-2.18,40-300\n"
                                     "Lumen X2,1920x1200,1.2-1.9,50-250\n"
                                     "Lumen X3,1920x1080,0,40-300\n"
                                     "Tarn A,1920x1080,1.4-2.2,40-300\n"
                                     "Tarn B,1920x1080,1.4-2.2,40-300\n"));
        QStringList rows;
        int cancelled = 0;
        const auto preview = [&](QDialog &dialog, bool tick, bool accept) {
            QCOMPARE(readAll(own(u"MyProjectors.ini"_s)), kOwnModels);
            dialog.show();
            auto *list = dialog.findChild<QListWidget *>(u"lstImport"_s);
            for (int i = 0; i < list->count(); ++i)
                rows << list->item(i)->text();
            if (tick) { // the first replacing row, with the keyboard
                list->setFocus();
                list->setCurrentRow(3);
                QTest::keyClick(list, Qt::Key_Space);
            }
            QTest::keyClick(list, accept ? Qt::Key_Return : Qt::Key_Escape);
            cancelled += dialog.result() == QDialog::Rejected;
            QVERIFY(use(projectors_)); // as the dialog's end gives it back
        };
        dialogs_.answers << path(u"more.csv"_s) << path(u"more.csv"_s);
        dialogs_.dialogScripts.enqueue([&](QDialog &d) {
            preview(d, false, false);
            return d.result() == QDialog::Accepted;
        });
        dialogs_.dialogScripts.enqueue([&](QDialog &d) {
            preview(d, true, true);
            return d.result() == QDialog::Accepted;
        });
        QVERIFY(alt("cmdImport"));
        QCOMPARE(cancelled, 1);
        QCOMPARE(readAll(own(u"MyProjectors.ini"_s)), kOwnModels);
        QCOMPARE(rows.size(), 5);
        QVERIFY(rows[0].startsWith(u"line 2: Lumen X1: added"_s));
        QVERIFY2(rows[2].startsWith(u"line 4: refused: "_s) && rows[2].contains(u"throw"_s),
                 qPrintable(rows[2]));
        QVERIFY(rows[3].contains(u"replaces"_s) && rows[4].contains(u"replaces"_s));

        QVERIFY(alt("cmdImport"));
        QStringList names;
        for (const ModelRecord &m : session_->ownModels())
            names << m.name;
        QCOMPARE(names, (QStringList{u"Tarn A"_s, u"Tarn B"_s, u"Lumen X1"_s, u"Lumen X2"_s}));
        // Tarn A replaced, as ticked: 1.4 at WIDE, A = 1 / (1.4 x 1.066667) =
        // 0.669643; Tarn B, not ticked, keeps its 0.625.
        QVERIFY(std::abs(session_->ownModels()[0].lens[Zoom::Wide].a - 0.669643) < 1e-6);
        QCOMPARE(session_->ownModels()[1].lens[Zoom::Wide].a, 0.625);
        QCOMPARE(models()->itemText(models()->count() - 1), u"Lumen X2"_s);

        // Exported as JSON, by the type chosen, the own models read back.
        dialogs_.answers.enqueue(path(u"own.json"_s));
        auto *exportButton = button("cmdExport");
        exportButton->setFocus();
        QTimer::singleShot(0, [exportButton] {
            QMenu *menu = exportButton->menu();
            QTest::keyClick(menu, Qt::Key_O);
        });
        QTest::keyClick(exportButton, Qt::Key_Space);
        const Result<ModelTable> back = readModelTable(path(u"own.json"_s), TableFormat::Json);
        QVERIFY(back);
        QCOMPARE(back->rows.size(), std::size_t(4));
    }

    // Which projectors fit the calculator's 100-inch 16 : 9 screen; Enter
    // on one makes it the calculator's, for the same screen.
    void whichProjectorsFit() {
        QVERIFY(start());
        QVERIFY(use(window_.get()));
        click(option("optAspect_2"));
        type(1, u"100"_s);
        dialogs_.messages.clear();
        QVERIFY(openProjectors());
        QTest::keySequence(QApplication::focusWidget(),
                           QKeySequence::mnemonic(in<QTabWidget>(u"tabProjectors"_s)->tabText(1)));
        QTableWidget *fit = table("tblFit");
        QVERIFY(fit->isVisible());
        QVERIFY(shown(u"lblFitSubject"_s).contains(u"100 in 16 : 9"_s));
        // Aster 2000: D43 = 100 / 1.223837 = 81.71, (81.71 - 0.4) / 1.0417 =
        // 78.06 in at WIDE; TELE (81.71 - 0.3) / 0.8013 = 101.6 in; shown in
        // whole inches as the calculator's distance field shows them.
        const int aster = rowOf(fit, u"Aster 2000"_s);
        QVERIFY(aster >= 0);
        QCOMPARE(fit->item(aster, 1)->text(), u"yes"_s);
        QCOMPARE(fit->item(aster, 2)->text(), u"78 in"_s);
        QCOMPARE(fit->item(aster, 3)->text(), u"101 in"_s);

        // By number, not by text: "101" before "78" would be the text's order.
        QTest::mouseClick(fit->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(fit->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
        QList<double> wide;
        for (int r = 0; r < fit->rowCount() && !fit->item(r, 2)->text().isEmpty(); ++r)
            wide << fit->item(r, 2)->text().section(u' ', 0, 0).toDouble();
        QVERIFY(wide.size() > 2);
        QVERIFY2(std::is_sorted(wide.begin(), wide.end()) ||
                     std::is_sorted(wide.rbegin(), wide.rend()),
                 qPrintable(QString::number(wide.first()) + u"..."_s));

        // A room of 70 to 90 in leaves Aster 2000 (78.06 to 101.6 in) its WIDE end.
        fill(u"txtRoomFrom"_s, u"70"_s);
        fill(u"txtRoomTo"_s, u"75"_s);
        QCOMPARE(fit->item(rowOf(fit, u"Aster 2000"_s), 1)->text(), u"no"_s);
        fill(u"txtRoomTo"_s, u"90"_s);
        QCOMPARE(fit->item(rowOf(fit, u"Aster 2000"_s), 1)->text(), u"yes"_s);

        fit->setFocus();
        fit->setCurrentCell(rowOf(fit, u"Aster 2000"_s), 0);
        QTest::keyClick(fit, Qt::Key_Return);
        QCOMPARE(session_->calculator().currentModel()->name, u"Aster 2000"_s);
        QCOMPARE(session_->state().screenDiagonal, 100.0);
        QCOMPARE(models()->currentText(), u"Aster 2000"_s);
        QVERIFY2(dialogs_.errors.isEmpty(), qPrintable(dialogs_.errors.join(u" | ")));
    }

    // Own projectors that cannot be read are said, and not edited; the
    // catalogue's warnings are there to read.
    void whatTheWindowCannotDo() {
        QVERIFY(setUp() && QDir().mkpath(path(u"user/MyProjectors.ini"_s)));
        userData_ = path(u"user"_s);
        QVERIFY(copyShipped(u"ModelInfo.ini"_s) && copyShipped(u"Language.ini"_s));
        QVERIFY(openWindow() && openProjectors());
        // Said at the start, by the calculator window.
        QVERIFY(dialogs_.warnings.join(u'\n').contains(u"MyProjectors.ini"_s));
        QVERIFY(in<QLabel>(u"lblOwnError"_s)->isVisible());
        for (const char *name : {"cmdAdd", "cmdDuplicate", "cmdEdit", "cmdDelete", "cmdImport"})
            QVERIFY2(!button(name)->isEnabled(), name);
        QVERIFY(button("cmdExport")->isEnabled());
        // Dalmar HD3 has the mirror flag without a negative offset.
        dialogs_.warnings.clear();
        QTest::mouseClick(button("cmdWarnings"), Qt::LeftButton);
        QCOMPARE(dialogs_.warnings.size(), 1);
        QVERIFY(dialogs_.warnings[0].contains(u"ModelInfo.ini"_s));
        QVERIFY(dialogs_.warnings[0].contains(u"Dalmar HD3: "_s));
    }
};

QTEST_MAIN(TestProjectorsWindow)
#include "tst_projectorswindow.moc"
