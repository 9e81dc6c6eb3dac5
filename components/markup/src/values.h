#pragma once

// Attribute values as the vocabulary writes them. Each reader returns nothing for a value it
// cannot read, and the caller then leaves the property at its default: a caption with one odd
// value still draws.

#include "document.h"

#include <QFont>
#include <QPointF>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace markup::values {

// text without the XML blanks at its ends.
QStringView trimmed(QStringView text);

// A plain decimal number (sign, digits, fraction, exponent), blanks around it allowed. Too large
// a magnitude gives an infinity, which the callers treat as they treat any non-finite value.
std::optional<double> number(QStringView text);

// A number with an optional unit (px, in, cm, pt) in pixels; negative or non-finite is 0, and
// "Auto" gives kAuto when allowAuto.
std::optional<double> length(QStringView text, bool allowAuto = false);
// As length(), keeping the sign (within kMaxLength); non-finite is unreadable.
std::optional<double> signedLength(QStringView text);
// As signedLength(), or "Auto" for kAuto: an offset that may be left unset.
std::optional<double> offset(QStringView text);

// One, two (horizontal, vertical) or four (left, top, right, bottom) lengths, signed only when
// allowNegative (a Margin: anything else takes a negative part as 0).
std::optional<Thickness> thickness(QStringView text, bool allowNegative = false);
// One, or four (top-left, top-right, bottom-right, bottom-left) lengths.
std::optional<CornerRadius> cornerRadius(QStringView text);
std::optional<QPointF> point(QStringView text);
// #RGB, #ARGB, #RRGGBB, #AARRGGBB or a colour name.
std::optional<QColor> color(QStringView text);

std::optional<Align> horizontalAlignment(QStringView text);
std::optional<Align> verticalAlignment(QStringView text);
std::optional<Align> textAlignment(QStringView text);
std::optional<Orientation> orientation(QStringView text);
std::optional<Visibility> visibility(QStringView text);
std::optional<Flow> flowDirection(QStringView text);
std::optional<Stretch> stretch(QStringView text);
std::optional<StretchDirection> stretchDirection(QStringView text);
std::optional<Wrapping> wrapping(QStringView text);
std::optional<Trimming> trimming(QStringView text);
std::optional<Dock> dock(QStringView text);
// True or False, in any case.
std::optional<bool> boolean(QStringView text);
// "None", or Underline, Strikethrough, OverLine and Baseline separated by commas.
std::optional<quint8> decorations(QStringView text);
// true for Absolute, false for RelativeToBoundingBox.
std::optional<bool> absoluteMapping(QStringView text);
// A number confined to [0, 1].
std::optional<double> opacity(QStringView text);
// A weight on the 1 to 999 scale that QFont shares with OpenType.
std::optional<int> fontWeight(QStringView text);
std::optional<QFont::Style> fontStyle(QStringView text);
// Family names separated by commas, the first found serving.
std::optional<QStringList> fontFamily(QStringView text);
// Pixels, within what a font engine renders sensibly.
std::optional<double> fontSize(QStringView text);
// 0 or more.
std::optional<int> index(QStringView text);
// 1 or more.
std::optional<int> span(QStringView text);
// Pixels, "Auto", "*" or "n*".
std::optional<Definition> gridLength(QStringView text);

} // namespace markup::values
