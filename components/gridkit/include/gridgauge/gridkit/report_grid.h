#pragma once

/// @file
/// gridgauge::gridkit::ReportGrid: a report view of a table model's rows and columns, with a
/// header, cells drawn by delegates, and what Qt's own views lack: push buttons and check boxes in
/// cells, markup captions, a region where cells show for a host that lays widgets over them, and a
/// whole mirror image right to left.

#include "gridgauge/gridkit/gridkit_export.h"

#include <QAbstractItemView>
#include <QColor>
#include <QPalette>
#include <QRegion>

#include <memory>

namespace gridgauge::gridkit {

class GridDelegate;
class ReportGridPrivate;

/// @brief A Qt item view showing the top-level rows and columns of any QAbstractItemModel as a
/// report: a header row, then the rows, every row as high as rowHeight().
///
/// Geometry. Everything the view reports (visualRect(), indexAt(), buttonRect(), headerRect(),
/// the positions of mousePressed() and mouseMoved()) is in device-independent pixels of the
/// viewport, as in Qt's own views; the header (and the group box above it, when shown) lies
/// above the viewport, at negative y. Columns run in the model's order, or the user's once
/// columnsMovable() let them be dragged, each exactly as wide as columnWidth(), from the reading
/// side: left to right from the viewport's left edge, right to left from its right edge, where
/// the whole view is mirrored (header, cells, check boxes, buttons, lines, focus, the arrow
/// keys, and a column's divider, which is then its left edge).
///
/// Cells are drawn by the item delegate for them: gridgauge::gridkit::GridDelegate unless
/// setItemDelegate(), setItemDelegateForColumn() or setItemDelegateForRow() says otherwise. The
/// view paints each row's background (the palette's Base, Highlight across a selected row) and
/// grid lines when shown; dataChanged() repaints just the cells changed, and nothing repaints by
/// itself once the view is settled. Rows inserted, removed or moved, columns likewise, a model
/// reset and a QSortFilterProxyModel in between all work as in Qt's views; widgets set with
/// setIndexWidget() lie over their cells.
///
/// Selection and focus. The current index is the focused cell; by default the view selects
/// whole rows, one at a time (SelectRows, SingleSelection), so the current row is highlighted.
/// With cellFocus() the arrow keys move the current cell (Home and End to the first and last
/// column, with Ctrl to the first and last row, Page Up and Down by a page), Tab and Shift+Tab
/// walk the cells row after row and leave the view past either end, and the current cell shows
/// the style's focus frame once the keyboard has moved or acted on it, until the next mouse
/// press; otherwise the frame goes round the current row, Up, Down, Page Up, Page Down, Home and
/// End move it, and Left and Right scroll. Until a click or a key nothing is current. Space,
/// Select, Return and Enter go to the current cell's delegate (GridDelegate ticks its box or
/// clicks its first enabled button, and Return or Enter activates the cell's link, see
/// linkActivated()); F2 edits an editable cell.
///
/// Mouse. Every press in the view (header included) raises mousePressed() before the view acts
/// on it, and every move over it, or anywhere while a button pressed in it is held, raises
/// mouseMoved(); a handler may even delete the view. Only the left button then acts: a press on a
/// cell makes it current without scrolling and hands the press to its delegate, but a press on a
/// link the delegate shows there is the link's alone, and its click raises linkActivated(),
/// leaving the current cell and the selection as they were; a press on a
/// resizable column's header divider (3 pixels either side) drags its width, down to
/// minimumColumnWidth(), and a double click there fits the column to its content
/// (resizeColumnToContents()); with sortingEnabled() a click on a header sorts the model by that
/// column through QAbstractItemModel::sort(), a second click the other way; with
/// columnsMovable() a header dragged sideways moves its column.
///
/// Nothing here throws: a bad argument is refused with a warning (qWarning) and changes nothing,
/// or gives an empty result.
class GRIDGAUGE_GRIDKIT_EXPORT ReportGrid : public QAbstractItemView {
    Q_OBJECT
    /// An empty band above the header, rowHeight() + 16 high, as a grouping area has. Off.
    Q_PROPERTY(bool groupBoxVisible READ groupBoxVisible WRITE setGroupBoxVisible NOTIFY
                   groupBoxVisibleChanged)
    /// Whether the user may drag a header sideways onto another column's place. Off.
    Q_PROPERTY(bool columnsMovable READ columnsMovable WRITE setColumnsMovable NOTIFY
                   columnsMovableChanged)
    /// Whether a header click sorts the model by its column. Off.
    Q_PROPERTY(bool sortingEnabled READ isSortingEnabled WRITE setSortingEnabled NOTIFY
                   sortingEnabledChanged)
    /// Whether focus moves by cell (on) or by row (off, at first); see the class description.
    Q_PROPERTY(bool cellFocus READ cellFocus WRITE setCellFocus NOTIFY cellFocusChanged)
    /// Whether grid lines are drawn, in the style's table grid colour, on each cell's far column
    /// and last row of pixels, inside its bounds. Off.
    Q_PROPERTY(bool gridLinesVisible READ gridLinesVisible WRITE setGridLinesVisible NOTIFY
                   gridLinesVisibleChanged)
    /// How the headers are drawn.
    Q_PROPERTY(
        HeaderStyle headerStyle READ headerStyle WRITE setHeaderStyle NOTIFY headerStyleChanged)
    /// The colour of the area below the last row, when valid; otherwise belowRowsRole's.
    Q_PROPERTY(QColor belowRowsColor READ belowRowsColor WRITE setBelowRowsColor NOTIFY
                   belowRowsColorChanged)
    /// The palette colour below the last row while belowRowsColor is invalid: QPalette::Base.
    Q_PROPERTY(QPalette::ColorRole belowRowsRole READ belowRowsRole WRITE setBelowRowsRole NOTIFY
                   belowRowsColorChanged)
    /// The narrowest a user may drag a column: 10 pixels at first.
    Q_PROPERTY(int minimumColumnWidth READ minimumColumnWidth WRITE setMinimumColumnWidth NOTIFY
                   minimumColumnWidthChanged)
    /// Where the cells show, in the view's own coordinates (not the viewport's): the viewport,
    /// without the header and scroll bars. A widget a host lays over a cell as a sibling of the
    /// view belongs only there.
    Q_PROPERTY(QRegion overlayArea READ overlayArea NOTIFY overlayAreaChanged)

public:
    /// How the header sections are drawn.
    enum HeaderStyle : int {
        FlatHeader,  ///< In the palette's Button colour, with a line on the far and bottom sides.
        StyledHeader ///< By the style, hover and sort indicator included (at first).
    };
    Q_ENUM(HeaderStyle)

    /// An empty view, with a GridDelegate of its own; give it a model with setModel().
    explicit ReportGrid(QWidget* parent = nullptr);
    ~ReportGrid() override;

    /// Shows @p model's top-level rows and columns (QAbstractItemView::setModel()); every column
    /// starts 100 pixels wide unless the model's horizontal header says otherwise
    /// (Qt::SizeHintRole), resizable, in the model's order.
    void setModel(QAbstractItemModel* model) override;
    /// The GridDelegate the view made for itself, which draws every cell no other delegate is
    /// set for.
    GridDelegate* gridDelegate() const;

    ///@{
    /// QAbstractItemView's geometry, in the viewport's coordinates.
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    ///@}
    /// Does nothing: typing does not move the current cell of a report.
    void keyboardSearch(const QString& search) override;
    /// Lays the rows and columns out again after the model changed, repainting only what the
    /// change touched (QAbstractItemView's repaints the whole viewport).
    void doItemsLayout() override;
    /// The widest of the column's header caption and its cells' size hints.
    int sizeHintForColumn(int column) const override;

    ///@{
    /// The properties; see each one's description. Setting a value refused (a negative minimum
    /// column width, a header style out of range) warns and changes nothing.
    bool groupBoxVisible() const;
    void setGroupBoxVisible(bool visible);
    bool columnsMovable() const;
    void setColumnsMovable(bool movable);
    bool isSortingEnabled() const;
    void setSortingEnabled(bool enabled);
    bool cellFocus() const;
    void setCellFocus(bool byCell);
    bool gridLinesVisible() const;
    void setGridLinesVisible(bool visible);
    HeaderStyle headerStyle() const;
    void setHeaderStyle(HeaderStyle style);
    QColor belowRowsColor() const;
    void setBelowRowsColor(const QColor& color);
    QPalette::ColorRole belowRowsRole() const;
    void setBelowRowsRole(QPalette::ColorRole role);
    int minimumColumnWidth() const;
    void setMinimumColumnWidth(int width);
    QRegion overlayArea() const;
    ///@}

    /// Every row's height: 20 pixels at least, and tall enough for the font and a check box.
    int rowHeight() const;
    /// The header row's height.
    int headerHeight() const;

    ///@{
    /// A column's width in pixels; a negative width or a column that does not exist is refused.
    /// A change raises columnResized().
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    ///@}
    ///@{
    /// Whether the user may drag a column's divider (at first, every column may).
    bool isColumnResizable(int column) const;
    void setColumnResizable(int column, bool resizable);
    ///@}
    /// Fits the column to the widest of its header caption and its cells (sizeHintForColumn()),
    /// never narrower than minimumColumnWidth(), as a double click on its divider does.
    void resizeColumnToContents(int column);

    ///@{
    /// Where a model column is shown (0 for the first from the reading side) and which column is
    /// shown at a place; -1 for what does not exist.
    int visualColumn(int column) const;
    int logicalColumn(int visualIndex) const;
    ///@}
    /// Shows the column at place @p from at place @p to, as the user's drag does; raises
    /// cellsMoved().
    void moveColumn(int from, int to);
    ///@{
    /// The model row or column at a viewport position; -1 for none (the header has no row).
    int rowAt(int y) const;
    int columnAt(int x) const;
    ///@}
    /// A column's header section, in the viewport's coordinates (above it); empty for a column
    /// that does not exist.
    QRect headerRect(int column) const;
    ///@{
    /// One of the buttons, or the check indicator, of the cell at @p index, in the viewport's
    /// coordinates, as its GridDelegate places them; empty where there is none.
    QRect buttonRect(const QModelIndex& index, int button) const;
    QRect checkBoxRect(const QModelIndex& index) const;
    ///@}

    /// Sorts the model by @p column (QAbstractItemModel::sort()) and shows the sort indicator
    /// there, as a header click does when sorting is enabled.
    void sortByColumn(int column, Qt::SortOrder order);
    /// The column the view last sorted by, or -1.
    int sortColumn() const;
    /// The order of the last sort.
    Qt::SortOrder sortOrder() const;

    /// Room for the header and a few rows of the columns as they are.
    QSize sizeHint() const override;

signals:
    /// @p button (0 for the first) of the cell at @p index was clicked, or pressed from the
    /// keyboard (see gridgauge::gridkit::ButtonsRole).
    void buttonClicked(const QModelIndex& index, int button);
    /// The user activated the link to @p target in the cell at @p index: clicked it, pressed
    /// Return or Enter on the focused cell, or acted on it through assistive technology; raised
    /// after the cell's delegate raised its own (GridDelegate::linkActivated()). The view never
    /// opens a link itself.
    void linkActivated(const QModelIndex& index, const QString& target);
    /// The pointer went onto the link to @p target in the cell at @p index, or, with an empty
    /// @p target, off the link it was on; raised after the cell's delegate raised its own
    /// (GridDelegate::linkHovered()).
    void linkHovered(const QModelIndex& index, const QString& target);
    /// A column's width changed, by the user (at each move of a drag that changes it) or by code;
    /// raised after the change, never for a width set to what it was.
    void columnResized(int column, int oldWidth, int newWidth);
    /// Cells moved on screen without any column's width changing: the scroll offset changed, the
    /// user sorted or moved a column, rows were inserted or removed above the last, a font or
    /// style change gave the rows or the header another height, or, right to left, a resize or
    /// the layout direction moved the cells' right edge. Raised once for each change.
    void cellsMoved();
    /// A mouse button went down over the view, header included (each press of a double click).
    /// @p buttons are those held after the event; @p position is in the viewport's coordinates.
    void mousePressed(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                      const QPoint& position);
    /// The mouse moved over the view, or anywhere while a button pressed in it is held.
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                    const QPoint& position);
    ///@{
    /// The property of that name changed.
    void groupBoxVisibleChanged(bool visible);
    void columnsMovableChanged(bool movable);
    void sortingEnabledChanged(bool enabled);
    void cellFocusChanged(bool byCell);
    void gridLinesVisibleChanged(bool visible);
    void headerStyleChanged(gridgauge::gridkit::ReportGrid::HeaderStyle style);
    void belowRowsColorChanged();
    void minimumColumnWidthChanged(int width);
    void overlayAreaChanged();
    ///@}

protected:
    ///@{
    /// QAbstractItemView's reimplemented parts: cursor moves, offsets, selection, and the model's
    /// news repainted where it shows.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void reset() override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    ///@}
    ///@{
    /// Qt's event handlers, reimplemented as the class describes.
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
    friend class GridDelegate;
    friend class ReportGridPrivate;
    std::unique_ptr<ReportGridPrivate> d;
};

} // namespace gridgauge::gridkit
