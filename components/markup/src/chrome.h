#pragma once

// The arithmetic of chrome: sizes and boxes grown by a thickness (a margin, a border, a padding)
// or shrunk by one. A shrunk size never goes below zero; an infinite one stays infinite.

#include "document.h"

#include <QRectF>
#include <QSizeF>

#include <algorithm>

namespace gridgauge::markup {

inline Thickness operator+(const Thickness& a, const Thickness& b) {
    return {a.left + b.left, a.top + b.top, a.right + b.right, a.bottom + b.bottom};
}

inline QSizeF deflate(const QSizeF& size, const Thickness& t) {
    return {std::max(0.0, size.width() - t.horizontal()),
            std::max(0.0, size.height() - t.vertical())};
}

inline QSizeF inflate(const QSizeF& size, const Thickness& t) {
    return {size.width() + t.horizontal(), size.height() + t.vertical()};
}

inline QRectF deflate(const QRectF& box, const Thickness& t) {
    return {QPointF(box.x() + t.left, box.y() + t.top), deflate(box.size(), t)};
}

} // namespace gridgauge::markup
