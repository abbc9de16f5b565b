// The room in words, as the planner window, the sheet and the command line
// write it, against the room's worked examples: a 120-inch 16 : 9 picture,
// 104.59 x 58.83 in, its bottom edge 24 in above the floor, and the demo
// "Aster 2000" (offset coefficients 0.05 and 0.45 at WIDE).
#include "core/apppaths.h"
#include "session/roomtext.h"
#include "session/session.h"
#include "verifyok.h"

#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RoomInput)

namespace {

QString valueOf(const std::vector<SheetLine> &lines, const QString &caption) {
    for (const SheetLine &line : lines) {
        if (line.caption == caption)
            return line.value;
    }
    return u"(no line %1)"_s.arg(caption);
}

} // namespace

class TestRoomText : public QObject {
    Q_OBJECT

    Session session_;

    // Aster 2000 showing a 120-inch 16 : 9 picture at WIDE.
    void showWorkedExample(Position position, Unit unit = Unit::Inches) {
        VERIFY_OK(session_.select(Unit::Inches));
        VERIFY_OK(session_.selectModel(1));
        VERIFY_OK(session_.select(Zoom::Wide));
        VERIFY_OK(session_.select(position));
        VERIFY_OK(session_.select(Aspect::Ratio16x9));
        VERIFY_TAKEN(session_.enter(Field::Diagonal, u"120"_s));
        VERIFY_OK(session_.select(unit));
    }
    QString caption(OptionalKey key) const {
        return withoutMnemonic(session_.texts().text(key)).simplified();
    }
    std::vector<SheetLine> lines() const {
        return roomLines(session_.roomReport(), session_.roomSettings(), session_.state().unit,
                         session_.texts(), u'.');
    }
    QStringList problems() const {
        return roomProblems(session_.roomReport(), session_.roomSettings(), session_.state().unit,
                            session_.texts(), u'.');
    }

private slots:
    void initTestCase() {
        QVERIFY(session_.readTexts(AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString()))
                    .complete());
        VERIFY_OK(session_.start());
    }

    // "Top of Screen": the top edge at 24 + 58.83 = 82.83 in, the axis 0.05 x
    // 58.83 = 2.94 to 0.45 x 58.83 = 26.47 above it: 85.8 to 109.3 in. Under
    // a 108 in ceiling with the axis 6 in below the plate the axis may reach
    // 102 in: a drop of 108 - (102 + 6) = 0 to 108 - (85.77 + 6) = 16.2 in;
    // 109.30 - 102 = 7.3 in of the window lies above the ceiling.
    // "Bottom of Screen": from 24 - 2.94 = 21.06 down to 24 - 26.47 = -2.47:
    // tables of 0 to 21.1 in, 2.5 in below the floor; 21.06 in is 53.5 cm.
    void mounts() {
        showWorkedExample(Position::Top);
        RoomSettings room;
        room.screenBottom = 24;
        room.ceiling = 108;
        room.mountDepth = 6;
        VERIFY_OK(session_.setRoomSettings(room));
        QCOMPARE(valueOf(lines(), caption(OptionalKey::LensAxisLine)),
                 u"85.8 inches to 109.3 inches"_s);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::CeilingDropLine)),
                 u"0.0 inches to 16.2 inches"_s);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::AboveCeilingLine)), u"7.3 inches"_s);
        QVERIFY(problems().isEmpty());

        room.mountDepth.reset();
        VERIFY_OK(session_.setRoomSettings(room));
        showWorkedExample(Position::Bottom, Unit::Centimeters);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::TableHeightLine)),
                 u"0.0 centimeters to 53.5 centimeters"_s);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::BelowFloorLine)), u"6.3 centimeters"_s);

        // Under a ceiling of 60 in the hanging projector cannot be anywhere.
        room.ceiling = 60;
        VERIFY_OK(session_.setRoomSettings(room));
        showWorkedExample(Position::Top);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::CeilingDropLine)),
                 caption(OptionalKey::DoesNotFit));
        QCOMPARE(problems(),
                 (QStringList{u"the picture's top edge at 82.8 inches is above the ceiling at "
                              "60.0 inches"_s,
                              u"the projector does not fit between floor and ceiling: its lens "
                              "axis must be 85.8 inches to 109.3 inches above the floor"_s}));
    }

    // Row 1 at the 40-degree distance, 143.68 in: up atan((82.83 - 40) /
    // 143.68) = 16.6 degrees. Row 2 at 192 in sees the bottom edge over row
    // 1's heads at 44 in with its eyes at 24 + 20 x 192 / 143.68 = 50.73 in,
    // a riser of 10.7 in; it looks up atan((82.83 - 50.73) / 192) = 9.5 and
    // down atan(26.73 / 192) = 7.9 degrees; the width fills 2 atan(52.295 /
    // 192) = 30.5 degrees, a seat 40 in off centre is atan(40 / 192) = 11.8
    // degrees off axis. Typed in the other order, the rows are kept nearest first.
    void seatRows() {
        showWorkedExample(Position::Top);
        RoomSettings room;
        room.screenBottom = 24;
        room.seatOffset = 40;
        room.rows = {{192}, {143.68}};
        VERIFY_OK(session_.setRoomSettings(room));
        QCOMPARE(problems(), QStringList{u"row 1 looks up 16.6\u00b0 to the top edge: lower the "
                                         "screen or move the row back"_s});
        const SheetTable table = seatTable(session_.roomReport(), session_.roomSettings(),
                                           Unit::Inches, session_.texts(), u',');
        QCOMPARE(table.rows.size(), 2u);
        QCOMPARE(table.rows[1],
                 (QStringList{u"Row 2"_s, u"192,0 inches"_s, u"50,7 inches"_s, u"10,7 inches"_s,
                              u"9,5\u00b0"_s, u"7,9\u00b0"_s, u"30,5\u00b0"_s, u"11,8\u00b0"_s}));
        QCOMPARE(table.rows[0][3], QString()); // no riser for the first row
    }

    // DISCAS: the farthest viewer at 10 500 mm and elements of 3.5 % need a
    // picture 10500 / (200 x 0.035) = 1500 mm high, 150.0 cm; 120 in of
    // 16 : 9 is 58.83 in = 149.4 cm high, so it falls short. The picture's
    // 1080 rows serve analytical viewing up to 149.43 x 3438 / 1080 = 475.7 cm.
    void discas() {
        showWorkedExample(Position::Bottom, Unit::Centimeters);
        RoomSettings room;
        room.rows = {{1050 / 2.54}};
        VERIFY_OK(session_.setRoomSettings(room));
        QCOMPARE(valueOf(lines(), caption(OptionalKey::DiscasHeightLine)), u"150.0 centimeters"_s);
        QCOMPARE(valueOf(lines(), caption(OptionalKey::DiscasMetLine)),
                 caption(OptionalKey::NoWord));
        QCOMPARE(valueOf(lines(), caption(OptionalKey::AnalyticalLine)), u"475.7 centimeters"_s);
        QVERIFY(
            problems().last().startsWith(u"the picture is 149.4 centimeters high; the farthest row "
                                         "needs at least 150.0 centimeters"_s));
    }

    void inputs_data() {
        QTest::addColumn<RoomInput>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QString>("shown"); // in the unit, or the start of the refusal
        QTest::newRow("a length") << RoomInput::Ceiling << u"108,5"_s << Unit::Inches << u"108,5"_s;
        QTest::newRow("in centimetres")
            << RoomInput::Depth << u"254"_s << Unit::Centimeters << u"254"_s;
        QTest::newRow("nothing unsets") << RoomInput::Depth << u" "_s << Unit::Inches << QString();
        QTest::newRow("rows, eyes")
            << RoomInput::Rows << u"192@30;144"_s << Unit::Inches << u"144; 192@30"_s;
        QTest::newRow("usual element")
            << RoomInput::ElementHeight << QString() << Unit::Inches << u"3,5"_s;
        QTest::newRow("negative") << RoomInput::Ceiling << u"-5"_s << Unit::Inches
                                  << u"Ceiling height: please type a distance of 0 or more"_s;
        QTest::newRow("no number") << RoomInput::SeatOffset << u"far"_s << Unit::Feet
                                   << u"Outermost seat off centre: please type"_s;
        QTest::newRow("ceiling below the screen")
            << RoomInput::Ceiling << u"20"_s << Unit::Inches
            << u"Invalid property value: the ceiling must be above"_s;
        QTest::newRow("a row at 0") << RoomInput::Rows << u"144; 0"_s << Unit::Inches
                                    << u"Seat rows: distance@eyes; \u2026: please type each row"_s;
        QTest::newRow("eyes not a number")
            << RoomInput::Rows << u"144@tall"_s << Unit::Inches << u"Seat rows"_s;
        QTest::newRow("element 0") << RoomInput::ElementHeight << u"0"_s << Unit::Inches
                                   << u"Smallest element, % of picture height: please type a "
                                      "number from 0.1 to 100."_s;
        QTest::newRow("51 rows") << RoomInput::Rows << QStringList(51, u"100"_s).join(u';')
                                 << Unit::Inches << u"Seat rows"_s;
    }
    // A value is taken as typed, in the user's unit and decimal point; a
    // refused one names its field, and nothing changes.
    void inputs() {
        QFETCH(RoomInput, input);
        QFETCH(QString, text);
        QFETCH(Unit, unit);
        QFETCH(QString, shown);
        RoomSettings before;
        before.screenBottom = 24;
        before.depth = 300;
        const Result<RoomSettings> typed =
            withRoomInput(before, input, text, unit, session_.texts(), u',');
        if (typed) {
            QCOMPARE(roomInputText(*typed, input, unit, u','), shown);
            return;
        }
        QVERIFY2(typed.error().description.startsWith(shown),
                 qPrintable(typed.error().description));
    }

    // Typed together, a higher screen and a higher ceiling fit as a pair,
    // where the screen alone would stand above the ceiling kept.
    void inputsTypedTogether() {
        RoomSettings kept;
        kept.screenBottom = 24;
        kept.ceiling = 108;
        const LanguageTexts &texts = session_.texts();
        QVERIFY(!withRoomInput(kept, RoomInput::ScreenBottom, u"120"_s, Unit::Inches, texts, u'.'));
        const Result<RoomSettings> both = withRoomInputs(
            kept, {{RoomInput::ScreenBottom, u"120"_s}, {RoomInput::Ceiling, u"150"_s}},
            Unit::Inches, texts, u'.');
        QVERIFY(both && both->screenBottom == 120.0 && both->ceiling == 150.0);
        const Result<RoomSettings> bad =
            withRoomInputs(kept, {{RoomInput::Ceiling, u"150"_s}, {RoomInput::Rows, u"x"_s}},
                           Unit::Inches, texts, u'.');
        QVERIFY(!bad && bad.error().description.startsWith(u"Seat rows"_s));
    }
};

QTEST_GUILESS_MAIN(TestRoomText)
#include "tst_roomtext.moc"
