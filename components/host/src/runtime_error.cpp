#include "gridgauge/host/runtime_error.h"

namespace host {

RuntimeError::RuntimeError(int number)
    : RuntimeError(number, standardDescription(number)) {}

RuntimeError::RuntimeError(int number, QString description)
    : number_(number)
    , description_(std::move(description))
    , what_(
          QStringLiteral("Run-time error '%1': %2").arg(number_).arg(description_).toStdString()) {}

QString RuntimeError::standardDescription(int number) {
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

} // namespace host
