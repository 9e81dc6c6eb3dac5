#include "painter.h"

#include "brushes.h"
#include "images.h"
#include "mirror.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace gridgauge::markup {
namespace {

// Each translucent element is painted into a layer of its own; past this many nested ones the
// opacity is applied to each thing painted instead, so that depth costs no memory.
constexpr int kMaxLayers = 8;

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

// A frame of the given thicknesses around inner, filling outer; background fills inner.
void paintFrame(QPainter& painter, const QRectF& outer, const Thickness& t, const QRectF& clip,
                const QBrush& background, const QBrush& border) {
    const QRectF inner(outer.left() + t.left, outer.top() + t.top, outer.width() - t.left - t.right,
                       outer.height() - t.top - t.bottom);
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
        fill(painter, QRectF(outer.left(), outer.top(), outer.width(), t.top), clip, border);
        fill(painter, QRectF(outer.left(), inner.bottom(), outer.width(), t.bottom), clip, border);
        fill(painter, QRectF(outer.left(), inner.top(), t.left, inner.height()), clip, border);
        fill(painter, QRectF(inner.right(), inner.top(), t.right, inner.height()), clip, border);
    }
}

// Where an element's box shows, and where a brush filling it starts: its top-left, or, shown
// mirrored, its top-right.
QPointF originOf(const QRectF& shown, const Mirror& mirror) {
    return mirror.flipped() ? shown.topRight() : shown.topLeft();
}

// What QPainter::drawText(point, text) draws, shaped as it shapes it (one line in the
// painter's direction, from the point on, its baseline there), kept with the fragment: shaping is
// most of what painting a short text costs, and a kept layout paints the same text again. A
// layout painted once (a one-off render, a cell just scrolled into view) does better with
// QPainter's own lighter shaping, so glyphs are kept from the second paint on; null until then.
const QList<QGlyphRun>* keptGlyphs(const TextFragment& piece, const QFont& font,
                                   const QPainter& painter) {
    TextFragment::Shaped& shaped = piece.shaped;
    const Qt::LayoutDirection direction = painter.layoutDirection();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    if (shaped.dotsPerInch == dpi && shaped.direction == direction)
        return &shaped.runs;
    if (shaped.paints++ == 0)
        return nullptr;
    QTextLayout layout(piece.text, font, painter.device());
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    shaped.runs = line.isValid() ? line.glyphRuns() : QList<QGlyphRun>();
    const double ascent = line.isValid() ? line.ascent() : 0;
    for (QGlyphRun& run : shaped.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& at : positions)
            at.ry() -= ascent;
        run.setPositions(positions);
    }
    shaped.direction = direction;
    shaped.dotsPerInch = dpi;
    return &shaped.runs;
}

class Painter {
public:
    Painter(QPainter& painter, const Document& document, const LayoutResult& layout,
            const Mirrors& mirrors, const QBrush& text, const QBrush& link, int layers)
        : p_(painter)
        , d_(document)
        , l_(layout)
        , m_(mirrors)
        , text_(text)
        , link_(link)
        , snap_(painter.deviceTransform())
        , layers_(layers) {}

    // Paints elements [first, end) in document order, each subtree a whole.
    void paint(int first, int end) {
        for (int i = first; i < end;) {
            const Element& e = d_.elements[size_t(i)];
            const int next = std::max(i + 1, e.subtreeEnd);
            if (snap_.rect(clipOf(i)).isEmpty() || e.opacity <= 0) {
                i = next; // nothing of it shows, nor of what it holds
                continue;
            }
            if (e.opacity < 1) {
                paintTranslucent(i, next);
                i = next;
            } else {
                paintOne(i);
                ++i;
            }
        }
    }

private:
    QRectF clipOf(int i) const {
        return m_.clips.empty() ? l_.elements[size_t(i)].clip : m_.clips[size_t(i)];
    }
    void paintTranslucent(int i, int end);
    void paintOne(int i);
    void paintBorder(const Element& e, const QRectF& outer, const QRectF& clip, bool mirrored);
    void paintShape(const Element& e, const ElementLayout& l, const QRectF& clip,
                    const Mirror& mirror);
    void paintText(const ElementLayout& l, const QRectF& clip, const Mirror& mirror);
    QBrush runBrush(int run, const QRectF& bounds, const Mirror& mirror) const;
    void paintPiece(const TextFragment& piece, const QFont& font, const QPointF& at,
                    const QBrush& brush);
    void paintDecorations(quint8 lines, const QFont& font, const QPointF& at, double width,
                          const QBrush& brush);
    void paintImage(int i, const QRectF& shown, const QRectF& clip, bool flipped);
    QImage pictureFor(int i, const QSize& pixels);

    QPainter& p_;
    const Document& d_;
    const LayoutResult& l_;
    const Mirrors& m_;
    const QBrush& text_; // of text without a Foreground
    const QBrush& link_; // of a Hyperlink's text without one
    Snap snap_;
    int layers_;
};

// Opacity applies to the element and what it holds as one picture: painted into a layer, which
// is then laid over what is below.
void Painter::paintTranslucent(int i, int end) {
    const double opacity = d_.elements[size_t(i)].opacity;
    const QTransform device = p_.deviceTransform();
    const QPaintDevice* target = p_.device();
    const double ratio = target->devicePixelRatio();
    const QRect surface(QPoint(0, 0), QSize(int(std::ceil(target->width() * ratio)),
                                            int(std::ceil(target->height() * ratio))));
    const QRect area = device.mapRect(snap_.rect(clipOf(i))).toAlignedRect() & surface;
    if (area.isEmpty())
        return;
    if (layers_ >= kMaxLayers) {
        p_.save();
        p_.setOpacity(p_.opacity() * opacity);
        paintOne(i);
        paint(i + 1, end);
        p_.restore();
        return;
    }
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(p_.renderHints());
        layerPainter.setTransform(device * QTransform::fromTranslate(-area.x(), -area.y()));
        Painter inner(layerPainter, d_, l_, m_, text_, link_, layers_ + 1);
        inner.paintOne(i);
        inner.paint(i + 1, end);
    }
    layer.setDevicePixelRatio(ratio);
    p_.save();
    p_.setWorldTransform(QTransform());
    p_.setOpacity(p_.opacity() * opacity);
    p_.drawImage(QPointF(area.topLeft()) / ratio, layer);
    p_.restore();
}

void Painter::paintOne(int i) {
    const Element& e = d_.elements[size_t(i)];
    const ElementLayout& l = l_.elements[size_t(i)];
    const Mirror& mirror = m_.at(size_t(i));
    const QRectF clip = snap_.rect(clipOf(i));
    const QRectF bounds = snap_.rect(mirror.rect(l.bounds));
    switch (e.kind) {
    case ElementKind::Border:
        if (!bounds.isEmpty())
            paintBorder(e, bounds, clip, mirror.flipped());
        return;
    case ElementKind::Rectangle:
    case ElementKind::Ellipse:
        paintShape(e, l, clip, mirror);
        return;
    case ElementKind::StackPanel:
    case ElementKind::Grid:
    case ElementKind::TextBlock:
    case ElementKind::WrapPanel:
    case ElementKind::DockPanel:
    case ElementKind::Canvas:
        break;
    case ElementKind::Image:
        paintImage(i, bounds, clip, mirror.flipped());
        return;
    }
    if (e.background >= 0 && !bounds.isEmpty()) {
        fill(p_, bounds, clip,
             brushFor(d_, e.background, bounds, originOf(bounds, mirror), mirror.flipped()));
    }
    if (e.kind == ElementKind::TextBlock)
        paintText(l, clip, mirror);
}

void Painter::paintBorder(const Element& e, const QRectF& outer, const QRectF& clip,
                          bool mirrored) {
    // Mirrored, its left edge and corners show at its right.
    const double writtenLeft = mirrored ? e.border.right : e.border.left;
    const double writtenRight = mirrored ? e.border.left : e.border.right;
    const double left = std::min(snap_.across(writtenLeft), outer.width());
    const double right = std::min(snap_.across(writtenRight), outer.width() - left);
    const double top = std::min(snap_.down(e.border.top), outer.height());
    const double bottom = std::min(snap_.down(e.border.bottom), outer.height() - top);
    const QRectF inner(outer.left() + left, outer.top() + top, outer.width() - left - right,
                       outer.height() - top - bottom);
    const QPointF origin = mirrored ? outer.topRight() : outer.topLeft();
    const QBrush background = brushFor(d_, e.background, inner, origin, mirrored);
    const QBrush border = brushFor(d_, e.borderBrush, outer, origin, mirrored);
    if (e.corners.isZero()) {
        paintFrame(p_, outer, {left, top, right, bottom}, clip, background, border);
        return;
    }
    if (background.style() == Qt::NoBrush && border.style() == Qt::NoBrush)
        return;
    p_.save();
    if (!clip.contains(outer))
        p_.setClipRect(clip, Qt::IntersectClip);
    p_.setRenderHint(QPainter::Antialiasing);
    const CornerRadius c = mirrored ? CornerRadius{e.corners.topRight, e.corners.topLeft,
                                                   e.corners.bottomLeft, e.corners.bottomRight}
                                    : e.corners;
    const CornerRadius innerCorners{std::max(0.0, c.topLeft - std::max(left, top)),
                                    std::max(0.0, c.topRight - std::max(right, top)),
                                    std::max(0.0, c.bottomRight - std::max(right, bottom)),
                                    std::max(0.0, c.bottomLeft - std::max(left, bottom))};
    const QPainterPath innerPath = rounded(inner, innerCorners);
    if (background.style() != Qt::NoBrush)
        p_.fillPath(innerPath, background);
    if (border.style() != Qt::NoBrush) {
        QPainterPath ring = rounded(outer, c);
        ring.addPath(innerPath);
        ring.setFillRule(Qt::OddEvenFill);
        p_.fillPath(ring, border);
    }
    p_.restore();
}

void Painter::paintShape(const Element& e, const ElementLayout& l, const QRectF& clip,
                         const Mirror& mirror) {
    const double stroke = e.stroke();
    const QRectF shown = mirror.rect(l.figure);
    if (shown.isEmpty() && stroke <= 0)
        return;
    const QPointF origin = originOf(snap_.rect(mirror.rect(l.bounds)), mirror);
    const bool flipped = mirror.flipped();
    const bool square = e.kind == ElementKind::Rectangle && e.radiusX <= 0 && e.radiusY <= 0;
    if (square) {
        // Painted as a frame, so that it lands on whole pixels as a Border does.
        const QRectF outer =
            snap_.rect(shown.adjusted(-stroke / 2, -stroke / 2, stroke / 2, stroke / 2));
        const double across = std::min(snap_.across(stroke), outer.width() / 2);
        const double down = std::min(snap_.down(stroke), outer.height() / 2);
        const QRectF figure = outer.adjusted(across / 2, down / 2, -across / 2, -down / 2);
        paintFrame(p_, outer, {across, down, across, down}, clip,
                   brushFor(d_, e.background, figure, origin, flipped),
                   brushFor(d_, e.borderBrush, figure, origin, flipped));
        return;
    }
    const QBrush fillBrush = brushFor(d_, e.background, shown, origin, flipped);
    const QBrush strokeBrush = brushFor(d_, e.borderBrush, shown, origin, flipped);
    if (fillBrush.style() == Qt::NoBrush && strokeBrush.style() == Qt::NoBrush)
        return;
    p_.save();
    p_.setClipRect(clip, Qt::IntersectClip);
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setBrush(fillBrush);
    p_.setPen(strokeBrush.style() == Qt::NoBrush || stroke <= 0 ? QPen(Qt::NoPen)
                                                                : QPen(strokeBrush, stroke));
    if (e.kind == ElementKind::Ellipse)
        p_.drawEllipse(shown);
    else
        p_.drawRoundedRect(shown, e.radiusX, e.radiusY);
    p_.restore();
}

// The picture at the device pixels it covers, kept with the layout once drawn.
QImage Painter::pictureFor(int i, const QSize& pixels) {
    for (const KeptPicture& kept : l_.pictures) {
        if (kept.element == i && kept.pixels == pixels)
            return kept.image;
    }
    const QString& source = d_.sources[size_t(d_.elements[size_t(i)].source)];
    QImage image = l_.resolver->image(source, pixels);
    const auto same = std::find_if(l_.pictures.begin(), l_.pictures.end(),
                                   [i](const KeptPicture& kept) { return kept.element == i; });
    if (same != l_.pictures.end())
        *same = {i, pixels, image};
    else
        l_.pictures.push_back({i, pixels, image});
    return image;
}

// Drawn at the device pixels it covers, as read for exactly those, so that it is scaled once
// and smoothly; flipped within its box when it says so itself.
void Painter::paintImage(int i, const QRectF& shown, const QRectF& clip, bool flipped) {
    if (d_.elements[size_t(i)].source < 0 || shown.isEmpty())
        return;
    const QTransform device = p_.deviceTransform();
    QSizeF pixels(shown.width() * std::hypot(device.m11(), device.m12()),
                  shown.height() * std::hypot(device.m21(), device.m22()));
    const double largest = std::max(pixels.width(), pixels.height());
    if (largest > kMaxPictureSide)
        pixels *= kMaxPictureSide / largest; // and the painter scales it up
    const QSize wanted(std::max(1, qRound(pixels.width())), std::max(1, qRound(pixels.height())));
    const QImage picture = pictureFor(i, wanted);
    if (picture.isNull())
        return;
    p_.save();
    if (!clip.contains(shown))
        p_.setClipRect(clip, Qt::IntersectClip);
    p_.setRenderHint(QPainter::SmoothPixmapTransform);
    if (flipped) {
        p_.translate(shown.left() + shown.right(), 0);
        p_.scale(-1, 1);
    }
    p_.drawImage(shown, picture);
    p_.restore();
}

// A piece's lines, drawn here rather than by QPainter from its font: QPainter places a font's
// underline by its own rounding, which varies with where the widget is painted, and one kept
// glyph run draws what its font said when it was shaped. Each line is as thick as the font's.
void Painter::paintDecorations(quint8 lines, const QFont& font, const QPointF& at, double width,
                               const QBrush& brush) {
    const QFontMetricsF metrics(font, p_.device());
    const double thickness = metrics.lineWidth();
    const auto top = [&](double y) { return snap_.y(y - thickness / 2); };
    const auto line = [&](double y) {
        p_.fillRect(QRectF(at.x(), top(y), width, thickness), brush);
    };
    // An underline keeps clear of a baseline line, below it.
    if (lines & Decoration::Underline)
        line(std::max(at.y() + metrics.underlinePos(), top(at.y()) + thickness * 1.5));
    if (lines & Decoration::Strikethrough)
        line(at.y() - metrics.strikeOutPos());
    if (lines & Decoration::OverLine)
        line(at.y() - metrics.overlinePos());
    if (lines & Decoration::Baseline)
        line(at.y());
}

// What a run's text is painted with: its Foreground, else the host's link or text colour.
QBrush Painter::runBrush(int run, const QRectF& bounds, const Mirror& mirror) const {
    const int foreground = d_.runs[size_t(run)].style.foreground;
    if (foreground >= 0)
        return brushFor(d_, foreground, bounds, originOf(bounds, mirror), mirror.flipped());
    return foreground == kLinkForeground ? link_ : text_;
}

// One piece of a line, its baseline starting at at, with the pen and font already set.
void Painter::paintPiece(const TextFragment& piece, const QFont& font, const QPointF& at,
                         const QBrush& brush) {
    if (const QList<QGlyphRun>* kept = keptGlyphs(piece, font, p_)) {
        for (const QGlyphRun& glyphs : *kept)
            p_.drawGlyphRun(at, glyphs);
    } else {
        p_.drawText(at, piece.text);
    }
    if (const quint8 lines = d_.runs[size_t(piece.run)].style.decorations)
        paintDecorations(lines, font, at, piece.width, brush);
}

// Mirrored, each line shows at the mirrored place in its block, its words in their own order.
void Painter::paintText(const ElementLayout& l, const QRectF& clip, const Mirror& mirror) {
    if (l.lineCount == 0)
        return;
    const QRectF bounds = snap_.rect(mirror.rect(l.bounds));
    QRectF text;
    for (int i = l.firstLine; i < l.firstLine + l.lineCount; ++i)
        text |= mirror.rect(l_.lines[size_t(i)].rect);
    // Text that does not fit is cut at its block's box as well as at the clip. Glyphs may
    // overhang their advance a little (italics); leave room for that before deciding the text
    // fits and no clip is needed.
    const QRectF visible = clip.intersected(bounds);
    if (visible.isEmpty())
        return;
    const double overhang = l_.lines[size_t(l.firstLine)].rect.height() / 2;
    const bool clipped = !visible.contains(text.adjusted(-overhang, 0, overhang, 0));
    if (clipped) {
        // The cut is at the block's sides and at the lines it has no room for. An underline
        // and the deepest descenders lie at the bottom of a line or just below it, so the last
        // line's overhang below the block is kept, as far as the clip allows.
        const QRectF cut = clip.intersected(
            bounds.adjusted(0, 0, 0, text.bottom() <= bounds.bottom() + 0.5 ? overhang / 2 : 0));
        p_.save();
        p_.setClipRect(cut, Qt::IntersectClip);
    }
    int lastRun = -1;
    QBrush brush;
    for (int i = l.firstLine; i < l.firstLine + l.lineCount; ++i) {
        const TextLine& line = l_.lines[size_t(i)];
        // Lines wholly above or below what shows are not drawn: text wrapped in a narrow box
        // may run to hundreds of them.
        if (line.rect.bottom() + overhang < visible.top() ||
            line.rect.top() - overhang > visible.bottom())
            continue;
        const double baseline = snap_.y(line.rect.top() + line.ascent);
        for (int f = line.firstFragment; f < line.firstFragment + line.fragmentCount; ++f) {
            const TextFragment& piece = l_.fragments[size_t(f)];
            if (piece.run < 0)
                continue;
            const QFont& font = l_.fonts[size_t(piece.run)];
            if (piece.run != lastRun) {
                brush = runBrush(piece.run, bounds, mirror);
                lastRun = piece.run;
                p_.setPen(QPen(brush, 0));
                p_.setFont(font);
            }
            if (brush.style() != Qt::NoBrush)
                paintPiece(piece, font, QPointF(mirror.rect(line.rect).left() + piece.x, baseline),
                           brush);
        }
    }
    if (clipped)
        p_.restore();
}

} // namespace

void paintLayout(QPainter& painter, const Document& document, const LayoutResult& layout,
                 const QPointF& origin, Qt::LayoutDirection direction, const HostStyle& host) {
    const Mirrors mirrors = mirrorsFor(document, layout, direction == Qt::RightToLeft);
    // Black, as text has always been, unless the host says otherwise: a caption painted by a
    // host that gives no colour looks as it did before hosts could give one.
    const QColor hostText = host.textColor();
    const QBrush text(hostText.isValid() ? hostText : QColor(Qt::black));
    // The palette is asked only of a caption with links, and at each paint, so that links follow
    // a palette that changes.
    QBrush link;
    if (!document.links.empty()) {
        const QColor hostLink = host.linkColor();
        link = QBrush(hostLink.isValid() ? hostLink : QPalette().color(QPalette::Link));
    }
    painter.save();
    painter.translate(origin);
    Painter(painter, document, layout, mirrors, text, link, 0)
        .paint(0, int(document.elements.size()));
    painter.restore();
}

} // namespace gridgauge::markup
