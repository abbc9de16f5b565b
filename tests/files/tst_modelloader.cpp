#include "files/modelloader.h"
#include "files/textfile.h"
#include "endlessdevice.h"
#include "textbytes.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

using Fields = QList<double>; // fields 1 to 18 of a model

const QString kModelA = u"Model A, 30, 300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1, 0.12, 0, 0, 1, 0, "
                        "30, 280, 30, 230"_s;

QString catalogue(const QStringList &modelLines) {
    return (QStringList{u"Name,Min,Max"_s} + modelLines).join(u"\r\n"_s) + u"\r\n"_s;
}

QStringList names(const Result<Catalogue> &loaded) {
    QStringList result;
    for (const ModelRecord &m : loaded ? loaded->models : std::vector<ModelRecord>())
        result << m.name;
    return result;
}

} // namespace

class TestModelLoader : public QObject {
    Q_OBJECT

private slots:
    void load_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<Fields>("last"); // of the last model; fields left out are 0
        QTest::newRow("worked example") << catalogue({kModelA}) << 0 << QStringList{u"Model A"_s}
                                        << Fields{30,   300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1,
                                                  0.12, 0,   0,  1,   0,    30,  280, 30,  230};
        // "1,5" cannot be a decimal comma: it is two fields. Only 24 fields count.
        QTest::newRow("lenient numbers, surplus fields")
            << catalogue({u"B, 1 2 ,12.5cm,abc,1.5E2,1,5,0,0,0,0,0,0,0,0,0,0,0,0,,,,,,1e999"_s})
            << 0 << QStringList{u"B"_s} << Fields{12, 12.5, 0, 150, 1, 5};
        QTest::newRow("16-bit fields round halves to even")
            << catalogue({u"C,,,,,,,,,,,,,1.5,2.5"_s}) << 0 << QStringList{u"C"_s}
            << Fields(12) + Fields{2, 2};
        // A good model comes first: the load is all or nothing.
        QTest::newRow("mode beyond 16 bits")
            << catalogue({kModelA, u"X,,,,,,,,,,,,,40000"_s}) << 6 << QStringList() << Fields();
        QTest::newRow("float overflow")
            << catalogue({kModelA, u"X,1e999"_s}) << 6 << QStringList() << Fields();
        QStringList full;
        for (int i = 0; i < 1000; ++i)
            full << u"M%1"_s.arg(i);
        // Blank lines and lines without a name take no place in the catalogue.
        QTest::newRow("1000 models, lines skipped")
            << catalogue(full + QStringList{QString(), u",30,300"_s, u"   "_s}) << 0 << full
            << Fields();
        QTest::newRow("1001 models")
            << catalogue(full + QStringList{u"M1000"_s}) << 9 << QStringList() << Fields();
    }
    void load() {
        QFETCH(QString, text);
        QFETCH(int, error);
        QFETCH(QStringList, names);
        QFETCH(Fields, last);
        const auto models = parseCatalogue(text, u"ModelInfo.ini"_s);
        QCOMPARE(models ? 0 : models.error().code(), error);
        QCOMPARE(::names(models), names);
        for (int field = 1; field <= last.size(); ++field)
            QCOMPARE(numericField(models->models.back(), field), last[field - 1]);
    }

    // The planner's fields after the 19th never refuse a file: absent, empty,
    // 0 or text reading 0 is unknown; a number below 0, not finite, or a light
    // factor above 1 is unknown too, and a warning names line, field and text.
    void plannerFields_data() {
        QTest::addColumn<QString>("tail"); // fields 19 to 23
        QTest::addColumn<Fields>("values");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("an older catalogue") << QString() << Fields{0, 0, 0, 0, 0} << QStringList();
        QTest::newRow("all given") << u",2000,0.8,1920,1080,2000"_s
                                   << Fields{2000, 0.8, 1920, 1080, 2000} << QStringList();
        QTest::newRow("unknown ones") << u",,0,abc"_s << Fields{0, 0, 0, 0, 0} << QStringList();
        QTest::newRow("negative lumens") << u",-1,0.8"_s << Fields{0, 0.8, 0, 0, 0}
                                         << QStringList{u"line 2, field 19 (Lumens): \"-1\""_s};
        // A catalogue from elsewhere whose 21st field means something else.
        QTest::newRow("light factor above 1, infinite contrast")
            << u",2000, 9 ,1920,1080,1e999"_s << Fields{2000, 0, 1920, 1080, 0}
            << QStringList{u"line 2, field 20 (TeleLumenFactor): \"9\""_s,
                           u"line 2, field 23 (ContrastRatio): \"1e999\""_s};
    }
    void plannerFields() {
        QFETCH(QString, tail);
        QFETCH(Fields, values);
        QFETCH(QStringList, warnings);
        const auto loaded = parseCatalogue(catalogue({kModelA + tail}), u"ModelInfo.ini"_s);
        QVERIFY(loaded);
        const ModelRecord &m = loaded->models.front();
        QCOMPARE(
            (Fields{m.lumens, m.teleLumenFactor, m.panelWidthPx, m.panelHeightPx, m.contrastRatio}),
            values);
        QCOMPARE(m.diagonals.sixteenNine[Zoom::Tele].max, 230.0); // the 19 fields as before
        const QStringList got = describeAll(loaded->warnings);
        QCOMPARE(got.size(), warnings.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(got[i].startsWith(warnings[i]), qPrintable(got[i]));
        QVERIFY(loaded->doubts.empty());
    }

    // Values that read, as they always have, but look like mistakes: text
    // where a number belongs, limits the wrong way round, limits for a zoom
    // end without a lens line. Written zeros say an end is absent on purpose.
    void doubtfulValues_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("doubts");
        QTest::newRow("worked example") << kModelA << QStringList();
        QTest::newRow("TELE only, WIDE lens written as zeros")
            << u"T,50,300,50,300,0,0,0.52,-1.5,0.1,0.1,0,0,0,0,0,0,0,0"_s << QStringList();
        QTest::newRow("a lens slope as text")
            << u"Aster 1500,30,300,30,300,x1.0417,0.6,0.69,0.5,0.08,0.08,0,0,0,0,0,0,0,0"_s
            << QStringList{u"line 2, field 5 (WideCoefA): \"x1.0417\" - no number"_s};
        QTest::newRow("a limit as text")
            << u"Aster 1500,30,abc"_s
            << QStringList{u"line 2, field 2 (MaxDiagonal43Wide): \"abc\" - no number"_s,
                           u"line 2, field 5 (WideCoefA): \"\" - diagonal limits"_s};
        QTest::newRow("16 : 9 limits reversed, but no 16 : 9")
            << u"N,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,0,0,30,280,230,30"_s
            << QStringList();
        QTest::newRow("16 : 9 limits reversed")
            << u"R,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,230,30"_s
            << QStringList{u"line 2, field 18 (MaxDiagonal169Tele): \"30\" - largest"_s};
        QTest::newRow("TELE limits, no TELE lens")
            << u"L,30,300,30,250,0.62,1.1,,,0.1,0.12,0,0,0,0"_s
            << QStringList{u"line 2, field 7 (TeleCoefA): \"\" - diagonal limits"_s};
    }
    void doubtfulValues() {
        QFETCH(QString, line);
        QFETCH(QStringList, doubts);
        const auto loaded = parseCatalogue(catalogue({line}), u"ModelInfo.ini"_s);
        QVERIFY(loaded);
        QCOMPARE(loaded->models.size(), std::size_t{1}); // doubtful, but it loads as ever
        const QStringList got = describeAll(loaded->doubts);
        QCOMPARE(got.size(), doubts.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(got[i].startsWith(doubts[i]), qPrintable(got[i]));
    }

    // The shipped demo catalogue is above suspicion.
    void shippedCatalogueIsClean() {
        const auto loaded = loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        QVERIFY(loaded);
        QCOMPARE(describeAll(loaded->warnings), QStringList());
        QCOMPARE(describeAll(loaded->doubts), QStringList());
        // A negative offset puts the picture on the other side of the lens
        // axis; the side view draws it there only with the mirror flag.
        for (const ModelRecord &m : loaded->models)
            if (m.offsetCoefs[Zoom::Wide].a < 0 || m.offsetCoefs[Zoom::Tele].a < 0 ||
                m.offsetCoefs[Zoom::Wide].b < 0 || m.offsetCoefs[Zoom::Tele].b < 0)
                QVERIFY2(m.drawFlag == 1, qPrintable(m.name));
    }

    // Every field to its own member: 18 numbers that differ, each checked by name.
    void eachFieldHasItsPlace() {
        const auto models =
            parseCatalogue(catalogue({u"Distinct,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18"_s}),
                           u"ModelInfo.ini"_s);
        QVERIFY(models && models->models.size() == 1);
        const ModelRecord &m = models->models.front();
        QCOMPARE(m.name, u"Distinct"_s);
        QCOMPARE(m.diagonals.fourThree[Zoom::Wide].min, 1.0);
        QCOMPARE(m.diagonals.fourThree[Zoom::Wide].max, 2.0);
        QCOMPARE(m.diagonals.fourThree[Zoom::Tele].min, 3.0);
        QCOMPARE(m.diagonals.fourThree[Zoom::Tele].max, 4.0);
        QCOMPARE(m.lens[Zoom::Wide].a, 5.0);
        QCOMPARE(m.lens[Zoom::Wide].b, 6.0);
        QCOMPARE(m.lens[Zoom::Tele].a, 7.0);
        QCOMPARE(m.lens[Zoom::Tele].b, 8.0);
        QCOMPARE(m.offsetCoefs[Zoom::Wide].a, 9.0);
        QCOMPARE(m.offsetCoefs[Zoom::Tele].a, 10.0);
        QCOMPARE(m.offsetCoefs[Zoom::Wide].b, 11.0);
        QCOMPARE(m.offsetCoefs[Zoom::Tele].b, 12.0);
        QCOMPARE(m.wideScreenMode, 13);
        QCOMPARE(m.drawFlag, 14);
        QCOMPARE(m.diagonals.sixteenNine[Zoom::Wide].min, 15.0);
        QCOMPARE(m.diagonals.sixteenNine[Zoom::Wide].max, 16.0);
        QCOMPARE(m.diagonals.sixteenNine[Zoom::Tele].min, 17.0);
        QCOMPARE(m.diagonals.sixteenNine[Zoom::Tele].max, 18.0);
    }

    void fromFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"ModelInfo.ini"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Header\rModel A\rMod\xE8le B,1\r");
        file.close();
        // A name alone on its line must not keep a stray CR.
        QCOMPARE(names(loadCatalogue(path)), (QStringList{u"Model A"_s, u"Mod\u00E8le B"_s}));

        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        QCOMPARE(loadCatalogue(dir.filePath(u"missing.ini"_s)).error().code(), 53);
        QCOMPARE(loadCatalogue(dir.filePath(u"folder.ini"_s)).error().code(), 75);

        // Random bytes, biased towards those the reader reacts to: only a number
        // out of range (or, improbably, too many models) may fail.
        static const char kAlphabet[] = "0123456789.,eE+- \t\r\n\x00\xFF\xC3\x80Mx";
        QRandomGenerator random(20240611);
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes;
            for (int i = random.bounded(1, 4000); i > 0; --i)
                bytes += random.bounded(4) ? kAlphabet[random.bounded(int(sizeof kAlphabet) - 1)]
                                           : char(random.bounded(256));
            const auto models = parseCatalogue(decodeText(bytes).value(), path);
            QVERIFY(models || models.error().code() == 6 || models.error().code() == 9);
        }
    }

    // Reading stops where the format allows: at the 1001st model line, or at
    // the size limit for a file of blank lines; a device never ends.
    void endlessCataloguesStop() {
        const QByteArray line = "Model,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0\r\n";
        EndlessDevice models("Header\r\n", line);
        QCOMPARE(loadCatalogue(models, u"endless"_s).error().code(), 9);
        QVERIFY(models.bytesServed() <= 1001 * line.size() + 8 + 64 * 1024);
        EndlessDevice blank("Header\r\n", "\r\n");
        QCOMPARE(loadCatalogue(blank, u"blank"_s).error().code(), 59);
        QCOMPARE(blank.bytesServed(), kCatalogueLimits.maxFileBytes + 1);
        // A device is refused before a byte is read.
        QCOMPARE(loadCatalogue(u"/dev/zero"_s).error().code(), 75);
    }

    // Windows Notepad saves "Unicode" as UTF-16 with a byte-order mark.
    void unicodeCatalogues_data() {
        QTest::addColumn<QByteArray>("bom");
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("utf-16 le") << QByteArray("\xFF\xFE") << false;
        QTest::newRow("utf-16 be") << QByteArray("\xFE\xFF") << true;
        QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF") << false;
    }
    void unicodeCatalogues() {
        QFETCH(QByteArray, bom);
        QFETCH(bool, bigEndian);
        const QString text = catalogue({u"Mod\u00E8le \u20AC,30,300"_s, u"B,1"_s});
        const QByteArray bytes =
            bom.size() == 3 ? bom + text.toUtf8() : utf16WithBom(text, bigEndian);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"ModelInfo.ini"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto models = loadCatalogue(file.fileName());
        QCOMPARE(names(models), (QStringList{u"Mod\u00E8le \u20AC"_s, u"B"_s}));
        QCOMPARE(models->models.front().diagonals.fourThree[Zoom::Wide].max, 300.0);
    }
};

QTEST_GUILESS_MAIN(TestModelLoader)
#include "tst_modelloader.moc"
