// Imports of projector tables: what each row would do, before anything is
// written, and exports that import back to the same models.
#include "calc/sheetterms.h"
#include "commalocale.h"
#include "files/modelloader.h"
#include "session/modelimport.h"
#include "testmodels.h"
#include "verifyok.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TableFormat)

namespace {

using Action = ImportEntry::Action;

ModelTable csv(const QByteArray &text) {
    const Result<ModelTable> table = parseModelTable(text, TableFormat::Csv, u"test.csv"_s);
    return table ? *table : ModelTable{};
}

QList<Action> actions(const std::vector<ImportEntry> &entries) {
    QList<Action> list;
    for (const ImportEntry &entry : entries)
        list << entry.action;
    return list;
}

} // namespace

class TestModelImport : public QObject {
    Q_OBJECT

private slots:
    // Each row is added, replaces an own model (asked) or is refused with its
    // reason; a refused row stops none of the others.
    void thePreviewSaysWhatEachRowDoes() {
        const std::vector<ModelRecord> own{testModel(u"Tarn B"_s, 0.6, 0, 0.5, 0)};
        const ModelTable table =
            csv("name,px_w,px_h,throw_wide,throw_tele,offset_pct,min_diag,max_diag,lumens\n"
                "Tarn A,1920,1080,1.36,2.18,110,40,300,3500\n"
                "Tarn B,1024,768,1.5,1.8,100,30,250,\n"
                "Tarn C,1920,1080,long,2.0,100,40,300,\n"
                "Tarn A,1920,1080,1.2,,100,40,300,\n"
                "Tarn D,1920,1200,1.2,1.9,100,40,300,2000,extra\n"
                "\"Tarn E\",1280,800,1.5,,105,40,200,2000\n");
        const std::vector<ImportEntry> entries = previewImport(table, own, 10);
        QCOMPARE(actions(entries), (QList<Action>{Action::Add, Action::Replace, Action::Refuse,
                                                  Action::Refuse, Action::Refuse, Action::Add}));
        QCOMPARE(entries[2].line, 4);
        QVERIFY(entries[2].reason.contains(u"throw"_s));
        QVERIFY(entries[3].reason.contains(u"earlier row"_s));
        QVERIFY(entries[4].reason.contains(u"columns"_s));
        QCOMPARE(importSummary(entries), u"2 added, 1 replaced, 3 refused"_s);
        // 1.36 on a 16 : 9 panel: 1 / (1.36 x 1.066667) = 0.689338.
        QVERIFY(std::abs(entries[0].record.lens[Zoom::Wide].a - 0.689338) < 5e-7);

        const std::vector<ModelRecord> kept =
            importedModels(own, entries, [](const ImportEntry &) { return false; });
        QCOMPARE(kept.size(), 3u);
        QCOMPARE(kept[0], own[0]);
        const std::vector<ModelRecord> replaced = importedModels(own, entries);
        QCOMPARE(replaced[0], entries[1].record);
        QCOMPARE(replaced[2].name, u"Tarn E"_s);
    }

    // A ";" file from a comma-decimal locale reads as the same numbers, also
    // where the program runs in such a locale.
    void commaDecimalsReadAsNumbers_data() {
        QTest::addColumn<bool>("commaLocale");
        QTest::newRow("C locale") << false;
        QTest::newRow("German locale") << true;
    }
    void commaDecimalsReadAsNumbers() {
        QFETCH(bool, commaLocale);
        QTemporaryDir scratch;
        if (commaLocale && !test::useCommaLocale(scratch))
            QSKIP("no locale with a decimal comma here");
        const auto restore = qScopeGuard([] { std::setlocale(LC_NUMERIC, "C"); });
        const ModelTable table = csv("\xEF\xBB\xBFname;px;throw_wide;throw_tele;diag\r\n"
                                     "T\xC3\xA4rn 2;1920x1080;1,36;2,18;40-300\r\n");
        const std::vector<ImportEntry> entries = previewImport(table, {}, 10);
        QVERIFY2(actions(entries) == QList<Action>{Action::Add}, qPrintable(entries[0].reason));
        QCOMPARE(entries[0].record.name, u"Tärn 2"_s);
        QVERIFY(std::abs(entries[0].record.lens[Zoom::Tele].a - 0.430046) < 5e-7);
    }

    // A thousand rows: the list takes what it has room for, the rest are
    // refused as beyond it.
    void aThousandRows() {
        QByteArray text = "name,throw_wide,throw_tele,diag\n";
        for (int i = 1; i <= 1000; ++i)
            text += "Tarn " + QByteArray::number(i) + ",1.4,2.1,40-300\n";
        const std::vector<ImportEntry> entries = previewImport(csv(text), {}, 986);
        QCOMPARE(entries.size(), 1000u);
        QCOMPARE(importSummary(entries), u"986 added, 0 replaced, 14 refused"_s);
        QVERIFY(entries.back().reason.contains(u"full"_s));
        QCOMPARE(importedModels({}, entries).size(), 986u);
    }

    // The demo catalogue exported as CSV and as JSON imports as itself.
    void exportsImportBack_data() {
        QTest::addColumn<TableFormat>("format");
        QTest::newRow("CSV") << TableFormat::Csv;
        QTest::newRow("JSON") << TableFormat::Json;
    }
    void exportsImportBack() {
        QFETCH(TableFormat, format);
        const Result<Catalogue> demo =
            loadCatalogue(QStringLiteral(VISTREL_DATA_DIR "/ModelInfo.ini"));
        VERIFY_OK(demo);
        const QByteArray bytes =
            formatModelTable(exportRows(demo->models), sheetTermKeys(), format);
        const Result<ModelTable> table = parseModelTable(bytes, format, u"export"_s);
        VERIFY_OK(table);
        const std::vector<ImportEntry> entries = previewImport(*table, {}, 1000);
        QCOMPARE(entries.size(), demo->models.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ModelRecord &back = entries[i].record;
            const ModelRecord &model = demo->models[i];
            QCOMPARE(back.name, model.name);
            for (int f = 1; f < kModelFieldCount; ++f)
                QVERIFY2(std::abs(numericField(back, f) - numericField(model, f)) < 1e-9,
                         qPrintable(model.name + u": "_s + fieldName(f)));
        }
    }
};

QTEST_GUILESS_MAIN(TestModelImport)
#include "tst_modelimport.moc"
