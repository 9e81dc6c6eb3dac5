#pragma once

// Attributes onto the objects they describe. A name an object does not have, or a value its
// reader cannot read, changes nothing.

#include "document.h"

#include <QStringView>

#include <vector>

namespace markup::properties {

void applyToElement(Document& document, int element, QStringView name, QStringView value);
// The font, Foreground and TextDecorations, on a TextBlock or an inline.
void applyToTextStyle(Document& document, TextStyle& style, QStringView name, QStringView value);
void applyToBrush(Brush& brush, QStringView name, QStringView value);
void applyToStop(GradientStop& stop, QStringView name, QStringView value);
// Width and its limits on a column, Height and its limits on a row.
void applyToDefinition(Definition& definition, bool row, QStringView name, QStringView value);

// Sorts the stops and confines them to [0, 1] (QGradient accepts no others) by interpolating
// the colours at 0 and 1, and applies opacity; sets brush.stops.
void finishGradient(Brush& brush, std::vector<GradientStop>& stops);
void finishSolid(Brush& brush);

} // namespace markup::properties
