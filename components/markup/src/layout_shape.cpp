// Rectangle and Ellipse: a figure that wants only room for its stroke, and fills its box as its
// Stretch says.
#include "layout_pass.h"

#include <algorithm>
#include <cmath>

namespace gridgauge::markup::layout {

QSizeF measureShape(Pass& pass, int e, const QSizeF& available) {
    const Element& el = pass.element(e);
    const double stroke = el.stroke();
    if (el.stretch != Stretch::UniformToFill)
        return {stroke, stroke};
    // The smallest square that fills what is offered; a side without bound does not count.
    const double w = available.width(), h = available.height();
    if (std::isinf(w) && std::isinf(h))
        return {stroke, stroke};
    const double side = std::isinf(w) || std::isinf(h) ? std::min(w, h) : std::max(w, h);
    return {side, side};
}

void arrangeShape(Pass& pass, int e, const QRectF& box) {
    const Element& el = pass.element(e);
    const double stroke = el.stroke();
    // Inset by half the stroke, so that a stroke centred on the figure's edge stays in the box.
    QRectF figure(box.x() + stroke / 2, box.y() + stroke / 2, std::max(0.0, box.width() - stroke),
                  std::max(0.0, box.height() - stroke));
    switch (el.stretch) {
    case Stretch::Fill:
        break;
    case Stretch::None:
        figure.setSize(QSizeF(0, 0));
        break;
    case Stretch::Uniform: {
        const double side = std::min(figure.width(), figure.height());
        figure.setSize(QSizeF(side, side));
        break;
    }
    case Stretch::UniformToFill: {
        const double side = std::max(figure.width(), figure.height());
        figure.setSize(QSizeF(side, side));
        break;
    }
    }
    pass.result().elements[size_t(e)].figure = figure;
}

} // namespace gridgauge::markup::layout
