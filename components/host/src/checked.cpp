#include "gridgauge/host/checked.h"

#include "gridgauge/host/runtime_error.h"

#include <cmath>
#include <limits>

namespace host::checked {

namespace {

template <typename Int> Int narrow(long long wide) {
    if (wide < std::numeric_limits<Int>::min() || wide > std::numeric_limits<Int>::max())
        throw RuntimeError(Overflow);
    return static_cast<Int>(wide);
}

template <typename Int> Int roundHalfEven(double value) {
    if (!std::isfinite(value))
        throw RuntimeError(Overflow);
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless someone
    // changed it; rint-family functions are the only standard ones that round ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw RuntimeError(Overflow);
    return static_cast<Int>(rounded);
}

} // namespace

qint32 add(qint32 a, qint32 b) {
    return narrow<qint32>(static_cast<long long>(a) + b);
}
qint32 subtract(qint32 a, qint32 b) {
    return narrow<qint32>(static_cast<long long>(a) - b);
}
qint16 add16(qint16 a, qint16 b) {
    return narrow<qint16>(static_cast<long long>(a) + b);
}
qint16 subtract16(qint16 a, qint16 b) {
    return narrow<qint16>(static_cast<long long>(a) - b);
}

qint32 toInt32(double value) {
    return roundHalfEven<qint32>(value);
}
qint16 toInt16(double value) {
    return roundHalfEven<qint16>(value);
}

double divide(double numerator, double denominator) {
    if (std::isnan(numerator) || std::isnan(denominator))
        throw RuntimeError(Overflow);
    if (denominator == 0.0)
        throw RuntimeError(numerator == 0.0 ? Overflow : DivisionByZero);
    return finite(numerator / denominator);
}

double finite(double value) {
    if (!std::isfinite(value))
        throw RuntimeError(Overflow);
    return value;
}

} // namespace host::checked
