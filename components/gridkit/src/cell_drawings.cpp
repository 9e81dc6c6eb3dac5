#include "cell_drawings.h"

namespace gridkit::detail {

markup::DocumentCache& sharedDocuments() {
    static markup::DocumentCache documents(512);
    return documents;
}

QString readableText(const QString& caption) {
    if (caption.isEmpty())
        return caption;
    const markup::DocumentPtr document = sharedDocuments().find(caption);
    return document ? markup::textContent(*document) : caption;
}

markup::Drawing* CellDrawings::find(qint32 row, qint32 columnId, const QString& caption,
                                    QSize size) {
    const quint64 cell = key(row, columnId);
    Entry* known = cells_.object(cell);
    if (known && known->caption == caption) {
        if (!size.isEmpty())
            known->size = size;
        return known->drawing.get();
    }
    if (known)
        setAside(*known);
    const size_t captionHash = qHash(caption);
    auto* made = new Entry{caption, takeUp({caption, size, captionHash}), size, captionHash};
    if (!made->drawing) {
        if (markup::DocumentPtr document = sharedDocuments().find(caption))
            made->drawing = std::make_unique<markup::Drawing>(std::move(document));
    }
    markup::Drawing* drawing = made->drawing.get();
    cells_.insert(cell, made);
    return drawing;
}

void CellDrawings::setAside(Entry& entry) {
    if (entry.drawing && !entry.size.isEmpty())
        aside_.insert(AsideKey{entry.caption, entry.size, entry.captionHash},
                      entry.drawing.release());
}

std::unique_ptr<markup::Drawing> CellDrawings::takeUp(const AsideKey& key) {
    if (key.size.isEmpty())
        return nullptr;
    return std::unique_ptr<markup::Drawing>(aside_.take(key));
}

void CellDrawings::forget(qint32 row, qint32 columnId) {
    if (Entry* known = cells_.object(key(row, columnId)))
        setAside(*known);
    cells_.remove(key(row, columnId));
}

void CellDrawings::clear() {
    cells_.clear();
    aside_.clear();
}

} // namespace gridkit::detail
