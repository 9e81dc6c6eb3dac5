// A WrapPanel: children one after the other along its orientation, each line as long as the
// panel allows and as thick as its thickest child, the next line after it. ItemWidth and
// ItemHeight give every child the same slot instead of its own size.
#include "layout_pass.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace markup::layout {
namespace {

// Sizes as along a line (u) and across the lines (v).
struct Extent {
    double u = 0, v = 0;
};

struct Axes {
    bool horizontal;
    Extent of(const QSizeF& size) const {
        return horizontal ? Extent{size.width(), size.height()}
                          : Extent{size.height(), size.width()};
    }
    QSizeF size(double u, double v) const { return horizontal ? QSizeF(u, v) : QSizeF(v, u); }
};

// Past the end of a line by more than rounding: a line exactly full keeps its last child.
bool beyond(double a, double b) {
    return a > b &&
           a - b > (std::abs(a) + std::abs(b) + 10) * std::numeric_limits<double>::epsilon();
}

// What a child takes along and across its line: the item size where one is given.
Extent slotOf(const Pass& pass, const Element& panel, const Axes& axes, int child) {
    const QSizeF desired = pass.desired(child);
    return axes.of(QSizeF(std::isnan(panel.itemWidth) ? desired.width() : panel.itemWidth,
                          std::isnan(panel.itemHeight) ? desired.height() : panel.itemHeight));
}

// The children in lines no longer than room, but for a child longer than room, which takes a
// line of its own; line(first, end, extent) for each, in order.
template <typename F>
void breakLines(const Pass& pass, const Element& panel, const Axes& axes,
                const std::vector<int>& children, double room, F line) {
    Extent current;
    size_t first = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const Extent slot = slotOf(pass, panel, axes, children[i]);
        if (!beyond(current.u + slot.u, room)) {
            current.u += slot.u;
            current.v = std::max(current.v, slot.v);
            continue;
        }
        line(first, i, current);
        current = slot; // alone on its line if it is longer than a line
        first = i;
    }
    if (first < children.size())
        line(first, children.size(), current);
}

std::vector<int> childrenOf(const Pass& pass, int e) {
    std::vector<int> children;
    pass.forChildren(e, [&](int c) { children.push_back(c); });
    return children;
}

} // namespace

QSizeF measureWrapPanel(Pass& pass, int e, const QSizeF& available) {
    const Element& el = pass.element(e);
    const Axes axes{el.orientation == Orientation::Horizontal};
    const QSizeF offer(std::isnan(el.itemWidth) ? available.width() : el.itemWidth,
                       std::isnan(el.itemHeight) ? available.height() : el.itemHeight);
    const std::vector<int> children = childrenOf(pass, e);
    for (int c : children)
        pass.measure(c, offer);
    Extent panel;
    breakLines(pass, el, axes, children, axes.of(available).u,
               [&](size_t, size_t, const Extent& line) {
                   panel.u = std::max(panel.u, line.u);
                   panel.v += line.v;
               });
    return axes.size(panel.u, panel.v);
}

// Each child in a slot as thick as its line, and as long as the item size or as it wanted.
void arrangeWrapPanel(Pass& pass, int e, const QRectF& box) {
    const Element& el = pass.element(e);
    const Axes axes{el.orientation == Orientation::Horizontal};
    const double item = axes.horizontal ? el.itemWidth : el.itemHeight;
    const std::vector<int> children = childrenOf(pass, e);
    double v = 0;
    breakLines(pass, el, axes, children, axes.of(box.size()).u,
               [&](size_t first, size_t end, const Extent& line) {
                   double u = 0;
                   for (size_t i = first; i < end; ++i) {
                       const double length =
                           std::isnan(item) ? axes.of(pass.desired(children[i])).u : item;
                       const QPointF at = axes.horizontal ? QPointF(u, v) : QPointF(v, u);
                       pass.arrange(children[i],
                                    QRectF(box.topLeft() + at, axes.size(length, line.v)));
                       u += length;
                   }
                   v += line.v;
               });
}

} // namespace markup::layout
