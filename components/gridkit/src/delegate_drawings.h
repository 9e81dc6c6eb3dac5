#pragma once

// The layouts a markup delegate keeps. An item view asks its delegate to paint every cell it
// shows on every repaint, and tells it nothing when a cell goes out of sight, so the delegate
// keeps, for each view it paints, the drawing of the cells it painted last (a bounded number),
// each made for the text it was painted with: a cell whose text is unchanged neither parses nor
// lays out again, and a cell whose text changed, or a key that now names another cell, gets a
// drawing made anew. The documents themselves are shared by text with the report grid.

#include "cell_drawings.h"
#include "gridgauge/markup/markup.h"

#include <QCache>
#include <QModelIndex>
#include <QString>

#include <memory>
#include <unordered_map>

class QObject;
class QPainter;
class QWidget;

namespace gridkit::detail {

class DelegateDrawings {
public:
    // A view's drawings are dropped when it is destroyed; the connection lives as long as
    // context.
    explicit DelegateDrawings(const QObject* context);
    ~DelegateDrawings();
    DelegateDrawings(const DelegateDrawings&) = delete;
    DelegateDrawings& operator=(const DelegateDrawings&) = delete;

    // The drawing for the cell at index in view showing text, or null when the text is not
    // markup. Valid until the next call.
    markup::Drawing* find(const QWidget* view, const QModelIndex& index, const QString& text);
    // As Drawing::paint, counted; direction is the view's, as the item's option carries it.
    static void paint(markup::Drawing& drawing, QPainter& painter, const QRectF& box,
                      const QFont& font, Qt::LayoutDirection direction);
    // Layouts made by every delegate's drawings in this process: a repaint of unchanged cells
    // adds none.
    static quint64 layoutCount();

private:
    struct Entry {
        QString text;                             // what it was made for
        std::unique_ptr<markup::Drawing> drawing; // null: not markup
    };
    struct ViewCells;
    ViewCells& cellsOf(const QWidget* view);

    const QObject* context_;
    std::unordered_map<const QWidget*, std::unique_ptr<ViewCells>> views_;
};

} // namespace gridkit::detail
