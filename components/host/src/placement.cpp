#include "placement.h"

#include <algorithm>

namespace host::detail {

QPoint placeWithin(const QRect& frame, const QRect& available) {
    // Towards the area's top left last, so that a window larger than the area keeps its title bar
    // and its top left corner in reach.
    const int x =
        std::max(std::min(frame.left(), available.right() + 1 - frame.width()), available.left());
    const int y =
        std::max(std::min(frame.top(), available.bottom() + 1 - frame.height()), available.top());
    return QPoint(x, y);
}

} // namespace host::detail
