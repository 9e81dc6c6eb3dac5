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
#include <QString>

#include <memory>
#include <unordered_map>

class QObject;
class QPainter;
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
    // As Drawing::paint, counted; direction is the view's, as the item's option carries it.
    static void paint(gridgauge::markup::Drawing& drawing, QPainter& painter, const QRectF& box,
                      const QFont& font, Qt::LayoutDirection direction);
    // Layouts made by every delegate's drawings in this process: a repaint of unchanged cells
    // adds none.
    static quint64 layoutCount();

private:
    struct ViewCells;
    ViewCells& cellsOf(const QWidget* view);

    const QObject* context_;
    std::unordered_map<const QWidget*, std::unique_ptr<ViewCells>> views_;
};

} // namespace gridgauge::gridkit::detail
