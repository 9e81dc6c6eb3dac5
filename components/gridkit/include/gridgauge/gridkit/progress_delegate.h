#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QStyledItemDelegate>

#include <memory>

namespace gridkit {

namespace detail {
class ProgressDrag;
}

/// @brief Draws a cell's number as a gradient progress bar with its percentage, and lets the
/// user set it by dragging.
///
/// The value is read from valueRole() (Qt::DisplayRole unless set otherwise): a number, or a text
/// that reads wholly as one. It is drawn as a track filling the cell less 2 pixels left and right
/// and 1 pixel top and bottom (a vertical gradient from \#C0CBDF to \#DCE9FA in a 1-pixel \#5E7293
/// frame), a bar over its left part as wide as the value's share of the track, rounded to a
/// whole pixel (a horizontal gradient from \#658C4B to \#A4DB64 in a \#5E7293 frame), and the value
/// rounded to a whole number followed by "%" in white bold type centred on the track, over the
/// style's item background, selection and focus frame. Values below 0 are drawn as 0 and values
/// above 100 as 100. A cell whose value is not a number (an empty or invalid value, a text that
/// is not numeric, NaN) is drawn as QStyledItemDelegate draws it. In a right-to-left view the bar
/// grows from the right.
///
/// On an enabled, editable item (Qt::ItemIsEditable) that shows a bar, a left-button press sets
/// the value from the pointer, 0 at the cell's left edge and 100 at its right (each pixel is
/// (x - left) / width * 100, rounded to the nearest whole number, a tie to the even one, then
/// clamped), and moving with the button held sets it again, wherever the pointer goes, until the
/// button is released. Each value is written through QAbstractItemModel::setData() in valueRole()
/// as an int, so every view of the model follows; a value that would not change is not written.
/// A read-only item ignores the pointer. A drag ends by itself when its cell goes away (the model
/// is reset or the row removed), the view is given another model, or the view is destroyed.
///
/// Screen readers read the cell from the model: with the default value role they read the number
/// itself.
class GRIDGAUGE_GRIDKIT_EXPORT ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    /// Makes a delegate reading its values from Qt::DisplayRole.
    explicit ProgressDelegate(QObject* parent = nullptr);
    /// Ends a drag under way.
    ~ProgressDelegate() override;

    /// Reads and writes the value in @p role from now on; a view shows the change at its next
    /// repaint.
    void setValueRole(int role);
    /// The role the value is read from and written to; Qt::DisplayRole at first.
    int valueRole() const;

    /// Paints the cell at @p index in @p option's rectangle: the bar, or, for a value that is not
    /// a number, what QStyledItemDelegate paints.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    /// Room for the track and "100%" in bold type; QStyledItemDelegate's size for a value that is
    /// not a number.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    /// Starts a drag on a left press in an editable cell that shows a bar and sets the value from
    /// the pointer; the drag follows the pointer until the button is released. Other events go to
    /// QStyledItemDelegate::editorEvent().
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    int valueRole_ = Qt::DisplayRole;
    std::unique_ptr<detail::ProgressDrag> drag_;
};

} // namespace gridkit
