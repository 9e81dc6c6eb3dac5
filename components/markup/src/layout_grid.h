#pragma once

// The Grid's measure and arrange: cells in pixel, Auto and star columns and rows, spans. Cells
// are measured in four groups so that star tracks are shared out only once the tracks they
// depend on are known: neither axis star, then star rows in Auto or pixel columns, then star
// columns, then both axes star.

#include "grid_tracks.h"

#include <QRectF>
#include <QSizeF>

#include <vector>

namespace gridgauge::markup::layout {

class Pass;

class GridLayout {
public:
    explicit GridLayout(int grid)
        : grid_(grid) {}

    QSizeF measure(Pass& pass, const QSizeF& available);
    void arrange(Pass& pass, const QRectF& box);

private:
    struct Cell {
        int child;
        int column, columnSpan, row, rowSpan;
        quint8 typesU, typesV; // Tracks::Type flags of the columns and rows it spans
        int group;
    };
    struct Span {
        bool columns;
        int start, count;
        double size;
    };
    // What cells the Grid holds, which decides the order its groups are measured in.
    struct Groups {
        bool starColumns = false;
        bool starRows = false;
        bool starColumnsInAutoRows = false; // group 3 has a cell in an Auto row
        bool starRowsInAutoColumns = false; // group 2 has a cell
    };

    void resetTracks(Pass& pass, const QSizeF& available);
    void placeCells(Pass& pass);
    void addCell(const Element& child, int c);
    void resolveStarColumns(double width);
    void resolveStarRows(double height);
    void measureUntilWidthsSettle(Pass& pass, const QSizeF& available);

    // Measures the cells of one group; returns whether any changed its desired width.
    bool measureGroup(Pass& pass, int group, bool ignoreWidths, bool infiniteHeight);
    void measureCell(Pass& pass, const Cell& cell, bool infiniteHeight);
    std::vector<double> cachedMins(int group, bool rows) const;
    void restoreMins(const std::vector<double>& mins, bool rows);

    int grid_;
    Tracks columns_, rows_;
    std::vector<Cell> cells_;
    Groups groups_;
    std::vector<Span> spans_; // scratch
};

} // namespace gridgauge::markup::layout
