#pragma once

// Attribute values as the vocabulary writes them. Each reader returns nothing for a value it
// cannot read, and the caller then leaves the property at its default: a caption with one odd
// value still draws.

#include "document.h"

#include <QPointF>
#include <QStringView>

#include <optional>

namespace markup::values {

// A plain decimal number (sign, digits, fraction, exponent), blanks around it allowed. Too large
// a magnitude gives an infinity, which the callers treat as they treat any non-finite value.
std::optional<double> number(QStringView text);

// A number with an optional unit (px, in, cm, pt) in pixels; negative or non-finite is 0, and
// "Auto" gives kAuto when allowAuto.
std::optional<double> length(QStringView text, bool allowAuto = false);

// One, two (horizontal, vertical) or four (left, top, right, bottom) lengths.
std::optional<Thickness> thickness(QStringView text);
// One, or four (top-left, top-right, bottom-right, bottom-left) lengths.
std::optional<CornerRadius> cornerRadius(QStringView text);
std::optional<QPointF> point(QStringView text);
// #RGB, #ARGB, #RRGGBB, #AARRGGBB or a colour name.
std::optional<QColor> color(QStringView text);

std::optional<Align> horizontalAlignment(QStringView text);
std::optional<Align> verticalAlignment(QStringView text);
std::optional<Align> textAlignment(QStringView text);
std::optional<Orientation> orientation(QStringView text);
// A QFont::Weight value.
std::optional<int> fontWeight(QStringView text);
std::optional<bool> italic(QStringView text);
// Pixels, within what a font engine renders sensibly.
std::optional<double> fontSize(QStringView text);
std::optional<int> index(QStringView text);
// Pixels, "Auto", "*" or "n*".
std::optional<ColumnDefinition> gridLength(QStringView text);

} // namespace markup::values
