#pragma once

// Whether what a header or cell shows fits it: the width a column needs to show all of it whole
// (what a double click on its header divider sets), and the whole text of what shows cut off
// (what a tooltip tells). Both measure as painting lays out, so that a fitted column elides
// nothing and a tooltip shows only where painting elided.

#include <QRect>
#include <QString>
#include <QtGlobal>

#include <optional>

class QWidget;

namespace gridkit {

class GridModel;

namespace detail {

class CellDrawings;
class GridGeometry;
struct ViewSettings;

struct ContentSources {
    const GridModel& model;
    const GridGeometry& geometry;
    const ViewSettings& settings;
    CellDrawings& drawings;
    const QWidget& surface; // the viewport, whose style and font painting uses
};

// The width that shows the column's header caption and every row's cell whole, and never less
// than a user may drag a column to.
qint32 fittingWidth(const ContentSources& sources, qint32 columnId);

// The header caption, cell caption or button caption at a point of the geometry's layout when it
// shows cut off, with the rectangle it shows in; nothing where it shows whole or nothing is.
struct CutText {
    QString text;
    QRect area;
};
std::optional<CutText> cutTextAt(const ContentSources& sources, const QPoint& at);

} // namespace detail
} // namespace gridkit
