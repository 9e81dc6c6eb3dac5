#pragma once

/// @file
/// The run-time error model: what the components and the checked arithmetic throw.
///
/// The whole type lives in this header. It is thrown inside the shared libraries and caught by
/// the programs that use them, so its type information has to be one and the same on both sides:
/// it keeps default visibility even where everything else is built hidden, and no library has to
/// export a single symbol of it.

#include <QString>

#include <exception>
#include <string>
#include <utility>

namespace host {

/// Error numbers of the run-time error model. Components and checked arithmetic throw them; in
/// Gridgauge only the host's dispatcher catches them, and another program catches them where it
/// sees fit.
enum ErrorNumber : int {
    InvalidProcedureCall = 5,   ///< Invalid procedure call or argument.
    Overflow = 6,               ///< An integer or floating result out of range.
    OutOfMemory = 7,            ///< Memory ran out (std::bad_alloc).
    SubscriptOutOfRange = 9,    ///< A row, record, item, column or control that does not exist.
    DivisionByZero = 11,        ///< A division whose result is not finite.
    TypeMismatch = 13,          ///< A value of the wrong type.
    InternalError = 51,         ///< Any other exception that escaped a handler.
    ObjectNotSet = 91,          ///< A handle whose object is gone, or a row from before a rebuild.
    CannotCreateObject = 429,   ///< A control class name that nobody registered.
    InvalidPropertyValue = 380, ///< A setting given a value outside its range.
    NotSupported = 438,         ///< A property or method the object does not have.
};

/// A run-time error: a number (one of ErrorNumber, or any other) and a description.
///
/// what() reads "Run-time error 'N': description", as the dispatcher reports it.
class [[gnu::visibility("default")]] RuntimeError : public std::exception {
public:
    /// An error with the standard description of its number.
    explicit RuntimeError(int number)
        : RuntimeError(number, standardDescription(number)) {}
    /// An error with a description of its own.
    RuntimeError(int number, QString description)
        : number_(number)
        , description_(std::move(description))
        , what_(QStringLiteral("Run-time error '%1': %2")
                    .arg(number_)
                    .arg(description_)
                    .toStdString()) {}

    /// The error number (6 for an overflow).
    int number() const noexcept {
        return number_;
    }
    /// The description ("Overflow").
    const QString& description() const noexcept {
        return description_;
    }
    /// The whole report as UTF-8: "Run-time error '6': Overflow".
    const char* what() const noexcept override {
        return what_.c_str();
    }

    /// The standard text for an error number ("Overflow" for 6), or a generic one for a number
    /// the model does not name.
    static QString standardDescription(int number) {
        switch (number) {
        case InvalidProcedureCall:
            return QStringLiteral("Invalid procedure call or argument");
        case Overflow:
            return QStringLiteral("Overflow");
        case OutOfMemory:
            return QStringLiteral("Out of memory");
        case SubscriptOutOfRange:
            return QStringLiteral("Subscript out of range");
        case DivisionByZero:
            return QStringLiteral("Division by zero");
        case TypeMismatch:
            return QStringLiteral("Type mismatch");
        case InternalError:
            return QStringLiteral("Internal error");
        case ObjectNotSet:
            return QStringLiteral("Object variable or With block variable not set");
        case CannotCreateObject:
            return QStringLiteral("Can't create object");
        case InvalidPropertyValue:
            return QStringLiteral("Invalid property value");
        case NotSupported:
            return QStringLiteral("Object doesn't support this property or method");
        default:
            return QStringLiteral("Application-defined or object-defined error");
        }
    }

private:
    int number_;
    QString description_;
    std::string what_;
};

} // namespace host
