// A Canvas: each child at its own size, placed by its Canvas offsets from the Canvas's edges
// (Left before Right, Top before Bottom, else at the top-left). The Canvas itself asks for no
// room and does not cut what lies outside it.
#include "layout_pass.h"

#include <cmath>

namespace markup::layout {

QSizeF measureCanvas(Pass& pass, int e, const QSizeF&) {
    pass.forChildren(e, [&](int c) { pass.measure(c, QSizeF(kInfinity, kInfinity)); });
    return {0, 0};
}

void arrangeCanvas(Pass& pass, int e, const QRectF& box) {
    pass.forChildren(e, [&](int c) {
        const Element& child = pass.element(c);
        const QSizeF size = pass.desired(c);
        double x = 0, y = 0;
        if (!std::isnan(child.canvasLeft))
            x = child.canvasLeft;
        else if (!std::isnan(child.canvasRight))
            x = box.width() - size.width() - child.canvasRight;
        if (!std::isnan(child.canvasTop))
            y = child.canvasTop;
        else if (!std::isnan(child.canvasBottom))
            y = box.height() - size.height() - child.canvasBottom;
        pass.arrange(c, QRectF(box.topLeft() + QPointF(x, y), size));
    });
}

} // namespace markup::layout
