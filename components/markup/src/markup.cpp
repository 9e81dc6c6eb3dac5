#include "gridgauge/markup/markup.h"

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

void render(QPainter& painter, const Document& document, const QRectF& box, const QFont& font) {
    if (!usable(box))
        return;
    const FontEngineMeasurer measurer(painter.device());
    paintLayout(painter, document, layOut(document, box.size(), font, measurer), box.topLeft());
}

Drawing::Drawing(DocumentPtr document)
    : document_(std::move(document)) {}
Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

void Drawing::paint(QPainter& painter, const QRectF& box, const QFont& font) {
    if (!document_ || !usable(box))
        return;
    const FontEngineMeasurer measurer(painter.device());
    if (!layout_ || layout_->size != box.size() || layout_->font != font ||
        layout_->dotsPerInch != measurer.dotsPerInch()) {
        layout_ =
            std::make_unique<const LayoutResult>(layOut(*document_, box.size(), font, measurer));
        ++layouts_;
    }
    paintLayout(painter, *document_, *layout_, box.topLeft());
}

QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font) {
    return layoutBoxes(document, size, font, FontEngineMeasurer());
}

QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font,
                              const TextMeasurer& measurer) {
    QList<ElementBox> boxes;
    const QSizeF area(
        std::clamp(std::isfinite(size.width()) ? size.width() : 0.0, 0.0, kMaxLength),
        std::clamp(std::isfinite(size.height()) ? size.height() : 0.0, 0.0, kMaxLength));
    const LayoutResult layout = layOut(document, area, font, measurer);
    boxes.reserve(qsizetype(document.elements.size()));
    for (size_t i = 0; i < document.elements.size(); ++i) {
        const ElementLayout& l = layout.elements[i];
        ElementBox box{document.elements[i].kind, l.depth, l.bounds, l.clip, {}, {}};
        for (int k = l.firstLine; k < l.firstLine + l.lineCount; ++k) {
            const TextLine& line = layout.lines[size_t(k)];
            TextLineBox lineBox{line.rect, {}};
            for (int f = line.firstFragment; f < line.firstFragment + line.fragmentCount; ++f)
                lineBox.text.append(layout.fragments[size_t(f)].text);
            box.text |= line.rect;
            box.lines.append(lineBox);
        }
        boxes.append(box);
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
