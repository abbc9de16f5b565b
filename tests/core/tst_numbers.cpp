#include "core/numbers.h"

#include <QTest>

#include <limits>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("unit suffix") << u"12.5cm"_s << 12.5;
        QTest::newRow("blanks between digits") << u" 1 2 "_s << 12.0;
        QTest::newRow("tab and blank after sign") << u"\t- 7"_s << -7.0;
        QTest::newRow("letters") << u"abc"_s << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("exponent") << u"1.5E2"_s << 150.0;
        QTest::newRow("negative exponent") << u"25e-1"_s << 2.5;
        QTest::newRow("exponent without digits") << u"4E"_s << 4.0;
        QTest::newRow("exponent ends at point") << u"1E2.5"_s << 100.0;
        QTest::newRow("minus") << u"-3"_s << -3.0;
        QTest::newRow("plus") << u"+4"_s << 4.0;
        QTest::newRow("two signs") << u"--4"_s << 0.0;
        QTest::newRow("no integer part") << u".5"_s << 0.5;
        QTest::newRow("lone point") << u"."_s << 0.0;
        QTest::newRow("second point ends") << u"1.2.3"_s << 1.2;
        QTest::newRow("decimal comma ends") << u"1,5"_s << 1.0;
        QTest::newRow("overflow") << u"1e999"_s << kInf;
        QTest::newRow("negative overflow") << u"-1e999"_s << -kInf;
        QTest::newRow("fraction overflow") << u"0.5e309"_s << kInf;
        QTest::newRow("huge exponent") << u"1e99999999999999999999"_s << kInf;
        QTest::newRow("underflow") << u"1e-999"_s << 0.0;
        QTest::newRow("subnormal") << u"1e-310"_s << 1e-310;
        QTest::newRow("10000 digits") << QString(10000, u'9') << kInf;
        QTest::newRow("10000 leading zeros") << QString(10000, u'0') + u'1' << 1.0;
        QTest::newRow("10000 decimals") << u"0."_s + QString(10000, u'3') << 1.0 / 3.0;
        QTest::newRow("10000 zero decimals") << u"0."_s + QString(10000, u'0') + u'1' << 0.0;
        QTest::newRow("long mantissa, exponent back")
            << u"1"_s + QString(400, u'0') + u"e-400"_s << 1.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(vistrel::leadingNumber(text), expected);
    }

    void parseNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << u"12.5"_s << true << 12.5;
        QTest::newRow("surrounding blanks") << u"  -7 "_s << true << -7.0;
        QTest::newRow("plus") << u"+4"_s << true << 4.0;
        QTest::newRow("exponent") << u"1.5E2"_s << true << 150.0;
        QTest::newRow("unit suffix") << u"12.5cm"_s << false << 0.0;
        QTest::newRow("inner blank") << u"1 2"_s << false << 0.0;
        QTest::newRow("decimal comma") << u"1,5"_s << false << 0.0;
        QTest::newRow("empty") << QString() << false << 0.0;
        QTest::newRow("sign only") << u"-"_s << false << 0.0;
        QTest::newRow("two signs") << u"+-4"_s << false << 0.0;
        QTest::newRow("inf") << u"inf"_s << false << 0.0;
        QTest::newRow("nan") << u"-nan"_s << false << 0.0;
        QTest::newRow("hex") << u"0x10"_s << false << 0.0;
        QTest::newRow("overflow") << u"1e999"_s << false << 0.0;
    }
    void parseNumber() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, expected);
        const std::optional<double> value = vistrel::parseNumber(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(*value, expected);
    }

    void roundToInt16_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("inRange");
        QTest::addColumn<int>("expected");
        QTest::newRow("1.5 to even") << 1.5 << true << 2;
        QTest::newRow("2.5 to even") << 2.5 << true << 2;
        QTest::newRow("-0.5 to even") << -0.5 << true << 0;
        QTest::newRow("-1.5 to even") << -1.5 << true << -2;
        QTest::newRow("top") << 32767.4 << true << 32767;
        QTest::newRow("rounds past top") << 32767.5 << false << 0;
        QTest::newRow("half below bottom") << -32768.5 << true << -32768;
        QTest::newRow("below bottom") << -32769.0 << false << 0;
        QTest::newRow("infinity") << kInf << false << 0;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << false << 0;
    }
    void roundToInt16() {
        QFETCH(double, value);
        QFETCH(bool, inRange);
        QFETCH(int, expected);
        const auto result = vistrel::roundToInt16(value);
        QCOMPARE(result.has_value(), inRange);
        if (inRange)
            QCOMPARE(int(*result), expected);
    }

    void formatGeneral_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("300") << 300.0 << u"300"_s;
        QTest::newRow("25") << 25.0 << u"25"_s;
        QTest::newRow("762") << 762.0 << u"762"_s;
        QTest::newRow("zero") << 0.0 << u"0"_s;
        QTest::newRow("15 significant digits") << 80.0 / 12.0 << u"6.66666666666667"_s;
        QTest::newRow("binary residue hidden") << 0.1 + 0.2 << u"0.3"_s;
        QTest::newRow("negative") << -2.5 << u"-2.5"_s;
        QTest::newRow("largest plain") << 1e14 << u"100000000000000"_s;
        QTest::newRow("exponent form") << 1e20 << u"1E+20"_s;
    }
    void formatGeneral() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(vistrel::formatGeneral(value), expected);
        QCOMPARE(vistrel::formatGeneral(value, u','), QString(expected).replace(u'.', u','));
    }

    void formatFixed_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative zero") << -0.0 << 0 << u"0"_s;
        QTest::newRow("negative zero, one decimal") << -0.0 << 1 << u"0.0"_s;
        QTest::newRow("tiny negative") << -0.04 << 1 << u"0.0"_s;
        QTest::newRow("small negative") << -0.4 << 1 << u"-0.4"_s;
        QTest::newRow("negative ten") << -10.0 << 0 << u"-10"_s;
        QTest::newRow("no grouping") << 1234567.0 << 0 << u"1234567"_s;
        QTest::newRow("residue") << 12.299999 << 1 << u"12.3"_s;
    }
    void formatFixed() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(vistrel::formatFixed(value, decimals), expected);
        QCOMPARE(vistrel::formatFixed(value, decimals, u','),
                 QString(expected).replace(u'.', u','));
    }

    void formatShortest_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.1") << 0.1 << u"0.1"_s;
        QTest::newRow("third") << 1.0 / 3.0 << u"0.3333333333333333"_s;
        QTest::newRow("negative") << -1234.5678 << u"-1234.5678"_s;
        QTest::newRow("largest") << std::numeric_limits<double>::max()
                                 << u"1.7976931348623157e+308"_s;
        QTest::newRow("smallest") << std::numeric_limits<double>::denorm_min() << u"5e-324"_s;
    }
    void formatShortest() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        const QString text = vistrel::formatShortest(value);
        QCOMPARE(text, expected);
        // Calculation files store numbers this way; both readers must give the
        // same double back, bit for bit.
        QVERIFY(vistrel::parseNumber(text) == value);
        QVERIFY(vistrel::leadingNumber(text) == value);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
