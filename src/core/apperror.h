#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace vistrel {

// Error numbers shown in the common error box, numbered as they always have
// been: users and their notes know them by number.
enum class ErrorNumber : int {
    InvalidArgument = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    BadFileName = 52,
    FileNotFound = 53,
    DeviceIoError = 57,
    BadRecordLength = 59,
    InputPastEndOfFile = 62,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    PathNotFound = 76,
    InvalidPropertyValue = 380,
    InvalidPropertyArrayIndex = 381,
};

struct AppError {
    ErrorNumber number = ErrorNumber::InvalidArgument;
    QString description;

    int code() const { return static_cast<int>(number); }
    // The text of the common error box: "Err : " + number + CR LF + description.
    QString boxText() const;
};

// Control characters in the description (from a model name or a file name)
// are shown as escapes such as \x01, never raw.
AppError makeError(ErrorNumber number, const QString &description);

// `text` with every control character (C0, DEL, C1) written as \xNN, so that a
// name from a file cannot break or hide a message line.
QString visibleText(QStringView text);

// A value or the reason why there is none; true on success.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : data_(std::move(value)) {}
    Result(AppError error) : data_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(data_); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return std::get<T>(data_); }
    T &value() { return std::get<T>(data_); }
    const T &operator*() const { return value(); }
    T &operator*() { return value(); }
    const T *operator->() const { return &value(); }
    const AppError &error() const { return std::get<AppError>(data_); }

private:
    std::variant<T, AppError> data_;
};

// The outcome of an operation that yields nothing but may fail: `{}` is success.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(AppError error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const AppError &error() const { return *error_; }

private:
    std::optional<AppError> error_;
};

// Inside a function returning a Result or an AppError: returns the error of
// `expr` (a Result) if it failed.
#define VISTREL_TRY(expr)                                                                          \
    do {                                                                                           \
        if (auto vistrelResult_ = (expr); !vistrelResult_)                                         \
            return vistrelResult_.error();                                                         \
    } while (false)

// The same, assigning the value of `expr` to `target` on success.
#define VISTREL_TRY_ASSIGN(target, expr)                                                           \
    do {                                                                                           \
        auto vistrelResult_ = (expr);                                                              \
        if (!vistrelResult_)                                                                       \
            return vistrelResult_.error();                                                         \
        (target) = std::move(*vistrelResult_);                                                     \
    } while (false)

} // namespace vistrel
