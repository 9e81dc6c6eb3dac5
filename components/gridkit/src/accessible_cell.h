#pragma once

// One cell of the accessible table: a column header, or the cell of a row in a column. A cell with
// item buttons has one push-button child per button; a cell with a check box is checkable itself,
// toggles, and has a check-box child; after those, a markup cell has one link child for each link
// it shows. Acting on any goes through the grid's input, so assistive technology raises the very
// events a click raises.
//
// What the user meets in a focused cell may be more than the cell: its first enabled button, which
// Space presses, or a widget that lies in front of the grid over the cell, as a host lays controls
// over cells (see focusTarget()). The grid names neither host nor control: whatever sibling widget
// shows at the cell's centre is what a sighted user sees there.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QModelIndex>
#include <QPointer>

#include <vector>

class QWidget;

namespace gridgauge::gridkit {

class ReportGrid;

namespace detail {

class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
    // row -1 is the header cell of the column. Both are the model's.
    CellAccessible(ReportGrid* grid, int row, int column);
    ~CellAccessible() override;
    CellAccessible(const CellAccessible&) = delete;
    CellAccessible& operator=(const CellAccessible&) = delete;

    // Tells assistive technology what it has not heard yet: a new name or checked state, buttons
    // added, renamed, enabled or disabled. Nothing when only the drawing of the content changed.
    // Answers whether the name changed.
    bool update();

    // The cell has the keyboard focus: it is the grid's focused cell and the grid has the focus.
    bool isFocused() const;
    // What assistive technology should find focused, beyond the cell, while the cell has the
    // focus: the button Space presses, else the widget laid over the cell; null for neither.
    QAccessibleInterface* focusTarget() const;
    // The button Space presses: the first enabled one, -1 for none.
    int keyControl() const;

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: a check box toggles. The action goes by two names: Qt's own,
    // which Qt's platform bridges map to their platform's toggle, and AT-SPI's lower-case
    // "toggle", the only one by which Orca takes a table cell for a check box.
    static QString atspiToggleAction();
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The model's cell, invalid for a header or a cell gone.
    QModelIndex index() const;
    ReportGrid* grid() const { return grid_.data(); }

private:
    QAccessibleInterface* control(int position) const;
    QAccessibleInterface* cover() const;            // the widget laid over the cell, as its child
    QAccessibleInterface* checkBox() const;         // the check box, as its child
    QAccessibleInterface* link(int position) const; // a link it shows, as its child
    QRect localRect() const;                        // in the viewport
    QWidget* coveringWidget() const;

    int buttonCount() const;
    bool hasCheckBox() const;
    int linkCount() const;

    QPointer<ReportGrid> grid_;
    int row_;
    int column_;
    // The buttons' interfaces, made when first asked for (0 until then).
    mutable std::vector<QAccessible::Id> controls_;
    // The widget laid over the cell's interface, made when first asked for, anew for another.
    mutable QAccessible::Id cover_ = 0;
    mutable QAccessible::Id checkBox_ = 0;       // made when first asked for
    mutable std::vector<QAccessible::Id> links_; // as the buttons' interfaces
    // What assistive technology was last told, or read when the cell was made.
    QString heardName_;
    bool heardChecked_ = false;
    int heardControls_ = 0;
};

} // namespace detail
} // namespace gridgauge::gridkit
