#include "app/printmodule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstring>

namespace vistrel::app {

const char *printModuleVersion() {
    return VISTREL_PRINT_MODULE_VERSION;
}

QStringList printModuleCandidates(const QString &programFolder) {
    const QDir folder(programFolder);
    const QString name = QLatin1String(kPrintModuleName);
    return {folder.filePath(name), QDir::cleanPath(folder.filePath(
                                       QStringLiteral(VISTREL_PRINT_MODULE_DIR) + u'/' + name))};
}

Result<PrinterWindow> loadPrinterWindow(const QString &programFolder) {
    QStringList reasons;
    for (const QString &path : printModuleCandidates(programFolder)) {
        if (!QFileInfo::exists(path)) {
            reasons << QStringLiteral("%1 is missing").arg(path);
            continue;
        }
        // Loaded for the rest of the run: a second print finds it loaded.
        QLibrary module(path);
        const auto version =
            reinterpret_cast<PrintModuleVersion>(module.resolve(kPrintModuleVersionSymbol));
        const auto show =
            reinterpret_cast<ShowPrinterWindow>(module.resolve(kShowPrinterWindowSymbol));
        if (!version || !show) {
            reasons << module.errorString();
            continue;
        }
        if (std::strcmp(version(), printModuleVersion()) != 0) {
            reasons << QStringLiteral("%1 is version %2, not %3")
                           .arg(path, QString::fromLatin1(version()),
                                QString::fromLatin1(printModuleVersion()));
            continue;
        }
        return PrinterWindow{show};
    }
    return makeError(ErrorNumber::FileNotFound,
                     QStringLiteral("File not found: the printer window: %1")
                         .arg(reasons.join(QStringLiteral("; "))));
}

} // namespace vistrel::app
