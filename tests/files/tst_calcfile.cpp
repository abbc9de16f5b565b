#include "files/textfile.h"
#include "files/calcfile.h"

#include "endlessdevice.h"
#include "textbytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// The items of a calculation file as the program writes them, one a line: every
// item different, so that a swapped line shows, and numbers that only read back
// with all their digits.
const QList<QByteArray> kSample =
    QByteArray(
        "\"Projekt\xC3\xB6r\" 0.62 300.5 30.5 250.5 0.5 1.1 0.25 0.9 0.1 0.12 -0.05 0.06 2 1 "
        "30.25 280.5 29.5 230.5 1 0 1.7777777777777777 9 16 2 1.5e+20 0.30000000000000004 "
        "123.456 250 -3.25 5e-324 32767 -32768 468.75")
        .split(' ');

Result<CalcFileData> parse(const QList<QByteArray> &lines, const QByteArray &lineEnd = "\r\n") {
    return parseCalcFile(decodeText(lines.join(lineEnd)).value());
}

} // namespace

class TestCalcFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void writesAndReadsBack() {
        CalcFileData data = *parse(kSample);
        QCOMPARE(formatCalcFile(data), kSample.join("\r\n") + "\r\n");
        QCOMPARE(data.maxDistance, 468.75);
        // Only the outermost quotation marks delimit the name.
        data.model.name = u"\"Big\" 12\" model \""_s;
        QVERIFY(writeCalcFile(dir_.filePath(u"calc.cf"_s), data));
        const Result<CalcFileData> read = readCalcFile(dir_.filePath(u"calc.cf"_s));
        QVERIFY(read.ok() && *read == data);
    }

    void reads_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<int>("line"); // 1-based line to replace; 0: drop the last line
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("error");
        // Files of the old program read as the same items.
        QTest::newRow("Windows-1252 name")
            << QByteArray("\r\n") << 1 << QByteArray("\"Projekt\xF6r\"") << 0;
        QTest::newRow("no integer part, LF") << QByteArray("\n") << 2 << QByteArray(".62") << 0;
        QTest::newRow("upper-case exponent, CR")
            << QByteArray("\r") << 26 << QByteArray("1.5E+20") << 0;
        QTest::newRow("33 lines") << QByteArray("\r\n") << 0 << QByteArray() << 62;
        QTest::newRow("word in float line") << QByteArray("\r\n") << 6 << QByteArray("abc") << 13;
        QTest::newRow("16-bit too large") << QByteArray("\r\n") << 33 << QByteArray("40000") << 6;
        QTest::newRow("float too large") << QByteArray("\r\n") << 28 << QByteArray("1e999") << 6;
        QTest::newRow("position -1") << QByteArray("\r\n") << 21 << QByteArray("-1") << 380;
        QTest::newRow("unit 3") << QByteArray("\r\n") << 25 << QByteArray("3") << 380;
    }
    void reads() {
        QFETCH(QByteArray, lineEnd);
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, error);
        QList<QByteArray> lines = kSample;
        if (line == 0)
            lines.removeLast();
        else
            lines[line - 1] = text;
        const Result<CalcFileData> read = parse(lines, lineEnd);
        QCOMPARE(read ? 0 : read.error().code(), error);
        QVERIFY(!read || *read == *parse(kSample));
    }

    // Whatever follows the 34 items is not read: the file opens as its items.
    void whatFollowsTheItemsIsIgnored_data() {
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("an empty line") << QByteArray("\r\n");
        QTest::newRow("two empty lines") << QByteArray("\r\n\r\n");
        QTest::newRow("a 35th item") << QByteArray("1\r\n");
        QTest::newRow("an unended 35th item") << QByteArray("x");
        QTest::newRow("a note of another program")
            << QByteArray("[Notes]\r\nRoom=Lecture hall 2, \"north\"\r\n\xFF\xFE");
    }
    void whatFollowsTheItemsIsIgnored() {
        QFETCH(QByteArray, after);
        const Result<CalcFileData> read =
            parseCalcFile(decodeText(kSample.join("\r\n") + "\r\n" + after).value());
        QVERIFY(read.ok() && *read == *parse(kSample));
    }

    // Reading ends at the 34th item, however much follows.
    void endlessFilesStop() {
        EndlessDevice lineFeeds(kSample.join("\r\n") + "\r\n", "\n");
        const Result<CalcFileData> read = readCalcFile(lineFeeds, u"feeds.cf"_s);
        QVERIFY(read.ok() && *read == *parse(kSample));
        QVERIFY(lineFeeds.bytesServed() <= 64 * 1024);
        // A device is refused before a byte is read.
        QCOMPARE(readCalcFile(u"/dev/zero"_s).error().code(), 75);
    }

    // A file saved again by Windows Notepad as "Unicode" opens as before.
    void unicodeFiles() {
        const QString path = dir_.filePath(u"unicode.cf"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(utf16WithBom(QString::fromUtf8(kSample.join("\r\n") + "\r\n"), false));
        file.close();
        const Result<CalcFileData> read = readCalcFile(path);
        QVERIFY(read.ok() && *read == *parse(kSample));
        QCOMPARE(read->model.name, u"Projekt\u00F6r"_s);
    }

    void failedSaveLeavesFilesAlone() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeCalcFile(dir.filePath(u"kept.cf"_s), *parse(kSample)));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.cf"_s));
        QVERIFY(!writeCalcFile(dir.filePath(u"missing/calc.cf"_s), CalcFileData()));
        QVERIFY(!writeCalcFile(dir.filePath(u"folder.cf"_s), CalcFileData()));
        // No temporary file is left behind, and the earlier save is intact.
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{u"folder.cf"_s, u"kept.cf"_s}));
        QVERIFY(*readCalcFile(dir.filePath(u"kept.cf"_s)) == *parse(kSample));
    }
};

QTEST_GUILESS_MAIN(TestCalcFile)
#include "tst_calcfile.moc"
