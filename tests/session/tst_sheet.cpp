#include "core/apppaths.h"
#include "session/session.h"
#include "session/sheet.h"
#include "verifyok.h"

#include "testcatalogues.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

// One part of every line: its caption or its value.
QStringList column(const std::vector<SheetLine> &lines, QString SheetLine::*part) {
    QStringList texts;
    for (const SheetLine &line : lines)
        texts << line.*part;
    return texts;
}

// The worked example's numbers for a picture of `diagonal` inches, 16 : 9 on
// its 16 : 9 panel (the 4 : 3 lens line's diagonal / 1.223837):
//   width  = diagonal x 16 / sqrt(16² + 9²) = diagonal x 0.87158
//   height = diagonal x  9 / sqrt(16² + 9²) = diagonal x 0.49026
//   WIDE distance = (diagonal / 1.223837 - 1.1) / 0.62
//   TELE distance = (diagonal / 1.223837 - 0.9) / 0.5
//   offset = the height in whole inches (as the zoom end rounds it) x 0.1 at
//            WIDE, x 0.12 at TELE
// WIDE rounds up once past a tenth of a step, TELE cuts down.

} // namespace

class TestSheet : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Session> session_;

    QString catalogue() const { return dir_.filePath(u"ModelInfo.ini"_s); }

    // A session on the worked example alone, in the texts of `language`.
    void start(const QString &language, QChar decimalPoint = u'.') {
        session_ = std::make_unique<Session>(decimalPoint);
        AppPaths paths = AppPaths::resolve(QStringLiteral(VISTREL_DATA_DIR), QString());
        paths.languageOverride = language;
        paths.catalogueOverride = catalogue();
        QVERIFY(session_->readTexts(paths).complete());
        VERIFY_OK(session_->start());
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QFile file(catalogue());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Model,numbers\r\n" + kWorkedExampleLine);
        file.close();

        // The English texts with a line break in a field's caption and
        // shortcut marks in the titles, as a translator may write them.
        QFile english(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"));
        QVERIFY(english.open(QIODevice::ReadOnly));
        QByteArray text = english.readAll();
        for (const auto &[from, to] :
             {std::pair{"LBL14=Screen Size Diagonal", "LBL14=Screen Size<BR>Diagonal"},
              std::pair{"LBL25=Installation planner", "LBL25=&Installation planner"},
              std::pair{"LBL41=Throw chart", "LBL41=Throw &chart"}}) {
            QVERIFY(text.contains(from));
            text.replace(from, to);
        }
        QFile marked(dir_.filePath(u"Language.marked.ini"_s));
        QVERIFY(marked.open(QIODevice::WriteOnly));
        marked.write(text);
    }

    // The numbers of every part, each in the unit, zoom end and decimal
    // point the session shows.
    void numbersFollowTheSession_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<Zoom>("zoom");
        QTest::addColumn<Aspect>("aspect");
        QTest::addColumn<Position>("position");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("typed"); // the diagonal, in the unit
        QTest::addColumn<double>("gain");
        QTest::addColumn<double>("ambient");
        QTest::addColumn<QStringList>("calculation");
        QTest::addColumn<QStringList>("planner"); // gain, room, WIDE range and ratio
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("last");

        // 100 inches: width 87.16 (88), height 49.03 (49), WIDE distance
        // (81.71 - 1.1) / 0.62 = 130.02 (130), offset 49 x 0.1 = 4.9; the
        // throw ratio 130.02 / 87.16 = 1.49.
        // The chart runs from 30 to 280 inches in steps of 10 (26 rows):
        //   30: width 26.15 (27), height 14.71 (15), WIDE (24.51 - 1.1) /
        //       0.62 = 37.76 (38), TELE (24.51 - 0.9) / 0.5 = 47.23 (47),
        //       offset 15 x 0.1 = 1.5;
        //   280: width 244.04 (244), height 137.27 (138), WIDE (228.79 -
        //       1.1) / 0.62 = 367.24 (368), none at TELE beyond 230 inches,
        //       offset 138 x 0.1 = 13.8.
        QTest::newRow("inches, WIDE")
            << Unit::Inches << Zoom::Wide << Aspect::Ratio16x9 << Position::Bottom << QChar(u'.')
            << u"100"_s << 1.3 << 50.0
            << QStringList{"Example", "WIDE", "16 : 9", "inches", "Bottom of Screen",
                           "130",     "100",  "88",     "49",     "4.9"}
            << QStringList{"1.3", "50", "130 inches", "1.49"} << u"Example, 16 : 9, WIDE, inches"_s
            << 26 << QStringList{"30", "27", "15", "38", "47", "1.5", ""}
            << QStringList{"280", "244", "138", "368", "", "13.8", ""};
        // 8 feet is 96 inches: width 83.67 in = 6.97 ft (6), height 47.07 in
        // = 3.92 ft (3), TELE distance (78.44 - 0.9) / 0.5 = 155.08 in =
        // 12.92 ft (12), offset 47 x 0.12 = 5.64 in = 0.47 ft (0.4); WIDE
        // distance (78.44 - 1.1) / 0.62 = 124.74 in = 10.40 ft (11), throw
        // ratio 124.74 / 83.67 = 1.49.
        // The chart runs at TELE from 30 to 230 inches, 2.5 to 19.17 feet:
        // whole feet 3 to 19 (17 rows):
        //   3 ft = 36 in: width 31.38 in = 2.61 ft (2), height 17.65 in =
        //       1.47 ft (1), WIDE (29.42 - 1.1) / 0.62 = 45.67 in = 3.81 ft
        //       (4), TELE (29.42 - 0.9) / 0.5 = 57.03 in = 4.75 ft (4),
        //       offset 17 x 0.12 = 2.04 in = 0.17 ft (0.1);
        //   19 ft = 228 in: width 198.72 in = 16.56 ft (16), height 111.78 in
        //       = 9.31 ft (9), WIDE (186.30 - 1.1) / 0.62 = 298.71 in = 24.89
        //       ft (25), TELE (186.30 - 0.9) / 0.5 = 370.80 in = 30.90 ft
        //       (30), offset 111 x 0.12 = 13.32 in = 1.11 ft (1.1).
        QTest::newRow("feet, TELE, above, decimal comma")
            << Unit::Feet << Zoom::Tele << Aspect::Ratio16x9 << Position::Top << QChar(u',')
            << u"8"_s << 0.8 << 0.0
            << QStringList{"Example", "TELE", "16 : 9", "Feet", "Top of Screen",
                           "12",      "8",    "6",      "3",    "0,4"}
            << QStringList{"0,8", "0", "11 Feet", "1,49"} << u"Example, 16 : 9, TELE, Feet"_s << 17
            << QStringList{"3", "2", "1", "4", "4", "0,1", ""}
            << QStringList{"19", "16", "9", "25", "30", "1,1", ""};
        // 4 : 3 takes the lens line as it is. 254 cm is 100 inches: width 80
        // in = 203.2 cm (204), height 60 in = 152.4 cm (153), WIDE distance
        // (100 - 1.1) / 0.62 = 159.52 in = 405.17 cm (in tens: 410), offset
        // 60 x 0.1 = 6 in = 15.24 cm (16); throw ratio 159.52 / 80 = 1.99.
        // The chart runs from 76.2 to 762 cm; its first row is 77 cm, its
        // last 762 (29 rows):
        //   77 cm = 30.31 in: width 61.6 (62), height 46.2 (47), WIDE (30.31
        //       - 1.1) / 0.62 = 47.12 in = 119.7 cm (120), TELE (30.31 - 0.9)
        //       / 0.5 = 58.83 in = 149.4 cm (140), offset 19 x 0.1 = 1.9 in =
        //       4.8 cm (5);
        //   762 cm = 300 in: width 609.6 (610), height 457.2 (458), WIDE
        //       (300 - 1.1) / 0.62 = 482.1 in = 1224.5 cm (1230), none at
        //       TELE beyond 250 inches, offset 180 x 0.1 = 18 in = 45.7 cm (46).
        QTest::newRow("centimeters, 4 : 3")
            << Unit::Centimeters << Zoom::Wide << Aspect::Ratio4x3 << Position::Bottom
            << QChar(u'.') << u"254"_s << 1.0 << 0.0
            << QStringList{"Example", "WIDE", "4 : 3", "centimeters", "Bottom of Screen",
                           "410",     "254",  "204",   "153",         "16"}
            << QStringList{"1", "0", "410 centimeters", "1.99"}
            << u"Example, 4 : 3, WIDE, centimeters"_s << 29
            << QStringList{"77", "62", "47", "120", "140", "5", ""}
            << QStringList{"762", "610", "458", "1230", "", "46", ""};
    }
    void numbersFollowTheSession() {
        QFETCH(Unit, unit);
        QFETCH(Zoom, zoom);
        QFETCH(Aspect, aspect);
        QFETCH(Position, position);
        QFETCH(QChar, point);
        QFETCH(QString, typed);
        QFETCH(double, gain);
        QFETCH(double, ambient);
        QFETCH(QStringList, calculation);
        QFETCH(QStringList, planner);
        QFETCH(QString, subject);
        QFETCH(int, rows);
        QFETCH(QStringList, first);
        QFETCH(QStringList, last);

        start(QStringLiteral(VISTREL_DATA_DIR "/Language.ini"), point);
        VERIFY_OK(session_->select(unit));
        VERIFY_OK(session_->select(zoom));
        VERIFY_OK(session_->select(aspect));
        VERIFY_OK(session_->select(position));
        VERIFY_TAKEN(session_->enter(Field::Diagonal, typed));
        VERIFY_OK(session_->setPlannerSettings({gain, ambient}));
        const Sheet sheet = composeSheet(*session_);

        QCOMPARE(column(sheet.calculation.lines, &SheetLine::value), calculation);
        // The planner: its two inputs first, then its numbers from the throw range on.
        const std::vector<SheetLine> &lines = sheet.planner.lines;
        QCOMPARE(lines.size(), 19u);
        QCOMPARE((QStringList{lines[0].value, lines[1].value, lines[2].value, lines[4].value}),
                 planner);
        QCOMPARE(sheet.chart.subject, subject);
        QCOMPARE(int(sheet.chart.rows.size()), rows);
        QCOMPARE(sheet.chart.rows.front(), first);
        QCOMPARE(sheet.chart.rows.back(), last);
    }

    // Every word in the language of the texts: titles, captions and the
    // options' names; captions on one line and without their shortcut marks.
    void wordsFollowTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("titles"); // the sheet, calculation, planner, chart
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("options"); // zoom end, unit, position
        QTest::addColumn<QStringList>("planner"); // gain, room, a heading, a length
        QTest::addColumn<QStringList>("notes");   // how each begins
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QString>("subject");

        const QStringList englishTitles{"Installation sheet",
                                        "Vistrel Projection Distance Calculator",
                                        "Installation planner", "Throw chart"};
        const QStringList englishCaptions{"Model",
                                          "WIDE / TELE",
                                          "Aspect Ratio",
                                          "Units",
                                          "Position",
                                          "Projection Distance",
                                          "Screen Size Diagonal",
                                          "Width",
                                          "Height",
                                          "Offset"};
        const QStringList englishHeaders{
            "Screen Size Diagonal",     "Width",    "Height",  "Projection Distance WIDE",
            "Projection Distance TELE", "Offset 1", "Offset 2"};
        const QStringList englishOptions{"WIDE", "inches", "Bottom of Screen"};
        const QStringList englishPlanner{"Screen gain", "Ambient light (lux)", "Throw range",
                                         "130 inches"};
        const QStringList englishNotes{"Pixels blend from:", "Offset 1 and 2:"};
        for (const auto &[name, file] :
             {std::pair{"English", QStringLiteral(VISTREL_DATA_DIR "/Language.ini")},
              std::pair{"breaks and shortcut marks", dir_.filePath(u"Language.marked.ini"_s)}})
            QTest::newRow(name) << file << englishTitles << englishCaptions << englishOptions
                                << englishPlanner << englishNotes << englishHeaders
                                << u"Example, 16 : 9, WIDE, inches"_s;
        QTest::newRow("German") << QStringLiteral(VISTREL_DATA_DIR "/Language.de.ini")
                                << QStringList{"Installationsblatt", "Vistrel Projektionsabstand",
                                               "Installationsplaner", "Projektionstabelle"}
                                << QStringList{"Typ",
                                               "Weitwinkel / Tele",
                                               "Seitenverhältnis",
                                               "Einheit",
                                               "Position",
                                               "Projektionsabstand",
                                               "Bilddiagonale",
                                               "Breite",
                                               "Höhe",
                                               "Versatz"}
                                << QStringList{"Weitwinkel", "Zoll", "Unter dem Bild"}
                                << QStringList{"Leinwandgewinn", "Umgebungslicht (Lux)",
                                               "Projektionsbereich", "130 Zoll"}
                                << QStringList{"Pixel verschwimmen ab:", "Versatz 1 und 2:"}
                                << QStringList{"Bilddiagonale",
                                               "Breite",
                                               "Höhe",
                                               "Projektionsabstand Weitwinkel",
                                               "Projektionsabstand Tele",
                                               "Versatz 1",
                                               "Versatz 2"}
                                << u"Example, 16 : 9, Weitwinkel, Zoll"_s;
    }
    void wordsFollowTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, options);
        QFETCH(QStringList, planner);
        QFETCH(QStringList, notes);
        QFETCH(QStringList, headers);
        QFETCH(QString, subject);

        start(language);
        VERIFY_OK(session_->select(Aspect::Ratio16x9));
        VERIFY_TAKEN(session_->enter(Field::Diagonal, u"100"_s));
        const Sheet sheet = composeSheet(*session_);

        QCOMPARE((QStringList{sheet.title, sheet.calculation.title, sheet.planner.title,
                              sheet.chart.title}),
                 titles);
        QCOMPARE(sheet.fontName, u"DejaVu Sans"_s);
        QCOMPARE(column(sheet.calculation.lines, &SheetLine::caption), captions);
        const std::vector<SheetLine> &calculation = sheet.calculation.lines;
        QCOMPARE((QStringList{calculation[1].value, calculation[3].value, calculation[4].value}),
                 options);
        const std::vector<SheetLine> &lines = sheet.planner.lines;
        QCOMPARE(
            (QStringList{lines[0].caption, lines[1].caption, lines[2].heading, lines[2].value}),
            planner);
        QCOMPARE(sheet.planner.notes.size(), notes.size());
        for (qsizetype i = 0; i < notes.size(); ++i)
            QVERIFY2(sheet.planner.notes[i].startsWith(notes[i]),
                     qPrintable(sheet.planner.notes[i]));
        // Only paper has room for notes; the calculation has none.
        QVERIFY(sheet.calculation.notes.isEmpty());
        QCOMPARE(sheet.chart.headers, headers);
        QCOMPARE(sheet.chart.subject, subject);
    }
};

QTEST_GUILESS_MAIN(TestSheet)
#include "tst_sheet.moc"
