#pragma once

#include <QString>
#include <QTranslator>

#include <memory>

namespace vistrel::app {

// Qt's own texts (the buttons and labels of the file dialogs and message
// boxes) in the language of the texts file in use, "Language.de.ini" giving
// German; installed for the application while the result lives. None for
// English, or where the system has no translation of Qt.
std::unique_ptr<QTranslator> installQtTranslations(const QString &languageFile);

} // namespace vistrel::app
