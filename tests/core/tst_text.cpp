#include "core/inifile.h"
#include "core/language.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// A complete Language.ini in which every key holds its own name (the font
// size 8), except `key`, which holds `value` or is left out when it is null.
QString writeLanguage(const QTemporaryDir &dir, const QString &key, const QString &value) {
    QString text = u"[Language]\r\n"_s;
    for (int i = 0; i < kLanguageKeyCount; ++i) {
        const QString name = languageKeyName(LangKey(i));
        const QString v = name == key ? value : i == int(LangKey::FontSize) ? u"8"_s : name;
        if (!v.isNull())
            text += name + u'=' + v + u"\r\n"_s;
    }
    QFile file(dir.filePath(u"Language.ini"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return QString();
    return file.fileName();
}

} // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    void decodeAndSplit_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("bom, utf-8, crlf") << QByteArray("\xEF\xBB\xBFMod\xC3\xA8le\r\nb\r\n")
                                          << QStringList{u"Mod\u00E8le"_s, u"b"_s};
        QTest::newRow("1252, lf") << QByteArray("caf\xE9\nb")
                                  << QStringList{u"caf\u00E9"_s, u"b"_s};
        QTest::newRow("1252 euro, quotes, cr")
            << QByteArray("\x80\x93\rb\r") << QStringList{u"\u20AC\u201C"_s, u"b"_s};
        // One bad byte means the file was written in the old code page, so a
        // sequence that happens to be valid UTF-8 is not taken as UTF-8 either.
        QTest::newRow("mixed is all 1252")
            << QByteArray("\xC3\xA9\xE9") << QStringList{u"\u00C3\u00A9\u00E9"_s};
        QTest::newRow("blank line") << QByteArray("a\r\n\r\nb") << QStringList{u"a"_s, {}, u"b"_s};
        QTest::newRow("lf cr is two ends")
            << QByteArray("a\n\rb") << QStringList{u"a"_s, {}, u"b"_s};
    }
    void decodeAndSplit() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(splitLines(decodeText(bytes)), expected);
    }

    void readTextFileErrors() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const Result<QString> missing = readTextFile(dir.filePath(u"none.ini"_s));
        QCOMPARE(missing ? 0 : missing.error().code(), 53);
        QVERIFY(missing.error().boxText().startsWith(u"Err : 53\r\n"_s));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        const Result<QString> folder = readTextFile(dir.filePath(u"folder.ini"_s));
        QCOMPARE(folder ? 0 : folder.error().code(), 75);
    }

    void iniValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("names ignore case, blanks trimmed")
            << u"[ LANGUAGE ]\n caption =  Hi there  "_s << u"Hi there"_s;
        QTest::newRow("quotes removed") << u"[Language]\nCaption=\"  Hi  \""_s << u"  Hi  "_s;
        QTest::newRow("inner quotes kept") << u"[Language]\nCaption=a \"b\""_s << u"a \"b\""_s;
        QTest::newRow("other section") << u"[Other]\nCaption=No\n[Language]\nX=1"_s << QString();
        QTest::newRow("cut to 1023")
            << u"[Language]\nCaption="_s + QString(2000, u'x') << QString(1023, u'x');
    }
    void iniValue() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(IniFile::parse(text).value(u"Language"_s, u"Caption"_s), expected);
    }

    void loadLanguage_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("keysRead");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<int>("error");
        QTest::newRow("first key missing") << u"Caption"_s << QString() << 0 << 0 << 0;
        QTest::newRow("quoted spaces") << u"mnuAbout"_s << u"\"  \""_s << 18 << 8 << 0;
        QTest::newRow("last key empty") << u"LBL21"_s << u""_s << 40 << 8 << 0;
        QTest::newRow("font size 9.5 to even") << u"FontSize"_s << u"9.5"_s << 41 << 10 << 0;
        QTest::newRow("font size 10.5 to even") << u"FontSize"_s << u"10.5"_s << 41 << 10 << 0;
        QTest::newRow("font size beyond 16 bits") << u"FontSize"_s << u"40000"_s << 2 << 0 << 6;
    }
    void loadLanguage() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, keysRead);
        QFETCH(int, fontSize);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const LanguageLoad load = vistrel::loadLanguage(writeLanguage(dir, key, value));
        QCOMPARE(load.keysRead, keysRead);
        QCOMPARE(load.error ? load.error->code() : 0, error);
        QCOMPARE(load.missingKey, keysRead < kLanguageKeyCount && !error ? key : QString());
        QCOMPARE(int(load.texts.fontSize), fontSize);
        // What came before the stop is in place, nothing after it.
        QCOMPARE(load.texts.text(LangKey::Caption), keysRead > 0 ? u"Caption"_s : QString());
        QCOMPARE(load.texts.text(LangKey::Lbl21),
                 keysRead == kLanguageKeyCount ? u"LBL21"_s : QString());
    }

    void labelBreaksOnlyAtUpperCaseTag() {
        QCOMPARE(labelWithBreaks(u"Screen<BR>Size<BR>"_s), u"Screen\r\nSize\r\n"_s);
        QCOMPARE(labelWithBreaks(u"Screen<br>Size"_s), u"Screen<br>Size"_s);
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
