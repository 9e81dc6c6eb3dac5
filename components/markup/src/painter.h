#pragma once

#include "document.h"
#include "layout.h"

class QPainter;

namespace markup {

// Paints a laid-out document with its area's top-left at origin, right to left mirrored (see
// mirror.h). Edges land on whole device pixels whenever the painter only scales and translates, so
// 1-pixel borders stay crisp. Text that the document gives no Foreground takes host's text colour.
void paintLayout(QPainter& painter, const Document& document, const LayoutResult& layout,
                 const QPointF& origin, Qt::LayoutDirection direction, const HostStyle& host);

} // namespace markup
