#pragma once

#include "core/apperror.h"

#include <QString>

#include <functional>

class QLineEdit;

namespace vistrel::app {

class Dialogs;

// What a field's edit finished with, offered to the engine through `take`.
// The text `shown` gives is nothing new. A refusal puts that text back
// first (the message box takes the focus, which would end the edit again)
// and shows the engine's message; a taken value is shown as the engine now
// keeps it ("192;144" reads "144; 192"). Whether a value was taken.
bool offerTypedText(QLineEdit &edit, const std::function<QString()> &shown,
                    const std::function<Result<void>(const QString &)> &take, Dialogs &dialogs);

} // namespace vistrel::app
