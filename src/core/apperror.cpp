#include "core/apperror.h"

namespace vistrel {

QString AppError::boxText() const {
    return QStringLiteral("Err : ") + QString::number(code()) + QStringLiteral("\r\n") +
           description;
}

AppError makeError(ErrorNumber number, const QString &description) {
    return AppError{number, visibleText(description)};
}

QString visibleText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x") +
                   QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

} // namespace vistrel
