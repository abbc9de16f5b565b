#include "files/filewriter.h"

#include "fsentries.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(WriteTarget)

class TestFileWriter : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString &name) const { return dir_->filePath(name); }
    // Everything in the folder but the entry under test and the link's target.
    QStringList strays() const {
        QStringList names =
            QDir(dir_->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.removeAll(u"target"_s);
        names.removeAll(u"elsewhere"_s);
        return names;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(makeEntry(Entry::File, path(u"elsewhere"_s)));
    }

    void whatStandsAtTheTarget_data() {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<WriteTarget>("kind");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("after"); // what stands at "target" afterwards; "=": unchanged
        const QString written = u"file: new"_s;
        for (const WriteTarget kind : {WriteTarget::UserFile, WriteTarget::OwnFile}) {
            const bool user = kind == WriteTarget::UserFile;
            const char *k = user ? "user: " : "own: ";
            const int refusedUnlessOwn = user ? 75 : 0;
            const QString replacedUnlessOwn = user ? u"="_s : written;
            QTest::addRow("%snothing", k) << Entry::None << kind << 0 << written;
            QTest::addRow("%sregular file", k) << Entry::File << kind << 0 << written;
            QTest::addRow("%sfifo", k)
                << Entry::Fifo << kind << refusedUnlessOwn << replacedUnlessOwn;
            QTest::addRow("%ssocket", k)
                << Entry::Socket << kind << refusedUnlessOwn << replacedUnlessOwn;
            QTest::addRow("%sdevice", k)
                << Entry::NullDevice << kind << refusedUnlessOwn << replacedUnlessOwn;
            QTest::addRow("%sfolder", k) << Entry::Folder << kind << 75 << u"="_s;
            // A link the user named is followed to its file; the program's own
            // files are never written through a link.
            QTest::addRow("%slink to a file", k)
                << Entry::Link << kind << 0 << (user ? u"="_s : written);
            QTest::addRow("%sdangling link", k)
                << Entry::DanglingLink << kind << refusedUnlessOwn << replacedUnlessOwn;
        }
    }
    void whatStandsAtTheTarget() {
        QFETCH(Entry, entry);
        QFETCH(WriteTarget, kind);
        QFETCH(int, error);
        QFETCH(QString, after);
        const QString target = path(u"target"_s);
        const QString linkTo =
            entry == Entry::DanglingLink ? path(u"gone"_s) : path(u"elsewhere"_s);
        if (!makeEntry(entry, target, linkTo))
            QSKIP("this entry cannot be made here (a device node needs root)");
        const QString before = describeEntry(target);

        const Result<void> written = writeFileAtomically(target, "new", kind);
        QCOMPARE(written ? 0 : written.error().code(), error);
        QCOMPARE(describeEntry(target), after == u"="_s ? before : after);
        if (!written)
            QVERIFY2(written.error().description.contains(target),
                     qPrintable(written.error().description));
        const bool throughLink = entry == Entry::Link && kind == WriteTarget::UserFile;
        QCOMPARE(describeEntry(path(u"elsewhere"_s)),
                 throughLink ? u"file: new"_s : u"file: previous\r\n"_s);
        QCOMPARE(strays(), QStringList());
    }

    // The replaced file keeps the permissions the user gave the old one.
    void replacedFileKeepsItsMode() {
        const QString target = path(u"target"_s);
        QVERIFY(makeEntry(Entry::File, target));
        QVERIFY(
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(writeFileAtomically(target, "new"));
        QCOMPARE(QFile::permissions(target) & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }

    void errorNumbersNameTheCause_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("missing folder") << u"no/such/folder/x.cf"_s << 76;
        QTest::newRow("a name standing for invalid bytes") << u"bad\uFFFDname.cf"_s << 52;
        QTest::newRow("a file as folder") << u"elsewhere/x.cf"_s << 76;
    }
    void errorNumbersNameTheCause() {
        QFETCH(QString, name);
        QFETCH(int, error);
        const Result<void> written = writeFileAtomically(path(name), "new");
        QCOMPARE(written ? 0 : written.error().code(), error);
        QVERIFY2(written.error().description.contains(u"nothing was written"_s),
                 qPrintable(written.error().description));
        QCOMPARE(strays(), QStringList());
    }

    // A write that was killed left its temporary file; the next write to the
    // same target removes it. One of a writer that still runs, or of another
    // target, stays.
    void leftoversOfAKilledWriteAreRemoved() {
        const pid_t child = ::fork();
        if (child == 0)
            _exit(0);
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child); // its pid is now free
        const QString dead = u".target.%1-k1ll3d.tmp"_s.arg(child);
        const QString running = u".target.%1-unf1n1sh3d.tmp"_s.arg(::getppid());
        const QString other = u".other.%1-k1ll3d.tmp"_s.arg(child);
        // The temporary file of the target "target.<pid>-x", not of "target".
        const QString longer = u".target.%1-x.%1-k1ll3d.tmp"_s.arg(child);
        // Just written, perhaps by a writer this system cannot see.
        const QString recent = u".target.%1-r3c3nt.tmp"_s.arg(child);
        const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
        for (const QString &name : {dead, running, other, longer, recent}) {
            QVERIFY(makeEntry(Entry::File, path(name)));
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (name != recent)
                QVERIFY(file.setFileTime(hourAgo, QFileDevice::FileModificationTime));
        }
        QVERIFY(writeFileAtomically(path(u"target"_s), "new\n").ok());
        QCOMPARE(describeEntry(path(u"target"_s)), u"file: new\n"_s);
        QStringList left = strays();
        left.sort();
        QStringList kept{other, running, longer, recent};
        kept.sort();
        QCOMPARE(left, kept);
    }

    void removesOwnFilesWithoutFollowingLinks() {
        QVERIFY(makeEntry(Entry::Link, path(u"target"_s), path(u"elsewhere"_s)));
        QVERIFY(removeOwnFile(path(u"target"_s)));
        QCOMPARE(describeEntry(path(u"target"_s)), u"nothing"_s);
        QCOMPARE(describeEntry(path(u"elsewhere"_s)), u"file: previous\r\n"_s);
        QVERIFY(removeOwnFile(path(u"target"_s)));
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
