#include "app/aboutdialog.h"
#include "app/widgetdialogs.h"
#include "app/printmodule.h"
#include "app/qttranslations.h"
#include "app/singleinstance.h"
#include "core/apppaths.h"
#include "files/catalogueswitch.h"
#include "testcatalogues.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <thread>

using namespace vistrel;

class TestWindowParts : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void qtDialogsSpeakTheUsersLanguage();
    void aboutShowsTitleAndVersion();
    void messageBoxesCarryTheirTextAndIcon();
    void oneInstanceAtATime();
    void aSecondStartRaisesTheFirstAndACrashFreesTheLock();
    void installedProgramKeepsItsCatalogueInTheUserFolder();
    void printerWindowComesFromItsModule_data();
    void printerWindowComesFromItsModule();
    void installedProgramFindsThePrintModule();
};

void TestWindowParts::versionText_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.2.3") << 1 << 2 << 3 << "Version"
                           << "Version 1.23";
    QTest::newRow("1.0.0") << 1 << 0 << 0 << "Version"
                           << "Version 1.00";
    QTest::newRow("1.10.0") << 1 << 10 << 0 << "Version"
                            << "Version 1.100";
    QTest::newRow("Spanish") << 1 << 2 << 3 << QStringLiteral("Versi\u00f3n")
                             << QStringLiteral("Versi\u00f3n 1.23");
}

void TestWindowParts::versionText() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, word);
    QFETCH(QString, text);
    QCOMPARE(app::versionText(word, major, minor, revision), text);
}

// Qt's own dialogs speak the language of the texts in use.
void TestWindowParts::qtDialogsSpeakTheUsersLanguage() {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QVERIFY(!app::installQtTranslations(QStringLiteral("/usr/share/vistrel/Language.ini")));
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
    {
        const auto german = app::installQtTranslations(QStringLiteral("/x/Language.de.ini"));
        QVERIFY2(german, "Debian's qt6-translations-l10n is not installed");
        QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
    }
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
}

void TestWindowParts::aboutShowsTitleAndVersion() {
    LanguageTexts texts;
    texts.values[static_cast<std::size_t>(LangKey::Caption)] = QStringLiteral("Throw Planner");
    texts.values[static_cast<std::size_t>(LangKey::FontName)] = QStringLiteral("DejaVu Sans");
    texts.fontSize = 11;
    app::AboutDialog about(texts);
    QCOMPARE(about.windowTitle(), QStringLiteral("Throw Planner"));
    auto *title = about.findChild<QLabel *>(QStringLiteral("lblTitle"));
    QCOMPARE(title->text(), QStringLiteral("Throw Planner"));
    QCOMPARE(title->font().pointSizeF(), 11.0);
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 1.23"));
}

// The real boxes, closed by the test as soon as they open.
void TestWindowParts::messageBoxesCarryTheirTextAndIcon() {
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QString seen;
    QMessageBox::Icon icon = QMessageBox::Question;
    Qt::TextFormat format = Qt::AutoText;
    QAccessible::Role role = QAccessible::NoRole;
    QString spoken;
    auto closeNextBox = [&] {
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->text();
            icon = box->icon();
            format = box->textFormat();
            // What a screen reader gets: an alert carrying the message.
            if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box)) {
                role = a->role();
                spoken = a->text(QAccessible::Value);
            }
            QCOMPARE(box->windowTitle(), QStringLiteral("Vistrel"));
            box->accept();
        });
    };
    app::WidgetDialogs dialogs;
    closeNextBox();
    dialogs.message(nullptr, QStringLiteral("No model in <b>a&amp;b</b>.ini"));
    QCOMPARE(seen, QStringLiteral("No model in <b>a&amp;b</b>.ini"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    closeNextBox();
    dialogs.error(nullptr, QStringLiteral("Err : 53\r\nFile not found"));
    QCOMPARE(icon, QMessageBox::Critical);
    // A name like "<b>x</b>" from a file is shown as it stands.
    QCOMPARE(format, Qt::PlainText);
    QVERIFY(seen.startsWith(QStringLiteral("Err : 53")));
    QCOMPARE(role, QAccessible::AlertMessage);
    QCOMPARE(spoken, seen);
}

void TestWindowParts::oneInstanceAtATime() {
    QTemporaryDir dir;
    const QString lock = dir.filePath(QStringLiteral("vistrel.lock"));
    using Start = app::SingleInstance::Start;
    auto first = std::make_unique<app::SingleInstance>(lock);
    QCOMPARE(first->acquire(), Start::First);
    int raised = 0;
    first->listen([&raised] { ++raised; });
    app::SingleInstance second(lock);
    QCOMPARE(second.acquire(), Start::AlreadyRunning);
    // The second start's question reaches the first through the event loop.
    bool answered = false;
    std::thread asking([&] { answered = second.askToRaise(); });
    QTRY_COMPARE(raised, 1);
    asking.join();
    QVERIFY(answered);
    first.reset();
    QCOMPARE(app::SingleInstance(lock).acquire(), Start::First);
    // Without a listener (a program from before) there is nobody to ask.
    QVERIFY(!second.askToRaise());
    // A folder where the lock belongs: no lock, and no claim that one runs.
    const QString taken = dir.filePath(QStringLiteral("taken.lock"));
    QVERIFY(QDir().mkpath(taken));
    app::SingleInstance lockless(taken);
    QCOMPARE(lockless.acquire(), Start::NoLock);
    // Without the lock it answers nobody: the socket belongs to a copy that holds it.
    lockless.listen([] {});
    QVERIFY(!QFileInfo::exists(taken + QStringLiteral(".socket")));
}

void TestWindowParts::aSecondStartRaisesTheFirstAndACrashFreesTheLock() {
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), runtime.path());
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(VISTREL_APP_PATH));
    QVERIFY(first.waitForStarted());
    const QString lock = runtime.filePath(QStringLiteral("vistrel.lock"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(VISTREL_APP_PATH));
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardOutput().isEmpty());
    QVERIFY2(second.readAllStandardError().contains("its window was brought to the front"),
             "the second start did not reach the first");
    QCOMPARE(first.state(), QProcess::Running);

    first.kill(); // as a crash would
    QVERIFY(first.waitForFinished(20000));
    QCOMPARE(app::SingleInstance(lock).acquire(), app::SingleInstance::Start::First);

    // A lock that cannot be made (a folder in its place) stops nobody.
    QVERIFY(QDir().mkpath(lock));
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(QStringLiteral(VISTREL_APP_PATH));
    QVERIFY(third.waitForStarted());
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += third.readAllStandardError()).contains("starting all the same"), 20000);
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    QVERIFY(third.waitForFinished(20000));
}

void TestWindowParts::installedProgramKeepsItsCatalogueInTheUserFolder() {
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("share/vistrel"))));
    const QString shared = prefix.filePath(QStringLiteral("share/vistrel"));
    QFile shipped(shared + QStringLiteral("/ModelInfo.ini"));
    QVERIFY(writeFile(shipped.fileName(), "h\r\nShipped,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n"));
    const QString user = prefix.filePath(QStringLiteral("user"));

    // Running from the build folder, everything stays beside the program.
    const AppPaths build = AppPaths::resolve(shared, user);
    QCOMPARE(build.catalogueFolder, build.dataFolder);

    // Installed into a folder the user cannot write, switches go to the user folder.
    const AppPaths installed =
        AppPaths::resolve(prefix.filePath(QStringLiteral("bin")), user, false);
    QCOMPARE(QDir(installed.dataFolder).canonicalPath(), QDir(shared).canonicalPath());
    QCOMPARE(installed.catalogueFolder, user);
    QCOMPARE(installed.catalogueFile(), installed.dataFolder + QStringLiteral("/ModelInfo.ini"));
    QFile chosen(prefix.filePath(QStringLiteral("chosen.ini")));
    QVERIFY(writeFile(chosen.fileName(), "h\r\nChosen,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n"));
    QVERIFY(switchCatalogue(
        chosen.fileName(), installed, [](const auto &) { return Result<void>(); },
        [](const auto &) { return true; }));
    // The user's folder holds the switch; the shipped catalogue is its backup there.
    QCOMPARE(installed.catalogueFile(), user + QStringLiteral("/ModelInfo.ini"));
    QCOMPARE(QFileInfo(installed.catalogueFile()).size(), chosen.size());
    QCOMPARE(QFileInfo(user + QStringLiteral("/OLD.ini")).size(), shipped.size());
    QCOMPARE(QFileInfo(shipped.fileName()).size(), shipped.size());
}

void TestWindowParts::printerWindowComesFromItsModule_data() {
    QTest::addColumn<QByteArray>("module"); // what lies in the program's folder under its name
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "is missing";
    QTest::newRow("not a library")
        << QByteArray("not a shared library\n") << "libvistrel-printwindow.so";
}

// Without a usable module File > Print says why; it never takes whatever
// lies there under the module's name.
void TestWindowParts::printerWindowComesFromItsModule() {
    QFETCH(QByteArray, module);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    if (!module.isEmpty())
        QVERIFY(writeFile(folder.filePath(QLatin1String(app::kPrintModuleName)), module));
    const Result<app::PrinterWindow> loaded = app::loadPrinterWindow(folder.path());
    QVERIFY(!loaded);
    QCOMPARE(loaded.error().number, ErrorNumber::FileNotFound);
    QVERIFY2(loaded.error().boxText().startsWith(QStringLiteral("Err : 53\r\nFile not found: ")),
             qPrintable(loaded.error().boxText()));
    QVERIFY2(loaded.error().description.contains(reason), qPrintable(loaded.error().description));

    // The module built beside the tests is the program's own.
    const Result<app::PrinterWindow> built =
        app::loadPrinterWindow(QCoreApplication::applicationDirPath());
    QVERIFY2(built, built ? "" : qPrintable(built.error().description));
    QVERIFY(built->show);
}

// Installed, the program in PREFIX/bin finds the module where the package
// puts it, PREFIX/LIBDIR/vistrel.
void TestWindowParts::installedProgramFindsThePrintModule() {
    const QStringList candidates = app::printModuleCandidates(QStringLiteral("/usr/bin"));
    QCOMPARE(candidates.size(), 2);
    QCOMPARE(candidates.at(0), QStringLiteral("/usr/bin/libvistrel-printwindow.so"));
    QVERIFY2(candidates.at(1).startsWith(QStringLiteral("/usr/lib")) &&
                 candidates.at(1).endsWith(QStringLiteral("/vistrel/libvistrel-printwindow.so")),
             qPrintable(candidates.at(1)));
}

QTEST_MAIN(TestWindowParts)
#include "tst_windowparts.moc"
