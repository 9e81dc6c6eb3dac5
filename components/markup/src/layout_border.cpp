// A Border: one child inside its border thickness and padding.
#include "chrome.h"
#include "layout_pass.h"

namespace gridgauge::markup::layout {

QSizeF measureBorder(Pass& pass, int e, const QSizeF& available) {
    const Element& el = pass.element(e);
    const Thickness chrome = el.border + el.padding;
    if (el.firstChild < 0)
        return inflate(QSizeF(0, 0), chrome);
    return inflate(pass.measure(el.firstChild, deflate(available, chrome)), chrome);
}

void arrangeBorder(Pass& pass, int e, const QRectF& box) {
    const Element& el = pass.element(e);
    if (el.firstChild >= 0)
        pass.arrange(el.firstChild, deflate(deflate(box, el.border), el.padding));
}

} // namespace gridgauge::markup::layout
