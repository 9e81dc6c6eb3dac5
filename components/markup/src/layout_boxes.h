#pragma once

// A layout as plain boxes, for the engine's own tests and fuzz targets: where every element and
// every line of text went, with no painter involved.

#include "document.h"
#include "text_measurer.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace markup {

// One line of a TextBlock as laid out: its box and what it shows (an ellipsis included).
struct TextLineBox {
    QRectF rect;
    QString text;
};

// Where layout put one element. Rectangles are relative to the top-left of the laid-out area,
// before snapping to pixels.
struct ElementBox {
    ElementKind kind;
    int depth;     // 0 for the root
    QRectF bounds; // its box as arranged; it may be larger than its slot, and then is clipped
    QRectF clip;   // what of it may show: empty when it is hidden, collapsed or clipped away
    QRectF text;   // a TextBlock's text, all lines together (it may overhang bounds)
    QList<TextLineBox> lines; // a TextBlock's lines
};

// The boxes render() would paint for a box of this size, in document order, text measured with
// the font engine at the resolution of an image, or with measurer.
QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font);
QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font,
                              const TextMeasurer& measurer, ImageResolver* resolver = nullptr);

} // namespace markup
