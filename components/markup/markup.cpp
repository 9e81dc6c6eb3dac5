#include "markup.h"

#include "document.h"
#include "layout.h"
#include "painter.h"
#include "parser.h"

#include <QCache>
#include <QPainter>

#include <atomic>
#include <cmath>

namespace markup {

namespace {
std::atomic<quint64> parses{0};
} // namespace

DocumentPtr parse(QStringView text) {
    parses.fetch_add(1, std::memory_order_relaxed);
    return parseDocument(text);
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
        for (int r = e.firstRun; r < e.firstRun + e.runCount; ++r)
            text.append(document.runs[size_t(r)].text);
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

void render(QPainter& painter, const Document& document, const QRectF& box, const QFont& font) {
    if (!usable(box))
        return;
    paintLayout(painter, document, layOut(document, box.size(), font), box.topLeft());
}

Drawing::Drawing(DocumentPtr document)
    : document_(std::move(document)) {}
Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

void Drawing::paint(QPainter& painter, const QRectF& box, const QFont& font) {
    if (!document_ || !usable(box))
        return;
    if (!layout_ || layout_->size != box.size() || layout_->font != font) {
        layout_ = std::make_unique<const LayoutResult>(layOut(*document_, box.size(), font));
        ++layouts_;
    }
    paintLayout(painter, *document_, *layout_, box.topLeft());
}

QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font) {
    QList<ElementBox> boxes;
    const QSizeF area(
        std::clamp(std::isfinite(size.width()) ? size.width() : 0.0, 0.0, kMaxLength),
        std::clamp(std::isfinite(size.height()) ? size.height() : 0.0, 0.0, kMaxLength));
    const LayoutResult layout = layOut(document, area, font);
    boxes.reserve(qsizetype(document.elements.size()));
    for (size_t i = 0; i < document.elements.size(); ++i) {
        const Element& e = document.elements[i];
        const ElementLayout& l = layout.elements[i];
        boxes.append(
            {e.kind, l.depth, l.bounds, e.kind == ElementKind::TextBlock ? l.line : QRectF()});
    }
    return boxes;
}

struct DocumentCache::Impl {
    struct Entry {
        DocumentPtr document; // null for a text that is not markup
    };
    explicit Impl(int capacity)
        : entries(std::max(1, capacity)) {}
    QCache<QString, Entry> entries; // least recently used go first
    quint64 parses = 0;
};

DocumentCache::DocumentCache(int capacity)
    : impl_(std::make_unique<Impl>(capacity)) {}

DocumentCache::~DocumentCache() = default;

DocumentPtr DocumentCache::find(const QString& text) {
    if (const Impl::Entry* entry = impl_->entries.object(text))
        return entry->document;
    ++impl_->parses;
    DocumentPtr document = parse(text);
    impl_->entries.insert(text, new Impl::Entry{document});
    return document;
}

quint64 DocumentCache::parseCount() const {
    return impl_->parses;
}

void DocumentCache::clear() {
    impl_->entries.clear();
}

} // namespace markup
