#pragma once

// One layout of a document: what every element shares whatever its kind (visibility, margin,
// Width and Height with their limits, alignment in its slot, the layout clip) lives in Pass; what
// a kind does with its content lives in that kind's measure and arrange pair.

#include "layout.h"
#include "layout_grid.h"

#include <QRectF>
#include <QSizeF>

#include <vector>

namespace markup::layout {

class Pass {
public:
    Pass(const Document& document, const TextMeasurer& measurer, LayoutResult& out);

    // Measures the root within area, then arranges it in area.
    void run(const QSizeF& area);
    // Measures the root within available only; returns what it wants.
    QSizeF measureRoot(const QSizeF& available);

    // Measures e within available (its margin included) and returns its desired size, margin
    // included and never more than available. Measuring again with the same offer does nothing.
    QSizeF measure(int e, const QSizeF& available);
    // Places e in slot (area coordinates), then its content within its own box.
    void arrange(int e, const QRectF& slot);

    const Document& document() const { return d_; }
    const Element& element(int e) const { return d_.elements[size_t(e)]; }
    QSizeF desired(int e) const { return state_[size_t(e)].desired; }
    const TextMeasurer& measurer() const { return measurer_; }
    LayoutResult& result() { return out_; }
    GridLayout& grid(int e) { return grids_[size_t(state_[size_t(e)].grid)]; }
    // TextBlock: the width its lines were last laid out for.
    double& linesWidth(int e) { return state_[size_t(e)].linesWidth; }
    // Image: its picture's own size, asked of the resolver once per source and layout.
    QSizeF naturalSize(int e);

    template <typename F> void forChildren(int e, F f) const {
        for (int c = element(e).firstChild; c >= 0; c = element(c).nextSibling)
            f(c);
    }

private:
    struct State {
        QSizeF available{-1, -1}; // the last offer
        QSizeF desired{0, 0};     // margin included, clipped to the offer
        QSizeF unclipped{0, 0};   // margin excluded, before Max and the offer cut it
        bool measured = false;
        int grid = -1;
        double linesWidth = -1;
    };

    QSizeF measureContent(int e, const QSizeF& available);
    void arrangeContent(int e, const QRectF& box);

    const Document& d_;
    const TextMeasurer& measurer_;
    LayoutResult& out_;
    std::vector<State> state_;
    std::vector<GridLayout> grids_;
    QRectF area_;
    // A Grid may measure a child more than once with different offers, and nested Grids would
    // multiply that; past this many repeats an element keeps the size it last measured.
    size_t remeasures_ = 0;
    size_t remeasureBudget_ = 0;
};

// One measure and arrange pair per element kind. measure gets the room the element's margin and
// size limits leave and returns the size its content wants; arrange gets the element's own box
// (area coordinates) and places its content in it.
QSizeF measureBorder(Pass& pass, int e, const QSizeF& available);
void arrangeBorder(Pass& pass, int e, const QRectF& box);
QSizeF measureStackPanel(Pass& pass, int e, const QSizeF& available);
void arrangeStackPanel(Pass& pass, int e, const QRectF& box);
QSizeF measureTextBlock(Pass& pass, int e, const QSizeF& available);
void arrangeTextBlock(Pass& pass, int e, const QRectF& box);
QSizeF measureShape(Pass& pass, int e, const QSizeF& available);
void arrangeShape(Pass& pass, int e, const QRectF& box);
QSizeF measureWrapPanel(Pass& pass, int e, const QSizeF& available);
void arrangeWrapPanel(Pass& pass, int e, const QRectF& box);
QSizeF measureDockPanel(Pass& pass, int e, const QSizeF& available);
void arrangeDockPanel(Pass& pass, int e, const QRectF& box);
QSizeF measureCanvas(Pass& pass, int e, const QSizeF& available);
void arrangeCanvas(Pass& pass, int e, const QRectF& box);
// An Image arranges no content; it draws its picture at the size its arrangement leaves, which
// may be smaller than its box.
QSizeF measureImage(Pass& pass, int e, const QSizeF& available);
QSizeF arrangedImageSize(Pass& pass, int e, const QSizeF& size);

} // namespace markup::layout
