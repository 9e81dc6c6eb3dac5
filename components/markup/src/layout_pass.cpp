#include "layout_pass.h"

#include "chrome.h"
#include "images.h"

#include <QFontDatabase>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace gridgauge::markup {
namespace layout {
namespace {

// An explicit Width or Height pins both limits; Min wins over Max, and both over the explicit
// size.
struct Limits {
    QSizeF min, max;
};

Limits limitsOf(const Element& e) {
    const auto axis = [](double size, double min, double max) {
        const double upper = std::max(std::min(std::isnan(size) ? kInfinity : size, max), min);
        const double lower = std::max(std::min(upper, std::isnan(size) ? 0.0 : size), min);
        return std::pair{lower, upper};
    };
    const auto [minWidth, maxWidth] = axis(e.width, e.minWidth, e.maxWidth);
    const auto [minHeight, maxHeight] = axis(e.height, e.minHeight, e.maxHeight);
    return {{minWidth, minHeight}, {maxWidth, maxHeight}};
}

QSizeF boundedBy(const QSizeF& size, const QSizeF& min, const QSizeF& max) {
    return {std::max(min.width(), std::min(size.width(), max.width())),
            std::max(min.height(), std::min(size.height(), max.height()))};
}

QSizeF smaller(const QSizeF& a, const QSizeF& b) {
    return {std::min(a.width(), b.width()), std::min(a.height(), b.height())};
}

// Below by more than rounding: a layout clip for a difference of rounding would only cost time.
bool lessThan(double a, double b) {
    return a < b && b - a > 1e-9 * std::max(1.0, std::abs(b));
}

bool lessThan(const QSizeF& a, const QSizeF& b) {
    return lessThan(a.width(), b.width()) || lessThan(a.height(), b.height());
}

double offsetFor(Align align, double room, double size) {
    // Stretched but larger than its room: from the start, and clipped at the end.
    if (align == Align::Stretch && size > room)
        align = Align::Start;
    switch (align) {
    case Align::Start:
        return 0;
    case Align::End:
        return room - size;
    case Align::Center:
    case Align::Stretch:
        break;
    }
    return (room - size) / 2;
}

// QSizeF's own comparison is fuzzy and never finds an infinity equal to itself.
bool same(const QSizeF& a, const QSizeF& b) {
    return a.width() == b.width() && a.height() == b.height();
}

} // namespace

Pass::Pass(const Document& document, const TextMeasurer& measurer, LayoutResult& out)
    : d_(document)
    , measurer_(measurer)
    , out_(out)
    , state_(document.elements.size()) {
    out_.elements.assign(d_.elements.size(), ElementLayout{});
    for (size_t e = 0; e < d_.elements.size(); ++e) {
        const Element& el = d_.elements[e];
        if (el.parent >= 0)
            out_.elements[e].depth = out_.elements[size_t(el.parent)].depth + 1;
        if (el.kind == ElementKind::Grid) {
            state_[e].grid = int(grids_.size());
            grids_.emplace_back(int(e));
        }
    }
    remeasureBudget_ = 8 * d_.elements.size() + 64;
}

void Pass::run(const QSizeF& area) {
    if (d_.elements.empty())
        return;
    area_ = QRectF(QPointF(), area);
    measure(0, area);
    arrange(0, area_);
}

QSizeF Pass::measureRoot(const QSizeF& available) {
    return d_.elements.empty() ? QSizeF(0, 0) : measure(0, available);
}

QSizeF Pass::measure(int e, const QSizeF& available) {
    const Element& el = element(e);
    State& s = state_[size_t(e)];
    if (el.visibility == Visibility::Collapsed) {
        s.measured = true;
        s.desired = s.unclipped = QSizeF(0, 0);
        return s.desired;
    }
    if (s.measured && (same(s.available, available) || remeasures_ >= remeasureBudget_))
        return s.desired;
    remeasures_ += s.measured;
    s.measured = true;
    s.available = available;

    const Limits limits = limitsOf(el);
    const QSizeF room = boundedBy(deflate(available, el.margin), limits.min, limits.max);
    const QSizeF content = measureContent(e, room);
    s.unclipped = QSizeF(std::max(content.width(), limits.min.width()),
                         std::max(content.height(), limits.min.height()));
    const QSizeF desired = smaller(inflate(smaller(s.unclipped, limits.max), el.margin), available);
    s.desired = QSizeF(std::max(0.0, desired.width()), std::max(0.0, desired.height()));
    return s.desired;
}

void Pass::arrange(int e, const QRectF& slot) {
    const Element& el = element(e);
    ElementLayout& out = out_.elements[size_t(e)];
    if (el.visibility == Visibility::Collapsed) {
        out.bounds = QRectF(slot.topLeft(), QSizeF(0, 0));
        out.clip = QRectF();
        return;
    }
    const Limits limits = limitsOf(el);
    const QSizeF unclipped = state_[size_t(e)].unclipped;
    const QRectF client = deflate(slot, el.margin);

    // Never smaller than its content wanted: what does not fit its slot overflows it and is
    // clipped. Stretched, it fills the slot up to its Max; aligned, it takes what it wanted.
    const auto axis = [](double room, double wanted, Align align, double max) {
        double size = align == Align::Stretch ? std::max(room, wanted) : wanted;
        return std::min(size, std::max(wanted, max));
    };
    QSizeF size(axis(client.width(), unclipped.width(), el.horizontal, limits.max.width()),
                axis(client.height(), unclipped.height(), el.vertical, limits.max.height()));
    // What it draws may be smaller than what it was given: it is placed by what it draws.
    if (el.kind == ElementKind::Image)
        size = arrangedImageSize(*this, e, size);
    // Past its Max it is cut to the Max, and aligned as that.
    const QSizeF visible = smaller(size, limits.max);
    const QPointF at(client.x() + offsetFor(el.horizontal, client.width(), visible.width()),
                     client.y() + offsetFor(el.vertical, client.height(), visible.height()));
    out.bounds = QRectF(at, size);

    QRectF clip = el.parent >= 0 ? out_.elements[size_t(el.parent)].clip : area_;
    if (lessThan(visible, size))
        clip = clip.intersected(QRectF(at, visible));
    if (lessThan(client.size(), visible))
        clip = clip.intersected(client);
    out.clip = el.visibility == Visibility::Hidden ? QRectF() : clip;
    arrangeContent(e, out.bounds);
}

QSizeF Pass::measureContent(int e, const QSizeF& available) {
    switch (element(e).kind) {
    case ElementKind::Border:
        return measureBorder(*this, e, available);
    case ElementKind::StackPanel:
        return measureStackPanel(*this, e, available);
    case ElementKind::Grid:
        return grid(e).measure(*this, available);
    case ElementKind::TextBlock:
        return measureTextBlock(*this, e, available);
    case ElementKind::Rectangle:
    case ElementKind::Ellipse:
        return measureShape(*this, e, available);
    case ElementKind::WrapPanel:
        return measureWrapPanel(*this, e, available);
    case ElementKind::DockPanel:
        return measureDockPanel(*this, e, available);
    case ElementKind::Canvas:
        return measureCanvas(*this, e, available);
    case ElementKind::Image:
        return measureImage(*this, e, available);
    }
    return {0, 0};
}

// Every kind here but an Image takes the whole box it is given: a box decided before its
// content is placed.
void Pass::arrangeContent(int e, const QRectF& box) {
    switch (element(e).kind) {
    case ElementKind::Border:
        return arrangeBorder(*this, e, box);
    case ElementKind::StackPanel:
        return arrangeStackPanel(*this, e, box);
    case ElementKind::Grid:
        return grid(e).arrange(*this, box);
    case ElementKind::TextBlock:
        return arrangeTextBlock(*this, e, box);
    case ElementKind::Rectangle:
    case ElementKind::Ellipse:
        return arrangeShape(*this, e, box);
    case ElementKind::WrapPanel:
        return arrangeWrapPanel(*this, e, box);
    case ElementKind::DockPanel:
        return arrangeDockPanel(*this, e, box);
    case ElementKind::Canvas:
        return arrangeCanvas(*this, e, box);
    case ElementKind::Image:
        return;
    }
}

} // namespace layout

namespace {

// Only families the machine has. Asked for one it lacks, the font engine searches every
// installed font for a stand-in, slowly, and keeps what it found for good: a caption naming
// many made-up families would cost that many searches and never give the memory back. A name
// not installed falls back to the host's font instead.
std::vector<QStringList> installedFamilies(const std::vector<QStringList>& wanted) {
    std::vector<QStringList> found(wanted.size());
    if (wanted.empty())
        return found;
    QSet<QString> installed;
    for (const QString& family : QFontDatabase::families())
        installed.insert(family.toCaseFolded());
    for (size_t i = 0; i < wanted.size(); ++i) {
        for (const QString& family : wanted[i]) {
            if (installed.contains(family.toCaseFolded()))
                found[i].append(family);
        }
    }
    return found;
}

} // namespace

QFont fontFor(const QFont& base, const TextStyle& style, const std::vector<QStringList>& families,
              double dotsPerInch) {
    QFont font = base;
    if (style.family >= 0 && !families[size_t(style.family)].isEmpty())
        font.setFamilies(families[size_t(style.family)]);
    if (style.weight >= 0)
        font.setWeight(QFont::Weight(style.weight));
    if (style.style >= 0)
        font.setStyle(QFont::Style(style.style));
    if (style.size > 0) {
        // QFont takes whole pixels, or points: a fraction of a pixel goes through the points of
        // the device the text is painted on.
        if (style.size == std::floor(style.size))
            font.setPixelSize(int(style.size));
        else
            font.setPointSizeF(style.size * 72 / dotsPerInch);
    }
    // Decorations are the painter's to draw (see Painter::paintDecorations), not the font's.
    return font;
}

namespace {

// What every run is drawn in, before any element is measured.
LayoutResult withFonts(const Document& document, const QSizeF& size, const QFont& font,
                       const TextMeasurer& measurer, ImageResolver* resolver) {
    LayoutResult result;
    result.size = size;
    result.font = font;
    result.dotsPerInch = measurer.dotsPerInch();
    result.resolver = &resolverOr(resolver);
    result.naturalSizes.assign(document.sources.size(), QSizeF(-1, -1));
    result.families = installedFamilies(document.families);
    result.fonts.reserve(document.runs.size());
    for (const Run& run : document.runs)
        result.fonts.push_back(fontFor(font, run.style, result.families, result.dotsPerInch));
    return result;
}

double confined(double length) {
    return std::isfinite(length) ? std::clamp(length, 0.0, kMaxLength) : 0.0;
}

} // namespace

LayoutResult layOut(const Document& document, const QSizeF& size, const QFont& font,
                    const TextMeasurer& measurer, ImageResolver* resolver) {
    LayoutResult result = withFonts(document, size, font, measurer, resolver);
    layout::Pass(document, measurer, result).run(size);
    return result;
}

QSizeF measureUnbounded(const Document& document, const QFont& font, const TextMeasurer& measurer,
                        ImageResolver* resolver) {
    const QSizeF unbounded(kInfinity, kInfinity);
    LayoutResult result = withFonts(document, unbounded, font, measurer, resolver);
    return layout::Pass(document, measurer, result).measureRoot(unbounded);
}

QSizeF confined(const QSizeF& size) {
    return {confined(size.width()), confined(size.height())};
}

} // namespace gridgauge::markup
