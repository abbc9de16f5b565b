#include "core/helpers.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

class TestHelpers : public QObject {
    Q_OBJECT

    enum PathHelper { AddBackslash, FileNameOfPath, StripExtension };

private slots:
    void pathHelpers_data() {
        QTest::addColumn<int>("helper");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("add to windows folder") << +AddBackslash << u"C:\\Prog"_s << u"C:\\Prog\\"_s;
        QTest::newRow("add to windows root") << +AddBackslash << u"C:\\"_s << u"C:\\"_s;
        QTest::newRow("add to empty") << +AddBackslash << QString() << u"/"_s;
        QTest::newRow("add to unix folder") << +AddBackslash << u"/opt/v"_s << u"/opt/v/"_s;
        QTest::newRow("add to unix root") << +AddBackslash << u"/"_s << u"/"_s;
        QTest::newRow("add to bare name") << +AddBackslash << u"data"_s << u"data/"_s;
        QTest::newRow("name of windows file")
            << +FileNameOfPath << u"C:\\Data\\calc.cf"_s << u"calc.cf"_s;
        QTest::newRow("name of windows folder") << +FileNameOfPath << u"C:\\Data\\"_s << QString();
        QTest::newRow("name without folder") << +FileNameOfPath << u"calc.cf"_s << QString();
        QTest::newRow("name of unix file") << +FileNameOfPath << u"/u/calc.cf"_s << u"calc.cf"_s;
        QTest::newRow("name of unix folder") << +FileNameOfPath << u"/u/"_s << QString();
        QTest::newRow("name, mixed separators")
            << +FileNameOfPath << u"C:\\a/b\\c.cf"_s << u"c.cf"_s;
        QTest::newRow("name, colon is ordinary") << +FileNameOfPath << u"C:\\x:y"_s << u"x:y"_s;
        QTest::newRow("strip simple") << +StripExtension << u"calc.cf"_s << u"calc"_s;
        QTest::newRow("strip last dot only") << +StripExtension << u"a.b.c"_s << u"a.b"_s;
        QTest::newRow("strip trailing dot") << +StripExtension << u"name."_s << u"name"_s;
        QTest::newRow("strip extension only") << +StripExtension << u".cf"_s << QString();
        QTest::newRow("strip without dot") << +StripExtension << u"README"_s << u"README"_s;
    }
    void pathHelpers() {
        QFETCH(int, helper);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const QString actual = helper == AddBackslash     ? addBackslash(input)
                               : helper == FileNameOfPath ? fileNameOfPath(input)
                                                          : stripExtension(input);
        QCOMPARE(actual, expected);
    }

    void fileExistsOnDisk() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : {u"Calc.cf"_s, u".hidden.cf"_s, u"locked.cf"_s}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        QVERIFY(QFile::setPermissions(dir.filePath(u"locked.cf"_s), QFile::ReadOwner));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.cf"_s));

        QVERIFY(fileExists(dir.filePath(u"Calc.cf"_s)));
        QVERIFY(fileExists(dir.filePath(u"locked.cf"_s)));
        // The file system tells letter case apart, so this is another file.
        QVERIFY(!fileExists(dir.filePath(u"calc.cf"_s)));
        QVERIFY(!fileExists(dir.filePath(u".hidden.cf"_s)));
        QVERIFY(!fileExists(dir.filePath(u"folder.cf"_s)));
        QVERIFY(!fileExists(dir.filePath(u"missing.cf"_s)));
        QVERIFY(!fileExists(dir.filePath(u"nowhere/Calc.cf"_s)));
    }

    void replaceText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two placeholders")
            << u"max %1 (%1)"_s << u"%1"_s << u"9"_s << u"max 9 (9)"_s;
        // Inserted text is never searched again, or this would not terminate.
        QTest::newRow("replacement contains search")
            << u"a%1b%1"_s << u"%1"_s << u"[%1]"_s << u"a[%1]b[%1]"_s;
        QTest::newRow("adjacent") << u"%1%1"_s << u"%1"_s << u"x"_s << u"xx"_s;
        QTest::newRow("overlap resumes behind match") << u"aaa"_s << u"aa"_s << u"b"_s << u"ba"_s;
        QTest::newRow("case-sensitive") << u"a<br>b"_s << u"<BR>"_s << u"\r\n"_s << u"a<br>b"_s;
        QTest::newRow("removal") << u"%1x%1"_s << u"%1"_s << QString() << u"x"_s;
    }
    void replaceText() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        QCOMPARE(vistrel::replaceText(text, search, replacement), expected);
    }

    void roundUp_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole") << 12.0 << 12.0;
        QTest::newRow("residue dropped") << 12.000000000001 << 12.0;
        QTest::newRow("fraction") << 12.3 << 13.0;
        QTest::newRow("small fraction") << 12.0000001 << 13.0;
        QTest::newRow("negative half") << -4.5 << -4.0;
        QTest::newRow("negative whole") << -4.0 << -4.0;
        QTest::newRow("negative fraction") << -0.3 << 0.0;
    }
    void roundUp() {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(vistrel::roundUp(value), expected);
    }

    void toInches_data() {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inches") << +Inches << 120.0 << u"120"_s;
        QTest::newRow("feet") << +Feet << 10.0 << u"120"_s;
        // 0.3 * 12 gives 3.5999999999999996; the feet factor is divided out instead.
        QTest::newRow("feet divided, not times 12") << +Feet << 0.3 << u"3.6"_s;
        QTest::newRow("centimeters") << +Centimeters << 762.0 << u"300"_s;
        QTest::newRow("centimeters fraction") << +Centimeters << 30.0 << u"11.811023622047244"_s;
    }
    void toInches() {
        QFETCH(int, unit);
        QFETCH(double, value);
        QFETCH(QString, expected);
        // Exact text: a last-bit difference can move a later RoundUp to another number.
        const double inches = vistrel::toInches(value, unit);
        QCOMPARE(QString::number(inches, 'g', QLocale::FloatingPointShortest), expected);
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
