#include "painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace markup {
namespace {

class Snap {
public:
    explicit Snap(const QTransform& t)
        : on_(t.type() <= QTransform::TxScale && t.m11() > 0 && t.m22() > 0)
        , sx_(t.m11())
        , sy_(t.m22())
        , dx_(t.dx())
        , dy_(t.dy()) {}

    QRectF rect(const QRectF& r) const {
        if (!on_)
            return r;
        const double left = x(r.left()), top = y(r.top());
        return QRectF(left, top, std::max(0.0, x(r.right()) - left),
                      std::max(0.0, y(r.bottom()) - top));
    }
    double y(double v) const { return on_ ? (std::round(v * sy_ + dy_) - dy_) / sy_ : v; }
    // A border as whole device pixels, and at least one of them: a hairline must still show.
    double across(double t) const { return fit(t, sx_); }
    double down(double t) const { return fit(t, sy_); }

private:
    double x(double v) const { return on_ ? (std::round(v * sx_ + dx_) - dx_) / sx_ : v; }
    double fit(double t, double scale) const {
        if (!on_ || t <= 0)
            return t;
        return std::max(1.0, std::round(t * scale)) / scale;
    }

    bool on_;
    double sx_, sy_, dx_, dy_;
};

QBrush brushFor(const Document& document, int index, const QRectF& box) {
    if (index < 0)
        return Qt::NoBrush;
    const Brush& b = document.brushes[size_t(index)];
    if (b.kind == Brush::Kind::Solid)
        return b.color.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(b.color);
    if (b.stops.isEmpty())
        return Qt::NoBrush;
    const QPointF start(box.x() + b.start.x() * box.width(), box.y() + b.start.y() * box.height());
    const QPointF end(box.x() + b.end.x() * box.width(), box.y() + b.end.y() * box.height());
    // A gradient along no length has no direction; it shows its last colour.
    if (b.stops.size() == 1 || std::hypot(end.x() - start.x(), end.y() - start.y()) < 1e-9)
        return QBrush(b.stops.last().second);
    QLinearGradient gradient(start, end);
    gradient.setStops(b.stops);
    return QBrush(gradient);
}

void fill(QPainter& painter, const QRectF& rect, const QRectF& clip, const QBrush& brush) {
    const QRectF visible = rect.intersected(clip);
    if (!visible.isEmpty())
        painter.fillRect(visible, brush);
}

QPainterPath rounded(const QRectF& r, CornerRadius c) {
    // Radii that do not fit their sides shrink together, keeping the corners' proportions.
    double f = 1;
    auto fitInto = [&f](double side, double a, double b) {
        if (a + b > side)
            f = std::min(f, side / (a + b));
    };
    fitInto(r.width(), c.topLeft, c.topRight);
    fitInto(r.width(), c.bottomLeft, c.bottomRight);
    fitInto(r.height(), c.topLeft, c.bottomLeft);
    fitInto(r.height(), c.topRight, c.bottomRight);
    const double tl = c.topLeft * f, tr = c.topRight * f, br = c.bottomRight * f,
                 bl = c.bottomLeft * f;
    QPainterPath path;
    path.moveTo(r.left() + tl, r.top());
    path.lineTo(r.right() - tr, r.top());
    path.arcTo(QRectF(r.right() - 2 * tr, r.top(), 2 * tr, 2 * tr), 90, -90);
    path.lineTo(r.right(), r.bottom() - br);
    path.arcTo(QRectF(r.right() - 2 * br, r.bottom() - 2 * br, 2 * br, 2 * br), 0, -90);
    path.lineTo(r.left() + bl, r.bottom());
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * bl, 2 * bl, 2 * bl), 270, -90);
    path.lineTo(r.left(), r.top() + tl);
    path.arcTo(QRectF(r.left(), r.top(), 2 * tl, 2 * tl), 180, -90);
    path.closeSubpath();
    return path;
}

void paintBorder(QPainter& painter, const Document& document, const Element& e, QRectF outer,
                 const QRectF& clip, const Snap& snap) {
    const double left = std::min(snap.across(e.border.left), outer.width());
    const double right = std::min(snap.across(e.border.right), outer.width() - left);
    const double top = std::min(snap.down(e.border.top), outer.height());
    const double bottom = std::min(snap.down(e.border.bottom), outer.height() - top);
    const QRectF inner(outer.left() + left, outer.top() + top, outer.width() - left - right,
                       outer.height() - top - bottom);
    const QBrush background = brushFor(document, e.background, inner);
    const QBrush border = brushFor(document, e.borderBrush, outer);
    if (e.corners.isZero()) {
        // Under an opaque background the border is one fill of the whole box, not four strips.
        if (background.style() != Qt::NoBrush && background.isOpaque()) {
            if (border.style() != Qt::NoBrush)
                fill(painter, outer, clip, border);
            fill(painter, inner, clip, background);
            return;
        }
        if (background.style() != Qt::NoBrush)
            fill(painter, inner, clip, background);
        if (border.style() != Qt::NoBrush) {
            fill(painter, QRectF(outer.left(), outer.top(), outer.width(), top), clip, border);
            fill(painter, QRectF(outer.left(), inner.bottom(), outer.width(), bottom), clip,
                 border);
            fill(painter, QRectF(outer.left(), inner.top(), left, inner.height()), clip, border);
            fill(painter, QRectF(inner.right(), inner.top(), right, inner.height()), clip, border);
        }
        return;
    }
    if (background.style() == Qt::NoBrush && border.style() == Qt::NoBrush)
        return;
    painter.save();
    if (!clip.contains(outer))
        painter.setClipRect(clip, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing);
    const CornerRadius& c = e.corners;
    const CornerRadius innerCorners{std::max(0.0, c.topLeft - std::max(left, top)),
                                    std::max(0.0, c.topRight - std::max(right, top)),
                                    std::max(0.0, c.bottomRight - std::max(right, bottom)),
                                    std::max(0.0, c.bottomLeft - std::max(left, bottom))};
    const QPainterPath innerPath = rounded(inner, innerCorners);
    if (background.style() != Qt::NoBrush)
        painter.fillPath(innerPath, background);
    if (border.style() != Qt::NoBrush) {
        QPainterPath ring = rounded(outer, c);
        ring.addPath(innerPath);
        ring.setFillRule(Qt::OddEvenFill);
        painter.fillPath(ring, border);
    }
    painter.restore();
}

void paintText(QPainter& painter, const Document& document, const LayoutResult& layout, int index,
               const QRectF& bounds, const QRectF& clip, const Snap& snap) {
    const Element& e = document.elements[size_t(index)];
    const ElementLayout& l = layout.elements[size_t(index)];
    if (e.runCount == 0)
        return;
    const QRectF visible = clip.intersected(bounds);
    if (visible.isEmpty())
        return;
    // Glyphs may overhang their advance a little (italics); leave room for that before deciding
    // the line fits and no clip is needed.
    const double overhang = l.line.height() / 2;
    const bool clipped = !visible.contains(l.line.adjusted(-overhang, 0, overhang, 0));
    if (clipped) {
        painter.save();
        painter.setClipRect(visible, Qt::IntersectClip);
    }
    const double baseline = snap.y(l.line.top() + l.ascent);
    for (int r = e.firstRun; r < e.firstRun + e.runCount; ++r) {
        const Run& run = document.runs[size_t(r)];
        const int foreground = run.style.foreground >= 0 ? run.style.foreground : e.text.foreground;
        const QBrush brush =
            foreground >= 0 ? brushFor(document, foreground, bounds) : QBrush(Qt::black);
        if (brush.style() == Qt::NoBrush)
            continue;
        painter.setPen(QPen(brush, 0));
        painter.setFont(layout.runs[size_t(r)].font);
        painter.drawText(QPointF(l.line.left() + layout.runs[size_t(r)].x, baseline), run.text);
    }
    if (clipped)
        painter.restore();
}

} // namespace

void paintLayout(QPainter& painter, const Document& document, const LayoutResult& layout,
                 const QPointF& origin) {
    painter.save();
    painter.translate(origin);
    const Snap snap(painter.deviceTransform());
    for (size_t i = 0; i < document.elements.size(); ++i) {
        const Element& e = document.elements[i];
        const ElementLayout& l = layout.elements[i];
        const QRectF clip = snap.rect(l.clip);
        const QRectF bounds = snap.rect(l.bounds);
        if (clip.isEmpty())
            continue;
        if (e.kind == ElementKind::Border) {
            if (!bounds.isEmpty())
                paintBorder(painter, document, e, bounds, clip, snap);
            continue;
        }
        if (e.background >= 0 && !bounds.isEmpty())
            fill(painter, bounds, clip, brushFor(document, e.background, bounds));
        if (e.kind == ElementKind::TextBlock)
            paintText(painter, document, layout, int(i), bounds, clip, snap);
    }
    painter.restore();
}

} // namespace markup
