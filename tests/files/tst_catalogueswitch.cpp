#include "files/catalogueswitch.h"
#include "core/filenames.h"

#include "fsentries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vistrel;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kInUse = "h\r\nInUse,30,300,30,250,0.6,1,0.5,1,0,0,0,0,1,0,30,280,30,230\r\n";
const QByteArray kChosen = "h\r\nChosen,30,200,30,200,0.7,1,0.6,1,0,0,0,0,1,0,30,200,30,200\r\n";
const QByteArray kOlder = "h\r\nOlder,30,200,30,200,0.7,1,0.6,1,0,0,0,0,0,0,0,0,0,0\r\n";
const QByteArray kOutside = "h\r\nOutside,30,200,30,200,0.7,1,0.6,1,0,0,0,0,0,0,0,0,0,0\r\n";

const QString kOutsideLink = u"(outside)"_s;

Result<void> acceptAll(const std::vector<ModelRecord> &) {
    return {};
}

// For files above suspicion: a question would be a fault.
bool unasked(const std::vector<CatalogueNote> &doubts) {
    qWarning("unexpected question about %zu values", doubts.size());
    QTest::qFail("a file above suspicion raised a question", __FILE__, __LINE__);
    return false;
}

// The program's folder for a switch: the catalogue is kept there.
AppPaths folderPaths(const QString &folder) {
    AppPaths paths;
    paths.dataFolder = paths.catalogueFolder = folder;
    return paths;
}

} // namespace

class TestCatalogueSwitch : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;     // the program's folder
    std::unique_ptr<QTemporaryDir> outside_; // somewhere else
    QString in(const QString &name) const { return dir_->filePath(name); }
    QString out(const QString &name) const { return outside_->filePath(name); }
    void write(const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The three files of a switch, and whether anything else was left behind.
    QStringList folderState() const {
        QStringList state;
        for (const QString &name : {kModelInfoFile, kBackupFile, kWorkingCopyFile})
            state << name + u": "_s + describeEntry(in(name));
        const QStringList all =
            QDir(dir_->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &name : all)
            if (name != kModelInfoFile && name != kBackupFile && name != kWorkingCopyFile &&
                name != u"chosen.ini"_s)
                state << u"stray "_s + name;
        return state;
    }
    QStringList expected(const QByteArray &current, const QByteArray &backup,
                         const QString &workingCopy = u"nothing"_s) const {
        return {kModelInfoFile + u": file: "_s + QString::fromUtf8(current),
                kBackupFile + u": file: "_s + QString::fromUtf8(backup),
                kWorkingCopyFile + u": "_s + workingCopy};
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        outside_ = std::make_unique<QTemporaryDir>();
        write(in(kModelInfoFile), kInUse);
        write(in(u"chosen.ini"_s), kChosen);
        write(out(u"outside.ini"_s), kOutside);
    }

    // Whatever stands at the switch's names, it ends with two complete regular
    // files, and nothing is written through a link.
    void linksAndOddEntriesAreReplaced_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QString>("linkTo");
        QTest::newRow("~tmp.ini links to ModelInfo.ini")
            << kWorkingCopyFile << Entry::Link << kModelInfoFile;
        QTest::newRow("~tmp.ini links to OLD.ini")
            << kWorkingCopyFile << Entry::Link << kBackupFile;
        QTest::newRow("~tmp.ini links outside") << kWorkingCopyFile << Entry::Link << kOutsideLink;
        QTest::newRow("~tmp.ini is a fifo") << kWorkingCopyFile << Entry::Fifo << QString();
        QTest::newRow("OLD.ini links outside") << kBackupFile << Entry::Link << kOutsideLink;
        QTest::newRow("OLD.ini links to ModelInfo.ini")
            << kBackupFile << Entry::Link << kModelInfoFile;
        QTest::newRow("OLD.ini is a fifo") << kBackupFile << Entry::Fifo << QString();
    }
    void linksAndOddEntriesAreReplaced() {
        QFETCH(QString, name);
        QFETCH(Entry, entry);
        QFETCH(QString, linkTo);
        write(in(kBackupFile), kOlder);
        QFile::remove(in(name));
        QVERIFY(makeEntry(entry, in(name),
                          linkTo == kOutsideLink ? out(u"outside.ini"_s) : in(linkTo)));
        const Result<CatalogueSwitch> result =
            switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), acceptAll, unasked);
        QVERIFY2(result.ok(), result.ok() ? "" : qPrintable(result.error().description));
        QCOMPARE(result->catalogue.models.front().name, u"Chosen"_s);
        QCOMPARE(folderState(), expected(kChosen, kInUse));
        QCOMPARE(describeEntry(out(u"outside.ini"_s)), u"file: "_s + QString::fromUtf8(kOutside));
    }

    // The catalogue in use may itself be a link: it is backed up by content,
    // and replaced by a regular file; the file it pointed to stays as it was.
    void aLinkedCatalogueInUseIsBackedUpAndReplaced() {
        QFile::remove(in(kModelInfoFile));
        QVERIFY(makeEntry(Entry::Link, in(kModelInfoFile), out(u"outside.ini"_s)));
        QVERIFY(switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), acceptAll, unasked)
                    .ok());
        QCOMPARE(folderState(), expected(kChosen, kOutside));
        QCOMPARE(describeEntry(out(u"outside.ini"_s)), u"file: "_s + QString::fromUtf8(kOutside));
    }

    // A file whose first model cannot be used changes nothing on disk; the
    // error names the chosen file and the reason.
    void aRefusedFileChangesNothing() {
        write(in(kBackupFile), kOlder);
        QVERIFY(makeEntry(Entry::Link, in(kWorkingCopyFile), out(u"outside.ini"_s)));
        const QStringList before = folderState();
        const auto refuse = [](const std::vector<ModelRecord> &models) -> Result<void> {
            return makeError(
                ErrorNumber::InvalidPropertyValue,
                u"Invalid property value: model %1 is unusable"_s.arg(models.front().name));
        };
        const Result<CatalogueSwitch> result =
            switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), refuse, unasked);
        QVERIFY(!result.ok());
        QCOMPARE(result.error().code(), 380);
        QVERIFY(result.error().description.contains(in(u"chosen.ini"_s)));
        QVERIFY(result.error().description.contains(u"model Chosen is unusable"_s));
        QCOMPARE(folderState(), before);
    }

    void errorsOfTheChosenFileNameIt_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("where");
        QTest::newRow("16-bit overflow")
            << QByteArray("h\r\nX,30,300,30,250,0.6,1,0.5,1,0,0,0,0,40000,0\r\n") << 6
            << u"line 2, field 13 of "_s;
        QByteArray tooMany = "h\r\n";
        for (int i = 0; i <= 1000; ++i)
            tooMany += "M,30,300,30,250,0.6,1,0.5,1,0,0,0,0,1,0\r\n";
        QTest::newRow("1001 models") << tooMany << 9 << u"Subscript out of range: "_s;
        QTest::newRow("a line of 20000 bytes")
            << QByteArray("h\r\nX,") + QByteArray(20000, '1') << 59 << u"line 2 of "_s;
    }
    void errorsOfTheChosenFileNameIt() {
        QFETCH(QByteArray, content);
        QFETCH(int, error);
        QFETCH(QString, where);
        write(in(u"chosen.ini"_s), content);
        const QStringList before = folderState();
        const Result<CatalogueSwitch> result =
            switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), acceptAll, unasked);
        QCOMPARE(result.ok() ? 0 : result.error().code(), error);
        QVERIFY2(result.error().description.contains(where + in(u"chosen.ini"_s)),
                 qPrintable(result.error().description));
        QVERIFY(!result.error().description.contains(kWorkingCopyFile));
        QCOMPARE(folderState(), before);
    }

    // A file without models stays as the working copy, written fresh: a link
    // there is replaced, not written through.
    void aFileWithoutModelsBecomesTheWorkingCopy() {
        write(in(u"chosen.ini"_s), "header only\r\n");
        QVERIFY(makeEntry(Entry::Link, in(kWorkingCopyFile), out(u"outside.ini"_s)));
        const Result<CatalogueSwitch> result =
            switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), acceptAll, unasked);
        QVERIFY(result.ok());
        QCOMPARE(result->outcome, CatalogueSwitch::Outcome::NoModels);
        QCOMPARE(result->catalogue.models.front().name, u"InUse"_s);
        QCOMPARE(describeEntry(in(kWorkingCopyFile)), u"file: header only\r\n"_s);
        QCOMPARE(describeEntry(in(kModelInfoFile)), u"file: "_s + QString::fromUtf8(kInUse));
        QCOMPARE(describeEntry(out(u"outside.ini"_s)), u"file: "_s + QString::fromUtf8(kOutside));
    }

    // A file that reads but looks wrong is installed only when the user says
    // so; declining changes nothing on disk.
    void doubtfulValuesAreAskedAbout_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("declined") << false;
        QTest::newRow("replaced all the same") << true;
    }
    void doubtfulValuesAreAskedAbout() {
        QFETCH(bool, replace);
        const QByteArray doubtful = "h\r\nAster 1500,30,abc\r\n";
        write(in(u"chosen.ini"_s), doubtful);
        write(in(kBackupFile), kOlder);
        const QStringList before = folderState();
        QStringList asked;
        const Result<CatalogueSwitch> result =
            switchCatalogue(in(u"chosen.ini"_s), folderPaths(dir_->path()), acceptAll,
                            [&](const std::vector<CatalogueNote> &doubts) {
                                for (const CatalogueNote &note : doubts)
                                    asked << u"%1 %2"_s.arg(note.line).arg(note.field);
                                return replace;
                            });
        QVERIFY(result.ok());
        // "abc" read as 0, WIDE limits without a lens line.
        QCOMPARE(asked, (QStringList{u"2 2"_s, u"2 5"_s}));
        if (replace) {
            QCOMPARE(result->outcome, CatalogueSwitch::Outcome::Installed);
            QCOMPARE(folderState(), expected(doubtful, kInUse));
        } else {
            QCOMPARE(result->outcome, CatalogueSwitch::Outcome::Declined);
            QVERIFY(result->catalogue.models.empty());
            QCOMPARE(folderState(), before);
        }
    }

    void aDeviceIsNoCatalogue() {
        const QStringList before = folderState();
        const Result<CatalogueSwitch> result =
            switchCatalogue(u"/dev/zero"_s, folderPaths(dir_->path()), acceptAll, unasked);
        QCOMPARE(result.ok() ? 0 : result.error().code(), 75);
        QCOMPARE(folderState(), before);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueSwitch)
#include "tst_catalogueswitch.moc"
