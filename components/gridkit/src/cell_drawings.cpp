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

markup::Drawing* CellDrawings::find(qint32 row, qint32 columnId, const QString& caption) {
    if (const Entry* known = cells_.object(key(row, columnId)); known && known->caption == caption)
        return known->drawing.get();
    auto* made = new Entry{caption, nullptr};
    if (markup::DocumentPtr document = sharedDocuments().find(caption))
        made->drawing = std::make_unique<markup::Drawing>(std::move(document));
    markup::Drawing* drawing = made->drawing.get();
    cells_.insert(key(row, columnId), made);
    return drawing;
}

void CellDrawings::forget(qint32 row, qint32 columnId) {
    cells_.remove(key(row, columnId));
}

void CellDrawings::clear() {
    cells_.clear();
}

} // namespace gridkit::detail
