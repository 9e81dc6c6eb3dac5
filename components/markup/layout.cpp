#include "layout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace markup {
namespace {

struct Limits {
    double minWidth, maxWidth, minHeight, maxHeight;
};

// An explicit size pins both limits; Min wins over Max, and both over the explicit size.
Limits limitsOf(const Element& e) {
    Limits l;
    l.maxWidth =
        std::max(std::min(std::isnan(e.width) ? kInfinity : e.width, e.maxWidth), e.minWidth);
    l.minWidth = std::max(std::min(l.maxWidth, std::isnan(e.width) ? 0 : e.width), e.minWidth);
    l.maxHeight =
        std::max(std::min(std::isnan(e.height) ? kInfinity : e.height, e.maxHeight), e.minHeight);
    l.minHeight = std::max(std::min(l.maxHeight, std::isnan(e.height) ? 0 : e.height), e.minHeight);
    return l;
}

double offsetFor(Align align, double room, double size) {
    switch (align) {
    case Align::Start:
        return 0;
    case Align::End:
        return room - size;
    case Align::Center:
        return (room - size) / 2;
    case Align::Stretch:
        break;
    }
    // Stretched but held smaller by a size of its own: centred. Larger than its slot: from the
    // start, and clipped at the end.
    return size > room ? 0 : (room - size) / 2;
}

QRectF deflated(const QRectF& r, const Thickness& t) {
    return QRectF(r.x() + t.left, r.y() + t.top, std::max(0.0, r.width() - t.horizontal()),
                  std::max(0.0, r.height() - t.vertical()));
}

Thickness operator+(const Thickness& a, const Thickness& b) {
    return {a.left + b.left, a.top + b.top, a.right + b.right, a.bottom + b.bottom};
}

QFont fontFor(const QFont& base, const TextStyle& style) {
    QFont font = base;
    if (style.weight >= 0)
        font.setWeight(QFont::Weight(style.weight));
    if (style.italic >= 0)
        font.setItalic(style.italic != 0);
    if (style.size > 0)
        font.setPixelSize(int(std::lround(style.size)));
    return font;
}

class Engine {
public:
    Engine(const Document& document, LayoutResult& out)
        : d_(document)
        , out_(out)
        , desired_(document.elements.size())
        , natural_(document.elements.size())
        , gridSlot_(document.elements.size(), 0) {
        size_t scratch = 0;
        for (size_t i = 0; i < d_.elements.size(); ++i) {
            if (d_.elements[i].kind == ElementKind::Grid) {
                gridSlot_[i] = scratch;
                scratch += 3 * size_t(columnCount(d_.elements[i]));
            }
        }
        columns_.assign(scratch, 0.0);
        out_.elements.resize(d_.elements.size());
        out_.runs.resize(d_.runs.size());
    }

    void run(const QSizeF& size) {
        measure(0, size);
        const QRectF area(QPointF(), size);
        arrange(0, area, area, 0);
    }

private:
    static int columnCount(const Element& grid) { return std::max(1, grid.columnCount); }

    ColumnDefinition column(const Element& grid, int k) const {
        return grid.columnCount > 0 ? d_.columns[size_t(grid.firstColumn + k)] : ColumnDefinition{};
    }

    // A Grid's three rows of scratch: content widths from measuring, resolved widths, offsets.
    double* contentWidths(int e) { return columns_.data() + gridSlot_[size_t(e)]; }

    template <typename F> void forChildren(int e, F f) {
        for (int c = d_.elements[size_t(e)].firstChild; c >= 0;
             c = d_.elements[size_t(c)].nextSibling)
            f(c);
    }

    QSizeF measure(int e, const QSizeF& available) {
        const Element& el = d_.elements[size_t(e)];
        const Limits l = limitsOf(el);
        const QSizeF inner(std::clamp(std::max(0.0, available.width() - el.margin.horizontal()),
                                      l.minWidth, l.maxWidth),
                           std::clamp(std::max(0.0, available.height() - el.margin.vertical()),
                                      l.minHeight, l.maxHeight));
        const QSizeF content = measureContent(e, inner);
        const QSizeF natural(std::min(std::max(content.width(), l.minWidth), l.maxWidth),
                             std::min(std::max(content.height(), l.minHeight), l.maxHeight));
        natural_[size_t(e)] = natural;
        const QSizeF desired(std::min(natural.width() + el.margin.horizontal(), available.width()),
                             std::min(natural.height() + el.margin.vertical(), available.height()));
        desired_[size_t(e)] = desired;
        return desired;
    }

    QSizeF measureContent(int e, const QSizeF& inner) {
        const Element& el = d_.elements[size_t(e)];
        switch (el.kind) {
        case ElementKind::Border: {
            const Thickness chrome = el.border + el.padding;
            QSizeF child;
            if (el.firstChild >= 0)
                child = measure(el.firstChild,
                                QSizeF(std::max(0.0, inner.width() - chrome.horizontal()),
                                       std::max(0.0, inner.height() - chrome.vertical())));
            return QSizeF(child.width() + chrome.horizontal(), child.height() + chrome.vertical());
        }
        case ElementKind::StackPanel: {
            const bool vertical = el.orientation == Orientation::Vertical;
            const QSizeF offer =
                vertical ? QSizeF(inner.width(), kInfinity) : QSizeF(kInfinity, inner.height());
            double along = 0, across = 0;
            forChildren(e, [&](int c) {
                const QSizeF s = measure(c, offer);
                along += vertical ? s.height() : s.width();
                across = std::max(across, vertical ? s.width() : s.height());
            });
            return vertical ? QSizeF(across, along) : QSizeF(along, across);
        }
        case ElementKind::Grid:
            return measureGrid(e, inner);
        case ElementKind::TextBlock:
            return measureText(e);
        }
        return {};
    }

    // Star columns share what the others leave, by weight; Pixel and Auto columns take theirs.
    void resolveColumns(int e, double total) {
        const Element& grid = d_.elements[size_t(e)];
        const int n = columnCount(grid);
        double* content = contentWidths(e);
        double* widths = content + n;
        double fixed = 0, weights = 0;
        for (int k = 0; k < n; ++k) {
            const ColumnDefinition def = column(grid, k);
            if (def.unit == ColumnDefinition::Unit::Star) {
                weights += def.value;
                continue;
            }
            const double w = def.unit == ColumnDefinition::Unit::Pixel ? def.value : content[k];
            widths[k] = std::clamp(w, def.minWidth, std::max(def.minWidth, def.maxWidth));
            fixed += widths[k];
        }
        const double remaining = std::max(0.0, total - fixed);
        for (int k = 0; k < n; ++k) {
            const ColumnDefinition def = column(grid, k);
            if (def.unit != ColumnDefinition::Unit::Star)
                continue;
            const double share = weights > 0 ? remaining * def.value / weights : 0;
            widths[k] = std::clamp(share, def.minWidth, std::max(def.minWidth, def.maxWidth));
        }
    }

    QSizeF measureGrid(int e, const QSizeF& inner) {
        const Element& grid = d_.elements[size_t(e)];
        const int n = columnCount(grid);
        double* content = contentWidths(e);
        const bool bounded = std::isfinite(inner.width());
        double height = 0;
        auto place = [&](int c, double width) {
            const QSizeF s = measure(c, QSizeF(width, inner.height()));
            const int k = std::min(d_.elements[size_t(c)].column, n - 1);
            content[k] = std::max(content[k], s.width());
            height = std::max(height, s.height());
        };
        auto isStar = [&](int c) {
            return column(grid, std::min(d_.elements[size_t(c)].column, n - 1)).unit ==
                   ColumnDefinition::Unit::Star;
        };
        // Pixel and Auto columns first: the star columns get what they leave.
        forChildren(e, [&](int c) {
            const ColumnDefinition def =
                column(grid, std::min(d_.elements[size_t(c)].column, n - 1));
            if (def.unit == ColumnDefinition::Unit::Pixel)
                place(c, std::clamp(def.value, def.minWidth, std::max(def.minWidth, def.maxWidth)));
            else if (def.unit == ColumnDefinition::Unit::Auto || !bounded)
                place(c, kInfinity);
        });
        if (bounded) {
            resolveColumns(e, inner.width());
            const double* widths = content + n;
            forChildren(e, [&](int c) {
                if (isStar(c))
                    place(c, widths[std::min(d_.elements[size_t(c)].column, n - 1)]);
            });
        }
        // Star columns want enough that, shared by weight, each holds its content.
        double width = 0, unit = 0;
        for (int k = 0; k < n; ++k) {
            const ColumnDefinition def = column(grid, k);
            const double cap = std::max(def.minWidth, def.maxWidth);
            if (def.unit == ColumnDefinition::Unit::Star) {
                if (def.value > 0)
                    unit = std::max(unit, content[k] / def.value);
            } else {
                width +=
                    std::clamp(def.unit == ColumnDefinition::Unit::Pixel ? def.value : content[k],
                               def.minWidth, cap);
            }
        }
        for (int k = 0; k < n; ++k) {
            const ColumnDefinition def = column(grid, k);
            if (def.unit == ColumnDefinition::Unit::Star)
                width += std::clamp(unit * def.value, def.minWidth,
                                    std::max(def.minWidth, def.maxWidth));
        }
        return QSizeF(width, height);
    }

    QSizeF measureText(int e) {
        const Element& el = d_.elements[size_t(e)];
        ElementLayout& layout = out_.elements[size_t(e)];
        double width = 0, ascent = 0, descent = 0;
        if (el.runCount == 0) {
            const QFontMetricsF metrics(fontFor(out_.font, el.text));
            ascent = metrics.ascent();
            descent = metrics.descent();
        }
        for (int r = el.firstRun; r < el.firstRun + el.runCount; ++r) {
            RunLayout& run = out_.runs[size_t(r)];
            run.font = fontFor(out_.font, d_.runs[size_t(r)].style);
            const QFontMetricsF metrics(run.font);
            run.x = width;
            width += metrics.horizontalAdvance(d_.runs[size_t(r)].text);
            ascent = std::max(ascent, metrics.ascent());
            descent = std::max(descent, metrics.descent());
        }
        layout.line.setSize(QSizeF(width, ascent + descent));
        layout.ascent = ascent;
        return QSizeF(width + el.padding.horizontal(), ascent + descent + el.padding.vertical());
    }

    void arrange(int e, const QRectF& slot, const QRectF& clip, int depth) {
        const Element& el = d_.elements[size_t(e)];
        const QRectF client = deflated(slot, el.margin);
        const Limits l = limitsOf(el);
        const QSizeF natural = natural_[size_t(e)];
        double w = client.width(), h = client.height();
        if (el.horizontal != Align::Stretch)
            w = std::min(w, natural.width());
        if (el.vertical != Align::Stretch)
            h = std::min(h, natural.height());
        w = std::clamp(w, l.minWidth, l.maxWidth);
        h = std::clamp(h, l.minHeight, l.maxHeight);
        const QRectF rect(client.x() + offsetFor(el.horizontal, client.width(), w),
                          client.y() + offsetFor(el.vertical, client.height(), h), w, h);
        ElementLayout& layout = out_.elements[size_t(e)];
        layout.bounds = rect;
        layout.depth = depth;
        // An element larger than its slot is cut to the slot, as XAML layout clips it.
        layout.clip = client.contains(rect) ? clip : clip.intersected(client);
        arrangeContent(e, rect, layout.clip, depth + 1);
    }

    void arrangeContent(int e, const QRectF& rect, const QRectF& clip, int depth) {
        const Element& el = d_.elements[size_t(e)];
        switch (el.kind) {
        case ElementKind::Border:
            if (el.firstChild >= 0)
                arrange(el.firstChild, deflated(rect, el.border + el.padding), clip, depth);
            return;
        case ElementKind::StackPanel: {
            const bool vertical = el.orientation == Orientation::Vertical;
            double at = vertical ? rect.y() : rect.x();
            forChildren(e, [&](int c) {
                const QSizeF s = desired_[size_t(c)];
                if (vertical) {
                    arrange(c, QRectF(rect.x(), at, rect.width(), s.height()), clip, depth);
                    at += s.height();
                } else {
                    arrange(c, QRectF(at, rect.y(), s.width(), rect.height()), clip, depth);
                    at += s.width();
                }
            });
            return;
        }
        case ElementKind::Grid: {
            const int n = columnCount(el);
            resolveColumns(e, rect.width());
            const double* widths = contentWidths(e) + n;
            double* offsets = contentWidths(e) + 2 * n;
            double x = rect.x();
            for (int k = 0; k < n; ++k) {
                offsets[k] = x;
                x += widths[k];
            }
            forChildren(e, [&](int c) {
                const int k = std::min(d_.elements[size_t(c)].column, n - 1);
                arrange(c, QRectF(offsets[k], rect.y(), widths[k], rect.height()), clip, depth);
            });
            return;
        }
        case ElementKind::TextBlock:
            placeLine(e, deflated(rect, el.padding));
            return;
        }
    }

    // A line that fits is placed by TextAlignment at the top; one that does not overflows the
    // way the element's own alignment would have let it overflow its slot.
    void placeLine(int e, const QRectF& content) {
        const Element& el = d_.elements[size_t(e)];
        QRectF& line = out_.elements[size_t(e)].line;
        const double w = line.width(), h = line.height();
        const double x = w > content.width() ? offsetFor(el.horizontal, content.width(), w)
                                             : offsetFor(el.textAlignment, content.width(), w);
        const double y = h > content.height() ? offsetFor(el.vertical, content.height(), h) : 0;
        line.moveTopLeft(QPointF(content.x() + x, content.y() + y));
    }

    const Document& d_;
    LayoutResult& out_;
    std::vector<QSizeF> desired_; // what the parent sees, margins included
    std::vector<QSizeF> natural_; // what the element would take, margins excluded
    std::vector<size_t> gridSlot_;
    std::vector<double> columns_;
};

} // namespace

LayoutResult layOut(const Document& document, const QSizeF& size, const QFont& font) {
    LayoutResult result;
    result.size = size;
    result.font = font;
    if (!document.elements.empty())
        Engine(document, result).run(size);
    return result;
}

} // namespace markup
