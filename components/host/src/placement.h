#pragma once

#include <QPoint>
#include <QRect>

namespace host::detail {

// Where a window's frame goes on a screen whose available area is available, from where the
// design puts it: unchanged when it fits, else moved just enough, and to the area's top left where
// it is larger than the area.
QPoint placeWithin(const QRect& frame, const QRect& available);

} // namespace host::detail
