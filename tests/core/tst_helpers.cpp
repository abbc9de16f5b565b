#include "core/choices.h"
#include "core/helpers.h"
#include "core/numbers.h"

#include "commalocale.h"

#include <QTest>

#include <limits>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNone = std::numeric_limits<double>::quiet_NaN(); // refused / out of range
} // namespace

class TestHelpers : public QObject {
    Q_OBJECT

    enum Helper { Backslash, FileName, Strip };

private slots:
    void pathHelpers_data() {
        QTest::addColumn<int>("helper");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("add to windows folder") << +Backslash << u"C:\\Prog"_s << u"C:\\Prog\\"_s;
        QTest::newRow("add to windows root") << +Backslash << u"C:\\"_s << u"C:\\"_s;
        QTest::newRow("add to unix folder") << +Backslash << u"/opt/v"_s << u"/opt/v/"_s;
        QTest::newRow("name of windows file")
            << +FileName << u"C:\\Data\\calc.cf"_s << u"calc.cf"_s;
        QTest::newRow("name of unix folder") << +FileName << u"/u/"_s << QString();
        QTest::newRow("name, mixed separators") << +FileName << u"C:\\a/b\\c.cf"_s << u"c.cf"_s;
        QTest::newRow("strip last dot only") << +Strip << u"a.b.c"_s << u"a.b"_s;
        QTest::newRow("strip without dot") << +Strip << u"README"_s << u"README"_s;
    }
    void pathHelpers() {
        QFETCH(int, helper);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(helper == Backslash  ? addSeparator(input)
                 : helper == FileName ? fileNameOfPath(input)
                                      : stripExtension(input),
                 expected);
    }

    void replaceTextNeverRescans() {
        // Inserted text is never searched again, or this would not terminate.
        QCOMPARE(replaceText(u"a%1b%1"_s, u"%1"_s, u"[%1]"_s), u"a[%1]b[%1]"_s);
        QCOMPARE(replaceText(u"aaa"_s, u"aa"_s, u"b"_s), u"ba"_s);
    }

    void feetAreDividedOut() {
        // 0.3 * 12 gives 3.5999999999999996; a last-bit difference can move a
        // later roundUp to another number, so compare exactly.
        QVERIFY(toInches(0.3, Unit::Feet) == 3.6);
        QVERIFY(toInches(762, Unit::Centimeters) == 300.0);
        QVERIFY(fromInches(300, Unit::Centimeters) == 762.0);
    }

    // The lenient reader (typed values, catalogue fields) next to the strict one
    // (calculation files), so each row shows where the two part ways.
    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("lenient");
        QTest::addColumn<double>("strict");
        QTest::addColumn<bool>("number"); // startsWithNumber: not 0 for want of one
        QTest::newRow("blanks around") << u"  -7 "_s << -7.0 << -7.0 << true;
        QTest::newRow("plus") << u"+4"_s << 4.0 << 4.0 << true;
        QTest::newRow("no integer part") << u".62"_s << 0.62 << 0.62 << true;
        QTest::newRow("sign, blank, point") << u"- .5"_s << -0.5 << kNone << true;
        QTest::newRow("exponent") << u"1.5E2"_s << 150.0 << 150.0 << true;
        QTest::newRow("unit suffix") << u"12.5cm"_s << 12.5 << kNone << true;
        QTest::newRow("blanks between digits") << u" 1 2 "_s << 12.0 << kNone << true;
        QTest::newRow("letters") << u"abc"_s << 0.0 << kNone << false;
        QTest::newRow("a letter first") << u"x1.0417"_s << 0.0 << kNone << false;
        QTest::newRow("empty") << QString() << 0.0 << kNone << false;
        QTest::newRow("a point alone") << u"."_s << 0.0 << kNone << false;
        QTest::newRow("decimal comma ends") << u"1,5"_s << 1.0 << kNone << true;
        QTest::newRow("two signs") << u"+-4"_s << 0.0 << kNone << false;
        QTest::newRow("inf is a word") << u"inf"_s << 0.0 << kNone << false;
        QTest::newRow("overflow") << u"1e999"_s << kInf << kNone << true;
        QTest::newRow("10000 digits") << QString(10000, u'9') << kInf << kNone << true;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, lenient);
        QFETCH(double, strict);
        QFETCH(bool, number);
        QCOMPARE(leadingNumber(text), lenient);
        QCOMPARE(parseNumber(text).value_or(kNone), strict);
        QCOMPARE(startsWithNumber(text), number);
    }

    // roundUp serves typed values, roundToInt16 the 16-bit items of the files.
    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("up");
        QTest::addColumn<double>("int16");
        QTest::newRow("residue dropped") << 12.000000000001 << 12.0 << 12.0;
        QTest::newRow("small fraction") << 12.0000001 << 13.0 << 12.0;
        QTest::newRow("1.5") << 1.5 << 2.0 << 2.0;
        QTest::newRow("2.5") << 2.5 << 3.0 << 2.0;
        QTest::newRow("-4.5") << -4.5 << -4.0 << -4.0;
        QTest::newRow("past 16-bit top") << 32767.5 << 32768.0 << kNone;
        QTest::newRow("16-bit bottom") << -32768.5 << -32768.0 << -32768.0;
    }
    void rounding() {
        QFETCH(double, value);
        QFETCH(double, up);
        QFETCH(double, int16);
        QCOMPARE(roundUp(value), up);
        const auto rounded = roundToInt16(value);
        QCOMPARE(rounded ? double(*rounded) : kNone, int16);
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals"); // -1: general form
        QTest::addColumn<QString>("expected");
        QTest::newRow("general 300") << 300.0 << -1 << u"300"_s;
        QTest::newRow("general 15 digits") << 80.0 / 12.0 << -1 << u"6.66666666666667"_s;
        QTest::newRow("general exponent") << 1e20 << -1 << u"1E+20"_s;
        QTest::newRow("general small") << 0.000123 << -1 << u"0.000123"_s;
        QTest::newRow("general tiny") << 1e-5 << -1 << u"1E-05"_s;
        QTest::newRow("general infinity") << -kInf << -1 << u"-INF"_s;
        QTest::newRow("fixed exact tie to even") << 2.25 << 1 << u"2.2"_s;
        QTest::newRow("fixed keeps zeros") << 1234.5 << 2 << u"1234.50"_s;
        QTest::newRow("fixed large") << 1e22 << 1 << u"10000000000000000000000.0"_s;
        QTest::newRow("fixed negative zero") << -0.0 << 0 << u"0"_s;
        QTest::newRow("fixed tiny negative") << -0.04 << 1 << u"0.0"_s;
        QTest::newRow("fixed small negative") << -0.4 << 1 << u"-0.4"_s;
    }
    void format() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        for (QChar point : {u'.', u','}) {
            const QString text =
                decimals < 0 ? formatGeneral(value, point) : formatFixed(value, decimals, point);
            QCOMPARE(text, QString(expected).replace(u'.', point));
        }
    }

    // Files, CSV and JSON are written with "." whatever LC_NUMERIC says: a
    // German desktop must not turn "6.0" into "6,0" behind the user's back.
    void formatIgnoresTheNumericLocale_data() { format_data(); }
    void formatIgnoresTheNumericLocale() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        if (!test::useCommaLocale(locales_))
            QSKIP("no locale with a decimal comma can be set up here");
        const QString text = decimals < 0 ? formatGeneral(value) : formatFixed(value, decimals);
        std::setlocale(LC_NUMERIC, "C");
        QCOMPARE(text, expected);
    }

private:
    QTemporaryDir locales_;
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
