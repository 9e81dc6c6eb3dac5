#pragma once

// Attributes onto the objects they describe. A name an object does not have, or a value its
// reader cannot read, changes nothing; what became of each attribute is returned, for a caller
// that reports what a caption asked for in vain.

#include "document.h"

#include <QStringView>

#include <vector>

namespace markup::properties {

struct Outcome {
    enum Kind : quint8 { Applied, UnknownName, Unreadable };
    Kind kind = Applied;
    // Unreadable: what the value should have been, as the vocabulary writes it.
    const char* syntax = nullptr;
};

Outcome applyToElement(Document& document, int element, QStringView name, QStringView value);
// The font, Foreground and TextDecorations, on a TextBlock or an inline.
Outcome applyToTextStyle(Document& document, TextStyle& style, QStringView name, QStringView value);
Outcome applyToBrush(Brush& brush, QStringView name, QStringView value);
Outcome applyToStop(GradientStop& stop, QStringView name, QStringView value);
// Width and its limits on a column, Height and its limits on a row.
Outcome applyToDefinition(Definition& definition, bool row, QStringView name, QStringView value);

// Sorts the stops and confines them to [0, 1] (QGradient accepts no others) by interpolating
// the colours at 0 and 1, and applies opacity; sets brush.stops.
void finishGradient(Brush& brush, std::vector<GradientStop>& stops);
void finishSolid(Brush& brush);

} // namespace markup::properties
