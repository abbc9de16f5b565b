// Replays the recorded vistrel-cli runs of golden/cases.txt, one data row
// each, and compares every output byte for byte with its entry in
// golden/expected.txt. With VISTREL_GOLDEN_RECORD=FILE set, the outputs are
// written to FILE instead, to be reviewed and copied over expected.txt when
// a change is meant.
#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;

namespace {

const QString kGolden = QStringLiteral(VISTREL_SOURCE_DIR "/tests/cli/golden");

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool copyInto(const QString &from, const QString &folder) {
    return QFile::copy(from, QDir(folder).filePath(QFileInfo(from).fileName()));
}

// The first difference of two records, with a little context.
QString firstDifference(const QByteArray &got, const QByteArray &expected) {
    const QList<QByteArray> a = got.split('\n'), b = expected.split('\n');
    QString heading;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray &x = i < a.size() ? a[i] : QByteArray("<end>");
        const QByteArray &y = i < b.size() ? b[i] : QByteArray("<end>");
        if (x.startsWith("=== "))
            heading = QString::fromUtf8(x);
        if (x != y)
            return QStringLiteral("%1\n  line %2\n  got:      %3\n  expected: %4")
                .arg(heading)
                .arg(i + 1)
                .arg(QString::fromUtf8(x), QString::fromUtf8(y));
    }
    return QString();
}

} // namespace

class TestGolden : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString scratch_;
    QString previous_;
    QMap<int, QByteArray> expected_; // by case number
    QByteArray record_;              // what VISTREL_GOLDEN_RECORD asks to be written

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyRecordedRunGivesTheSameOutput_data();
    void everyRecordedRunGivesTheSameOutput();
};

void TestGolden::initTestCase() {
    QVERIFY(dir_.isValid());
    scratch_ = QDir(dir_.path()).canonicalPath();
    QVERIFY(copyInto(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"), scratch_));
    QVERIFY(copyInto(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"), scratch_));
    for (const QFileInfo &input :
         QDir(kGolden + QStringLiteral("/inputs")).entryInfoList(QDir::Files))
        QVERIFY(copyInto(input.filePath(), scratch_));
    previous_ = QDir::currentPath();
    QDir::setCurrent(scratch_);

    // The record: each run's entry begins "=== N: " at the start of a line.
    const QByteArray expected = readAll(kGolden + QStringLiteral("/expected.txt"));
    int number = 0;
    qsizetype begin = -1;
    for (qsizetype at = 0; at <= expected.size();) {
        const qsizetype end = expected.indexOf('\n', at);
        const qsizetype next = end < 0 ? expected.size() + 1 : end + 1;
        if (expected.mid(at, 4) == "=== " || next > expected.size()) {
            if (begin >= 0)
                expected_.insert(number, expected.mid(begin, at - begin));
            begin = at;
            number = expected.mid(at + 4, expected.indexOf(':', at) - at - 4).toInt();
        }
        at = next;
    }
}

void TestGolden::cleanupTestCase() {
    QDir::setCurrent(previous_);
    const QString recordTo = qEnvironmentVariable("VISTREL_GOLDEN_RECORD");
    if (!recordTo.isEmpty()) {
        QFile f(recordTo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(record_);
    }
}

// One run per line of cases.txt, arguments separated by tabs; an empty line
// is a run without arguments.
void TestGolden::everyRecordedRunGivesTheSameOutput_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("line");
    QList<QByteArray> cases = readAll(kGolden + QStringLiteral("/cases.txt")).split('\n');
    if (!cases.isEmpty() && cases.last().isEmpty())
        cases.removeLast();
    QVERIFY(cases.size() > 300);
    // An entry of the record that no case replays is a case lost.
    if (qEnvironmentVariableIsEmpty("VISTREL_GOLDEN_RECORD"))
        QCOMPARE(expected_.size(), cases.size());
    int number = 0;
    for (const QByteArray &line : cases) {
        ++number;
        QTest::addRow("%d: %s", number, QByteArray(line).replace('\t', ' ').constData())
            << number << line;
    }
}

void TestGolden::everyRecordedRunGivesTheSameOutput() {
    QFETCH(int, number);
    QFETCH(QByteArray, line);
    QStringList args;
    if (!line.isEmpty())
        for (const QByteArray &arg : line.split('\t'))
            args << QString::fromUtf8(arg).replace(QStringLiteral("$DIR"), scratch_);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status =
        cli::runCli(args, AppPaths::resolve(scratch_, QString()), outStream, errStream);
    outStream.flush();
    errStream.flush();

    QByteArray entry = "=== " + QByteArray::number(number) + ": " + line + "\nstatus " +
                       QByteArray::number(status) + "\n--- stdout\n" + out.toUtf8() +
                       "--- stderr\n" + err.toUtf8();
    const qsizetype save = args.indexOf(QStringLiteral("--save"));
    if (save >= 0 && save + 1 < args.size())
        entry += "--- " + args[save + 1].toUtf8() + "\n" + readAll(args[save + 1]);
    entry = entry.replace(scratch_.toUtf8(), "$DIR") + "\n";
    if (!qEnvironmentVariableIsEmpty("VISTREL_GOLDEN_RECORD")) {
        record_ += entry;
        return;
    }
    const QByteArray expected = expected_.value(number);
    QVERIFY2(entry == expected, qPrintable(firstDifference(entry, expected)));
}

QTEST_GUILESS_MAIN(TestGolden)
#include "tst_golden.moc"
