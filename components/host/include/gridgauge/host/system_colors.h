#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// Colour values as hosted controls take them: 0x00BBGGRR for a fixed colour, or 0x800000nn for the
// system colour with index nn, which follows the application's palette.
namespace host::colors {

inline constexpr quint32 SystemFlag = 0x80000000u;
inline constexpr quint32 ButtonFace = 0x8000000Fu;
inline constexpr quint32 ButtonText = 0x80000012u;
inline constexpr quint32 Highlight = 0x8000000Du;
inline constexpr quint32 WindowBackground = 0x80000005u;
inline constexpr quint32 WindowText = 0x80000008u;

// The colour a value stands for under the palette. An unknown system index or a value with bits
// outside either form throws RuntimeError 380 (invalid property value).
QColor resolve(quint32 value, const QPalette& palette);

// Whether the value is a colour that resolve() accepts.
bool isValid(quint32 value);

// The value itself when it is a colour; otherwise throws RuntimeError 380, so that a control can
// refuse a colour before any of its own changes.
quint32 validated(quint32 value);

} // namespace host::colors
