#include "gridgauge/markup/markup.h"

#include "diagnostics.h"
#include "document.h"
#include "images.h"
#include "layout.h"
#include "links.h"
#include "painter.h"
#include "parse_count.h"
#include "parser.h"

#include <QCache>
#include <QPainter>

#include <atomic>
#include <cmath>

namespace gridgauge::markup {

namespace {
std::atomic<quint64> parses{0};
} // namespace

DocumentPtr parse(QStringView text) {
    parses.fetch_add(1, std::memory_order_relaxed);
    return parseDocument(text);
}

DocumentPtr parse(QStringView text, ParseReport* report) {
    if (!report)
        return parse(text);
    parses.fetch_add(1, std::memory_order_relaxed);
    Problems problems;
    DocumentPtr document = parseDocument(text, &problems);
    fill(*report->d, text, problems);
    return document;
}

quint64 parseCount() {
    return parses.load(std::memory_order_relaxed);
}

QString textContent(const Document& document) {
    QString text;
    for (const Element& e : document.elements) {
        if (e.kind != ElementKind::TextBlock || e.runCount == 0)
            continue;
        if (!text.isEmpty())
            text.append(u' ');
        for (int r = e.firstRun; r < e.firstRun + e.runCount; ++r) {
            const Run& run = document.runs[size_t(r)];
            if (run.lineBreak)
                text.append(u'\n');
            else
                text.append(run.text);
        }
    }
    return text;
}

namespace {

// Negative, empty or non-finite boxes have nothing to show, and nor has one wider than any
// screen: the layout's lengths stop at kMaxLength.
bool usable(const QRectF& box) {
    return std::isfinite(box.x()) && std::isfinite(box.y()) && box.width() > 0 &&
           box.height() > 0 && box.width() <= kMaxLength && box.height() <= kMaxLength;
}

} // namespace

// With no device the measurer is an image's, whose resolution Qt takes from the screen: a size
// asked for before any painter exists, for a cell that will be painted on that screen.
QSizeF desiredSize(const Document& document, const QFont& font, const HostStyle& host) {
    return confined(measureUnbounded(document, font, FontEngineMeasurer(), host.imageResolver()));
}

void render(QPainter& painter, const Document& document, const QRectF& box, const QFont& font,
            Qt::LayoutDirection direction, const HostStyle& host) {
    if (!usable(box))
        return;
    const FontEngineMeasurer measurer(painter.device());
    paintLayout(painter, document,
                layOut(document, box.size(), font, measurer, host.imageResolver()), box.topLeft(),
                direction, host);
}

class DrawingPrivate {
public:
    DocumentPtr document;
    std::unique_ptr<const LayoutResult> layout;
    quint64 layouts = 0;
};

Drawing::Drawing()
    : d(std::make_unique<DrawingPrivate>()) {}
Drawing::Drawing(DocumentPtr document)
    : d(std::make_unique<DrawingPrivate>()) {
    d->document = std::move(document);
}
Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

const DocumentPtr& Drawing::document() const {
    static const DocumentPtr none;
    return d ? d->document : none;
}

quint64 Drawing::layoutCount() const {
    return d ? d->layouts : 0;
}

void Drawing::paint(QPainter& painter, const QRectF& box, const QFont& font,
                    Qt::LayoutDirection direction, const HostStyle& host) {
    if (!d || !d->document || !usable(box))
        return;
    const FontEngineMeasurer measurer(painter.device());
    // Pictures are measured by their resolver's sizes: another resolver may give other ones.
    const bool otherPictures = !d->document->sources.empty() && d->layout &&
                               d->layout->resolver != &resolverOr(host.imageResolver());
    if (!d->layout || d->layout->size != box.size() || d->layout->font != font ||
        d->layout->dotsPerInch != measurer.dotsPerInch() || otherPictures) {
        d->layout = std::make_unique<const LayoutResult>(
            layOut(*d->document, box.size(), font, measurer, host.imageResolver()));
        ++d->layouts;
    }
    paintLayout(painter, *d->document, *d->layout, box.topLeft(), direction, host);
    d->layout->paintedAt = box.topLeft();
    d->layout->paintedDirection = int(direction == Qt::RightToLeft);
}

namespace {

// The links' pieces as last painted, worked out once per layout and direction.
const std::vector<LayoutResult::LinkPiece>& piecesOf(const Document& document,
                                                     const LayoutResult& layout) {
    if (layout.linkPiecesDirection != layout.paintedDirection) {
        layout.linkPieces = linkPieces(document, layout, layout.paintedDirection == 1);
        layout.linkPiecesDirection = layout.paintedDirection;
    }
    return layout.linkPieces;
}

} // namespace

QList<Link> Drawing::links() const {
    QList<Link> links;
    if (!d || !d->document || d->document->links.empty())
        return links;
    const std::vector<QString> texts = linkTexts(*d->document);
    for (size_t i = 0; i < d->document->links.size(); ++i) {
        Link link;
        link.d = new LinkPrivate;
        link.d->target = d->document->links[i];
        link.d->text = texts[i];
        links.append(link);
    }
    if (d->layout && d->layout->paintedDirection >= 0) {
        for (const LayoutResult::LinkPiece& piece : piecesOf(*d->document, *d->layout))
            links[piece.link].d->rects.append(piece.rect.translated(d->layout->paintedAt));
    }
    return links;
}

int Drawing::linkAt(const QPointF& point) const {
    if (!d || !d->document || d->document->links.empty() || !d->layout ||
        d->layout->paintedDirection < 0)
        return -1;
    const QPointF at = point - d->layout->paintedAt;
    const std::vector<LayoutResult::LinkPiece>& pieces = piecesOf(*d->document, *d->layout);
    // What was painted last lies on top.
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        if (piece->rect.contains(at))
            return piece->link;
    }
    return -1;
}

class DocumentCachePrivate {
public:
    struct Entry {
        DocumentPtr document; // null for a text that is not markup
    };
    explicit DocumentCachePrivate(int capacity)
        : entries(std::max(1, capacity)) {}
    QCache<QString, Entry> entries; // least recently used go first
};

DocumentCache::DocumentCache(int capacity)
    : d(std::make_unique<DocumentCachePrivate>(capacity)) {}

DocumentCache::~DocumentCache() = default;

DocumentPtr DocumentCache::find(const QString& text) {
    if (const DocumentCachePrivate::Entry* entry = d->entries.object(text))
        return entry->document;
    DocumentPtr document = parse(text);
    d->entries.insert(text, new DocumentCachePrivate::Entry{document});
    return document;
}

void DocumentCache::clear() {
    d->entries.clear();
}

} // namespace gridgauge::markup
