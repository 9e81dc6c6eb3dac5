#pragma once

// Measure and arrange in the manner of XAML layout: each element reports the size its content
// wants within what it is offered, then is given a slot and places itself in it by its alignment.
// Every element is measured once and arranged once, so the pass is linear in the document.

#include "document.h"

#include <QFont>
#include <QRectF>

#include <vector>

namespace markup {

struct ElementLayout {
    QRectF bounds; // relative to the laid-out area
    QRectF clip;   // what the element may paint: the area, narrowed where an element overflows
    QRectF line;   // TextBlock: the line of text
    double ascent = 0;
    int depth = 0;
};

struct RunLayout {
    QFont font;
    double x = 0; // from the start of the line
};

struct LayoutResult {
    QSizeF size;
    QFont font;
    std::vector<ElementLayout> elements; // parallel to Document::elements
    std::vector<RunLayout> runs;         // parallel to Document::runs
};

LayoutResult layOut(const Document& document, const QSizeF& size, const QFont& font);

} // namespace markup
