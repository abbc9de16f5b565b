#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void decodeText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bom skipped") << QByteArray("\xEF\xBB\xBFModel") << u"Model"_s;
        QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9") << u"caf\u00E9"_s;
        QTest::newRow("1252 e acute") << QByteArray("caf\xE9") << u"caf\u00E9"_s;
        QTest::newRow("1252 euro") << QByteArray("\x80 5") << u"\u20AC 5"_s;
        QTest::newRow("1252 quotes, undefined byte")
            << QByteArray("\x93\x81\x94") << u"\u201C\u0081\u201D"_s;
        // One bad byte means the file was written in the old code page, so a
        // sequence that happens to be valid UTF-8 is not taken as UTF-8 either.
        QTest::newRow("mixed is all 1252") << QByteArray("\xC3\xA9\xE9") << u"\u00C3\u00A9\u00E9"_s;
        QTest::newRow("bom then 1252") << QByteArray("\xEF\xBB\xBF\xE9") << u"\u00E9"_s;
        QTest::newRow("truncated sequence") << QByteArray("ab\xC3") << u"ab\u00C3"_s;
    }
    void decodeText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(vistrel::decodeText(bytes), expected);
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const QStringList ab{u"a"_s, u"b"_s};
        const QStringList aEmptyB{u"a"_s, QString(), u"b"_s};
        QTest::newRow("crlf") << u"a\r\nb"_s << ab;
        QTest::newRow("lf") << u"a\nb"_s << ab;
        QTest::newRow("cr") << u"a\rb"_s << ab;
        QTest::newRow("trailing crlf") << u"a\r\nb\r\n"_s << ab;
        QTest::newRow("trailing cr") << u"a\rb\r"_s << ab;
        QTest::newRow("blank line") << u"a\r\n\r\nb"_s << aEmptyB;
        QTest::newRow("lf cr is two ends") << u"a\n\rb"_s << aEmptyB;
        QTest::newRow("cr cr lf") << u"a\r\r\nb"_s << aEmptyB;
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("lone terminator") << u"\r\n"_s << QStringList{QString()};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(vistrel::splitLines(text), expected);
    }

    void readTextFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Mod\u00E8les.ini"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBFHeader\r\nMod\xC3\xA8le,1\r\n");
        file.close();
        const Result<QString> text = vistrel::readTextFile(path);
        QVERIFY(text.ok());
        QCOMPARE(*text, u"Header\r\nMod\u00E8le,1\r\n"_s);

        const Result<QString> missing = vistrel::readTextFile(dir.filePath(u"none.ini"_s));
        QVERIFY(!missing.ok());
        QCOMPARE(missing.error().code(), 53);
        QVERIFY(missing.error().boxText().startsWith(u"Err : 53\r\n"_s));

        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        const Result<QString> folder = vistrel::readTextFile(dir.filePath(u"folder.ini"_s));
        QVERIFY(!folder.ok());
        QCOMPARE(folder.error().code(), 75);
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
