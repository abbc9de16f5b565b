// Tables of projector models as users import and export them: every row
// read with its line and its terms as written, every row that cannot be
// read named with why, and what is written read back unchanged.
#include "files/modeltable.h"
#include "fsentries.h"
#include "testcatalogues.h"
#include "textbytes.h"
#include "verifyok.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(vistrel::TableFormat)
Q_DECLARE_METATYPE(std::optional<vistrel::TableFormat>)

namespace {

using Terms = QList<std::pair<QString, QString>>;

// "2: name=Tarn 300|lumens=3000": a row as the expectations below write it.
QString describe(const TermRow &row) {
    QStringList terms;
    for (const auto &[key, value] : row.terms)
        terms << key + u'=' + value;
    return QString::number(row.line) + u": "_s + terms.join(u'|');
}

QStringList describe(const std::vector<TermRow> &rows) {
    QStringList result;
    for (const TermRow &row : rows)
        result << describe(row);
    return result;
}

// "3|header has 2": the problem's line, and words its reason must hold.
void compareProblems(const std::vector<TableProblem> &problems, const QStringList &expected) {
    QStringList got;
    for (const TableProblem &problem : problems)
        got << QString::number(problem.line) + u"|"_s + problem.reason;
    QCOMPARE(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        const QStringList parts = expected[i].split(u'|');
        QVERIFY2(got[i].startsWith(parts[0] + u'|') && got[i].contains(parts[1]),
                 qPrintable(got[i] + u" (expected "_s + expected[i] + u')'));
    }
}

// Rows of `count` models "M0", "M1" ... in the format's own layout.
QByteArray manyRows(TableFormat format, int count) {
    QByteArray bytes = format == TableFormat::Json ? "[" : "name,lumens\n";
    for (int i = 0; i < count; ++i) {
        if (format == TableFormat::Json)
            bytes += (i ? ",\n" : "") +
                     "{\"name\": \"M%1\", \"lumens\": %2}"_ba.replace("%1", QByteArray::number(i))
                         .replace("%2", QByteArray::number(1000 + i));
        else
            bytes += "M" + QByteArray::number(i) + "," + QByteArray::number(1000 + i) + "\n";
    }
    return format == TableFormat::Json ? bytes + "]" : bytes;
}

// The catalogue's 24 field names, as the columns of a catalogue file.
QStringList catalogueColumns() {
    QStringList names;
    for (int field = 0; field < kCatalogueFieldCount; ++field)
        names << fieldName(field);
    return names;
}

} // namespace

class TestModelTable : public QObject {
    Q_OBJECT

private slots:
    void formatOfName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<TableFormat>>("format");
        QTest::newRow("csv") << u"models.csv"_s << std::optional(TableFormat::Csv);
        QTest::newRow("upper case") << u"/home/u/MODELS.CSV"_s << std::optional(TableFormat::Csv);
        QTest::newRow("json") << u"export.Json"_s << std::optional(TableFormat::Json);
        QTest::newRow("ini") << u"ModelInfo.ini"_s << std::optional(TableFormat::Catalogue);
        QTest::newRow("txt") << u"list.TXT"_s << std::optional(TableFormat::Catalogue);
        QTest::newRow("spreadsheet") << u"models.xlsx"_s << std::optional<TableFormat>();
        QTest::newRow("compressed") << u"models.csv.gz"_s << std::optional<TableFormat>();
        QTest::newRow("no extension") << u"csv"_s << std::optional<TableFormat>();
        QTest::newRow("folder named .csv") << u"/tmp/a.csv/list"_s << std::optional<TableFormat>();
    }
    void formatOfName() {
        QFETCH(QString, name);
        QFETCH(std::optional<TableFormat>, format);
        QCOMPARE(tableFormatOf(name), format);
    }

    void csv_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("problems");
        // The first row's notes span lines 2 and 3, so the next row is line 4.
        QTest::newRow("quotes") << "name,throw_wide,notes\n"
                                   "\"Tarn 300, rev. B\",1.36,\"says \"\"hi\"\"\nsecond line\"\n"
                                   "  Brisk 10  , 2 ,  plain  \n"_ba
                                << QStringList{u"2: name=Tarn 300, rev. B|throw_wide=1.36|"
                                               "notes=says \"hi\"\nsecond line"_s,
                                               u"4: name=Brisk 10|throw_wide=2|notes=plain"_s}
                                << QStringList();
        // Spaces inside quotes are meant; an empty quoted cell is still empty.
        QTest::newRow("quoted spaces kept")
            << "name,notes,px_w\n\" Tarn \" ,\"\",\"1920\"\n"_ba
            << QStringList{u"2: name= Tarn |px_w=1920"_s} << QStringList();
        QTest::newRow("BOM, CR LF, blank line, empty cell")
            << "\xEF\xBB\xBFname,lumens\r\nAlder 5,3000\r\n\r\nBirch 7,\r\n"_ba
            << QStringList{u"2: name=Alder 5|lumens=3000"_s, u"4: name=Birch 7"_s} << QStringList();
        QTest::newRow("CR line ends")
            << "name,lumens\rCedar,1\r\"Old\rMac\",2\rDune,3"_ba
            << QStringList{u"2: name=Cedar|lumens=1"_s, u"3: name=Old\nMac|lumens=2"_s,
                           u"5: name=Dune|lumens=3"_s}
            << QStringList();
        QTest::newRow("UTF-16 with BOM")
            << utf16WithBom(u"name,lumens\r\nLumière 4K,2500\r\n"_s, false)
            << QStringList{u"2: name=Lumière 4K|lumens=2500"_s} << QStringList();
        // Both name columns keep their commas; every other cell's become points.
        QTest::newRow("semicolons, decimal commas")
            << "name;Model;throw_tele;zoom;offset_pct\n"
               "Tarn 300, v2;Kite, Pro;1,36;1,36-2,18;\"5,5\"\n"_ba
            << QStringList{u"2: name=Tarn 300, v2|Model=Kite, Pro|throw_tele=1.36|"
                           "zoom=1.36-2.18|offset_pct=5.5"_s}
            << QStringList();
        QTest::newRow("name columns in any case")
            << "NAME;model;lumens\nA,1;B,2;3,5\n"_ba
            << QStringList{u"2: NAME=A,1|model=B,2|lumens=3.5"_s} << QStringList();
        // One of each outside quotes: a tie keeps the comma.
        QTest::newRow("a tie is comma separated")
            << "a;b,c\n1;2,3,5\n"_ba << QStringList() << QStringList{u"2|header has 2"_s};
        QTest::newRow("quoted separators do not vote")
            << "\"x;y;z\",name\n1;2,A\n"_ba << QStringList{u"2: x;y;z=1;2|name=A"_s}
            << QStringList();
        // Empty cells past the header's last column hold nothing to place.
        QTest::newRow("more cells than header")
            << "name,lumens\nA,1\nB,2,3\nC,3,,\nD\n"_ba
            << QStringList{u"2: name=A|lumens=1"_s, u"4: name=C|lumens=3"_s, u"5: name=D"_s}
            << QStringList{u"3|header has 2 columns"_s};
        QTest::newRow("duplicate header key, nameless column")
            << "name, lumens ,name,,px_w\nA,1,B,ignored,1920\n"_ba
            << QStringList{u"2: name=A|lumens=1|px_w=1920"_s}
            << QStringList{u"1|\"name\" is named twice"_s};
        QTest::newRow("blank lines")
            << "\n   \nname\n\nA\n  \n,\nB\n"_ba << QStringList{u"5: name=A"_s, u"8: name=B"_s}
            << QStringList();
        QTest::newRow("quote never closed")
            << "name,notes\nA,ok\nB,\"never closed\nC,x\n"_ba
            << QStringList{u"2: name=A|notes=ok"_s} << QStringList{u"3|never closed"_s};
        QTest::newRow("header only") << "name,lumens\r\n"_ba << QStringList() << QStringList();
        QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
    }
    void csv() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, problems);
        const auto table = parseModelTable(bytes, TableFormat::Csv, u"models.csv"_s);
        VERIFY_OK(table);
        QCOMPARE(describe(table->rows), rows);
        compareProblems(table->problems, problems);
    }

    void json_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("values") << R"([{"name": "Tarn 300", "lumens": 3000, "throw_wide": 1.360,
                                      "tiny": 1e-5, "big": 1E20, "offset_pct": -5.50,
                                      "sum": 0.30000000000000004, "ceiling": true,
                                      "rear": false, "note": null, "empty": "", "": "x"}])"_ba
                                << QStringList{u"1: big=1e+20|ceiling=true|lumens=3000|"
                                               "name=Tarn 300|offset_pct=-5.5|rear=false|"
                                               "sum=0.30000000000000004|throw_wide=1.36|"
                                               "tiny=1e-05"_s}
                                << QStringList();
        QTest::newRow("rows that cannot be read")
            << R"([{"name": "A"}, 5, "text", {"name": "B", "zoom": [1, 2]},
                  {"lens": {"a": 1}, "name": "C"}, null, {"name": "D"}, {}])"_ba
            << QStringList{u"1: name=A"_s, u"7: name=D"_s, u"8: "_s}
            << QStringList{u"2|a number"_s, u"3|a string"_s, u"4|\"zoom\" is an array"_s,
                           u"5|\"lens\" is an object"_s, u"6|null"_s};
        QTest::newRow("BOM, CR LF") << "\xEF\xBB\xBF[\r\n{\"name\": \"Lumi\xC3\xA8re 4K\"}\r\n]"_ba
                                    << QStringList{u"1: name=Lumière 4K"_s} << QStringList();
        QTest::newRow("UTF-16 with BOM") << utf16WithBom(u"[{\"name\": \"Lumière 4K\"}]"_s, true)
                                         << QStringList{u"1: name=Lumière 4K"_s} << QStringList();
        QTest::newRow("Windows-1252") << "[{\"name\": \"Lumi\xE8re 4K\"}]"_ba
                                      << QStringList{u"1: name=Lumière 4K"_s} << QStringList();
        QTest::newRow("empty array") << "[ ]"_ba << QStringList() << QStringList();
    }
    void json() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, problems);
        const auto table = parseModelTable(bytes, TableFormat::Json, u"models.json"_s);
        VERIFY_OK(table);
        QCOMPARE(describe(table->rows), rows);
        compareProblems(table->problems, problems);
    }

    void jsonRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("an object") << R"({"name": "A"})"_ba << u"no JSON array"_s;
        QTest::newRow("a bare number") << "5"_ba << u"is no JSON: "_s;
        QTest::newRow("trailing comma") << R"([{"name":"A",}])"_ba << u"is no JSON: "_s;
        QTest::newRow("cut short") << R"([{"name": "A"})"_ba << u"is no JSON: "_s;
        QTest::newRow("empty") << QByteArray() << u"is no JSON: "_s;
    }
    void jsonRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const auto table = parseModelTable(bytes, TableFormat::Json, u"models.json"_s);
        QVERIFY(!table);
        const QString message = table.error().description;
        QVERIFY2(message.contains(u"models.json"_s) && message.contains(says), qPrintable(message));
        if (says.startsWith(u"is no JSON"_s))
            QVERIFY2(message.contains(u" at byte "_s), qPrintable(message));
    }

    // The loader's blank line and nameless line take no row but keep their
    // line numbers; numbers come back in their shortest form, and planner
    // data that is unknown (empty, 0 or refused with a note) is left out.
    void catalogueFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Invented.ini"_s);
        QVERIFY(writeFile(path, "Model,fields\r\n"
                                "Tarn 300,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,"
                                "30,230,2500,0.8,1920,1080,0\r\n"
                                "\r\n"
                                ",ignored\r\n"
                                "Fj\xC3\xA4ll 20,40,150,0,0,1.60,5e-1,0,0,0.1,0,0,0,2.5,0,0,0,0,"
                                "0,,9\r\n"));
        const auto table = readModelTable(path, TableFormat::Catalogue);
        VERIFY_OK(table);
        const QString tarn =
            u"2: ModelName=Tarn 300|MinDiagonal43Wide=30|MaxDiagonal43Wide=300|"
            "MinDiagonal43Tele=30|MaxDiagonal43Tele=250|WideCoefA=0.62|WideCoefB=1.1|"
            "TeleCoefA=0.5|TeleCoefB=0.9|WideOffsetCoefA=0.1|TeleOffsetCoefA=0.12|"
            "WideOffsetCoefB=0|TeleOffsetCoefB=0|WideScreenMode=1|ModelDrawFlag=0|"
            "MinDiagonal169Wide=30|MaxDiagonal169Wide=280|MinDiagonal169Tele=30|"
            "MaxDiagonal169Tele=230|Lumens=2500|TeleLumenFactor=0.8|PanelWidthPx=1920|"
            "PanelHeightPx=1080"_s;
        // 2.5 rounds to the even 2; 9 is no light factor.
        const QString fjall =
            u"5: ModelName=Fjäll 20|MinDiagonal43Wide=40|MaxDiagonal43Wide=150|"
            "MinDiagonal43Tele=0|MaxDiagonal43Tele=0|WideCoefA=1.6|WideCoefB=0.5|"
            "TeleCoefA=0|TeleCoefB=0|WideOffsetCoefA=0.1|TeleOffsetCoefA=0|"
            "WideOffsetCoefB=0|TeleOffsetCoefB=0|WideScreenMode=2|ModelDrawFlag=0|"
            "MinDiagonal169Wide=0|MaxDiagonal169Wide=0|MinDiagonal169Tele=0|"
            "MaxDiagonal169Tele=0"_s;
        QCOMPARE(describe(table->rows), (QStringList{tarn, fjall}));
        QVERIFY(table->problems.empty());

        // Written as a catalogue of its 24 fields, the rows load as they were.
        const auto again = parseModelTable(
            formatModelTable(table->rows, catalogueColumns(), TableFormat::Catalogue),
            TableFormat::Catalogue, u"again.ini"_s);
        VERIFY_OK(again);
        QCOMPARE(describe(again->rows), (QStringList{tarn, u"3"_s + fjall.mid(1)}));

        // The loader's refusal is the table's.
        QVERIFY(writeFile(path, "Model\r\nTarn 300,1e999\r\n"));
        const auto refused = readModelTable(path, TableFormat::Catalogue);
        QVERIFY(!refused);
        QCOMPARE(refused.error().number, ErrorNumber::Overflow);
    }

    // Text that needs quoting, escaping or its exact digits, in and out again.
    void roundTrip_data() {
        QTest::addColumn<TableFormat>("format");
        QTest::addColumn<QList<qsizetype>>("lines");
        QTest::newRow("csv") << TableFormat::Csv << QList<qsizetype>{2, 3, 5};
        QTest::newRow("json") << TableFormat::Json << QList<qsizetype>{1, 2, 3};
    }
    void roundTrip() {
        QFETCH(TableFormat, format);
        QFETCH(QList<qsizetype>, lines);
        const QStringList columns{u"name"_s,  u"notes"_s, u"throw_wide"_s, u"code"_s,
                                  u"ratio"_s, u"tiny"_s,  u"lumens"_s,     u"shift"_s};
        const std::vector<TermRow> rows{
            {1,
             {{u"name"_s, u"Lumière 4K"_s},
              {u"notes"_s, u"says \"hi\", twice; \\ then\ttab"_s},
              {u"throw_wide"_s, u"1.36"_s}}},
            {1,
             {{u"name"_s, u" spaced "_s}, {u"notes"_s, u"two\nlines"_s}, {u"lumens"_s, u"3000"_s}}},
            {1,
             {{u"name"_s, u"\"Q\" 7 \U0001F4FD"_s},
              {u"code"_s, u"00123"_s},
              {u"ratio"_s, u"1.360"_s},
              {u"tiny"_s, u"1e-05"_s},
              {u"lumens"_s, u"-2"_s},
              {u"shift"_s, u"-0"_s}}},
        };
        const QByteArray bytes = formatModelTable(rows, columns, format);
        const auto table = parseModelTable(bytes, format, u"table"_s);
        VERIFY_OK(table);
        QVERIFY(table->problems.empty());
        QCOMPARE(table->rows.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            TermRow expected = rows[i];
            expected.line = lines[static_cast<qsizetype>(i)];
            // A JSON object gives its members in the order of their keys.
            if (format == TableFormat::Json)
                std::sort(expected.terms.begin(), expected.terms.end());
            else
                std::sort(expected.terms.begin(), expected.terms.end(),
                          [&columns](const auto &a, const auto &b) {
                              return columns.indexOf(a.first) < columns.indexOf(b.first);
                          });
            QCOMPARE(describe(table->rows[i]), describe(expected));
        }
    }

    void written_data() {
        QTest::addColumn<TableFormat>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("csv") << TableFormat::Csv
                             << "name,px_w,notes,missing\n"
                                "\" A\",,\"x, y\",\n"
                                "\"Tarn \"\"300\"\"\",1920,a\tb,\n"
                                ",,,\n"_ba;
        QTest::newRow("json") << TableFormat::Json
                              << "[\n"
                                 "    {\n"
                                 "        \"name\": \" A\",\n"
                                 "        \"notes\": \"x, y\"\n"
                                 "    },\n"
                                 "    {\n"
                                 "        \"name\": \"Tarn \\\"300\\\"\",\n"
                                 "        \"px_w\": 1920,\n"
                                 "        \"notes\": \"a\\u0009b\"\n"
                                 "    },\n"
                                 "    {}\n"
                                 "]\n"_ba;
        QTest::newRow("catalogue") << TableFormat::Catalogue
                                   << "name,px_w,notes,missing\r\n"
                                      " A,,x, y,\r\n"
                                      "Tarn \"300\",1920,a\tb,\r\n"
                                      ",,,\r\n"_ba;
    }
    // Columns in the order asked for, a term outside them left out.
    void written() {
        QFETCH(TableFormat, format);
        QFETCH(QByteArray, bytes);
        const std::vector<TermRow> rows{
            {2, {{u"notes"_s, u"x, y"_s}, {u"name"_s, u" A"_s}}},
            {3, {{u"px_w"_s, u"1920"_s}, {u"name"_s, u"Tarn \"300\""_s}, {u"notes"_s, u"a\tb"_s}}},
            {4, {{u"other"_s, u"z"_s}}},
        };
        QCOMPARE(formatModelTable(rows, {u"name"_s, u"px_w"_s, u"notes"_s, u"missing"_s}, format),
                 bytes);
    }

    void rowLimit_data() {
        QTest::addColumn<TableFormat>("format");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("taken");
        QTest::newRow("csv 10000") << TableFormat::Csv << 10000 << true;
        QTest::newRow("csv 10001") << TableFormat::Csv << 10001 << false;
        QTest::newRow("json 10000") << TableFormat::Json << 10000 << true;
        QTest::newRow("json 10001") << TableFormat::Json << 10001 << false;
    }
    void rowLimit() {
        QFETCH(TableFormat, format);
        QFETCH(int, count);
        QFETCH(bool, taken);
        const auto table = parseModelTable(manyRows(format, count), format, u"big.table"_s);
        if (taken) {
            VERIFY_OK(table);
            QCOMPARE(table->rows.size(), std::size_t(count));
            return;
        }
        QVERIFY(!table);
        QCOMPARE(table.error().number, ErrorNumber::SubscriptOutOfRange);
        QVERIFY2(table.error().description.contains(u"big.table holds more than 10000 rows"_s),
                 qPrintable(table.error().description));
    }

    void fromFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"import.csv"_s);
        QVERIFY(writeFile(path, manyRows(TableFormat::Csv, 1000)));
        const auto table = readModelTable(path, TableFormat::Csv);
        VERIFY_OK(table);
        QCOMPARE(table->rows.size(), std::size_t{1000});
        QCOMPARE(describe(table->rows.front()), u"2: name=M0|lumens=1000"_s);
        QCOMPARE(describe(table->rows[499]), u"501: name=M499|lumens=1499"_s);
        QCOMPARE(describe(table->rows.back()), u"1001: name=M999|lumens=1999"_s);

        const auto missing = readModelTable(dir.filePath(u"gone.json"_s), TableFormat::Json);
        QVERIFY(!missing);
        QCOMPARE(missing.error().number, ErrorNumber::FileNotFound);
    }

    void tooLarge_data() {
        QTest::addColumn<TableFormat>("format");
        QTest::newRow("csv") << TableFormat::Csv;
        QTest::newRow("json") << TableFormat::Json;
        QTest::newRow("catalogue") << TableFormat::Catalogue;
    }
    // 5 MiB of one short row repeated: refused for its size, not its rows.
    void tooLarge() {
        QFETCH(TableFormat, format);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"huge.table"_s);
        QVERIFY(writeFile(path, QByteArray(5 << 20, '\n')));
        const auto table = readModelTable(path, format);
        QVERIFY(!table);
        QCOMPARE(table.error().number, ErrorNumber::BadRecordLength);
        QVERIFY2(table.error().description.contains(path), qPrintable(table.error().description));

        const auto parsed = parseModelTable(QByteArray((4 << 20) + 1, ' '), format, u"t"_s);
        QVERIFY(!parsed);
        QCOMPARE(parsed.error().number, ErrorNumber::BadRecordLength);
    }

    void writeAndRead() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"export.json"_s);
        const std::vector<TermRow> rows{{1, {{u"lumens"_s, u"3000"_s}, {u"name"_s, u"Tarn"_s}}}};
        VERIFY_OK(writeModelTable(path, rows, {u"name"_s, u"lumens"_s}, TableFormat::Json));
        const auto table = readModelTable(path, TableFormat::Json);
        VERIFY_OK(table);
        QCOMPARE(describe(table->rows), QStringList{u"1: lumens=3000|name=Tarn"_s});

        // A FIFO is no file to export into; it stays as it is.
        const QString fifo = dir.filePath(u"pipe.csv"_s);
        QVERIFY(makeEntry(Entry::Fifo, fifo));
        QVERIFY(!writeModelTable(fifo, rows, {u"name"_s}, TableFormat::Csv));
        QCOMPARE(describeEntry(fifo), u"fifo"_s);
    }
};

QTEST_GUILESS_MAIN(TestModelTable)
#include "tst_modeltable.moc"
