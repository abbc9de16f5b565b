#include "files/calcfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace vistrel;

Q_DECLARE_METATYPE(CalcFileData)

namespace {

// A calculation with every item distinct, so that a swapped line shows.
CalcFileData sample() {
    CalcFileData d;
    d.model.modelName = QStringLiteral("Sample 1");
    for (int field = 1; field < kModelFieldCount; ++field)
        setNumericField(d.model, field, field * 10.5);
    d.model.minDiagonal43Wide = 0.62;
    d.model.wideScreenMode = 2;
    d.model.modelDrawFlag = 1;
    d.zoomEnd = 1;
    d.screenPosition = 0;
    d.aspectRatio = 16.0 / 9;
    d.aspectHeight = 9;
    d.aspectWidth = 16;
    d.unitCode = 2;
    d.screenWidth = 1.5e20;
    d.screenHeight = 0.1 + 0.2;
    d.screenDiagonal = 123.456;
    d.projectionDistance = 250;
    d.offsetA = -3.25;
    d.offsetB = 1e-7;
    d.offsetCount = {1, 2};
    d.maxDistance = 468.75;
    return d;
}

QList<QByteArray> sampleLines() {
    QList<QByteArray> lines = formatCalcFile(sample()).split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

class TestCalcFile : public QObject {
    Q_OBJECT

private slots:
    void writesThirtyFourItems();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void readsOlderFiles_data();
    void readsOlderFiles();
    void rejectsMalformedFiles_data();
    void rejectsMalformedFiles();
    void ignoresContentAfterLastItem();
    void failedSaveWritesNothing();
    void overwriteReplacesWholeFile();
};

void TestCalcFile::writesThirtyFourItems() {
    const QByteArray bytes = formatCalcFile(sample());
    QCOMPARE(bytes.count("\r\n"), 34);
    QCOMPARE(bytes.count('\n'), 34);
    QCOMPARE(bytes.count('\r'), 34);
    QVERIFY(bytes.endsWith("\r\n"));

    const QList<QByteArray> lines = sampleLines();
    QCOMPARE(lines.size(), 34);
    QCOMPARE(lines[0], QByteArray("\"Sample 1\""));
    QCOMPARE(lines[1], QByteArray("0.62"));
    QCOMPARE(lines[13], QByteArray("2"));
    QCOMPARE(lines[14], QByteArray("1"));
    QCOMPARE(lines[19], QByteArray("1"));
    QCOMPARE(lines[20], QByteArray("0"));
    QCOMPARE(lines[21], QByteArray("1.7777777777777777"));
    QCOMPARE(lines[25].toLower(), QByteArray("1.5e+20"));
    QCOMPARE(lines[26], QByteArray("0.30000000000000004"));
    QCOMPARE(lines[29], QByteArray("-3.25"));
    QCOMPARE(lines[33], QByteArray("468.75"));
}

void TestCalcFile::readsBackWhatItWrote_data() {
    QTest::addColumn<CalcFileData>("data");

    QTest::newRow("sample") << sample();
    CalcFileData d = sample();
    // Only the outermost quotation marks delimit the name.
    d.model.modelName = QStringLiteral("\"Big\" 12\" model \"");
    QTest::newRow("quotation marks in name") << d;
    d.model.modelName = QStringLiteral("Projektor Größe €");
    QTest::newRow("non-ASCII name") << d;
    d.model.modelName.clear();
    QTest::newRow("empty name") << d;
    d = sample();
    d.model.wideScreenMode = std::numeric_limits<std::int16_t>::min();
    d.offsetCount = {std::numeric_limits<std::int16_t>::max(), -1};
    d.screenWidth = std::numeric_limits<double>::max();
    d.screenHeight = std::numeric_limits<double>::denorm_min();
    d.offsetB = -1.0 / 3;
    QTest::newRow("extremes") << d;
}

void TestCalcFile::readsBackWhatItWrote() {
    QFETCH(CalcFileData, data);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("calc.cf"));
    QVERIFY(!writeCalcFile(path, data));
    const Result<CalcFileData> read = readCalcFile(path);
    QVERIFY2(read.ok(), qPrintable(read.ok() ? QString() : read.error().description));
    QCOMPARE(read->model.modelName, data.model.modelName);
    QVERIFY(*read == data);
}

void TestCalcFile::readsOlderFiles_data() {
    QTest::addColumn<QByteArray>("lineEnd");

    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void TestCalcFile::readsOlderFiles() {
    QFETCH(QByteArray, lineEnd);

    QList<QByteArray> lines = sampleLines();
    lines[0] = "\"Beamer \xE9t\xE9\""; // Windows-1252
    lines[1] = ".62";
    lines[25] = "1.5E+20";
    lines[30] = "1E-07";
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("old.cf"));
    QVERIFY(writeBytes(path, lines.join(lineEnd)));

    const Result<CalcFileData> read = readCalcFile(path);
    QVERIFY(read.ok());
    CalcFileData expected = sample();
    expected.model.modelName = QStringLiteral("Beamer été");
    QCOMPARE(read->model.modelName, expected.model.modelName);
    QVERIFY(*read == expected);
}

void TestCalcFile::rejectsMalformedFiles_data() {
    // 1-based line to replace; 0: keep the first 33 lines; -1: no lines at all
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("error");

    QTest::newRow("empty") << -1 << QByteArray() << 62;
    QTest::newRow("33 lines") << 0 << QByteArray() << 62;
    QTest::newRow("word in float line") << 6 << QByteArray("abc") << 13;
    QTest::newRow("decimal comma") << 28 << QByteArray("12,5") << 13;
    QTest::newRow("word in 16-bit line") << 15 << QByteArray("one") << 13;
    QTest::newRow("16-bit too large") << 33 << QByteArray("40000") << 6;
    QTest::newRow("16-bit too small") << 14 << QByteArray("-32769") << 6;
    QTest::newRow("zoom end 2") << 20 << QByteArray("2") << 380;
    QTest::newRow("position 2") << 21 << QByteArray("2") << 380;
    QTest::newRow("position -1") << 21 << QByteArray("-1") << 380;
    QTest::newRow("unit 3") << 25 << QByteArray("3") << 380;
}

void TestCalcFile::rejectsMalformedFiles() {
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(int, error);

    QList<QByteArray> lines = sampleLines();
    if (line == -1)
        lines.clear();
    else if (line == 0)
        lines.removeLast();
    else
        lines[line - 1] = text;
    const Result<CalcFileData> read = parseCalcFile(QString::fromLatin1(lines.join("\r\n")));
    QVERIFY(!read.ok());
    QCOMPARE(read.error().code(), error);
}

void TestCalcFile::ignoresContentAfterLastItem() {
    const QByteArray text = formatCalcFile(sample()) + "\"trailing\"\r\nnot a number\r\n";
    const Result<CalcFileData> read = parseCalcFile(QString::fromUtf8(text));
    QVERIFY(read.ok());
    QVERIFY(*read == sample());
}

void TestCalcFile::failedSaveWritesNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString kept = dir.filePath(QStringLiteral("kept.cf"));
    QVERIFY(!writeCalcFile(kept, sample()));
    const QByteArray keptBytes = readBytes(kept);

    QVERIFY(writeCalcFile(dir.filePath(QStringLiteral("missing/calc.cf")), sample()).has_value());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.cf")));
    QVERIFY(writeCalcFile(dir.filePath(QStringLiteral("folder.cf")), sample()).has_value());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.cf"))).isDir());
    QVERIFY(entries(dir.filePath(QStringLiteral("folder.cf"))).isEmpty());

    QCOMPARE(readBytes(kept), keptBytes);
    QCOMPARE(entries(dir.path()),
             (QStringList{QStringLiteral("folder.cf"), QStringLiteral("kept.cf")}));
}

void TestCalcFile::overwriteReplacesWholeFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("calc.cf"));
    CalcFileData longer = sample();
    longer.model.modelName = QString(500, u'L');
    QVERIFY(!writeCalcFile(path, longer));

    // A shorter file must not keep the tail of the longer one.
    const CalcFileData shorter = sample();
    QVERIFY(!writeCalcFile(path, shorter));
    QCOMPARE(readBytes(path), formatCalcFile(shorter));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("calc.cf")});
}

QTEST_GUILESS_MAIN(TestCalcFile)
#include "tst_calcfile.moc"
