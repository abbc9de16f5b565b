#include "core/inifile.h"
#include "core/language.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// Writes a complete Language.ini in which every key holds its own name (the
// font size 8), except the keys in `changes`; a null value leaves a key out.
QString writeLanguage(const QTemporaryDir &dir, const QMap<QString, QString> &changes) {
    QString text = u"[Language]\r\n"_s;
    for (int i = 0; i < kLanguageKeyCount; ++i) {
        const QString name = languageKeyName(static_cast<LangKey>(i));
        const QString value = changes.value(name, i == int(LangKey::FontSize) ? u"8"_s : name);
        if (!value.isNull())
            text += name + u'=' + value + u"\r\n"_s;
    }
    const QString path = dir.filePath(u"Language.ini"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(text.toUtf8());
    return path;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void iniValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("names ignore case") << u"[LANGUAGE]\ncaption=Hi"_s << u"Hi"_s;
        QTest::newRow("blanks trimmed")
            << u"[ Language ]\n Caption =  Hi there  "_s << u"Hi there"_s;
        QTest::newRow("quotes removed") << u"[Language]\nCaption=\"  Hi  \""_s << u"  Hi  "_s;
        QTest::newRow("inner quotes kept") << u"[Language]\nCaption=a \"b\""_s << u"a \"b\""_s;
        QTest::newRow("empty value") << u"[Language]\nCaption="_s << QString();
        QTest::newRow("other section") << u"[Other]\nCaption=No\n[Language]\nX=1"_s << QString();
        QTest::newRow("first of two") << u"[Language]\nCaption=1\nCaption=2"_s << u"1"_s;
        QTest::newRow("section reopened")
            << u"[Language]\n[Other]\n[language]\nCaption=3"_s << u"3"_s;
        QTest::newRow("cut to 1023")
            << u"[Language]\nCaption="_s + QString(2000, u'x') << QString(1023, u'x');
    }
    void iniValue() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(IniFile::parse(text).value(u"Language"_s, u"Caption"_s), expected);
    }

    void readIniStringFromFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Settings.ini"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Language]\r\nCaption=Caf\xE9\r\n");
        file.close();
        QCOMPARE(readIniString(path, u"Language"_s, u"CAPTION"_s), u"Caf\u00E9"_s);
        QCOMPARE(readIniString(path, u"Language"_s, u"Missing"_s), QString());
        QCOMPARE(readIniString(dir.filePath(u"none.ini"_s), u"Language"_s, u"Caption"_s),
                 QString());
    }

    void shippedFileIsComplete() {
        const LanguageLoad load = loadLanguage(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
        QVERIFY2(load.complete(), qPrintable(load.missingKey));
        QVERIFY(!load.error);
        QVERIFY(load.texts.fontSize > 0);
        // Without the placeholder a range message would never show the limit.
        for (int i = int(LangKey::Msg2); i <= int(LangKey::Msg7); ++i)
            QVERIFY(load.texts.values[i].contains(u"%1"_s));
    }

    void stopsAtBlankKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("index");
        QTest::newRow("first key missing") << u"Caption"_s << QString() << 0;
        QTest::newRow("only spaces") << u"msg4"_s << u"   "_s << 6;
        QTest::newRow("quoted spaces") << u"mnuAbout"_s << u"\"  \""_s << 18;
        QTest::newRow("last key empty") << u"LBL21"_s << u""_s << 40;
    }
    void stopsAtBlankKey() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, index);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const LanguageLoad load = loadLanguage(writeLanguage(dir, {{key, value}}));
        QVERIFY(!load.error);
        QCOMPARE(load.missingKey, key);
        QCOMPARE(load.keysRead, index);
        // What came before the gap is in place, nothing after it.
        QCOMPARE(load.texts.text(LangKey::Caption), index > 0 ? u"Caption"_s : QString());
        QCOMPARE(load.texts.text(LangKey::Lbl21), QString());
        if (index > 0)
            QCOMPARE(load.texts.values[index - 1], languageKeyName(LangKey(index - 1)));
    }

    void keysMatchedWithoutCase() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = writeLanguage(dir, {{u"Caption"_s, u"\"  Title \""_s}});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray lowered = file.readAll().toLower();
        QVERIFY(file.seek(0));
        file.write(lowered);
        file.close();
        const LanguageLoad load = loadLanguage(path);
        QVERIFY2(load.complete(), qPrintable(load.missingKey));
        // Texts are kept as read: the quotes go, the blanks inside them stay.
        QCOMPARE(load.texts.text(LangKey::Caption), u"  title "_s);
        QCOMPARE(load.texts.text(LangKey::Lbl21), u"lbl21"_s);
    }

    void fontSize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("9.5 to even") << u"9.5"_s << 10 << 0;
        QTest::newRow("10.5 to even") << u"10.5"_s << 10 << 0;
        QTest::newRow("with unit") << u"12pt"_s << 12 << 0;
        QTest::newRow("not a number") << u"abc"_s << 0 << 0;
        QTest::newRow("beyond 16 bits") << u"40000"_s << 0 << 6;
        QTest::newRow("below 16 bits") << u"-32769"_s << 0 << 6;
        QTest::newRow("beyond double") << u"1e999"_s << 0 << 6;
    }
    void fontSize() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const LanguageLoad load = loadLanguage(writeLanguage(dir, {{u"FontSize"_s, text}}));
        QVERIFY(load.missingKey.isEmpty());
        QCOMPARE(load.error ? load.error->code() : 0, error);
        QCOMPARE(load.keysRead, error ? int(LangKey::FontSize) : kLanguageKeyCount);
        QCOMPARE(int(load.texts.fontSize), expected);
    }

    void labelWithBreaks_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two breaks")
            << u"Screen<BR>Size<BR>Diagonal"_s << u"Screen\r\nSize\r\nDiagonal"_s;
        QTest::newRow("lower case kept") << u"Screen<br>Size"_s << u"Screen<br>Size"_s;
    }
    void labelWithBreaks() {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(vistrel::labelWithBreaks(caption), expected);
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
