// A StackPanel: children one after the other, each as long as it wants along the stack and as
// wide as the panel across it.
#include "layout_pass.h"

#include <algorithm>

namespace gridgauge::markup::layout {

QSizeF measureStackPanel(Pass& pass, int e, const QSizeF& available) {
    const bool horizontal = pass.element(e).orientation == Orientation::Horizontal;
    // Along the stack there is no bound: a child takes what it wants and the panel adds them up.
    const QSizeF offer =
        horizontal ? QSizeF(kInfinity, available.height()) : QSizeF(available.width(), kInfinity);
    double along = 0, across = 0;
    pass.forChildren(e, [&](int c) {
        const QSizeF size = pass.measure(c, offer);
        along += horizontal ? size.width() : size.height();
        across = std::max(across, horizontal ? size.height() : size.width());
    });
    return horizontal ? QSizeF(along, across) : QSizeF(across, along);
}

void arrangeStackPanel(Pass& pass, int e, const QRectF& box) {
    const bool horizontal = pass.element(e).orientation == Orientation::Horizontal;
    double at = horizontal ? box.x() : box.y();
    pass.forChildren(e, [&](int c) {
        const QSizeF size = pass.desired(c);
        if (horizontal) {
            pass.arrange(c,
                         QRectF(at, box.y(), size.width(), std::max(box.height(), size.height())));
            at += size.width();
        } else {
            pass.arrange(c,
                         QRectF(box.x(), at, std::max(box.width(), size.width()), size.height()));
            at += size.height();
        }
    });
}

} // namespace gridgauge::markup::layout
