#pragma once

// Paints the grid: the group box band, the header, and the rows' cells through the cell
// painters. Only what lies in the dirty rectangle is visited, so the cost of a paint follows the
// size of what changed, not the number of records.

#include "cell_painters.h"

#include "gridgauge/gridkit/handles.h"

#include <QRect>

class QPainter;
class QWidget;

namespace gridkit {

class GridModel;

namespace detail {

struct ItemData;

class CellDrawings;
class GridGeometry;
class GridInput;
struct ViewSettings;

// What a paint reads: the view's parts, and the drawings its markup cells keep.
struct PaintSources {
    const GridModel& model;
    const GridGeometry& geometry;
    const GridInput& input;
    const ViewSettings& settings;
    const CellAddress& focus;
    CellDrawings& drawings;
};

class GridPainter {
public:
    // focused: the grid has keyboard focus; focusShown: its focus frame is to show (once keys
    // have moved or acted on the focused cell, until the next mouse press).
    GridPainter(const PaintSources& sources, const QWidget& surface, bool focused, bool focusShown);

    // dirtyOnScreen: the viewport's area to paint, as shown.
    void paint(QPainter& painter, const QRect& dirtyOnScreen) const;

private:
    QRect screen(const QRect& rect) const;
    void paintGroupBox(QPainter& painter) const;
    void paintHeader(QPainter& painter, const QRect& dirty) const;
    void paintHeaderSection(QPainter& painter, const QRect& rect, qint32 id, qint32 position) const;
    void paintRows(QPainter& painter, const QRect& body) const;
    void paintCell(QPainter& painter, const QRect& cell, qint32 row, qint32 columnId,
                   bool highlighted) const;
    void paintGridLines(QPainter& painter, const QRect& body, qint64 firstPosition,
                        qint64 lastPosition) const;
    void paintFocus(QPainter& painter) const;
    qint32 focusedButton(qint32 row, qint32 columnId) const;

    void paintCaption(QPainter& painter, const QRect& cell, const ItemData& data, qint32 row,
                      qint32 columnId, bool highlighted) const;

    const GridModel& model_;
    const GridGeometry& geometry_;
    const GridInput& input_;
    const ViewSettings& settings_;
    const CellAddress& focus_;
    CellDrawings& drawings_;
    const QWidget& surface_; // the viewport painted on
    bool focusShown_;        // the focus frame shows, on the focused cell or its button
    CellStyle look_;
};

} // namespace detail
} // namespace gridkit
