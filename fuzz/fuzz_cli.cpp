// vistrel-cli is the way scripts drive the calculator, so its command line is
// outside data too. The input is split at NUL bytes into arguments. Files are
// only ever read, and only from a scratch folder holding copies of the shipped
// catalogue and texts and of a few seed files: every file name the command
// line gives is taken relative to that folder, and inputs that would write a
// file (--save, --pdf, --png) or name a file elsewhere are skipped.

#include "catalogue/modelrecord.h"
#include "cliargs.h"
#include "clirun.h"
#include "core/apppaths.h"
#include "fuzzcalc.h"
#include "fuzzsupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using vistrel::fuzz::fail;
using vistrel::fuzz::require;

// Longer command lines only make the runs slower; the options are few.
constexpr qsizetype kMaxArguments = 16;
constexpr qsizetype kMaxArgumentLength = 256;

struct Scratch {
    QTemporaryDir dir;
    vistrel::AppPaths paths;
};

void copyInto(const QTemporaryDir &dir, const QString &from, const QString &name) {
    if (!QFile::copy(from, dir.filePath(name)))
        fail("cannot prepare the scratch folder", from);
}

// A catalogue with as many models as the list holds: opening a calculation
// file whose model it lacks must be refused. Only the first model has lenses.
void writeFullCatalogue(const QString &path) {
    QByteArray text = "Model\r\nFull First,30,300,30,300,1.25,0.9,0.7813,0.6,0.1,0.1,0.5,0.5,1,0,"
                      "36,300,36,300\r\n";
    for (int i = 1; i < vistrel::kModelCapacity; ++i)
        text += "Empty " + QByteArray::number(i) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        fail("cannot prepare the scratch folder", path);
}

const Scratch &scratch() {
    static const std::unique_ptr<Scratch> instance = [] {
        auto s = std::make_unique<Scratch>();
        if (!s->dir.isValid())
            fail("cannot create the scratch folder", s->dir.errorString());
        const QString data = QStringLiteral(VISTREL_DATA_DIR "/");
        const QString seeds = QStringLiteral(VISTREL_FUZZ_DIR "/corpus/");
        copyInto(s->dir, data + QStringLiteral("ModelInfo.ini"), QStringLiteral("ModelInfo.ini"));
        copyInto(s->dir, data + QStringLiteral("Language.ini"), QStringLiteral("Language.ini"));
        // Reachable with --open, --catalogue and --language (named in cli.dict).
        copyInto(s->dir, seeds + QStringLiteral("calcfile/aster2000-cm.cf"),
                 QStringLiteral("a.cf"));
        copyInto(s->dir, seeds + QStringLiteral("calcfile/quoted-lf.cf"), QStringLiteral("b.cf"));
        copyInto(s->dir, seeds + QStringLiteral("catalogue/small.ini"),
                 QStringLiteral("small.ini"));
        copyInto(s->dir, seeds + QStringLiteral("catalogue/odd-models.ini"),
                 QStringLiteral("odd.ini"));
        copyInto(s->dir, seeds + QStringLiteral("language/broken.ini"),
                 QStringLiteral("broken.ini"));
        writeFullCatalogue(s->dir.filePath(QStringLiteral("full.ini")));
        s->paths = vistrel::AppPaths::resolve(s->dir.path(), QString());
        return s;
    }();
    return *instance;
}

bool isFileOption(const QString &name) {
    return name == QLatin1String("--catalogue") || name == QLatin1String("--language") ||
           name == QLatin1String("--open");
}

bool isWritingOption(const QString &name) {
    return name == QLatin1String("--save") || name == QLatin1String("--pdf") ||
           name == QLatin1String("--png");
}

// The option name of "--name=value", or the argument itself.
QString optionName(const QString &argument) {
    if (argument.startsWith(QLatin1String("--")) && argument.contains(u'='))
        return argument.left(argument.indexOf(u'='));
    return argument;
}

// A file name from the command line, placed in the scratch folder; nothing
// when it names a path of its own.
std::optional<QString> confined(const QString &name, const QString &folder) {
    if (name.contains(u'/'))
        return std::nullopt;
    if (name.isEmpty())
        return name; // an empty name means the default file, already in the folder
    return folder + u'/' + name;
}

bool insideFolder(const QString &path, const QString &folder) {
    return path.isEmpty() ||
           (path.startsWith(folder + u'/') && !path.mid(folder.size() + 1).contains(u'/'));
}

// The arguments to run, or nothing when the input would write a file or read
// one outside the scratch folder. A value following a file option is mapped
// even when the parser will take it otherwise; that only renames a model or
// a typed value.
std::optional<QStringList> safeArguments(const QByteArray &bytes, const QString &folder) {
    const QList<QByteArray> pieces = bytes.split('\0');
    if (pieces.size() > kMaxArguments)
        return std::nullopt;
    QStringList arguments;
    for (const QByteArray &piece : pieces) {
        if (piece.size() > kMaxArgumentLength)
            return std::nullopt;
        arguments << QString::fromUtf8(piece);
    }
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString name = optionName(arguments.at(i));
        if (isWritingOption(name))
            return std::nullopt;
        if (!isFileOption(name))
            continue;
        if (name.size() < arguments.at(i).size()) {
            const auto path = confined(arguments.at(i).mid(name.size() + 1), folder);
            if (!path)
                return std::nullopt;
            arguments[i] = name + u'=' + *path;
        } else if (i + 1 < arguments.size()) {
            const auto path = confined(arguments.at(i + 1), folder);
            if (!path)
                return std::nullopt;
            arguments[i + 1] = *path;
        }
    }

    // Whatever the mapping above missed, the parser's own reading decides.
    const vistrel::Result<vistrel::cli::CliOptions> parsed = vistrel::cli::parseArgs(arguments);
    if (parsed) {
        const vistrel::cli::CliOptions &o = *parsed;
        if (!o.save.isEmpty() || !o.pdf.isEmpty() || !o.png.isEmpty())
            return std::nullopt;
        if (!insideFolder(o.catalogue, folder) || !insideFolder(o.language, folder) ||
            !insideFolder(o.open, folder))
            return std::nullopt;
    }
    return arguments;
}

void checkJson(const QString &out, int status, const QString &shown) {
    vistrel::fuzz::checkJsonText(out, shown);
    const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
    if (object.value(QStringLiteral("accepted")).toBool() != (status == vistrel::cli::Done))
        fail("\"accepted\" disagrees with the exit status", shown + u'\n' + out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const Scratch &s = scratch();
    const auto arguments = safeArguments(vistrel::fuzz::inputBytes(data, size), s.dir.path());
    if (!arguments)
        return -1; // keeps inputs the fuzzer may not run out of its corpus

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = vistrel::cli::runCli(*arguments, s.paths, outStream, errStream);
    outStream.flush();
    errStream.flush();

    const QString shown = arguments->join(QStringLiteral(" | "));
    // Set when replaying a crash file by hand, to see what the run printed.
    static const bool verbose = qEnvironmentVariableIsSet("VISTREL_FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "arguments: %s\nstatus %d\n--- stdout\n%s--- stderr\n%s\n",
                     shown.toUtf8().constData(), status, out.toUtf8().constData(),
                     err.toUtf8().constData());
    if (status != vistrel::cli::Done && status != vistrel::cli::Refused &&
        status != vistrel::cli::Failed)
        fail("unknown exit status", shown);
    if (status == vistrel::cli::Failed) {
        if (!out.isEmpty())
            fail("a failed run printed to stdout", shown + u'\n' + out);
        if (err.isEmpty())
            fail("a failed run gave no reason", shown);
        return 0;
    }

    const vistrel::Result<vistrel::cli::CliOptions> parsed = vistrel::cli::parseArgs(*arguments);
    require(parsed.ok(), "a refused command line ran", shown);
    const vistrel::cli::CliOptions &o = *parsed;
    if (o.help) {
        require(status == vistrel::cli::Done && out == vistrel::cli::usageText(),
                "--help printed something else than the usage", shown);
        return 0;
    }
    if (o.listModels)
        return 0;
    if (out.isEmpty())
        fail("a run that was carried out printed nothing", shown);
    if (o.json)
        checkJson(out, status, shown);
    return 0;
}
