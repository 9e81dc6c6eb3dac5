#include "cell_drawings.h"

namespace gridgauge::gridkit::detail {

gridgauge::markup::DocumentCache& sharedDocuments() {
    static gridgauge::markup::DocumentCache documents(512);
    return documents;
}

namespace {

// A document begins with its root's tag, blanks aside: anything else is plain text, and need not
// take a place in the cache every view shares.
bool mayBeMarkup(const QString& text) {
    for (const QChar c : text) {
        if (!c.isSpace())
            return c == u'<';
    }
    return false;
}

} // namespace

gridgauge::markup::DocumentPtr markupDocument(const QString& text) {
    if (text.size() > kMaxMarkupLength || !mayBeMarkup(text))
        return nullptr;
    return sharedDocuments().find(text);
}

QString readableText(const QString& caption) {
    const gridgauge::markup::DocumentPtr document = markupDocument(caption);
    return document ? gridgauge::markup::textContent(*document) : caption;
}

gridgauge::markup::Drawing* CellDrawings::find(const CellKey& cell, const QString& caption,
                                               QSize size) {
    Entry* known = cells_.object(cell);
    if (known && known->caption == caption) {
        if (!size.isEmpty())
            known->size = size;
        return known->drawing.get();
    }
    if (known)
        setAside(*known);
    const size_t captionHash = qHash(caption);
    auto* made = new Entry{caption, takeUp({caption, size, captionHash}), size, {}, captionHash};
    if (!made->drawing) {
        if (gridgauge::markup::DocumentPtr document = markupDocument(caption))
            made->drawing = std::make_unique<gridgauge::markup::Drawing>(std::move(document));
    }
    gridgauge::markup::Drawing* drawing = made->drawing.get();
    cells_.insert(cell, made);
    return drawing;
}

void CellDrawings::setAside(Entry& entry) {
    if (entry.drawing && !entry.size.isEmpty())
        aside_.insert(AsideKey{entry.caption, entry.size, entry.captionHash},
                      entry.drawing.release());
}

std::unique_ptr<gridgauge::markup::Drawing> CellDrawings::takeUp(const AsideKey& key) {
    if (key.size.isEmpty())
        return nullptr;
    return std::unique_ptr<gridgauge::markup::Drawing>(aside_.take(key));
}

void CellDrawings::forget(const CellKey& cell) {
    if (Entry* known = cells_.object(cell))
        setAside(*known);
    cells_.remove(cell);
}

void CellDrawings::setPainted(const CellKey& cell, const QRect& rect) {
    if (Entry* known = cells_.object(cell))
        known->painted = rect;
}

QRect CellDrawings::painted(const CellKey& cell) const {
    const Entry* known = cells_.object(cell);
    return known ? known->painted : QRect();
}

void CellDrawings::clear() {
    cells_.clear();
    aside_.clear();
}

} // namespace gridgauge::gridkit::detail
