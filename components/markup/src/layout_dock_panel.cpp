// A DockPanel: each child in turn takes the side of what is left that its DockPanel.Dock names,
// as wide or as high as it wants; with LastChildFill the last child takes all that is left.
#include "layout_pass.h"

#include <algorithm>

namespace markup::layout {

QSizeF measureDockPanel(Pass& pass, int e, const QSizeF& available) {
    // What the children docked so far take across and down, and the most the panel needs.
    double takenWidth = 0, takenHeight = 0, width = 0, height = 0;
    pass.forChildren(e, [&](int c) {
        const QSizeF size =
            pass.measure(c, QSizeF(std::max(0.0, available.width() - takenWidth),
                                   std::max(0.0, available.height() - takenHeight)));
        switch (pass.element(c).dock) {
        case Dock::Left:
        case Dock::Right:
            height = std::max(height, takenHeight + size.height());
            takenWidth += size.width();
            break;
        case Dock::Top:
        case Dock::Bottom:
            width = std::max(width, takenWidth + size.width());
            takenHeight += size.height();
            break;
        }
    });
    return {std::max(width, takenWidth), std::max(height, takenHeight)};
}

void arrangeDockPanel(Pass& pass, int e, const QRectF& box) {
    const Element& el = pass.element(e);
    int last = -1;
    pass.forChildren(e, [&](int c) { last = c; });
    double left = 0, top = 0, right = 0, bottom = 0; // taken from each side so far
    pass.forChildren(e, [&](int c) {
        QRectF slot(box.x() + left, box.y() + top, std::max(0.0, box.width() - left - right),
                    std::max(0.0, box.height() - top - bottom));
        if (c != last || !el.lastChildFill) {
            const QSizeF size = pass.desired(c);
            switch (pass.element(c).dock) {
            case Dock::Left:
                left += size.width();
                slot.setWidth(size.width());
                break;
            case Dock::Right:
                right += size.width();
                slot = QRectF(box.right() - right, slot.y(), size.width(), slot.height());
                break;
            case Dock::Top:
                top += size.height();
                slot.setHeight(size.height());
                break;
            case Dock::Bottom:
                bottom += size.height();
                slot = QRectF(slot.x(), box.bottom() - bottom, slot.width(), size.height());
                break;
            }
        }
        pass.arrange(c, slot);
    });
}

} // namespace markup::layout
