#include "brushes.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace gridgauge::markup {

QBrush brushFor(const Document& document, int index, const QRectF& box, const QPointF& origin,
                bool mirrored) {
    if (index < 0)
        return Qt::NoBrush;
    const Brush& b = document.brushes[size_t(index)];
    if (b.kind == Brush::Kind::Solid)
        return b.color.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(b.color);
    if (b.stops.isEmpty())
        return Qt::NoBrush;
    const double across = mirrored ? -1 : 1;
    const auto place = [&](const QPointF& p) {
        if (b.absolute)
            return origin + QPointF(across * p.x(), p.y());
        const double x = mirrored ? 1 - p.x() : p.x();
        return QPointF(box.x() + x * box.width(), box.y() + p.y() * box.height());
    };
    if (b.kind == Brush::Kind::LinearGradient) {
        // Relative points land in the box; the colour bands then run square to the line between
        // them in pixels, however the box is proportioned.
        const QPointF start = place(b.start), end = place(b.end);
        // A gradient along no length has no direction; it shows its last colour.
        if (b.stops.size() == 1 || std::hypot(end.x() - start.x(), end.y() - start.y()) < 1e-9)
            return QBrush(b.stops.last().second);
        QLinearGradient gradient(start, end);
        gradient.setStops(b.stops);
        return QBrush(gradient);
    }
    const QPointF center = place(b.center), focus = place(b.origin);
    const double rx = b.absolute ? b.radiusX : b.radiusX * box.width();
    const double ry = b.absolute ? b.radiusY : b.radiusY * box.height();
    if (b.stops.size() == 1 || rx < 1e-9 || ry < 1e-9)
        return QBrush(b.stops.last().second);
    // QRadialGradient is round: a unit circle, which the brush's transform stretches into the
    // ellipse.
    QRadialGradient gradient(QPointF(0, 0), 1,
                             QPointF((focus.x() - center.x()) / rx, (focus.y() - center.y()) / ry));
    gradient.setStops(b.stops);
    QBrush brush(gradient);
    brush.setTransform(QTransform(rx, 0, 0, ry, center.x(), center.y()));
    return brush;
}

} // namespace gridgauge::markup
