#include "core/textfile.h"
#include "files/calcfile.h"

#include "endlessdevice.h"
#include "recordingobserver.h"
#include "testmodels.h"
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
    return parseCalcFile(decodeText(lines.join(lineEnd)));
}

// Alpha has both zoom ends and 16 : 9; Beta only WIDE and no 16 : 9.
const ModelRecord kAlpha = testModel(u"Alpha"_s, 0.5, -2, 0.4, -1);
const ModelRecord kBeta = testModel(u"Beta"_s, 0.6, 1, 0, 0, 0);

} // namespace

class TestCalcFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    RecordingObserver observer_;
    std::optional<Calculator> calc_;

    // Saves a calculation with these items (4 : 3 WIDE, inches unless told) and opens it.
    Status open(const ModelRecord &model, QList<double> items = {0, 3, 4, 100, 0}) {
        const CalcFileData data{.model = model,
                                .ZoomEnd = std::int16_t(items[0]),
                                .AspectHeight = items[1],
                                .AspectWidth = items[2],
                                .UnitCode = std::int16_t(items[4]),
                                .ScreenDiagonal = items[3]};
        const QString path = dir_.filePath(model.ModelName + u".cf"_s);
        if (Status saved = writeCalcFile(path, data))
            return saved;
        return OpenCalculateFile(*calc_, path);
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        QVERIFY(!calc_->startUp({kAlpha, kBeta}));
        observer_.clear();
    }

    void writesAndReadsBack() {
        CalcFileData data = *parse(kSample);
        QCOMPARE(formatCalcFile(data), kSample.join("\r\n") + "\r\n");
        QCOMPARE(data.MaxDistance, 468.75);
        // Only the outermost quotation marks delimit the name.
        data.model.ModelName = u"\"Big\" 12\" model \""_s;
        QVERIFY(!writeCalcFile(dir_.filePath(u"calc.cf"_s), data));
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

    // After the 34 items only a line end and one empty line may follow, so
    // a file of endless line feeds is refused at once.
    void whatMayFollowTheItems_data() {
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("error");
        QTest::newRow("nothing") << QByteArray() << 0;
        QTest::newRow("an empty line") << QByteArray("\r\n") << 0;
        QTest::newRow("a line of blanks") << QByteArray(" \t\r\n") << 0;
        QTest::newRow("two empty lines") << QByteArray("\r\n\r\n") << 9;
        QTest::newRow("a 35th item") << QByteArray("1\r\n") << 9;
        QTest::newRow("an unended 35th item") << QByteArray("x") << 9;
    }
    void whatMayFollowTheItems() {
        QFETCH(QByteArray, after);
        QFETCH(int, error);
        const Result<CalcFileData> read =
            parseCalcFile(decodeText(kSample.join("\r\n") + "\r\n" + after));
        QCOMPARE(read ? 0 : read.error().code(), error);
        if (error)
            QVERIFY2(read.error().description.contains(u"more than 34 items in line 3"_s),
                     qPrintable(read.error().description));
    }

    void endlessFilesStop() {
        EndlessDevice lineFeeds(kSample.join("\r\n") + "\r\n", "\n");
        const Result<CalcFileData> read = readCalcFile(lineFeeds, u"feeds.cf"_s);
        QCOMPARE(read ? 0 : read.error().code(), 9);
        QVERIFY(read.error().description.endsWith(u"feeds.cf"_s));
        QVERIFY(lineFeeds.bytesServed() <= 64 * 1024);
        QCOMPARE(readCalcFile(u"/dev/zero"_s).error().code(), 59);
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
        QCOMPARE(read->model.ModelName, u"Projekt\u00F6r"_s);
    }

    void failedSaveLeavesFilesAlone() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(!writeCalcFile(dir.filePath(u"kept.cf"_s), *parse(kSample)));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.cf"_s));
        QVERIFY(writeCalcFile(dir.filePath(u"missing/calc.cf"_s), CalcFileData()));
        QVERIFY(writeCalcFile(dir.filePath(u"folder.cf"_s), CalcFileData()));
        // No temporary file is left behind, and the earlier save is intact.
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{u"folder.cf"_s, u"kept.cf"_s}));
        QVERIFY(*readCalcFile(dir.filePath(u"kept.cf"_s)) == *parse(kSample));
    }

    void openAddsUnknownModelOnce() {
        ModelRecord gamma = kAlpha;
        gamma.ModelName = u"Gamma"_s;
        gamma.WideCoefA = 0.7;
        for (int round = 0; round < 2; ++round) {
            QVERIFY(!open(gamma));
            QCOMPARE(calc_->controls().modelItems,
                     (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
            QCOMPARE(calc_->controls().modelSelected, 2);
            QVERIFY(calc_->models().back() == gamma);
        }
        // A known name keeps the catalogue's lens data, whatever the file holds.
        ModelRecord changed = kAlpha;
        changed.WideCoefA = 0.9;
        QVERIFY(!open(changed));
        QVERIFY(calc_->models().front() == kAlpha);
        QCOMPARE(calc_->state().ProjectionDistance, (100.0 + 2) / 0.5);
    }

    void openRestoresOptions_data() {
        QTest::addColumn<bool>("beta");
        QTest::addColumn<QList<double>>("items");  // zoom end, aspect pair, diagonal, unit
        QTest::addColumn<QList<double>>("result"); // zoom, aspect, diagonal[, distance]
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("16 : 9") << false << QList<double>{0, 9, 16, 100, 0}
                                << QList<double>{0, 2, 100} << QStringList();
        QTest::newRow("4 / 5 is 5 : 4")
            << false << QList<double>{0, 4, 5, 100, 0} << QList<double>{0, 1, 100} << QStringList();
        // Beta has neither TELE nor 16 : 9; what selecting it chose stays.
        QTest::newRow("TELE and 16 : 9 fall back")
            << true << QList<double>{1, 9, 16, 100, 0}
            << QList<double>{0, 0, 100, (100.0 - 1) / 0.6} << QStringList();
        QTest::newRow("oversized diagonal clamped") << false << QList<double>{0, 3, 4, 500, 2}
                                                    << QList<double>{0, 0, 300, (300.0 + 2) / 0.5}
                                                    << QStringList{u"large 762 cm (300 in)"_s};
    }
    void openRestoresOptions() {
        QFETCH(bool, beta);
        QFETCH(QList<double>, items);
        QFETCH(QList<double>, result);
        QFETCH(QStringList, messages);
        // Start from other options, so that the file has to change them.
        calc_->selectZoom(1);
        calc_->selectAspect(items[1] == 9 ? 0 : 2);
        observer_.clear();
        QVERIFY(!open(beta ? kBeta : kAlpha, items));
        const Controls &k = calc_->controls();
        QCOMPARE((QList<double>{double(k.zoom), double(k.aspect), calc_->state().ScreenDiagonal,
                                calc_->state().ProjectionDistance})
                     .first(result.size()),
                 result);
        QCOMPARE(observer_.messages, messages);
    }

    // 16 : 9 exists for the modes 1 and 2 only; any other mode behaves as 0.
    void wideScreenModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("offered");
        for (const int mode : {0, 1, 2, 3, -1, 7})
            QTest::addRow("mode %d", mode) << mode << (mode == 1 || mode == 2);
    }
    void wideScreenModes() {
        QFETCH(int, mode);
        QFETCH(bool, offered);
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        const ModelRecord model = testModel(u"Mode"_s, 0.5, -2, 0.4, -1, mode);
        QVERIFY(!calc_->startUp({model}));
        QCOMPARE(calc_->controls().aspect169Enabled, offered);
        // A file asking for 16 : 9 falls back to what the model selection chose.
        QVERIFY(!open(model, {0, 9, 16, 100, 0}));
        QCOMPARE(calc_->controls().aspect, offered ? 2 : 0);
        QCOMPARE(calc_->state().ProjectionDistance,
                 offered ? (100 / (mode == 1 ? 1.223837 : 0.917878) + 2) / 0.5 : (100.0 + 2) / 0.5);
        QVERIFY(observer_.errors.isEmpty());
    }

    void openBadFileChangesNothing() {
        QVERIFY(!open(kBeta, {0, 4, 5, 120, 1}));
        const Controls before = calc_->controls();
        const QString file = calc_->CurrentFileName();
        observer_.clear();
        // A new model without any lens line is refused before anything changes,
        // and so is a file cut short after its first line.
        QCOMPARE(open(testModel(u"Delta"_s, 0, 0, 0, 0)).value().code(), 380);
        QVERIFY(QFile::resize(dir_.filePath(u"Delta.cf"_s), 9));
        QCOMPARE(OpenCalculateFile(*calc_, dir_.filePath(u"Delta.cf"_s)).value().code(), 62);
        QCOMPARE(calc_->controls().modelItems, before.modelItems);
        QCOMPARE(calc_->controls().modelSelected, before.modelSelected);
        QCOMPARE(calc_->controls().fieldText, before.fieldText);
        QCOMPARE(calc_->CurrentFileName(), file);
        QCOMPARE(observer_.isometricDrawings, 0);
        QVERIFY(calc_->WindowReady());
    }
};

QTEST_GUILESS_MAIN(TestCalcFile)
#include "tst_calcfile.moc"
