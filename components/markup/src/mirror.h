#pragma once

// Right to left, a document shows its left-to-right layout mirrored, as FlowDirection RightToLeft
// mirrors it: a horizontal StackPanel stacks from the right, Grid columns run from the right,
// HorizontalAlignment Left and Right trade places, text lines start at the right, and gradients
// run their horizontal axis the other way. Layout itself knows nothing of it: alignment is Start
// and End there, and a layout serves either direction. What shows mirrored is worked out at paint
// time, element by element: the host's direction at the root, an element's own FlowDirection
// from there down, and an element whose direction differs from its parent's mirrored within its
// own box.

#include "document.h"
#include "layout.h"

#include <QRectF>

#include <vector>

namespace gridgauge::markup {

// Where a point of the left-to-right layout shows: x becomes scale * x + shift.
struct Mirror {
    double scale = 1;
    double shift = 0;

    bool flipped() const { return scale < 0; }
    double x(double v) const { return scale * v + shift; }
    QRectF rect(const QRectF& r) const {
        return flipped() ? QRectF(shift - r.right(), r.top(), r.width(), r.height())
                         : r.translated(shift, 0);
    }
};

struct Mirrors {
    std::vector<Mirror> of;    // parallel to Document::elements; empty when nothing mirrors
    std::vector<QRectF> clips; // each element's clip as it shows, with what is mirrored

    const Mirror& at(size_t i) const {
        static const Mirror none;
        return of.empty() ? none : of[i];
    }
};

// For a layout painted with the host's direction; rightToLeft mirrors the whole area.
Mirrors mirrorsFor(const Document& document, const LayoutResult& layout, bool rightToLeft);

} // namespace gridgauge::markup
