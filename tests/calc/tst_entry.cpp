#include "calc/calculator.h"
#include "core/helpers.h"
#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

#include <cmath>

using namespace vistrel;

enum Field { Distance = 0, Diagonal = 1, Width = 2, Height = 3 };

class TestEntry : public QObject {
    Q_OBJECT

private slots:
    void init();
    void typedValueIsRoundedUpAndUsed_data();
    void typedValueIsRoundedUpAndUsed();
    void refusedValueRestoresTheFieldText_data();
    void refusedValueRestoresTheFieldText();
    void leavingWithoutTypingOnlyRefreshes();
    void enterKeyConfirmsOtherKeysShowTheButton();
    void leavingAfterDisplayRoundingRecalculates();
    void negativeWidthIsStoredWithItsSign();

private:
    // Focus, replace the text and press Enter, as a user would.
    bool type(int field, const QString &text) {
        calc_->fieldGotFocus(field);
        calc_->setFieldText(field, text);
        calc_->fieldKeyDown(field, kEnterKey);
        return observer_.messages.isEmpty();
    }

    RecordingObserver observer_;
    std::unique_ptr<Calculator> calc_;
};

void TestEntry::init() {
    observer_.clear();
    calc_ = std::make_unique<Calculator>(observer_);
    calc_->setMessages(testMessages());
    QVERIFY(!calc_->startUp({testModel(QStringLiteral("M"), 0.62, 1.1, 0.5, 0.9)}));
    observer_.clear();
}

void TestEntry::typedValueIsRoundedUpAndUsed_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("diagonalInches");
    QTest::newRow("fraction rounds up") << 0 << int(Diagonal) << "120.3" << 121.0;
    QTest::newRow("tiny fraction dropped") << 0 << int(Diagonal) << "120.000000000001" << 120.0;
    QTest::newRow("blanks and trailing text") << 0 << int(Diagonal) << " 1 2 0 in" << 120.0;
    QTest::newRow("feet") << 1 << int(Diagonal) << "10" << 10 / kInchesToFeet;
    QTest::newRow("centimeters") << 2 << int(Diagonal) << "254" << 100.0;
    QTest::newRow("width") << 0 << int(Width) << "80" << 100.0;
    QTest::newRow("height") << 0 << int(Height) << "60" << 100.0;
    QTest::newRow("distance") << 0 << int(Distance) << "100" << 63.1;
}

void TestEntry::typedValueIsRoundedUpAndUsed() {
    QFETCH(int, unit);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(double, diagonalInches);
    calc_->selectUnit(unit);
    QVERIFY(type(field, typed));
    QVERIFY(std::abs(calc_->state().screenDiagonal - diagonalInches) < 1e-9);
    QCOMPARE(calc_->controls().visibleEnter, -1);
}

void TestEntry::refusedValueRestoresTheFieldText_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters read as 0") << int(Width) << "abc"
                                       << "small 30 in";
    QTest::newRow("too large") << int(Diagonal) << "301"
                               << "large 300 in %2";
    QTest::newRow("infinite") << int(Diagonal) << "1e999"
                              << "large 300 in %2";
    QTest::newRow("minus infinite") << int(Height) << "-1e999"
                                    << "large 300 in %2";
    QTest::newRow("huge digit string") << int(Width) << QString(10000, u'9') << "large 300 in %2";
    QTest::newRow("minus zero") << int(Diagonal) << "-0"
                                << "small 30 in";
}

void TestEntry::refusedValueRestoresTheFieldText() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const Controls before = calc_->controls();
    const CalcState state = calc_->state();
    QVERIFY(!type(field, typed));
    QCOMPARE(observer_.messages, QStringList{message});
    QCOMPARE(calc_->controls().fieldText, before.fieldText);
    QCOMPARE(calc_->state().screenDiagonal, state.screenDiagonal);
    QCOMPARE(calc_->state().screenWidth, state.screenWidth);
    QVERIFY(std::isfinite(calc_->state().projectionDistance));
    // The diagrams are redrawn from the unchanged state all the same.
    QCOMPARE(observer_.isometricDrawings, 1);
}

void TestEntry::leavingWithoutTypingOnlyRefreshes() {
    const CalcState before = calc_->state();
    calc_->fieldGotFocus(Diagonal);
    QCOMPARE(calc_->controls().visibleEnter, int(Diagonal));
    calc_->fieldLostFocus(Diagonal);
    QCOMPARE(calc_->state().projectionDistance, before.projectionDistance);
    QCOMPARE(observer_.isometricDrawings, 1);
    QCOMPARE(observer_.sideDrawings, 1);
    QVERIFY(observer_.fieldRefreshes >= 1);
    QCOMPARE(calc_->controls().visibleEnter, -1);
}

void TestEntry::enterKeyConfirmsOtherKeysShowTheButton() {
    calc_->fieldGotFocus(Width);
    calc_->fieldLostFocus(Width);
    calc_->setFieldText(Width, QStringLiteral("96"));
    calc_->fieldKeyDown(Width, 'X');
    QCOMPARE(calc_->controls().visibleEnter, int(Width));
    QCOMPARE(calc_->state().screenDiagonal, 300.0);
    calc_->fieldKeyDown(Width, kEnterKey);
    QCOMPARE(calc_->state().screenDiagonal, 120.0);
    QCOMPARE(calc_->controls().visibleEnter, -1);
}

// A distance typed in centimeters is shown in whole tens; leaving the field
// afterwards takes the shown value as a new entry.
void TestEntry::leavingAfterDisplayRoundingRecalculates() {
    calc_->selectUnit(2);
    QVERIFY(type(Distance, QStringLiteral("253")));
    QVERIFY(std::abs(calc_->state().projectionDistance - 253 / 2.54) < 1e-9);
    QCOMPARE(calc_->controls().fieldText[Distance], QStringLiteral("260"));
    calc_->fieldLostFocus(Distance);
    QVERIFY(std::abs(calc_->state().projectionDistance - 260 / 2.54) < 1e-9);
    calc_->fieldLostFocus(Distance);
    QVERIFY(std::abs(calc_->state().projectionDistance - 260 / 2.54) < 1e-9);
}

void TestEntry::negativeWidthIsStoredWithItsSign() {
    QVERIFY(type(Width, QStringLiteral("-80")));
    QCOMPARE(calc_->state().screenWidth, -80.0);
    QCOMPARE(calc_->state().screenDiagonal, 100.0);
    QCOMPARE(calc_->controls().fieldText[Width], QStringLiteral("-80"));
}

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_entry.moc"
