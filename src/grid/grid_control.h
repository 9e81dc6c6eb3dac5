#pragma once

// GridKit.ReportGrid as the program meets it: the report grid of the window, reached by numbered
// members and raising numbered events, over a model of the program's records. A member with a
// fixed dispatch number names it in brackets, [n].
//
// Object model. The grid owns every column, record, item, row and item control (its records
// model holds them). What it hands out are small value handles (handles.h) that refer to them
// without owning them, and are refused with host::RuntimeError instead of dangling: a Row from
// before the latest rebuild() throws 91, any handle whose grid was destroyed throws 91, and a row
// number, item index, column position or control position that does not exist throws 9.
//
// Geometry. The grid's own coordinates are device-independent pixels of the grid widget:
// mouse events, the hit test and item bounds alike, so that a host lays widgets over cells by
// item bounds alone. Everything else (what the cells show and how they react) is the view's and
// its delegate's: see gridgauge/gridkit/report_grid.h.

#include "handles.h"
#include "records_model.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QPointer>

#include <optional>

namespace report {

class Grid;

// A cell as the grid addresses it: a row number and a column id (the column's creation order),
// either -1 for none.
struct CellAddress {
    qint32 row = -1;
    qint32 column = -1;
    bool operator==(const CellAddress&) const = default;
};

// Appearance settings, reached through Grid::appearance() [16]. Each goes to the grid's setter
// of the same name; once the grid is gone, each call throws 91.
class Appearance {
public:
    explicit Appearance(Grid& grid);

    // [7] Header style: 4 (at first) draws the column headers with the platform style, 0 to 3
    // flat. Values outside 0..4 throw 380.
    void setHeaderStyle(qint32 style);
    qint32 headerStyle() const;
    // [51] Check boxes and item buttons drawn by the platform style (true, at first) or flat.
    void setThemedControls(bool themed);
    bool themedControls() const;
    // [14] Colour below the last row, as a host colour value (fixed 0x00BBGGRR, or a 0x800000nn
    // system colour that follows the palette); an invalid value throws 380. At first the window
    // background (0x80000005).
    void setBelowRowsColor(quint32 color);
    quint32 belowRowsColor() const;
    // [38] The focused row is painted in the highlight colour across its columns (on at first).
    void setHighlightFocusedRow(bool highlight);
    bool highlightFocusedRow() const;

private:
    Grid& grid() const;
    QPointer<Grid> grid_;
};

class Grid : public gridgauge::gridkit::ReportGrid {
    Q_OBJECT

public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    Appearance appearance();    // [16]
    ColumnList columns() const; // [13] as this grid shows them
    RecordList records() const; // [14]
    RowList rows() const;       // [18] of the last rebuild
    RecordsModel& model() const { return *records_; }

    // [15] Rebuilds the rows from the records (row n shows record n) and shows the captions.
    // Rows handed out before are stale afterwards. Raises neither notification.
    void rebuild();
    // [17] Redraws the view: what has changed since the last paint is painted at once.
    void redraw();
    // [30] What lies under (x, y): nothing outside the header and the viewport (on a scroll
    // bar, say); otherwise a result whose column, row and item are each present or not.
    std::optional<HitTestInfo> hitTest(qint32 x, qint32 y) const;

    // Settings. None of them changes what a row or column is: row n shows record n and column k
    // shows item k, keeping its index.
    void setMarkupEnabled(bool enabled); // [89] off at first: every caption is text
    bool markupEnabled() const;
    // [71] setGroupBoxVisible(): the view's own.
    void setColumnReorderAllowed(bool allowed); // [70] off at first
    bool columnReorderAllowed() const;
    void setSortOnHeaderClick(bool sort); // [27] off at first; off again shows record order
    bool sortOnHeaderClick() const;
    // [55] cellFocus(); [29] gridLinesVisible(): the view's own, as they are.

    // Appearance [16], also reached through appearance().
    void setHeaderStyle(qint32 style);
    qint32 headerStyle() const;
    void setThemedControls(bool themed);
    bool themedControls() const;
    void setBelowRowsColor(quint32 color);
    quint32 belowRowsColor() const;
    void setHighlightFocusedRow(bool highlight);
    bool highlightFocusedRow() const;

    // Where a cell, a header section and a cell's button lie, in the grid's own coordinates;
    // empty for what does not exist.
    QRect cellRect(CellAddress cell) const;
    QRect headerSection(qint32 columnId) const;
    QRect controlRect(CellAddress cell, qint32 position) const;
    // The cell under (x, y): both -1 outside the rows and columns, row -1 over the header.
    CellAddress cellAt(int x, int y) const;
    qint32 columnAtPosition(qint32 position) const { return logicalColumn(position); }
    qint32 positionOfColumn(qint32 columnId) const { return visualColumn(columnId); }

    // What the user does, done for them (assistive technology does the same through the view):
    // each raises what the user's own action raises.
    CellAddress focusedCell() const;       // {-1, -1} while nothing has focus
    void setFocusedCell(CellAddress cell); // without scrolling
    // Clicks a button of the cell (row, item); false when it does not exist or is disabled.
    bool clickItemControl(qint32 row, qint32 item, qint32 position);
    void toggleItemCheck(qint32 row, qint32 item);
    bool isControlPressed(CellAddress cell, qint32 position) const;
    // What a caption reads as: a markup caption (markup on) its text content, "75%".
    QString readableText(qint32 row, qint32 item) const;

signals:
    void itemCheck(report::Row row, report::Item item); // [15] the user toggled a check box
    void viewScrolled();                                // [17] cells moved on screen
    // [21], [22] Button bits: 1 left, 2 right, 4 middle. Shift bits: 1 shift, 2 ctrl, 4 alt.
    void mouseMove(qint16 button, qint16 shift, qint32 x, qint32 y);
    void mouseDown(qint16 button, qint16 shift, qint32 x, qint32 y);
    // [59] A column's width changed, by the user or by code.
    void columnWidthChanged(report::Column column, qint32 previousWidth, qint32 newWidth);
    // [61] An item button was clicked (pressed and released on it, or Space).
    void itemButtonClicked(report::Row row, report::Item item, report::ItemControl control);
    void rebuilt(); // not one of the numbered events: for tools and tests

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class Column;
    friend class Row;
    friend class ColumnList;
    friend class RowList;
    Row rowHandle(qint32 row) const;
    Item itemHandle(qint32 record, qint32 index) const;
    QRect cellBounds(qint32 record, qint32 columnId) const; // grid coordinates
    QModelIndex cellIndex(qint32 record, qint32 columnId) const;
    void relayButton(const QModelIndex& index, int button);
    void applyBelowRowsColor();

    RecordsModel* records_;
    detail::GridRef self_; // what handles from this grid hold; cut when it goes
    quint32 belowRows_ = 0x80000005u;
    qint32 headerStyle_ = 4;
    bool highlightFocusedRow_ = true;
};

} // namespace report
