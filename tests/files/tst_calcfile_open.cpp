#include "files/calcfile.h"

#include "core/numbers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace vistrel;

namespace {

class Recorder : public EngineObserver {
public:
    void showMessage(const QString &text) override { messages.append(text); }
    void showError(const AppError &error) override { errors.append(error.boxText()); }
    void isometricChanged() override { ++drawings; }

    QStringList messages;
    QStringList errors;
    int drawings = 0;
};

// Name, diagonal limits 4 : 3 WIDE and TELE, lens lines, offset coefficients
// (A WIDE, A TELE, B WIDE, B TELE), 16 : 9 mode, drawing flag, 16 : 9 limits.
// Alpha has both zoom ends, 16 : 9 and two offsets.
ModelRecord alpha() {
    ModelRecord m{{},   30,   300,  30, 250, 0.5, -2,  0.4, -1, 0.1,
                  0.12, 0.05, 0.06, 1,  0,   30,  280, 30,  230};
    m.modelName = QStringLiteral("Alpha");
    return m;
}

// WIDE only, no 16 : 9.
ModelRecord beta() {
    return {QStringLiteral("Beta"), 40, 200, 0, 0, 0.6, 1, 0, 0, 0.2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

CalcFileData fileData(const ModelRecord &model, int zoom, double aspectHeight, double aspectWidth,
                      double diagonal, int unit = 0) {
    CalcFileData d;
    d.model = model;
    d.zoomEnd = static_cast<std::int16_t>(zoom);
    d.screenPosition = 0;
    d.aspectHeight = aspectHeight;
    d.aspectWidth = aspectWidth;
    d.unitCode = static_cast<std::int16_t>(unit);
    d.screenDiagonal = diagonal;
    return d;
}

// Everything opening a file may touch, as one text, so a difference shows where it is.
QString describe(const Calculator &c) {
    const CalcState &s = c.state();
    const Controls &k = c.controls();
    QStringList parts{QString::number(s.modelIndex), QString::number(s.zoomEnd),
                      QString::number(s.screenPosition), QString::number(s.unitCode)};
    for (double v :
         {s.aspectHeight, s.aspectWidth, s.screenWidth, s.screenHeight, s.screenDiagonal,
          s.projectionDistance, s.offsetA, s.offsetB, s.maxDistance, s.maxDiagonal, s.minDiagonal})
        parts << formatShortest(v);
    parts << QString::number(k.zoom) << QString::number(k.position) << QString::number(k.unit)
          << QString::number(k.aspect) << QString::number(k.modelSelected) << k.modelItems;
    for (const QString &t : k.fieldText)
        parts << t;
    for (const ModelRecord &m : c.models())
        parts << m.modelName;
    return parts.join(u'|');
}

} // namespace

class TestCalcFileOpen : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void restoresSavedCalculation();
    void addsUnknownModelOnce();
    void choosesAspectFromStoredPair_data();
    void choosesAspectFromStoredPair();
    void fallsBackToWhatModelOffers();
    void clampsDiagonalToModelLimit();
    void leavesEverythingOnFailure_data();
    void leavesEverythingOnFailure();

private:
    QString save(const QString &name, const CalcFileData &data);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Recorder> observer_;
    std::unique_ptr<Calculator> calc_;
};

void TestCalcFileOpen::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    observer_ = std::make_unique<Recorder>();
    calc_ = std::make_unique<Calculator>(*observer_);
    Messages messages;
    for (int unit = 0; unit < 3; ++unit) {
        const QString suffix =
            QStringList{QString(), QStringLiteral(" ft"), QStringLiteral(" cm")}[unit];
        messages.tooLarge[std::size_t(unit)] = QStringLiteral("too large %1") + suffix;
        messages.tooSmall[std::size_t(unit)] = QStringLiteral("too small %1") + suffix;
    }
    calc_->setMessages(messages);
    QVERIFY(!calc_->startUp({alpha(), beta()}));
    QVERIFY(observer_->errors.isEmpty());
}

void TestCalcFileOpen::cleanup() {
    calc_.reset();
    observer_.reset();
    dir_.reset();
}

QString TestCalcFileOpen::save(const QString &name, const CalcFileData &data) {
    const QString path = dir_->filePath(name);
    if (writeCalcFile(path, data))
        return {};
    return path;
}

void TestCalcFileOpen::restoresSavedCalculation() {
    calc_->selectZoom(1);
    calc_->selectPosition(0);
    calc_->selectUnit(2);
    calc_->selectAspect(2);
    calc_->fieldGotFocus(1);
    calc_->setFieldText(1, QStringLiteral("200"));
    QVERIFY(calc_->enterClicked(1));
    const Controls saved = calc_->controls();
    const double diagonal = calc_->state().screenDiagonal;
    const QString path = save(QStringLiteral("saved.cf"), snapshotCalculation(*calc_));
    QVERIFY(!path.isEmpty());

    calc_->selectModelEntry(1);
    calc_->selectUnit(0);
    calc_->selectPosition(1);
    QVERIFY(calc_->controls().fieldText != saved.fieldText);
    observer_->drawings = 0;
    observer_->messages.clear();

    QVERIFY(!openCalculationFile(*calc_, path));
    const Controls &now = calc_->controls();
    QCOMPARE(now.modelSelected, 0);
    QCOMPARE(now.zoom, 1);
    QCOMPARE(now.position, 0);
    QCOMPARE(now.unit, 2);
    QCOMPARE(now.aspect, 2);
    QCOMPARE(now.fieldText, saved.fieldText);
    QCOMPARE(now.offsetText, saved.offsetText);
    QCOMPARE(calc_->state().screenDiagonal, diagonal);
    QCOMPARE(calc_->models().size(), std::size_t(2));
    QCOMPARE(calc_->currentFileName(), path);
    QVERIFY(observer_->drawings > 0);
    QVERIFY(observer_->messages.isEmpty());
    QVERIFY(observer_->errors.isEmpty());
}

void TestCalcFileOpen::addsUnknownModelOnce() {
    ModelRecord gamma = alpha();
    gamma.modelName = QStringLiteral("Gamma");
    gamma.wideCoefA = 0.7;
    const QString path = save(QStringLiteral("gamma.cf"), fileData(gamma, 0, 3, 4, 100));

    for (int round = 0; round < 2; ++round) {
        QVERIFY(!openCalculationFile(*calc_, path));
        QCOMPARE(calc_->models().size(), std::size_t(3));
        QVERIFY(calc_->models().back() == gamma);
        QCOMPARE(calc_->controls().modelItems,
                 (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"),
                              QStringLiteral("Gamma")}));
        QCOMPARE(calc_->controls().modelItemData.back(), 2);
        QCOMPARE(calc_->controls().modelSelected, 2);
        QCOMPARE(calc_->state().modelIndex, 2);
    }

    // A known name keeps the catalogue's lens data, whatever the file holds.
    ModelRecord changed = alpha();
    changed.wideCoefA = 0.9;
    QVERIFY(!openCalculationFile(
        *calc_, save(QStringLiteral("alpha.cf"), fileData(changed, 0, 3, 4, 100))));
    QCOMPARE(calc_->models().size(), std::size_t(3));
    QVERIFY(calc_->models().front() == alpha());
    QCOMPARE(calc_->state().projectionDistance, (100.0 + 2) / 0.5);
}

void TestCalcFileOpen::choosesAspectFromStoredPair_data() {
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("aspect");

    QTest::newRow("4 : 3") << 3.0 << 4.0 << 0;
    QTest::newRow("16 : 9") << 9.0 << 16.0 << 2;
    QTest::newRow("5 : 4") << 4.0 << 5.0 << 1;
    QTest::newRow("3 : 4 upright") << 4.0 << 3.0 << 1;
    QTest::newRow("nearly 4 : 3") << 3.0000001 << 4.0 << 1;
    QTest::newRow("zeros") << 0.0 << 0.0 << 1;
}

void TestCalcFileOpen::choosesAspectFromStoredPair() {
    QFETCH(double, height);
    QFETCH(double, width);
    QFETCH(int, aspect);

    // Start from another option so that the file has to change it.
    calc_->selectAspect((aspect + 1) % 3);
    QVERIFY(!openCalculationFile(
        *calc_, save(QStringLiteral("a.cf"), fileData(alpha(), 0, height, width, 100))));
    QCOMPARE(calc_->controls().aspect, aspect);
    const double pairs[3][2] = {{3, 4}, {4, 5}, {9, 16}};
    QCOMPARE(calc_->state().aspectHeight, pairs[aspect][0]);
    QCOMPARE(calc_->state().aspectWidth, pairs[aspect][1]);
}

void TestCalcFileOpen::fallsBackToWhatModelOffers() {
    // Beta has no TELE end and no 16 : 9; the file asks for both.
    calc_->selectZoom(1);
    calc_->selectAspect(2);
    QVERIFY(!openCalculationFile(*calc_,
                                 save(QStringLiteral("beta.cf"), fileData(beta(), 1, 9, 16, 100))));
    QCOMPARE(calc_->controls().modelSelected, 1);
    QCOMPARE(calc_->controls().zoom, 0);
    QCOMPARE(calc_->state().zoomEnd, 0);
    QCOMPARE(calc_->controls().aspect, 0);
    QCOMPARE(calc_->state().aspectWidth, 4.0);
    QCOMPARE(calc_->state().screenDiagonal, 100.0);
    QCOMPARE(calc_->state().projectionDistance, (100.0 - 1) / 0.6);
    QVERIFY(observer_->errors.isEmpty());
}

void TestCalcFileOpen::clampsDiagonalToModelLimit() {
    // Start from another diagonal, so that the limit cannot be mistaken for a value kept.
    calc_->fieldGotFocus(1);
    calc_->setFieldText(1, QStringLiteral("100"));
    QVERIFY(calc_->enterClicked(1));
    observer_->messages.clear();
    QVERIFY(!openCalculationFile(
        *calc_, save(QStringLiteral("big.cf"), fileData(alpha(), 0, 3, 4, 500, 2))));
    QCOMPARE(observer_->messages, QStringList{QStringLiteral("too large 762 cm")});
    QCOMPARE(calc_->state().screenDiagonal, 300.0);
    QCOMPARE(calc_->state().screenWidth, 240.0);
    QCOMPARE(calc_->state().screenHeight, 180.0);
    QCOMPARE(calc_->state().projectionDistance, (300.0 + 2) / 0.5);
}

void TestCalcFileOpen::leavesEverythingOnFailure_data() {
    QTest::addColumn<int>("line"); // 1-based line to replace; 0: drop the last line
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("error");

    QTest::newRow("33 lines") << 0 << QByteArray() << 62;
    QTest::newRow("unit 3") << 25 << QByteArray("3") << 380;
    QTest::newRow("word as diagonal") << 28 << QByteArray("big") << 13;
    // An unknown model without any lens line must not reach the catalogue.
    QTest::newRow("unusable new model") << 1 << QByteArray("\"Delta\"") << 380;
}

void TestCalcFileOpen::leavesEverythingOnFailure() {
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(int, error);

    const QString good = save(QStringLiteral("good.cf"), fileData(alpha(), 1, 4, 5, 120, 1));
    QVERIFY(!openCalculationFile(*calc_, good));

    CalcFileData broken = fileData(alpha(), 0, 3, 4, 100);
    if (line == 1) {
        broken.model.wideCoefA = broken.model.wideCoefB = 0;
        broken.model.teleCoefA = broken.model.teleCoefB = 0;
    }
    QList<QByteArray> lines = formatCalcFile(broken).split('\n');
    lines.removeLast();
    if (line == 0)
        lines.removeLast();
    else
        lines[line - 1] = text + '\r';
    const QString path = dir_->filePath(QStringLiteral("broken.cf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n'));
    file.close();

    const QString before = describe(*calc_);
    const int drawings = observer_->drawings;
    const Status status = openCalculationFile(*calc_, path);
    QVERIFY(status.has_value());
    QCOMPARE(status->code(), error);
    QCOMPARE(describe(*calc_), before);
    QCOMPARE(observer_->drawings, drawings);
    QCOMPARE(calc_->currentFileName(), good);
    QVERIFY(calc_->windowReady());
}

QTEST_GUILESS_MAIN(TestCalcFileOpen)
#include "tst_calcfile_open.moc"
