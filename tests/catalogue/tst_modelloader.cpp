#include "catalogue/modelloader.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

const QString kModelA = u"Model A, 30, 300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1, 0.12, 0, 0, 1, 0, "
                        "30, 280, 30, 230"_s;

QString catalogue(const QStringList &modelLines) {
    return (QStringList{u"Name,Min,Max"_s} + modelLines).join(u"\r\n"_s) + u"\r\n"_s;
}

Result<std::vector<ModelRecord>> parse(const QString &text) {
    return parseModelInfo(text, u"ModelInfo.ini"_s);
}

QStringList names(const Result<std::vector<ModelRecord>> &models) {
    QStringList result;
    if (models)
        for (const ModelRecord &m : *models)
            result << m.modelName;
    return result;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes) {
    QFile file(dir.filePath(u"ModelInfo.ini"_s));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(bytes);
    return file.fileName();
}

} // namespace

class TestModelLoader : public QObject {
    Q_OBJECT

private slots:
    void workedExample() {
        const auto models = parse(catalogue({kModelA}));
        QCOMPARE(names(models), QStringList{u"Model A"_s});
        const double expected[] = {30,   300, 30, 250, 0.62, 1.1, 0.5, 0.9, 0.1,
                                   0.12, 0,   0,  1,   0,    30,  280, 30,  230};
        for (int field = 1; field < kModelFieldCount; ++field)
            QCOMPARE(numericField(models->front(), field), expected[field - 1]);
    }

    void modelNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty file") << QString() << QStringList();
        QTest::newRow("header only") << u"Name,Min,Max"_s << QStringList();
        QTest::newRow("header only, terminated") << catalogue({}) << QStringList();
        QTest::newRow("header that looks like a model")
            << kModelA + u"\r\nModel B,1"_s << QStringList{u"Model B"_s};
        QTest::newRow("empty header line") << u"\r\nModel B,1"_s << QStringList{u"Model B"_s};
        QTest::newRow("blank and comma lines skipped")
            << catalogue({u"One"_s, QString(), u",30,300"_s, u"   ,30"_s, u"   "_s, u"Two"_s})
            << QStringList{u"One"_s, u"Two"_s};
        QTest::newRow("duplicates kept")
            << catalogue({u"Twin,1"_s, u"Twin,2"_s}) << QStringList{u"Twin"_s, u"Twin"_s};
        QTest::newRow("only spaces trimmed")
            << catalogue({u"\t Model  A \t "_s}) << QStringList{u"\t Model  A \t"_s};
        QTest::newRow("quote is ordinary")
            << catalogue({u"\"Model, B\",40"_s}) << QStringList{u"\"Model"_s};
        // Only 19 fields count, whatever follows them.
        QTest::newRow("surplus fields ignored")
            << catalogue({kModelA + u",1e999,junk"_s}) << QStringList{u"Model A"_s};
    }
    void modelNames() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const auto models = parse(text);
        QVERIFY(models.ok());
        QCOMPARE(names(models), expected);
    }

    void fieldValues() {
        const auto models =
            parse(catalogue({u"  Model A  ,30,300"_s, u"B,1,5"_s, u"C, 1 2 ,12.5cm,abc,1.5E2"_s}));
        QCOMPARE(names(models), (QStringList{u"Model A"_s, u"B"_s, u"C"_s}));
        const ModelRecord &a = models->at(0);
        QCOMPARE(a.minDiagonal43Wide, 30.0);
        QCOMPARE(a.maxDiagonal43Wide, 300.0);
        for (int field = 3; field < kModelFieldCount; ++field)
            QCOMPARE(numericField(a, field), 0.0);
        // "1,5" cannot be a decimal comma: it is two fields.
        QCOMPARE(models->at(1).minDiagonal43Wide, 1.0);
        QCOMPARE(models->at(1).maxDiagonal43Wide, 5.0);
        const ModelRecord &c = models->at(2);
        QCOMPARE(c.minDiagonal43Wide, 12.0);
        QCOMPARE(c.maxDiagonal43Wide, 12.5);
        QCOMPARE(c.minDiagonal43Tele, 0.0);
        QCOMPARE(c.maxDiagonal43Tele, 150.0);
    }

    void numericLimits_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        QTest::addColumn<double>("expected");
        QTest::newRow("1.5 to even") << 13 << u"1.5"_s << 0 << 2.0;
        QTest::newRow("2.5 to even") << 13 << u"2.5"_s << 0 << 2.0;
        QTest::newRow("-0.5 to even") << 14 << u"-0.5"_s << 0 << 0.0;
        QTest::newRow("16-bit bottom") << 14 << u"-32768"_s << 0 << -32768.0;
        QTest::newRow("mode overflow") << 13 << u"40000"_s << 6 << 0.0;
        QTest::newRow("draw flag overflow") << 14 << u"32767.5"_s << 6 << 0.0;
        QTest::newRow("float unchecked") << 5 << u"1e300"_s << 0 << 1e300;
        QTest::newRow("float overflow") << 1 << u"1e999"_s << 6 << 0.0;
        QTest::newRow("last float overflow") << 18 << u"-1e999"_s << 6 << 0.0;
    }
    void numericLimits() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(int, error);
        QFETCH(double, expected);
        QStringList fields = kModelA.split(u',');
        fields[field] = text;
        // A good model comes first: the load is all or nothing.
        const auto models = parse(catalogue({kModelA, fields.join(u',')}));
        QCOMPARE(models ? 0 : models.error().code(), error);
        if (!error)
            QCOMPARE(numericField(models->at(1), field), expected);
    }

    void capacity() {
        QStringList lines;
        for (int i = 0; i < 1000; ++i)
            lines << u"M%1,%1"_s.arg(i);
        // Skipped lines take no place in the catalogue.
        const auto full = parse(catalogue(lines + QStringList{QString(), u",1"_s}));
        QVERIFY(full.ok());
        QCOMPARE(full->size(), std::size_t{1000});
        QCOMPARE(full->back().minDiagonal43Wide, 999.0);
        const auto over = parse(catalogue(lines + QStringList{u"M1000"_s}));
        QVERIFY(!over.ok());
        QCOMPARE(over.error().code(), 9);
    }

    void fromFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf, utf-8") << QByteArray("Header\r\nModel A\r\nMod\xC3\xA8le B,1\r\n");
        QTest::newRow("lf, 1252") << QByteArray("Header\nModel A\nMod\xE8le B,1");
        QTest::newRow("cr, bom") << QByteArray("\xEF\xBB\xBFHeader\rModel A\rMod\xC3\xA8le B,1\r");
    }
    void fromFile() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto models = loadModelInfo(writeFile(dir, bytes));
        // A name alone on its line must not keep a stray CR.
        QCOMPARE(names(models), (QStringList{u"Model A"_s, u"Mod\u00E8le B"_s}));
        QCOMPARE(models->at(1).minDiagonal43Wide, 1.0);
    }

    void fileErrors() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto missing = loadModelInfo(dir.filePath(u"ModelInfo.ini"_s));
        QVERIFY(!missing.ok());
        QCOMPARE(missing.error().code(), 53);
        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        const auto folder = loadModelInfo(dir.filePath(u"folder.ini"_s));
        QVERIFY(!folder.ok());
        QCOMPARE(folder.error().code(), 75);
    }

    void binaryNoise() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Biased towards the bytes the reader reacts to.
        static const char kAlphabet[] = "0123456789.,eE+- \t\r\n\x00\xFF\xC3\x80Mx";
        const QByteArray alphabet(kAlphabet, sizeof kAlphabet - 1);
        QRandomGenerator random(20240611);
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes;
            for (int i = random.bounded(1, 4000); i > 0; --i)
                bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                                : alphabet.at(random.bounded(alphabet.size()));
            const auto models = loadModelInfo(writeFile(dir, bytes));
            // Only a number out of range (or, improbably, too many models) may fail.
            QVERIFY2(models || models.error().code() == 6 || models.error().code() == 9,
                     qPrintable(models ? QString() : models.error().boxText()));
            for (const QString &name : names(models))
                QVERIFY(!name.isEmpty() && !name.startsWith(u' ') && !name.endsWith(u' '));
        }
    }
};

QTEST_GUILESS_MAIN(TestModelLoader)
#include "tst_modelloader.moc"
