// Replays the recorded vistrel-cli runs of golden/cases.txt and compares
// every output byte for byte with golden/expected.txt. With
// VISTREL_GOLDEN_RECORD=FILE set, the outputs are written to FILE instead,
// to be reviewed and copied over expected.txt when a change is meant.
#include "clirun.h"

#include <QDir>
#include <QFile>
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

private slots:
    void everyRecordedRunGivesTheSameOutput();
};

void TestGolden::everyRecordedRunGivesTheSameOutput() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString scratch = QDir(dir.path()).canonicalPath();
    QVERIFY(copyInto(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"), scratch));
    QVERIFY(copyInto(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"), scratch));
    for (const QFileInfo &input :
         QDir(kGolden + QStringLiteral("/inputs")).entryInfoList(QDir::Files))
        QVERIFY(copyInto(input.filePath(), scratch));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(scratch);

    // One run per line; an empty line is a run without arguments.
    QList<QByteArray> cases = readAll(kGolden + QStringLiteral("/cases.txt")).split('\n');
    if (!cases.isEmpty() && cases.last().isEmpty())
        cases.removeLast();
    QVERIFY(cases.size() > 300);
    QByteArray record;
    int number = 0;
    for (const QByteArray &line : cases) {
        QStringList args;
        if (!line.isEmpty())
            for (const QByteArray &arg : line.split('\t'))
                args << QString::fromUtf8(arg).replace(QStringLiteral("$DIR"), scratch);
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int status =
            cli::runCli(args, AppPaths::resolve(scratch, QString()), outStream, errStream);
        outStream.flush();
        errStream.flush();

        QByteArray entry = "=== " + QByteArray::number(++number) + ": " + line + "\nstatus " +
                           QByteArray::number(status) + "\n--- stdout\n" + out.toUtf8() +
                           "--- stderr\n" + err.toUtf8();
        const qsizetype save = args.indexOf(QStringLiteral("--save"));
        if (save >= 0 && save + 1 < args.size())
            entry += "--- " + args[save + 1].toUtf8() + "\n" + readAll(args[save + 1]);
        record += entry.replace(scratch.toUtf8(), "$DIR") + "\n";
    }
    QDir::setCurrent(previous);

    const QString recordTo = qEnvironmentVariable("VISTREL_GOLDEN_RECORD");
    if (!recordTo.isEmpty()) {
        QFile f(recordTo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(record);
        QSKIP("recorded, not compared");
    }
    const QByteArray expected = readAll(kGolden + QStringLiteral("/expected.txt"));
    QVERIFY2(record == expected, qPrintable(firstDifference(record, expected)));
}

QTEST_GUILESS_MAIN(TestGolden)
#include "tst_golden.moc"
