#include "delegate_drawings.h"

#include "cell_drawings.h"
#include "gridgauge/gridkit/markup_delegate.h"

#include <QObject>
#include <QWidget>

#include <atomic>

namespace gridkit::detail {

namespace {

std::atomic<quint64> layouts{0};

// A document begins with its root's tag, blanks aside: anything else is plain text, and need not
// take a place in the cache the grid's captions share.
bool mayBeMarkup(const QString& text) {
    for (const QChar c : text) {
        if (!c.isSpace())
            return c == u'<';
    }
    return false;
}

// More than any screen shows of one view, so that scrolling back and forth keeps what it showed.
constexpr int kCellsPerView = 4096;

} // namespace

markup::DocumentPtr markupDocument(const QString& text) {
    if (text.size() > MarkupDelegate::maxMarkupLength() || !mayBeMarkup(text))
        return nullptr;
    return sharedDocuments().find(text);
}

struct DelegateDrawings::ViewCells {
    QCache<QModelIndex, Entry> cells{kCellsPerView};
    QMetaObject::Connection gone;
};

DelegateDrawings::DelegateDrawings(const QObject* context)
    : context_(context) {}

DelegateDrawings::~DelegateDrawings() {
    for (const auto& [view, cells] : views_)
        QObject::disconnect(cells->gone);
}

DelegateDrawings::ViewCells& DelegateDrawings::cellsOf(const QWidget* view) {
    std::unique_ptr<ViewCells>& cells = views_[view];
    if (!cells) {
        cells = std::make_unique<ViewCells>();
        // A view made later at the same address must not find this one's drawings.
        if (view) {
            cells->gone = QObject::connect(view, &QObject::destroyed, context_,
                                           [this, view] { views_.erase(view); });
        }
    }
    return *cells;
}

markup::Drawing* DelegateDrawings::find(const QWidget* view, const QModelIndex& index,
                                        const QString& text) {
    QCache<QModelIndex, Entry>& cells = cellsOf(view).cells;
    if (const Entry* known = cells.object(index); known && known->text == text)
        return known->drawing.get();
    auto* made = new Entry{text, nullptr};
    if (markup::DocumentPtr document = markupDocument(text))
        made->drawing = std::make_unique<markup::Drawing>(std::move(document));
    markup::Drawing* drawing = made->drawing.get();
    cells.insert(index, made);
    return drawing;
}

void DelegateDrawings::paint(markup::Drawing& drawing, QPainter& painter, const QRectF& box,
                             const QFont& font, Qt::LayoutDirection direction) {
    const quint64 before = drawing.layoutCount();
    drawing.paint(painter, box, font, direction);
    layouts.fetch_add(drawing.layoutCount() - before, std::memory_order_relaxed);
}

quint64 DelegateDrawings::layoutCount() {
    return layouts.load(std::memory_order_relaxed);
}

} // namespace gridkit::detail
