#pragma once

// A document's brush as Qt paints it.

#include "document.h"

#include <QBrush>
#include <QRectF>

namespace gridgauge::markup {

// Brush index filling box, for an element whose top-left is origin (where an absolutely mapped
// gradient has its 0,0). No brush for -1, a transparent colour or a gradient without stops. For
// an element shown mirrored, origin is its top-right, and a gradient's horizontal axis runs
// from there leftwards.
QBrush brushFor(const Document& document, int index, const QRectF& box, const QPointF& origin,
                bool mirrored = false);

} // namespace gridgauge::markup
