#pragma once

// GridKit.ReportGrid: a report view of columns, records and rows that paints itself.
//
// Object model. The grid owns every column, record, item, row and item control. What it hands out
// are small value handles that refer to them without owning them: copying a handle is cheap, and a
// handle whose object is gone is refused with host::RuntimeError instead of dangling:
//   - a Row from before the latest rebuild() throws 91 (object variable not set);
//   - any handle whose grid was destroyed throws 91;
//   - a row number, item index, column position or control position that does not exist throws 9
//     (subscript out of range).
// A member with a fixed dispatch number in the component's contract names it in brackets, [n].

#include "gridkit/handles.h"

#include <QAbstractScrollArea>

#include <memory>
#include <optional>

namespace gridkit {

class ReportGrid;

namespace detail {
struct GridCore;
GridCore& coreOf(const ReportGrid& grid);
} // namespace detail

// Appearance settings, reached through ReportGrid::appearance() [16].
class Appearance {
public:
    // [7] Header style: 4 draws the column headers with the platform style; other values draw
    // them flat. Values outside 0..4 throw 380.
    void setHeaderStyle(qint32 style);
    qint32 headerStyle() const;
    // [51] Check boxes and item buttons drawn by the platform style (true) or flat (false).
    void setThemedControls(bool themed);
    bool themedControls() const;
    // [14] Colour of the area below the last row, as a host colour value (fixed 0x00BBGGRR, or a
    // 0x800000nn system colour that follows the palette); an invalid value throws 380.
    void setBelowRowsColor(quint32 color);
    quint32 belowRowsColor() const;
    // [38] The focused row is shown highlighted.
    void setHighlightFocusedRow(bool highlight);
    bool highlightFocusedRow() const;

private:
    friend class ReportGrid;
    explicit Appearance(detail::CoreRef core);
    detail::CoreRef core_;
};

class ReportGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ReportGrid(QWidget* parent = nullptr);
    ~ReportGrid() override;

    Appearance appearance(); // [16]
    ColumnList columns();    // [13]
    RecordList records();    // [14]
    RowList rows();          // [18]

    // [15] Rebuilds the rows from the records (row n shows record n) and shows the captions.
    // Rows handed out before are stale afterwards. Linear in the number of records.
    void rebuild();
    // [17] Redraws the view.
    void redraw();

    // [30] What lies under (x, y), grid-client pixels. Nothing when the point is outside the grid's
    // client area; otherwise a result whose column, row and item are each present or not.
    std::optional<HitTestInfo> hitTest(qint32 x, qint32 y) const;

    // [89] Captions written in the markup vocabulary are rendered; any other caption is text.
    void setMarkupEnabled(bool enabled);
    bool markupEnabled() const;
    // [71] The group box above the header is shown (it holds no groups: rows never regroup).
    void setGroupBoxVisible(bool visible);
    bool groupBoxVisible() const;
    // [70] Columns may be reordered by dragging their headers. Reordering moves only where a
    // column is shown: column k still shows item k and keeps its index.
    void setColumnReorderAllowed(bool allowed);
    bool columnReorderAllowed() const;
    // [27] A header click sorts the view by that column. Sorting changes only the order in which
    // rows are painted; row n is still record n.
    void setSortOnHeaderClick(bool sort);
    bool sortOnHeaderClick() const;
    // [55] Focus moves by cell, shown by a focus rectangle and moved with the arrow keys;
    // otherwise it moves by row.
    void setCellFocus(bool byCell);
    bool cellFocus() const;
    // [29] Grid lines are drawn between rows and columns.
    void setGridLinesVisible(bool visible);
    bool gridLinesVisible() const;

    // Geometry, in device-independent pixels of the grid's client area.
    int headerHeight() const;
    int rowHeight() const;

    QSize sizeHint() const override;

signals:
    // [15] The user toggled the check box of an item.
    void itemCheck(gridkit::Row row, gridkit::Item item);
    // [17] The view's scroll offset changed: cells moved on screen, no column changed.
    void viewScrolled();
    // [21] The mouse moved over the grid, or anywhere while a button pressed in the grid is held.
    // Button bits: 1 left, 2 right, 4 middle. Shift bits: 1 shift, 2 ctrl, 4 alt.
    void mouseMoved(qint16 button, qint16 shift, qint32 x, qint32 y);
    // [22] A mouse button went down in the grid (each press of a double click).
    void mousePressed(qint16 button, qint16 shift, qint32 x, qint32 y);
    // [59] A column's width changed, by the user or by code.
    void columnWidthChanged(gridkit::Column column, qint32 previousWidth, qint32 newWidth);
    // [61] An item button was clicked (pressed and released on the same button).
    void itemButtonClicked(gridkit::Row row, gridkit::Item item, gridkit::ItemControl control);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend detail::GridCore& detail::coreOf(const ReportGrid& grid);
    std::shared_ptr<detail::GridCore> core_;
};

// Registers "GridKit.ReportGrid" with the host's control registry.
void registerControls();

} // namespace gridkit
