#include "files/inifile.h"
#include "core/language.h"
#include "files/languagefile.h"
#include "files/textfile.h"
#include "endlessdevice.h"
#include "textbytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// A complete Language.ini in which every key holds its own name (the font
// size 8), except `key`, which holds `value` or is left out when it is null.
QStringList linesOfFile(const QTemporaryDir &dir, const QByteArray &bytes,
                        const ReadLimits &limits) {
    QFile file(dir.filePath(u"lines.txt"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {u"<not written>"_s};
    file.close();
    QStringList lines;
    const Result<void> read = readTextLines(file.fileName(), limits, [&lines](QStringView line) {
        lines << line.toString();
        return Result<LineStep>(LineStep::More);
    });
    return read ? lines : QStringList{read.error().boxText()};
}

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
        // Windows Notepad's "Unicode" and "Unicode big endian".
        QTest::newRow("utf-16 le") << utf16WithBom(u"N\u00E4me,1\r\n\u20AC\r\n"_s, false)
                                   << QStringList{u"N\u00E4me,1"_s, u"\u20AC"_s};
        QTest::newRow("utf-16 be")
            << utf16WithBom(u"N\u00E4me,1\r\nb"_s, true) << QStringList{u"N\u00E4me,1"_s, u"b"_s};
        // A line is read as UTF-8 when it is valid UTF-8, otherwise as 1252.
        QTest::newRow("utf-8 and 1252 lines")
            << QByteArray("caf\xC3\xA9\r\ncaf\xE9") << QStringList{u"caf\u00E9"_s, u"caf\u00E9"_s};
    }
    // The same from memory and streamed from a file.
    void decodeAndSplit() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(splitLines(decodeText(bytes).value()), expected);
        QTemporaryDir dir;
        QCOMPARE(linesOfFile(dir, bytes, {1 << 20, 1 << 20, false}), expected);
    }

    // Reading goes in blocks of 64 KiB: a CR LF or a UTF-16 surrogate pair
    // split between two blocks is still one line end or one character.
    void lineEndsAndCharactersAcrossBlocks() {
        QTemporaryDir dir;
        const ReadLimits roomy{1 << 20, 1 << 20, false};
        const QByteArray first(65535, 'a');
        QCOMPARE(linesOfFile(dir, first + "\r\nb", roomy),
                 (QStringList{QString::fromLatin1(first), u"b"_s}));
        const QString wide = QString(32766, u'a') + u"\U0001F600"_s;
        QCOMPARE(linesOfFile(dir, utf16WithBom(wide + u"\r\nb"_s, false), roomy),
                 (QStringList{wide, u"b"_s}));
    }

    void limits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("line at the limit")
            << QByteArray("abcd\nef") << false << QStringList{u"abcd"_s, u"ef"_s};
        QTest::newRow("line beyond the limit")
            << QByteArray("abcde\nef") << false
            << QStringList{u"Err : 59\r\nBad record length: line 1 of %1 is longer than 4 bytes"_s};
        QTest::newRow("cut") << QByteArray("abcdefgh\nij") << true
                             << QStringList{u"abcd"_s, u"ij"_s};
        // A cut never leaves half a UTF-8 character behind.
        QTest::newRow("cut inside a character")
            << QByteArray("abc\xC3\xA9\nij") << true << QStringList{u"abc"_s, u"ij"_s};
        QTest::newRow("file at the limit")
            << QByteArray("abcd\nefgh\nijkl\nmnop\n") << false
            << QStringList{u"abcd"_s, u"efgh"_s, u"ijkl"_s, u"mnop"_s};
        QTest::newRow("file beyond the limit")
            << QByteArray("abcd\nefgh\nijkl\nmnop\nq") << false
            << QStringList{u"Err : 59\r\nBad record length: %1 is larger than 20 bytes, more than "
                           "such a file can hold"_s};
    }
    void limits() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cut);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QStringList lines = linesOfFile(dir, bytes, {20, 4, cut});
        QCOMPARE(lines, expected.replaceInStrings(u"%1"_s, dir.filePath(u"lines.txt"_s)));
    }

    // A settings file that never ends (a device, a pipe) is refused at its
    // size limit, without running out of memory.
    void endlessSettingsStop() {
        EndlessDevice endless("[Language]\r\n", "Caption=x\r\n");
        const Result<void> read =
            readTextLines(endless, u"endless"_s, kSettingsLimits,
                          [](QStringView) { return Result<LineStep>(LineStep::More); });
        QCOMPARE(read ? 0 : read.error().code(), 59);
        QCOMPARE(endless.bytesServed(), kSettingsLimits.maxFileBytes + 1);
        // A device is not read at all: its texts are missing, as a missing file's.
        const LanguageLoad zero = vistrel::loadLanguage(u"/dev/zero"_s);
        QVERIFY(!zero.error);
        QCOMPARE(zero.missingKey, u"Caption"_s);
    }

    void aLanguageFileInUtf16() {
        QTemporaryDir dir;
        const QString path = writeLanguage(dir, u"Caption"_s, u"Proj\u00E9cteur \u20AC"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(utf16WithBom(text, true));
        file.close();
        const LanguageLoad load = vistrel::loadLanguage(path);
        QVERIFY(load.complete());
        QCOMPARE(load.texts.text(LangKey::Caption), u"Proj\u00E9cteur \u20AC"_s);
    }

    void readTextFileErrors() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const Result<QString> missing = readTextFile(dir.filePath(u"none.ini"_s), kSettingsLimits);
        QCOMPARE(missing ? 0 : missing.error().code(), 53);
        QVERIFY(missing.error().boxText().startsWith(u"Err : 53\r\n"_s));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        const Result<QString> folder = readTextFile(dir.filePath(u"folder.ini"_s), kSettingsLimits);
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
        QCOMPARE(IniFile::parse(text).value().value(u"Language"_s, u"Caption"_s), expected);
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
        QCOMPARE(load.texts.text(LangKey::CancelButton),
                 keysRead == kLanguageKeyCount ? u"LBL21"_s : QString());
    }

    // Every shipped text file has every key, the later ones included, so
    // no language falls back to English for a caption.
    void shippedTextsAreComplete_data() {
        QTest::addColumn<QString>("file");
        for (const char *name :
             {"Language.ini", "Language.de.ini", "Language.fr.ini", "Language.es.ini"})
            QTest::newRow(name) << QStringLiteral(VISTREL_DATA_DIR "/") + QLatin1String(name);
    }
    void shippedTextsAreComplete() {
        QFETCH(QString, file);
        QVERIFY(vistrel::loadLanguage(file).complete());
        const IniFile ini = IniFile::load(file);
        for (int i = 0; i < kOptionalKeyCount; ++i) {
            const QString key = optionalKeyName(static_cast<OptionalKey>(i));
            QVERIFY2(!ini.value(kLanguageSection, key).trimmed().isEmpty(), qPrintable(key));
        }
        // Every error name in a translation, the English file using the defaults.
        const bool english = file.endsWith(u"/Language.ini"_s);
        for (const ErrorName &name : kErrorNames) {
            const QString key = u"err%1"_s.arg(static_cast<int>(name.number));
            QVERIFY2(ini.value(kLanguageSection, key).trimmed().isEmpty() == english,
                     qPrintable(key));
        }
    }

    // The error box names the error in the user's language; the details after
    // the name, and a description that does not start with it, stay as they are.
    void errorNamesInTheUsersLanguage() {
        const LanguageLoad german = vistrel::loadLanguage(VISTREL_DATA_DIR "/Language.de.ini");
        const AppError missing =
            makeError(ErrorNumber::FileNotFound, u"File not found: /x/room.cf"_s);
        QCOMPARE(localizedBoxText(missing, german.texts),
                 u"Err : 53\r\nDatei nicht gefunden: /x/room.cf"_s);
        QCOMPARE(localizedBoxText(missing, LanguageTexts()), missing.boxText());
        const AppError other = makeError(ErrorNumber::Overflow, u"File not found: odd"_s);
        QCOMPARE(localizedBoxText(other, german.texts), other.boxText());
    }

    // A Language.ini written before the planner has none of its keys: it
    // loads as complete, and those texts are the English ones.
    void laterTextsFallBackToEnglish() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = writeLanguage(dir, QString(), QString());
        LanguageLoad load = vistrel::loadLanguage(path);
        QVERIFY(load.complete());
        QCOMPARE(load.texts.text(OptionalKey::MenuPlanner), u"&Installation planner..."_s);
        QCOMPARE(load.texts.text(OptionalKey::Unknown), u"unknown"_s);

        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("LBL40=unbekannt\r\n");
        file.close();
        load = vistrel::loadLanguage(path);
        QVERIFY(load.complete());
        QCOMPARE(load.texts.text(OptionalKey::Unknown), u"unbekannt"_s);
        QCOMPARE(load.texts.text(OptionalKey::MenuPlanner), u"&Installation planner..."_s);
    }

    void labelBreaksOnlyAtUpperCaseTag() {
        QCOMPARE(labelWithBreaks(u"Screen<BR>Size<BR>"_s), u"Screen\r\nSize\r\n"_s);
        QCOMPARE(labelWithBreaks(u"Screen<br>Size"_s), u"Screen<br>Size"_s);
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
