#include "core/apppaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

// Which text file the window and vistrel-cli read, from the user's languages.
class TestLanguageChoice : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    void touch(const QString &name) {
        QFile f(dir_.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // German and French are translated here, Spanish is not.
        for (const QString &name : {u"Language.ini"_s, u"Language.de.ini"_s, u"Language.fr.ini"_s})
            touch(name);
        // Reachable only by a tag that names a path instead of a language.
        QVERIFY(QDir(dir_.path()).mkdir(u"Language.x"_s));
        touch(u"Language.x/d.ini"_s);
    }

    void firstTranslatedLanguageWins_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("override");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("German locale") << QStringList{u"de-DE"_s, u"de-Latn-DE"_s, u"de"_s}
                                       << QString() << u"Language.de.ini"_s;
        QTest::newRow("French, region only")
            << QStringList{u"fr-CA"_s} << QString() << u"Language.fr.ini"_s;
        QTest::newRow("untranslated first is passed over")
            << QStringList{u"es"_s, u"es-ES"_s, u"fr"_s, u"de"_s} << QString()
            << u"Language.fr.ini"_s;
        QTest::newRow("English before German")
            << QStringList{u"en-GB"_s, u"de"_s} << QString() << u"Language.ini"_s;
        QTest::newRow("nothing translated")
            << QStringList{u"ja-JP"_s, u"ja"_s} << QString() << u"Language.ini"_s;
        QTest::newRow("C locale") << QStringList{u"C"_s} << QString() << u"Language.ini"_s;
        QTest::newRow("no languages") << QStringList{} << QString() << u"Language.ini"_s;
        QTest::newRow("underscore and capitals")
            << QStringList{u"DE_at"_s} << QString() << u"Language.de.ini"_s;
        QTest::newRow("tag naming a path")
            << QStringList{u"x/d"_s, u"x/../de"_s} << QString() << u"Language.ini"_s;
        QTest::newRow("override wins")
            << QStringList{u"de"_s} << u"/elsewhere/mine.ini"_s << u"/elsewhere/mine.ini"_s;
    }
    void firstTranslatedLanguageWins() {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, override);
        QFETCH(QString, chosen);
        AppPaths paths;
        paths.dataFolder = dir_.path();
        paths.uiLanguages = uiLanguages;
        paths.languageOverride = override;
        const QString expected = override.isEmpty() ? dir_.filePath(chosen) : chosen;
        QCOMPARE(paths.languageFile(), expected);
    }

    // The real program beside its shipped texts, with one of the variables
    // that name the user's language set and the others cleared.
    void theProgramFollowsTheEnvironment_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("LANGUAGE list")
            << u"LANGUAGE"_s << u"pt:es:de"_s << QStringList{} << u"Tipo: Aster 1500"_s;
        QTest::newRow("LC_ALL") << u"LC_ALL"_s << u"de_DE.UTF-8"_s << QStringList{}
                                << u"Typ: Aster 1500"_s;
        QTest::newRow("LC_MESSAGES")
            << u"LC_MESSAGES"_s << u"fr_FR.UTF-8"_s << QStringList{} << u"Type: Aster 1500"_s;
        QTest::newRow("LANG") << u"LANG"_s << u"es_MX.UTF-8"_s << QStringList{}
                              << u"Tipo: Aster 1500"_s;
        QTest::newRow("--language wins")
            << u"LANG"_s << u"de_DE.UTF-8"_s
            << QStringList{u"--language"_s, QStringLiteral(VISTREL_DATA_DIR "/Language.ini")}
            << u"Model: Aster 1500"_s;
    }
    void theProgramFollowsTheEnvironment() {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"LANGUAGE"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s})
            env.remove(name);
        env.insert(variable, value);
        env.insert(u"HOME"_s, dir_.path());
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(VISTREL_CLI_PATH), arguments);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()).section(u'\n', 0, 0), firstLine);
    }
};

QTEST_GUILESS_MAIN(TestLanguageChoice)
#include "tst_languagechoice.moc"
