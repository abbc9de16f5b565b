#include "core/apperror.h"

namespace vistrel {

QString AppError::boxText() const {
    return QStringLiteral("Err : ") + QString::number(code()) + QStringLiteral("\r\n") +
           description;
}

AppError makeError(ErrorNumber number, const QString &description) {
    return AppError{number, description};
}

} // namespace vistrel
