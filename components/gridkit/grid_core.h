#pragma once

// The state behind a ReportGrid: its object model, its settings and the view state the widget's
// event handlers share. Handles reach it through its anchor; the widget owns it.

#include "gridkit/handles.h"

#include "host/runtime_error.h"
#include "host/system_colors.h"
#include "markup/markup.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QHelpEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace gridkit {

class ReportGrid;

namespace detail {

struct ControlData {
    qint32 id = 0;
    QString caption;
    bool enabled = true;
    qint16 alignment = 0;
};

struct ItemData {
    explicit ItemData(const QString& v)
        : value(v) {}
    QString value;
    QString caption;
    // Almost no item carries a control, so the list costs one pointer until it is used.
    std::unique_ptr<std::vector<ControlData>> controls;
    bool hasCheckBox = false;
    bool checked = false;
};

struct RecordData {
    std::vector<ItemData> items;
};

struct ColumnData {
    qint32 itemIndex = 0;
    QString caption;
    QString tooltip;
    qint32 width = 0;
    bool resizable = false;
};

// Which button of which cell the left button went down on.
struct ControlRef {
    qint32 row = -1;
    qint32 item = -1;
    qint32 position = -1;
    qint32 column = -1; // the column id it was pressed in, in case two columns show one item
    bool operator==(const ControlRef&) const = default;
};

struct GridCore : std::enable_shared_from_this<GridCore> {
    explicit GridCore(ReportGrid* grid)
        : view(grid)
        , anchor(new CoreAnchor{this, 0})
        , self(anchor) {}
    ~GridCore() { anchor->core = nullptr; }
    GridCore(const GridCore&) = delete;
    GridCore& operator=(const GridCore&) = delete;

    // Null once the widget is gone: handles still holding the core are refused from then on.
    ReportGrid* view = nullptr;
    CoreAnchor* anchor; // shared with every handle; self keeps it while the core lives
    CoreRef self;
    CoreRef ref() const { return self; }

    // --- object model (object_model.cpp) ---
    std::vector<ColumnData> columns; // by column id, which is the creation order
    std::vector<qint32> columnOrder; // column ids left to right
    std::vector<RecordData> records;
    qint32 rowCount = 0;    // records shown as rows at the last rebuild
    quint64 generation = 1; // bumped by every rebuild; older Row handles are stale
    std::size_t itemsPerRecordHint = 0;

    static GridCore* lock(const CoreRef& ref); // 91 once the grid is gone
    ItemData& item(qint32 record, qint32 index);
    ControlData& control(qint32 record, qint32 index, qint32 position);
    const ItemData* itemIfAny(qint32 record, qint32 index) const;
    qint32 findColumn(qint32 itemIndex) const; // column id, or -1
    void setColumnWidth(qint32 id, qint32 width);
    void checkRow(quint64 rowGeneration, qint32 row) const;

    Column makeColumn(qint32 id);
    Row makeRow(qint32 row);
    Item makeItem(qint32 record, qint32 index);
    Record makeRecord(qint32 record);
    ItemControl makeControl(qint32 record, qint32 index, qint32 position);
    HitTestInfo makeHit(qint32 row, qint32 columnId);

    // --- settings ---
    bool markupEnabled = false;
    bool groupBoxVisible = false;
    bool reorderAllowed = false;
    bool sortOnClick = false;
    bool cellFocus = false;
    bool gridLines = false;
    qint32 headerStyle = 4;
    bool themedControls = true;
    quint32 belowRowsColor = host::colors::WindowBackground;
    bool highlightFocusedRow = true;

    // --- sorting: the paint order of the rows, empty while rows show in record order ---
    qint32 sortColumn = -1;
    bool sortDescending = false;
    std::vector<qint32> displayOrder; // display position -> row number
    std::vector<qint32> displayPos;   // row number -> display position
    void applySort();
    QString sortKey(qint32 row, qint32 itemIndex);

    // --- geometry (geometry.cpp), device-independent pixels of the viewport ---
    int rowHeight = 20;
    int headerHeight = 24;
    std::vector<qint64> columnLeft; // content x of each display position's left edge, plus the end
    void updateMetrics();
    void relayout(); // after any column or row count change
    void updateScrollBars();
    int hOffset() const;
    int vOffset() const;
    int groupBoxHeight() const;
    int bodyTop() const { return groupBoxHeight() + headerHeight; }
    QRect clientRect() const;
    qint64 contentWidth() const { return columnLeft.empty() ? 0 : columnLeft.back(); }
    qint32 displayPositionOfRow(qint32 row) const;
    qint32 rowAtDisplayPosition(qint32 position) const;
    qint32 displayPositionAtX(int x) const;         // -1 outside every column
    qint32 rowAtY(int y) const;                     // -1 outside every row
    QRect columnSpan(qint32 displayPosition) const; // x extent; y from the body top to the bottom
    QRect cellRect(qint32 row, qint32 columnId) const;
    QRect headerRect(qint32 displayPosition) const;
    qint32 positionOfColumn(qint32 id) const;
    qint32 resizeEdgeAt(const QPoint& p) const; // column id whose right edge is under p, or -1
    void ensureVisible(qint32 row, qint32 columnId, bool horizontally);
    std::optional<HitTestInfo> hitTest(int x, int y);

    // Geometry inside a cell.
    QRect checkBoxRect(const QRect& cell) const;
    static QRect controlRect(const QRect& cell, qint32 count, qint32 position);

    // --- painting (painting.cpp) ---
    markup::DocumentCache documents;
    void paint(QPainter& painter, const QRect& dirty);
    void paintGroupBox(QPainter& painter);
    void paintHeader(QPainter& painter, const QRect& dirty);
    void paintRows(QPainter& painter, const QRect& dirty);
    void paintCell(QPainter& painter, const QRect& cell, qint32 row, qint32 columnId,
                   bool highlighted);
    void paintCaption(QPainter& painter, const QRect& box, const QString& caption,
                      bool highlighted);
    void paintButton(QPainter& painter, const QRect& rect, const ControlData& control, bool sunken);
    void paintCheckBox(QPainter& painter, const QRect& rect, bool checked);
    QString captionText(const QString& caption); // a caption as readable text

    // --- input (input.cpp) ---
    qint32 focusRow = -1;
    qint32 focusColumn = -1; // column id
    qint32 hoverHeader = -1; // column id
    ControlRef pressedControl;
    bool pressedControlDown = false;
    qint32 pressedHeader = -1; // column id
    QPoint pressPoint;
    bool headerDragging = false;
    qint32 dropPosition = -1; // display position the dragged header would take
    qint32 resizingColumn = -1;
    int resizeStartX = 0;
    qint32 resizeStartWidth = 0;
    bool splitCursor = false;

    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseLeave();
    bool keyPress(QKeyEvent* event);
    bool toolTip(QHelpEvent* event);
    void setFocusCell(qint32 row, qint32 columnId);
    void activateFocusCell();
    void finishHeaderPress(const QPoint& at);
    void updateHover(const QPoint& at);
};

} // namespace detail
} // namespace gridkit
