#include "app/typedtext.h"

#include "app/dialogs.h"

#include <QLineEdit>

namespace vistrel::app {

bool offerTypedText(QLineEdit &edit, const std::function<QString()> &shown,
                    const std::function<Result<void>(const QString &)> &take, Dialogs &dialogs) {
    const QString before = shown();
    if (edit.text() == before)
        return false;
    if (const Result<void> taken = take(edit.text()); !taken) {
        edit.setText(before);
        dialogs.message(edit.window(), taken.error().description);
        return false;
    }
    edit.setText(shown());
    return true;
}

} // namespace vistrel::app
