#include "delegate_drawings.h"

#include <QObject>
#include <QWidget>

#include <atomic>

namespace gridgauge::gridkit::detail {

namespace {

std::atomic<quint64> layouts{0};

} // namespace

struct DelegateDrawings::ViewCells {
    CellDrawings cells;
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

gridgauge::markup::Drawing* DelegateDrawings::find(const QWidget* view, const QModelIndex& index,
                                                   const QString& text, QSize size) {
    return cellsOf(view).cells.find(CellKey::of(index), text, size);
}

void DelegateDrawings::clear() {
    for (const auto& [view, cells] : views_)
        cells->cells.clear();
}

void DelegateDrawings::paint(gridgauge::markup::Drawing& drawing, QPainter& painter,
                             const QRectF& box, const QFont& font, Qt::LayoutDirection direction) {
    const quint64 before = drawing.layoutCount();
    drawing.paint(painter, box, font, direction);
    layouts.fetch_add(drawing.layoutCount() - before, std::memory_order_relaxed);
}

quint64 DelegateDrawings::layoutCount() {
    return layouts.load(std::memory_order_relaxed);
}

} // namespace gridgauge::gridkit::detail
