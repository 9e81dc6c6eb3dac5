#pragma once

#include <QString>

#include <exception>
#include <string>

namespace host {

// Error numbers of the run-time error model. Components and checked arithmetic throw them; only the
// dispatcher catches them.
enum ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    InternalError = 51,
    ObjectNotSet = 91,
    CannotCreateObject = 429,
    InvalidPropertyValue = 380,
    NotSupported = 438,
};

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, QString description);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

    // The standard text for an error number ("Overflow" for 6), or a generic one.
    static QString standardDescription(int number);

private:
    int number_;
    QString description_;
    std::string what_;
};

} // namespace host
