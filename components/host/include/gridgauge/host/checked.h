#pragma once

#include <QtGlobal>

// Arithmetic that behaves like the program's numeric model: 16- and 32-bit integers whose overflow
// is an error, floating values stored into integers rounded half to even, and floating results that
// must stay finite. Every failure throws host::RuntimeError.
namespace host::checked {

qint32 add(qint32 a, qint32 b);
qint32 subtract(qint32 a, qint32 b);
qint16 add16(qint16 a, qint16 b);
qint16 subtract16(qint16 a, qint16 b);

// Nearest integer, ties to the even neighbour; NaN or a value outside the range throws 6.
qint32 toInt32(double value);
qint16 toInt16(double value);

// Division whose result must be finite: x / 0 throws 11, 0 / 0 throws 6, an infinite result 6.
double divide(double numerator, double denominator);
// Throws 6 unless the value is finite; returns it otherwise.
double finite(double value);

} // namespace host::checked
