#pragma once

// The drawings a delegate keeps, for each view it paints. An item view asks its delegate to paint
// every cell it shows on every repaint, and tells it nothing when a cell goes out of sight, so a
// delegate keeps, for each view, the drawings of the cells it painted (CellDrawings: bounded, each
// made for the text it was painted with, set aside for a cell of the same size to take up again).
// The grid's delegate and the markup delegate keep theirs here alike; the documents under them
// are shared by text with every view, and read through the one guard, markupDocument().

#include "cell_drawings.h"
#include "gridgauge/markup/markup.h"

#include <QModelIndex>
#include <QPalette>
#include <QString>
#include <QStyle>

#include <memory>
#include <unordered_map>

class QObject;
class QPainter;
class QStyleOptionViewItem;
class QWidget;

namespace gridgauge::gridkit::detail {

class DelegateDrawings {
public:
    // A view's drawings are dropped when it is destroyed; the connection lives as long as
    // context.
    explicit DelegateDrawings(const QObject* context);
    ~DelegateDrawings();
    DelegateDrawings(const DelegateDrawings&) = delete;
    DelegateDrawings& operator=(const DelegateDrawings&) = delete;

    // The drawing for the cell at index in view showing text, or null when the text is not
    // markup. Valid until the next call. size is the box it is about to be painted in.
    gridgauge::markup::Drawing* find(const QWidget* view, const QModelIndex& index,
                                     const QString& text, QSize size = {});
    // Every view's drawings, as after a change of what a caption is drawn as.
    void clear();
    // The cell at index in view was painted with its drawing while lying at rect (the item's
    // option's rectangle), and where it lies then: the drawing's links showed where its last
    // paint put them, and a cell that has moved since (a scroll that repainted only what came
    // into view) shows them moved with it.
    void setPainted(const QWidget* view, const QModelIndex& index, const QRect& rect);
    QRect painted(const QWidget* view, const QModelIndex& index) const;
    // As Drawing::paint, counted; direction is the view's, as the item's option carries it.
    static void paint(gridgauge::markup::Drawing& drawing, QPainter& painter, const QRectF& box,
                      const QFont& font, Qt::LayoutDirection direction,
                      const gridgauge::markup::HostStyle& host);
    // Layouts made by every delegate's drawings in this process: a repaint of unchanged cells
    // adds none.
    static quint64 layoutCount();

    // The colour group Qt's styles draw an item's text in for a state: disabled, inactive in a
    // window that is not active, else active.
    static QPalette::ColorGroup textGroup(QStyle::State state);
    // What the markup of a cell painted with option leaves to its host: text without a Foreground
    // in the colour Qt draws an item's text in there (text, or the palette's HighlightedText on a
    // selected cell), links without one in the palette's Link, both in textGroup(), and pictures
    // from resolver (null: the built-in policy). One style, kept and changed in place, so that a
    // paint allocates nothing for it; valid until the next call.
    const gridgauge::markup::HostStyle& host(const QStyleOptionViewItem& option, const QColor& text,
                                             gridgauge::markup::ImageResolver* resolver);

private:
    struct ViewCells;
    ViewCells& cellsOf(const QWidget* view);

    const QObject* context_;
    std::unordered_map<const QWidget*, std::unique_ptr<ViewCells>> views_;
    gridgauge::markup::HostStyle host_;
};

} // namespace gridgauge::gridkit::detail
