#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>

namespace vistrel::app {

std::unique_ptr<QTranslator> installQtTranslations(const QString &languageFile) {
    static const QRegularExpression kTranslated(
        QStringLiteral("^Language\\.([A-Za-z]{2,3})\\.ini$"));
    const QRegularExpressionMatch match = kTranslated.match(QFileInfo(languageFile).fileName());
    if (!match.hasMatch())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + match.captured(1).toLower(),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace vistrel::app
