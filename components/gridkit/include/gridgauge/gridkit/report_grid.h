#pragma once

/// @file
/// GridKit.ReportGrid: a report view of columns, records and rows that paints itself.
///
/// Object model. The grid owns every column, record, item, row and item control. What it hands out
/// are small value handles that refer to them without owning them: copying a handle is cheap, and a
/// handle whose object is gone is refused with host::RuntimeError instead of dangling:
///   - a Row from before the latest rebuild() throws 91 (object variable not set);
///   - any handle whose grid was destroyed throws 91;
///   - a row number, item index, column position or control position that does not exist throws 9
///     (subscript out of range).
/// A member with a fixed dispatch number in the component's contract names it in brackets, [n].
/// Handles, like the widget, belong to the GUI thread.
///
/// Geometry. The grid has no frame and no margins. All its coordinates (mouse events, hit test,
/// item bounds, cellRect() and the rest) are device-independent pixels of the grid widget itself,
/// so that a host lays widgets over cells by item bounds alone; the cells show in its viewport,
/// which is all of it but the scroll bars. From the top: the group box when shown, the header row,
/// then the rows, all of rowHeight() (at least 20, and tall enough for the font and a check box).
/// Columns run in the order they were added (or the user's order, see [70]), each exactly as wide
/// as its width, from the reading side, as Qt's views follow layoutDirection(): left to right from
/// the viewport's left edge, right to left from its right edge. Scroll bars, when the content does
/// not fit, take space at the bottom and at the far side: the right, or the left right to left.
/// Right to left everything in the grid is mirrored: header, cells, check boxes, buttons, lines,
/// focus, the hit test, the arrow keys, and a column's divider, which is then its left edge.
///
/// Cells. A plain caption is drawn in the cell less 2 pixels either side, vertically centred,
/// aligned to the reading side, elided with "…". With markup on [89], a caption that the markup
/// engine reads is laid out in the cell less 2 pixels either side and 1 pixel top and bottom. A
/// check-box item shows the indicator at the cell's reading side and its caption after it. An item
/// with buttons is all buttons: they share its width evenly, each less 1 pixel all round, and cover
/// any caption or check box. Grid lines [29] take the far pixel column (the right one, left to
/// right) and the last row of each cell, inside its bounds.
///
/// Mouse. Every press in the grid raises mousePressed first, the second press of a double click
/// included; only then does the grid act on it, and only for the left button: a press on a check
/// box's indicator toggles it and raises itemCheck; a press on an enabled button shows it pressed
/// while the button is held on it, and a release on the same button raises itemButtonClicked; a
/// press on a resizable column's header edge (3 pixels either side) drags its width, down to
/// Column::MinimumUserWidth, and a double click there fits the column to its content (the header
/// caption and every cell whole), raising columnWidthChanged as a drag does. A press on a cell
/// focuses it, without scrolling. Moves over the grid,
/// and anywhere while a button pressed in it is held, raise mouseMoved. Button states are the
/// buttons held after the event. Everything is emitted directly, before the call returns.
///
/// Paint. The grid repaints what changed and nothing else: a caption write repaints its cell (and
/// nothing when the caption is what it was), a width change the columns from that one on, a focus
/// move the two rows concerned; rebuild() repaints everything only when it added rows or the sort
/// order changed. Painting visits only the rows and cells in the dirty area, a markup caption is
/// parsed at its first paint (a text seen before not even then) and laid out again only when its
/// cell's size or the font changes, and nothing repaints by itself once the view is settled.
///
/// Tooltips. A header says what a click on it does: its column's tooltip [21], while a click sorts
/// [27]. Otherwise a header, a plain caption or a button tells nothing unless it shows cut off, and
/// then shows its whole text.
///
/// Accessibility. Assistive technology meets the grid as a table of its cells, and follows the
/// focus to what the user meets in the focused cell: the button Space presses; else a widget laid
/// over the cell, which the table shows as the cell's child (any sibling widget in front of the
/// grid that shows at the cell's centre, as a host lays a control over a cell); else the cell.
/// A check box cell toggles by Qt's action name and by AT-SPI's, "toggle". What a cell of the
/// focused row reads anew is shown as a notification, which screen readers speak.
///
/// Views and models. A grid makes its own model, or shares another grid's (sharedModel()): the
/// model holds the data (columns, records, items, rows, sort order), and every grid over it keeps
/// its own column widths and order, settings, focus and scroll position, and repaints what the
/// model's changes touch in it.
///
/// The parts (private to GridKit): the object model (grid_model.h, no widget in it), which the
/// widget observes; geometry; input, which tells the grid what the user did; painting through
/// small cell painters; the markup drawings each cell keeps; accessibility.

#include "gridgauge/gridkit/grid_model.h"
#include "gridgauge/gridkit/gridkit_export.h"
#include "gridgauge/gridkit/handles.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QRegion>

#include <memory>
#include <optional>

class QHelpEvent;

namespace gridkit {

namespace detail {
class CellDrawings;
struct ContentSources;
class GridGeometry;
class GridInput;
struct ViewSettings;
} // namespace detail

class ReportGrid;

/// Appearance settings, reached through ReportGrid::appearance() [16]. Each goes to the grid's
/// setter of the same name; once the grid is gone, each call throws 91.
class GRIDGAUGE_GRIDKIT_EXPORT Appearance {
public:
    /// The appearance of grid, which it does not keep alive.
    explicit Appearance(ReportGrid& grid);

    /// [7] Header style: 4 (at first) draws the column headers with the platform style, hover and
    /// sort indicator included; 0 to 3 draw them flat. Values outside 0..4 throw 380.
    void setHeaderStyle(qint32 style);
    qint32 headerStyle() const; ///< [7] The header style.
    /// [51] Check boxes and item buttons drawn by the platform style (true, at first) or flat.
    void setThemedControls(bool themed);
    bool themedControls() const; ///< [51] Whether controls follow the platform style.
    /// [14] Colour of the area below the last row, as a host colour value (fixed 0x00BBGGRR, or a
    /// 0x800000nn system colour that follows the palette); an invalid value throws 380. At first
    /// the window background (0x80000005).
    void setBelowRowsColor(quint32 color);
    quint32 belowRowsColor() const; ///< [14] The colour below the last row, as set.
    /// [38] The focused row is painted in the highlight colour across its columns (on at first).
    void setHighlightFocusedRow(bool highlight);
    bool highlightFocusedRow() const; ///< [38] Whether the focused row is highlighted.

private:
    ReportGrid& grid() const;
    QPointer<ReportGrid> grid_;
};

/// GridKit.ReportGrid: a report view of columns, records and rows that paints itself, captions
/// in the markup vocabulary included. The file's description (report_grid.h) tells its object
/// model, geometry, cells, mouse handling and painting.
///
/// None of the settings changes what a row or column is: row n shows record n and column k shows
/// item k, keeping its index, whatever they say.
class GRIDGAUGE_GRIDKIT_EXPORT ReportGrid : public QAbstractScrollArea,
                                            private ModelObserver,
                                            private detail::ColumnView {
    Q_OBJECT
    /// Where the cells show, for a host that lays widgets over them.
    Q_PROPERTY(QRegion overlayArea READ overlayArea NOTIFY overlayAreaChanged)

public:
    /// A grid with a model of its own, empty.
    explicit ReportGrid(QWidget* parent = nullptr);
    /// A grid over another grid's model (see sharedModel()).
    explicit ReportGrid(std::shared_ptr<GridModel> model, QWidget* parent = nullptr);
    ~ReportGrid() override;

    Appearance appearance();    ///< [16] The appearance settings.
    ColumnList columns() const; ///< [13] The columns, as this grid shows them.
    RecordList records() const; ///< [14] The records.
    RowList rows() const;       ///< [18] The rows of the last rebuild.
    /// The object model, to read; it changes through the handles.
    const GridModel& model() const { return *model_; }
    /// The model, for another grid to show as well.
    std::shared_ptr<GridModel> sharedModel() const { return model_; }

    /// [15] Rebuilds the rows from the records (row n shows record n) and shows the captions.
    /// Rows handed out before are stale afterwards. Constant time, or linear while sorted [27].
    /// Raises neither notification: rows only ever grow, so no scroll offset moves.
    void rebuild();
    /// [17] Redraws the view: paints at once whatever has changed since the last paint. The grid
    /// schedules those repaints itself as things change, so nothing else needs drawing, and a
    /// settled view paints nothing.
    void redraw();

    /// [30] What lies under (x, y), in the grid's coordinates. Nothing when the point is outside
    /// the viewport (on a scroll bar, say); otherwise a result whose column, row and item are each
    /// present or not.
    std::optional<HitTestInfo> hitTest(qint32 x, qint32 y) const;

    // Settings. None of them changes what a row or column is: row n shows record n and column k
    // shows item k, keeping its index, whatever they say.

    ///@{
    /// [89] Captions written in the markup vocabulary are rendered; any other caption is text.
    /// Off at first: every caption is text.
    void setMarkupEnabled(bool enabled);
    bool markupEnabled() const;
    ///@}
    ///@{
    /// [71] The group box, an empty band above the header (rowHeight() + 16 high), is shown. It
    /// holds no groups: rows never regroup. Showing it moves the header and rows down. Off at
    /// first.
    void setGroupBoxVisible(bool visible);
    bool groupBoxVisible() const;
    ///@}
    ///@{
    /// [70] Columns may be reordered by dragging a header sideways onto another column's place.
    /// Reordering moves only where a column is shown (ColumnList::column(position) follows it,
    /// and so do item bounds and the hit test); column k still shows item k and keeps its index.
    /// A reorder by the user raises viewScrolled. Turning this off keeps the current order. Off at
    /// first.
    void setColumnReorderAllowed(bool allowed);
    bool columnReorderAllowed() const;
    ///@}
    ///@{
    /// [27] A header click (press and release on the same header) sorts the rows by the text of
    /// that column's captions (a markup caption by its text content), stably and locale-aware; a
    /// second click on it reverses the order. Sorting changes only the order in which rows are
    /// painted, and with it their bounds and the hit test; row n is still record n. A sort by the
    /// user raises viewScrolled; rebuild() sorts again; turning this off shows record order again.
    /// Off at first.
    void setSortOnHeaderClick(bool sort);
    bool sortOnHeaderClick() const;
    ///@}
    ///@{
    /// [55] Focus moves by cell: the focused cell has the style's focus frame while the grid has
    /// focus and the keyboard has moved or acted on it (arrows, Tab, Space, Return, or focus
    /// that came by Tab), until the next mouse press, as desktops show focus; a focused cell's
    /// first enabled button shows it instead. The frame is a ring on the cell's edge and leaves
    /// the cell's own pixels as they are. The arrow keys move it (Home and End to the first and
    /// last column, with Ctrl to the first and last row, Page Up and Down by a page), and Space,
    /// Return or Enter ticks the focused check box (raising itemCheck) or clicks the focused cell's
    /// first enabled button (raising itemButtonClicked). Tab and Shift+Tab move it to the next and
    /// previous cell, row after row, and past the last cell or before the first move the keyboard
    /// focus on to the next or previous control. Otherwise focus moves by row: the rectangle goes
    /// round the row, Up, Down, Page Up, Page Down, Home and End move it, and Left and Right
    /// scroll. Keys scroll to keep the focus in view. Until the user clicks a cell or presses a key
    /// nothing has focus. Off at first.
    void setCellFocus(bool byCell);
    bool cellFocus() const;
    ///@}
    ///@{
    /// [29] Grid lines are drawn between rows and columns, in the style's table grid colour. Off at
    /// first.
    void setGridLinesVisible(bool visible);
    bool gridLinesVisible() const;
    ///@}

    // Appearance [16], also reached through appearance().
    void setHeaderStyle(qint32 style);           ///< [7] See Appearance::setHeaderStyle().
    qint32 headerStyle() const;                  ///< [7] See Appearance::setHeaderStyle().
    void setThemedControls(bool themed);         ///< [51] See Appearance::setThemedControls().
    bool themedControls() const;                 ///< [51] See Appearance::setThemedControls().
    void setBelowRowsColor(quint32 color);       ///< [14] See Appearance::setBelowRowsColor().
    quint32 belowRowsColor() const;              ///< [14] See Appearance::setBelowRowsColor().
    void setHighlightFocusedRow(bool highlight); ///< [38] See Appearance::setHighlightFocusedRow().
    bool highlightFocusedRow() const;            ///< [38] See Appearance::setHighlightFocusedRow().

    // Geometry, in device-independent pixels of the grid widget.
    int headerHeight() const; ///< The header row's height, in device-independent pixels.
    int rowHeight() const;    ///< Every row's height, in device-independent pixels.
    ///@{
    /// Where the view shows columns: the column id at a display position (from the reading
    /// side) and back.
    qint32 columnAtPosition(qint32 position) const override;
    qint32 positionOfColumn(qint32 columnId) const;
    ///@}
    ///@{
    /// A cell's bounds (as Row::itemBounds gives them), a column's header section, and one of the
    /// buttons of a cell; empty for what does not exist.
    QRect cellRect(CellAddress cell) const;
    QRect headerRect(qint32 columnId) const;
    QRect controlRect(CellAddress cell, qint32 position) const;
    ///@}
    /// The cell under (x, y): both -1 outside the rows and columns, row -1 over the header.
    CellAddress cellAt(int x, int y) const;

    // What the user does, done for them (assistive technology uses these): each raises what the
    // user's own action raises.

    /// The focused cell, {-1, -1} when nothing has focus.
    CellAddress focusedCell() const;
    /// Moves the focus to cell, without scrolling.
    void setFocusedCell(CellAddress cell);
    /// Clicks the button at position of the cell (row, item), raising itemButtonClicked; a button
    /// that does not exist or is disabled does not click, and false says so.
    bool clickItemControl(qint32 row, qint32 item, qint32 position);
    /// Toggles the check box of the cell (row, item), raising itemCheck.
    void toggleItemCheck(qint32 row, qint32 item);
    /// Whether a cell's button is shown pressed (held down by the pointer).
    bool isControlPressed(CellAddress cell, qint32 position) const;
    /// What a cell's caption reads as: a markup caption (markup on) its text content, "75%".
    QString readableText(qint32 row, qint32 item) const;

    /// Room for the header and a few rows of the columns as they are.
    QSize sizeHint() const override;
    /// Where the cells show: the viewport below the header and the group box, without the scroll
    /// bars, in the grid's own coordinates. Widgets a host lays over cells show only there;
    /// overlayAreaChanged() says when it changes.
    QRegion overlayArea() const;

signals:
    /// [15] The user toggled the check box of an item (left press on its indicator, or Space).
    void itemCheck(gridkit::Row row, gridkit::Item item);
    /// [17] Cells moved on screen without any column's width changing: the scroll offset changed
    /// (wheel, scroll bars, keys, or a resize that pulls the offset back), the user sorted [27]
    /// or reordered [70] the view, a font or style change gave the rows or the header another
    /// height, or, right to left, a resize or the layout direction moved the cells' right edge.
    /// Raised at once, once for each change; never by rebuild(), caption writes, painting or a
    /// resize that moves no cell.
    void viewScrolled();
    /// [21] The mouse moved over the grid, or anywhere while a button pressed in the grid is held.
    /// Button bits: 1 left, 2 right, 4 middle. Shift bits: 1 shift, 2 ctrl, 4 alt.
    void mouseMoved(qint16 button, qint16 shift, qint32 x, qint32 y);
    /// [22] A mouse button went down in the grid (each press of a double click).
    void mousePressed(qint16 button, qint16 shift, qint32 x, qint32 y);
    /// [59] A column's width changed, by the user (at each move of a drag that changes it) or by
    /// code. Raised at once, after the change; setting a width to what it is raises nothing.
    void columnWidthChanged(gridkit::Column column, qint32 previousWidth, qint32 newWidth);
    /// [61] An item button was clicked (pressed and released on the same button, or Space).
    void itemButtonClicked(gridkit::Row row, gridkit::Item item, gridkit::ItemControl control);
    /// rebuild() has made the rows anew. For observers such as tools and tests; not one of the
    /// grid's numbered events.
    void rebuilt();

    /// overlayArea() changed: the viewport was resized or moved, or the header or group box
    /// changed height.
    void overlayAreaChanged();

protected:
    ///@{
    /// Qt's event handlers, reimplemented: painting, scrolling, the mouse and the keys (Tab and
    /// Shift+Tab among the cells too) as the file's description says, the tooltips of the headers,
    /// and a font or style change laying the rows out anew.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    ///@}

private:
    // ModelObserver: what changed in the model, repainted where it shows.
    void itemChanged(qint32 record, qint32 item) override;
    void columnCaptionChanged(qint32 column) override;
    void columnAdded(qint32 column) override;
    void rowsChanged(RowsChange change) override;

    // ColumnView: what handles from this grid ask it.
    qint32 columnWidth(qint32 columnId) const override;
    void setColumnWidth(qint32 columnId, qint32 width) override;
    QRect cellBounds(qint32 row, qint32 columnId) const override;

    // What input tells the grid the user did, and what it shows of itself: see input.h.
    class UserActions;
    bool pointerPressed(const QMouseEvent& event, QPoint at);
    bool pointerMoved(const QMouseEvent& event, QPoint at);
    void focusCell(CellAddress cell, bool scrollIntoView);
    void showFocusFrame(bool show);
    void clickControl(qint32 row, qint32 item, qint32 position);
    void resizeColumn(qint32 columnId, qint32 width);
    void moveColumn(qint32 fromPosition, qint32 toPosition);
    void sortByColumn(qint32 columnId);
    void setResizeCursor(bool overEdge);

    // Which part of the view a setting's change repaints.
    enum class Repaint { Nothing, Header, Body, FocusedRow };
    template <typename T>
    void changeSetting(T detail::ViewSettings::*setting, T value, Repaint what);
    SortKey sortKey() const;
    // Schedules a repaint of part of the viewport, given as the geometry lays it out.
    void invalidate(const QRect& rect);
    void invalidateAll();
    void updateMetrics();
    void updateScrollBars();
    void scrollTo(const QPoint& offsets);
    QRect toGrid(const QRect& laidOut) const;
    QPoint fromGrid(const QPoint& at) const;
    int cellOrigin() const;
    void cellsMayHaveMoved();
    bool toolTip(QHelpEvent* event);
    detail::ContentSources contentSources() const;

    std::shared_ptr<GridModel> model_;
    detail::ViewRef self_; // what handles from this grid hold; cut when it goes
    std::unique_ptr<detail::ViewSettings> settings_;
    std::unique_ptr<detail::GridGeometry> geometry_;
    CellAddress focus_;
    bool focusFrameShown_ = false; // keys moved or acted on the focus since the last press
    std::unique_ptr<UserActions> actions_;
    std::unique_ptr<detail::GridInput> input_;
    std::unique_ptr<detail::CellDrawings> drawings_;
    QRegion pending_;    // scheduled and not yet painted, for redraw()
    int cellOrigin_ = 0; // where cellOrigin() was when viewScrolled last told of it
};

} // namespace gridkit
