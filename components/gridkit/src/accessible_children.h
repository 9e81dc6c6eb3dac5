#pragma once

// What a cell of the accessible table holds: its buttons, or a widget that lies over it, and the
// links its markup shows. Each is made by its cell, which owns it and outlives it. While its cell
// has the focus, the one the user meets there (the button Space presses, or the widget) is
// focused too.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPointer>

class QWidget;

namespace gridgauge::gridkit {

class ReportGrid;

namespace detail {

class CellAccessible;

// What a cell's children have in common: each stands for a part of the cell, with no object of
// its own, nothing inside it, and a text nobody sets.
class LeafAccessible : public QAccessibleInterface {
public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

// A button inside a cell.
class ControlAccessible : public LeafAccessible, public QAccessibleActionInterface {
public:
    ControlAccessible(CellAccessible* cell, int position);

    // Tells assistive technology of a new caption, or of the button being enabled or disabled.
    void update();

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PushButton; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // As with any push button, a disabled one offers nothing to do.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QString caption() const; // empty once the button is gone
    bool clickable() const;  // what the mouse can click: an enabled button of an enabled grid

    CellAccessible* cell_;
    int position_;
    QString heardName_;
    bool heardEnabled_ = true;
};

// A cell's check box, as the cell's child: the cell holds the focus and toggles, as item views'
// checkable cells do; this says to whoever looks inside that what it holds is a check box, the
// role by which assistive tools (and AT-SPI, whose Qt bridge sends no checkable state) know one.
class CheckBoxAccessible : public LeafAccessible, public QAccessibleActionInterface {
public:
    explicit CheckBoxAccessible(CellAccessible* cell);

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The cell's toggle, by the same names.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CellAccessible* cell_;
};

// A link a markup cell shows, as the cell's child: named by its text, described by its target,
// and activated by its action as by a click, through the cell's delegate (which raises
// linkActivated); the grid never opens it. position is its place among the links the cell shows.
class LinkAccessible : public LeafAccessible, public QAccessibleActionInterface {
public:
    LinkAccessible(CellAccessible* cell, int position);

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Following it goes by two names: Qt's press, and AT-SPI's "jump", a link's own action there.
    static QString atspiJumpAction();
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CellAccessible* cell_;
    int position_;
};

// A widget laid over a cell, as the cell's child. The widget's own interface says what it is and
// what it holds; this one places it in the table, where the user meets it, so that a screen
// reader that follows the focus there stays in the table and names the cell's column and row.
class CoverAccessible : public LeafAccessible {
public:
    CoverAccessible(CellAccessible* cell, QWidget* widget);

    QWidget* widget() const { return widget_.data(); }

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    // What the widget's interface offers of value, text and actions.
    void* interface_cast(QAccessible::InterfaceType type) override;

private:
    QAccessibleInterface* shown() const; // the widget's own interface, null once it is gone

    CellAccessible* cell_;
    QPointer<QWidget> widget_;
};

} // namespace detail
} // namespace gridgauge::gridkit
