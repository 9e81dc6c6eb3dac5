#include "layout_grid.h"

#include "layout_pass.h"

#include <algorithm>
#include <cmath>

namespace gridgauge::markup::layout {
namespace {

// After the group of star rows in Auto columns is measured, it and the group of star columns
// may depend on each other; this many rounds settle any real caption.
constexpr int kMaxRounds = 5;

bool has(quint8 types, Tracks::Type type) {
    return (types & type) != 0;
}

} // namespace

QSizeF GridLayout::measure(Pass& pass, const QSizeF& available) {
    resetTracks(pass, available);
    placeCells(pass);
    measureGroup(pass, 1, false, false);
    if (!groups_.starColumnsInAutoRows) {
        resolveStarRows(available.height());
        measureGroup(pass, 2, false, false);
        resolveStarColumns(available.width());
        measureGroup(pass, 3, false, false);
    } else if (!groups_.starRowsInAutoColumns) {
        resolveStarColumns(available.width());
        measureGroup(pass, 3, false, false);
        resolveStarRows(available.height());
    } else {
        measureUntilWidthsSettle(pass, available);
    }
    measureGroup(pass, 4, false, false);
    return {columns_.desiredSize(), rows_.desiredSize()};
}

// In a measure without bound along an axis, star tracks size to content like Auto ones.
void GridLayout::resetTracks(Pass& pass, const QSizeF& available) {
    const Document& d = pass.document();
    const Element& grid = pass.element(grid_);
    columns_.reset(d.definitions.data() + grid.firstColumn, grid.columnCount,
                   std::isinf(available.width()));
    rows_.reset(d.definitions.data() + grid.firstRow, grid.rowCount,
                std::isinf(available.height()));
}

void GridLayout::placeCells(Pass& pass) {
    cells_.clear();
    groups_ = {};
    pass.forChildren(grid_, [&](int c) { addCell(pass.element(c), c); });
    groups_.starRowsInAutoColumns =
        std::any_of(cells_.begin(), cells_.end(), [](const Cell& cell) { return cell.group == 2; });
}

// The tracks a child spans, cut at the last, and the group it is measured in.
void GridLayout::addCell(const Element& child, int c) {
    Cell cell{c, 0, 1, 0, 1, 0, 0, 0};
    cell.column = std::min(child.column, columns_.count() - 1);
    cell.columnSpan = std::min(child.columnSpan, columns_.count() - cell.column);
    cell.row = std::min(child.row, rows_.count() - 1);
    cell.rowSpan = std::min(child.rowSpan, rows_.count() - cell.row);
    cell.typesU = columns_.typesOf(cell.column, cell.columnSpan);
    cell.typesV = rows_.typesOf(cell.row, cell.rowSpan);
    const bool starU = has(cell.typesU, Tracks::Star);
    const bool starV = has(cell.typesV, Tracks::Star);
    groups_.starColumns |= starU;
    groups_.starRows |= starV;
    if (!starV) {
        cell.group = starU ? 3 : 1;
        groups_.starColumnsInAutoRows |= starU && has(cell.typesV, Tracks::Auto);
    } else {
        // A cell that spans a star column is not sized to content, even with an Auto one.
        cell.group = has(cell.typesU, Tracks::Auto) && !starU ? 2 : 4;
    }
    cells_.push_back(cell);
}

void GridLayout::resolveStarColumns(double width) {
    if (groups_.starColumns)
        columns_.resolveStars(width);
}

void GridLayout::resolveStarRows(double height) {
    if (groups_.starRows)
        rows_.resolveStars(height);
}

// Star rows in Auto columns wait for the star columns, whose Auto rows wait for them: measure
// the first with unbounded height, then go round until widths stop changing.
void GridLayout::measureUntilWidthsSettle(Pass& pass, const QSizeF& available) {
    const std::vector<double> mins2 = cachedMins(2, false);
    const std::vector<double> mins3 = cachedMins(3, true);
    measureGroup(pass, 2, false, true);
    bool widthsChanged = false;
    int round = 0;
    do {
        if (widthsChanged)
            restoreMins(mins3, true);
        resolveStarColumns(available.width());
        measureGroup(pass, 3, false, false);
        restoreMins(mins2, false);
        resolveStarRows(available.height());
        widthsChanged = measureGroup(pass, 2, round == kMaxRounds, false);
    } while (widthsChanged && ++round <= kMaxRounds);
}

void GridLayout::measureCell(Pass& pass, const Cell& cell, bool infiniteHeight) {
    const bool autoU = has(cell.typesU, Tracks::Auto) && !has(cell.typesU, Tracks::Star);
    const bool autoV = has(cell.typesV, Tracks::Auto) && !has(cell.typesV, Tracks::Star);
    const double width = autoU ? kInfinity : columns_.measureSizeOf(cell.column, cell.columnSpan);
    const double height =
        infiniteHeight || autoV ? kInfinity : rows_.measureSizeOf(cell.row, cell.rowSpan);
    pass.measure(cell.child, QSizeF(width, height));
}

bool GridLayout::measureGroup(Pass& pass, int group, bool ignoreWidths, bool infiniteHeight) {
    bool widthsChanged = false;
    spans_.clear();
    auto need = [&](Tracks& tracks, bool columns, int start, int count, double size) {
        if (count == 1)
            tracks.growMin(start, std::min(size, tracks.userMax(start)));
        else
            spans_.push_back({columns, start, count, size});
    };
    for (const Cell& cell : cells_) {
        if (cell.group != group)
            continue;
        const double before = pass.desired(cell.child).width();
        measureCell(pass, cell, infiniteHeight);
        const QSizeF desired = pass.desired(cell.child);
        widthsChanged |= std::abs(before - desired.width()) > 1e-9 * std::max(1.0, before);
        if (!ignoreWidths)
            need(columns_, true, cell.column, cell.columnSpan, desired.width());
        if (!infiniteHeight)
            need(rows_, false, cell.row, cell.rowSpan, desired.height());
    }
    // Cells spanning the same tracks ask once, for the most any of them needs; narrow spans
    // first, so that the wider ones find what those settled already in place.
    std::sort(spans_.begin(), spans_.end(), [](const Span& a, const Span& b) {
        if (a.count != b.count)
            return a.count < b.count;
        if (a.start != b.start)
            return a.start < b.start;
        return a.columns != b.columns ? a.columns : a.size > b.size;
    });
    for (size_t i = 0; i < spans_.size(); ++i) {
        const Span& span = spans_[i];
        if (i > 0 && spans_[i - 1].columns == span.columns && spans_[i - 1].start == span.start &&
            spans_[i - 1].count == span.count)
            continue; // the first of its kind asked for the most
        (span.columns ? columns_ : rows_).ensureMinSize(span.start, span.count, span.size);
    }
    return widthsChanged;
}

// The minimum sizes of the tracks where the group's cells start, to measure the group afresh.
std::vector<double> GridLayout::cachedMins(int group, bool rows) const {
    const Tracks& tracks = rows ? rows_ : columns_;
    std::vector<double> mins(size_t(tracks.count()), -1);
    for (const Cell& cell : cells_) {
        if (cell.group == group) {
            const int i = rows ? cell.row : cell.column;
            mins[size_t(i)] = tracks.minSize(i);
        }
    }
    return mins;
}

void GridLayout::restoreMins(const std::vector<double>& mins, bool rows) {
    Tracks& tracks = rows ? rows_ : columns_;
    for (size_t i = 0; i < mins.size(); ++i) {
        if (mins[i] >= 0)
            tracks.setMinSize(int(i), mins[i]);
    }
}

void GridLayout::arrange(Pass& pass, const QRectF& box) {
    columns_.arrange(box.width());
    rows_.arrange(box.height());
    for (const Cell& cell : cells_) {
        pass.arrange(cell.child, QRectF(box.x() + columns_.offsetOf(cell.column),
                                        box.y() + rows_.offsetOf(cell.row),
                                        columns_.finalSizeOf(cell.column, cell.columnSpan),
                                        rows_.finalSizeOf(cell.row, cell.rowSpan)));
    }
}

} // namespace gridgauge::markup::layout
