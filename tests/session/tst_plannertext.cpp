#include "core/apppaths.h"
#include "files/languagefile.h"
#include "session/chartcache.h"
#include "session/plannertext.h"
#include "session/session.h"
#include "verifyok.h"

#include "recordingobserver.h"
#include "testmodels.h"

#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

QStringList valuesOf(const std::array<SheetLine, kPlannerRowCount> &lines) {
    QStringList values;
    for (const SheetLine &line : lines)
        values << line.value;
    return values;
}

} // namespace

class TestPlannerText : public QObject {
    Q_OBJECT

    RecordingObserver observer_;
    std::optional<Calculator> calc_;
    LanguageTexts texts_;

    // The calculator showing a 16 : 9 picture of 100 inches on `model` at `zoom`.
    const CalcState &screen(const ModelRecord &model, Zoom zoom = Zoom::Wide) {
        calc_.emplace(observer_);
        calc_->setMessages(testMessages());
        [&] { QVERIFY(calc_->startUp({model})); }();
        [&] { VERIFY_OK(calc_->select(Aspect::Ratio16x9)); }();
        [&] { VERIFY_OK(calc_->select(zoom)); }();
        [&] { QVERIFY(*calc_->calculate(CalcMode::Diagonal, 100)); }();
        return calc_->state();
    }

private slots:
    void initTestCase() {
        const LanguageLoad load = loadLanguage(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
        QVERIFY(load.complete());
        texts_ = load.texts;
    }

    void theWorkedExample_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QStringList>("lengths"); // the throw range, then the four seats
        // Distances round as the distance field does at each end (WIDE up past
        // a tenth, TELE down); seats to the nearest step of that field.
        QTest::newRow("inches") << Unit::Inches << QChar(u'.')
                                << QStringList{"130 inches", "161 inches", "163 inches",
                                               "134 inches", "120 inches", "156 inches"};
        QTest::newRow("feet, decimal comma")
            << Unit::Feet << QChar(u',')
            << QStringList{"11 Feet", "13 Feet", "14 Feet", "11 Feet", "10 Feet", "13 Feet"};
        QTest::newRow("centimeters")
            << Unit::Centimeters << QChar(u'.')
            << QStringList{"330 centimeters", "410 centimeters", "410 centimeters",
                           "340 centimeters", "300 centimeters", "400 centimeters"};
    }
    void theWorkedExample() {
        QFETCH(Unit, unit);
        QFETCH(QChar, point);
        QFETCH(QStringList, lengths);
        // Ratios, light and contrast have no unit; only the decimal point follows.
        const QStringList unitless =
            QStringList{"1.49", "1.85",       "1.49",    "1.85", "2000", "67.4 fL / 230.9 nits",
                        "475",  "4.2 \u00d7", "15.4 : 1"}
                .replaceInStrings(u"."_s, QString(point));
        const Plan plan = planOf(workedExampleModel(), screen(workedExampleModel()), {1.0, 50});
        const auto lines = plannerLines(plan, unit, texts_, point);
        // The 16 : 9 picture fills the 16 : 9 panel.
        const QStringList panel{u"16 : 9 panel, 1920 × 1080"_s, u"100 %"_s};
        QCOMPARE(valuesOf(lines), lengths.first(2) + unitless + lengths.sliced(2) + panel);
        QCOMPARE(
            (QStringList{lines[0].caption, lines[3].heading, lines[3].caption, lines[4].heading,
                         lines[9].heading, lines[10].heading, lines[11].heading, lines[12].caption,
                         lines[14].caption}),
            (QStringList{u"WIDE"_s, u"Throw ratio (picture)"_s, u"TELE"_s, u"Throw ratio (lens)"_s,
                         u"Brightness"_s, QString(), u"Seats, from the screen"_s,
                         u"Last row, THX 36°"_s, u"Pixels blend from"_s}));
    }

    // A dark room leaves the panel's own contrast, written whole from 100 : 1 up.
    void contrastAndGain() {
        const CalcState &s = screen(workedExampleModel());
        auto value = [&](PlannerSettings settings, PlannerRow row) {
            return plannerLines(planOf(workedExampleModel(), s, settings), Unit::Inches, texts_,
                                u'.')[static_cast<std::size_t>(row)]
                .value;
        };
        QCOMPARE(value({1.0, 0}, PlannerRow::Contrast), u"2000 : 1"_s);
        QCOMPARE(value({1.0, 1.5}, PlannerRow::Contrast), u"390 : 1"_s);
        QCOMPARE(value({1.3, 0}, PlannerRow::OnScreen), u"87.6 fL / 300.2 nits"_s);
        QCOMPARE(value({1.3, 0}, PlannerRow::Needed16fL), u"365"_s);
    }

    // At TELE without the catalogue's light factor the WIDE light is an upper
    // bound: 2000 lumens on the worked example's screen, 67.4 fL at most.
    void lightAtTeleWithoutItsFactorIsABound() {
        ModelRecord noFactor = workedExampleModel();
        noFactor.teleLumenFactor = 0;
        const Plan plan = planOf(noFactor, screen(noFactor, Zoom::Tele), {1.0, 50});
        QVERIFY(plan.lightUpperBound && plan.contrastUpperBound);
        const auto lines = plannerLines(plan, Unit::Inches, texts_, u'.');
        const auto at = [&lines](PlannerRow row) { return lines[std::size_t(row)].value; };
        QCOMPARE(at(PlannerRow::Lumens), u"at most 2000"_s);
        QCOMPARE(at(PlannerRow::OnScreen), u"at most 67.4 fL / 230.9 nits"_s);
        QCOMPARE(at(PlannerRow::Against16fL), u"at most 4.2 \u00d7"_s);
        QCOMPARE(at(PlannerRow::Contrast), u"at most 15.4 : 1"_s);
        QCOMPARE(at(PlannerRow::Needed16fL), u"475"_s); // needs no lumens
        // With the factor, or at WIDE, the figures are plain.
        QVERIFY(!planOf(workedExampleModel(), calc_->state(), {1.0, 50}).lightUpperBound);
        VERIFY_OK(calc_->select(Zoom::Wide));
        QVERIFY(!planOf(noFactor, calc_->state(), {1.0, 50}).lightUpperBound);
    }

    // What the catalogue does not tell is written as the language's "unknown".
    void unknownValues() {
        const ModelRecord older = testModel(u"Older"_s, 0.62, 1.1, 0, 0, 1);
        const Plan plan = planOf(older, screen(older), {1.0, 50});
        LanguageTexts german = texts_;
        german.optional[static_cast<std::size_t>(OptionalKey::Unknown)] = u"unbekannt"_s;
        QCOMPARE(
            valuesOf(plannerLines(plan, Unit::Inches, german, u'.')),
            (QStringList{"130 inches", "unbekannt", "1.49", "unbekannt", "1.49", "unbekannt",
                         "unbekannt", "unbekannt", "475", "unbekannt", "unbekannt", "163 inches",
                         "134 inches", "120 inches", "unbekannt", "16 : 9 panel", "100 %"}));
    }

    void typedInputs_data() {
        QTest::addColumn<PlannerInput>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("shown"); // empty: refused
        QTest::newRow("gain") << PlannerInput::Gain << u" 1.3 "_s << QChar(u'.') << u"1.3"_s;
        QTest::newRow("gain, decimal comma")
            << PlannerInput::Gain << u"1,3"_s << QChar(u',') << u"1,3"_s;
        QTest::newRow("gain, point beside a comma")
            << PlannerInput::Gain << u"0.8"_s << QChar(u',') << u"0,8"_s;
        QTest::newRow("gain 0") << PlannerInput::Gain << u"0"_s << QChar(u'.') << QString();
        QTest::newRow("negative gain") << PlannerInput::Gain << u"-1"_s << QChar(u'.') << QString();
        QTest::newRow("gain, text") << PlannerInput::Gain << u"abc"_s << QChar(u'.') << QString();
        QTest::newRow("gain, trailing text")
            << PlannerInput::Gain << u"1.3x"_s << QChar(u'.') << QString();
        QTest::newRow("gain, empty") << PlannerInput::Gain << u""_s << QChar(u'.') << QString();
        QTest::newRow("gain, overflow")
            << PlannerInput::Gain << u"1e999"_s << QChar(u'.') << QString();
        QTest::newRow("dark room") << PlannerInput::Ambient << u"0"_s << QChar(u'.') << u"0"_s;
        QTest::newRow("minus zero") << PlannerInput::Ambient << u"-0"_s << QChar(u'.') << u"0"_s;
        QTest::newRow("ambient") << PlannerInput::Ambient << u"150"_s << QChar(u'.') << u"150"_s;
        QTest::newRow("negative ambient")
            << PlannerInput::Ambient << u"-5"_s << QChar(u'.') << QString();
        QTest::newRow("ambient, NaN")
            << PlannerInput::Ambient << u"nan"_s << QChar(u'.') << QString();
    }
    void typedInputs() {
        QFETCH(PlannerInput, input);
        QFETCH(QString, typed);
        QFETCH(QChar, point);
        QFETCH(QString, shown);
        const PlannerSettings before{1.0, 20};
        const std::optional<PlannerSettings> after = withInput(before, input, typed, point);
        QCOMPARE(after.has_value(), !shown.isEmpty());
        if (!after)
            return;
        QCOMPARE(inputText(*after, input, point), shown);
        // The other input stays as it was.
        if (input == PlannerInput::Gain)
            QCOMPARE(after->ambientLux, 20.0);
        else
            QCOMPARE(after->gain, 1.0);
    }

    // The field's caption in the message, without its shortcut mark.
    void refusalMessages() {
        QCOMPARE(refusalMessage(texts_, PlannerInput::Gain),
                 u"Screen gain: please type a number from 0.1 to 10."_s);
        QCOMPARE(refusalMessage(texts_, PlannerInput::Ambient),
                 u"Ambient light (lux): please type a number from 0 to 100000."_s);
        QCOMPARE(withoutMnemonic(u"Fish && &Chips&"_s), u"Fish & Chips"_s);
    }

    // The planner window's chart breaks its headers before the zoom end (the
    // sheet's, in tst_sheet, keep them on one line).
    void windowChartHeaders() {
        QCOMPARE(chartHeaders(texts_, u'\n')[4], u"Projection Distance\nTELE"_s);
    }

    // A typed value keeps the chart; the model, zoom end, aspect and unit renew it.
    void chartCacheRenewsOnlyWhatTheChartDependsOn() {
        Session session;
        QVERIFY(session.readTexts(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString()))
                    .complete());
        QVERIFY(session.start());
        ChartCache cache;
        QVERIFY(cache.update(session));
        QVERIFY(!cache.update(session));
        const qsizetype rows = qsizetype(cache.chart().rows.size());
        QVERIFY(rows > 2);

        VERIFY_TAKEN(session.enter(Field::Diagonal, u"100"_s));
        QVERIFY(!cache.update(session));
        QVERIFY(session.setPlannerSettings({1.3, 50}));
        VERIFY_OK(session.select(Position::Top));
        QVERIFY(!cache.update(session));

        VERIFY_OK(session.select(Unit::Feet));
        QVERIFY(cache.update(session));
        QCOMPARE(cache.chart().unit, Unit::Feet);
        VERIFY_OK(session.select(Zoom::Tele));
        QVERIFY(cache.update(session));
        VERIFY_OK(session.select(Aspect::Ratio16x9));
        QVERIFY(cache.update(session));
        VERIFY_OK(session.selectModel(1));
        QVERIFY(cache.update(session));
        QVERIFY(!cache.update(session));
        // The same model again after another one: the chart follows each time.
        VERIFY_OK(session.selectModel(0));
        QVERIFY(cache.update(session));
        QCOMPARE(cache.chart().rows.size(), session.chart().rows.size());
    }
};

QTEST_GUILESS_MAIN(TestPlannerText)
#include "tst_plannertext.moc"
