// An Image: its picture's own size, scaled to the room it has as its Stretch and its
// StretchDirection say. Measured and arranged alike; a picture that is refused, or none, is
// nothing, and the Image takes only what its Width and Height and its limits give it.
#include "images.h"
#include "layout_pass.h"

#include <algorithm>
#include <cmath>

namespace markup::layout {
namespace {

QSizeF scaled(const QSizeF& picture, const QSizeF& room, Stretch stretch,
              StretchDirection direction) {
    const bool boundedWidth = !std::isinf(room.width());
    const bool boundedHeight = !std::isinf(room.height());
    if (stretch == Stretch::None || (!boundedWidth && !boundedHeight))
        return picture;
    double x = picture.width() > 0 ? room.width() / picture.width() : 0;
    double y = picture.height() > 0 ? room.height() / picture.height() : 0;
    if (!boundedWidth)
        x = y;
    else if (!boundedHeight)
        y = x;
    else if (stretch == Stretch::Uniform)
        x = y = std::min(x, y);
    else if (stretch == Stretch::UniformToFill)
        x = y = std::max(x, y);
    if (direction == StretchDirection::UpOnly) {
        x = std::max(x, 1.0);
        y = std::max(y, 1.0);
    } else if (direction == StretchDirection::DownOnly) {
        x = std::min(x, 1.0);
        y = std::min(y, 1.0);
    }
    return {picture.width() * x, picture.height() * y};
}

} // namespace

QSizeF Pass::naturalSize(int e) {
    const int source = element(e).source;
    if (source < 0)
        return {0, 0};
    QSizeF& size = out_.naturalSizes[size_t(source)];
    if (size.width() < 0)
        size = confined(markup::naturalSize(*out_.resolver, d_.sources[size_t(source)]));
    return size;
}

QSizeF measureImage(Pass& pass, int e, const QSizeF& available) {
    const Element& el = pass.element(e);
    return scaled(pass.naturalSize(e), available, el.stretch, el.stretchDirection);
}

QSizeF arrangedImageSize(Pass& pass, int e, const QSizeF& size) {
    const Element& el = pass.element(e);
    return scaled(pass.naturalSize(e), size, el.stretch, el.stretchDirection);
}

} // namespace markup::layout
