#include "delegate_drawings.h"

#include <QObject>
#include <QStyleOptionViewItem>
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

void DelegateDrawings::setPainted(const QWidget* view, const QModelIndex& index,
                                  const QRect& rect) {
    cellsOf(view).cells.setPainted(CellKey::of(index), rect);
}

QRect DelegateDrawings::painted(const QWidget* view, const QModelIndex& index) const {
    const auto it = views_.find(view);
    return it == views_.end() ? QRect() : it->second->cells.painted(CellKey::of(index));
}

void DelegateDrawings::paint(gridgauge::markup::Drawing& drawing, QPainter& painter,
                             const QRectF& box, const QFont& font, Qt::LayoutDirection direction,
                             const gridgauge::markup::HostStyle& host) {
    const quint64 before = drawing.layoutCount();
    drawing.paint(painter, box, font, direction, host);
    layouts.fetch_add(drawing.layoutCount() - before, std::memory_order_relaxed);
}

quint64 DelegateDrawings::layoutCount() {
    return layouts.load(std::memory_order_relaxed);
}

QPalette::ColorGroup DelegateDrawings::textGroup(QStyle::State state) {
    if (!(state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return (state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

const gridgauge::markup::HostStyle&
DelegateDrawings::host(const QStyleOptionViewItem& option, const QColor& text,
                       gridgauge::markup::ImageResolver* resolver) {
    const QPalette::ColorGroup group = textGroup(option.state);
    const QColor shown = (option.state & QStyle::State_Selected)
                             ? option.palette.color(group, QPalette::HighlightedText)
                             : text;
    const QColor link = option.palette.color(group, QPalette::Link);
    // Set only what changed: a style shared with no one is changed in place.
    if (host_.textColor() != shown)
        host_.setTextColor(shown);
    if (host_.linkColor() != link)
        host_.setLinkColor(link);
    if (host_.imageResolver() != resolver)
        host_.setImageResolver(resolver);
    return host_;
}

} // namespace gridgauge::gridkit::detail
