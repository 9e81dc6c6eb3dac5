#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QColor>
#include <QString>
#include <QStyledItemDelegate>

#include <memory>

namespace gridgauge::gridkit {

class ProgressDelegatePrivate;

/// @brief Draws a cell's number as a progress bar with its text, lets the user set it by dragging,
/// and edits it in a spin box.
///
/// **Value.** The value is read from valueRole() (Qt::DisplayRole unless set otherwise): a number,
/// or a text that reads wholly as one. A cell whose value is not a number (an empty or invalid
/// value, a text that is not numeric, NaN, a truth value) is drawn, sized and edited as
/// QStyledItemDelegate does it. Values below minimum() are drawn as minimum(), values above
/// maximum() as maximum(); the bar fills the value's share of [minimum(), maximum()], and a range
/// of one value (minimum() equal to maximum()) draws an empty bar.
///
/// **Look.** Over the style's item background, selection and focus frame, the bar fills the cell
/// less 2 pixels left and right and 1 pixel top and bottom, in the look look() names: the style's
/// own progress bar (Look::Style) or a gradient bar (Look::Gradient). The style's is the default,
/// as it is what a progress bar looks like elsewhere on the user's desktop, in its style and
/// palette, light or dark; the gradient keeps one look on every desktop. Its text is
/// format() ("%p%" unless set otherwise) with the value filled in, centred on the bar and drawn as
/// QProgressBar draws it, in two colours: fillTextColor() where it lies over the fill and
/// trackTextColor() where it lies over the rest of the track, so that it reads on both. In a
/// right-to-left view the bar grows from the right.
///
/// **Drag.** On an enabled, editable item (Qt::ItemIsEditable) that shows a bar, a left-button
/// press sets the value from the pointer and moving with the button held sets it again, wherever
/// the pointer goes, until the button is released. The pointer's distance from the cell's leading
/// edge (its left edge left to right, its right edge right to left) as a share of the cell's
/// width maps onto [minimum(), maximum()]: the leading edge is minimum(), the trailing edge
/// maximum(), rounded to the nearest whole number (a tie to the even one) and clamped. A double
/// click sets the value too, and opens no editor. A read-only item ignores the pointer. A drag
/// ends by itself when its cell goes away (the model is reset or the row removed), the view is
/// given another model, or the view is destroyed.
///
/// **Editor.** The editor the view opens (F2, or its other edit triggers) is a QSpinBox whose
/// range is [minimum(), maximum()], holding the value as drawn.
///
/// **Writing.** The drag and the editor write through QAbstractItemModel::setData() in
/// editRole() (Qt::EditRole unless set otherwise), as Qt's own editors do, so every view of the
/// model follows; a value that would not change what the cell shows is not written. The value
/// is a whole number, written as the type the cell holds in editRole() when that is a number or a
/// text (a model keeping doubles gets a double), as an int otherwise. When the model refuses a
/// value (setData() returns false), nothing else happens: the first refusal is reported once with
/// qWarning(), later ones of the same delegate are not.
///
/// **Refused settings.** No call throws. A setting given a value it cannot take is ignored with a
/// qWarning(): a negative role, a Look that is not one of its enumerators, and a range whose
/// minimum is above its maximum in setRange().
///
/// A view shows a changed setting at its next repaint of the cell (QWidget::update() on its
/// viewport repaints it at once). Screen readers read the cell from the model: with the default
/// value role they read the number itself.
class GRIDGAUGE_GRIDKIT_EXPORT ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
    /// The value the bar starts at; 0 at first. See setMinimum().
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum NOTIFY minimumChanged)
    /// The value that fills the bar; 100 at first. See setMaximum().
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum NOTIFY maximumChanged)
    /// The bar's text, as QProgressBar::format; "%p%" at first. See setFormat().
    Q_PROPERTY(QString format READ format WRITE setFormat NOTIFY formatChanged)
    /// How the bar is drawn; Look::Style at first.
    Q_PROPERTY(Look look READ look WRITE setLook NOTIFY lookChanged)
    /// The text's colour over the fill; invalid (the default) for the look's own.
    Q_PROPERTY(
        QColor fillTextColor READ fillTextColor WRITE setFillTextColor NOTIFY fillTextColorChanged)
    /// The text's colour over the track beyond the fill; invalid (the default) for the look's own.
    Q_PROPERTY(QColor trackTextColor READ trackTextColor WRITE setTrackTextColor NOTIFY
                   trackTextColorChanged)
    /// The role the value is read from; Qt::DisplayRole at first.
    Q_PROPERTY(int valueRole READ valueRole WRITE setValueRole NOTIFY valueRoleChanged)
    /// The role the drag and the editor write the value in; Qt::EditRole at first.
    Q_PROPERTY(int editRole READ editRole WRITE setEditRole NOTIFY editRoleChanged)

public:
    /// How the bar is drawn.
    enum class Look {
        /// The style's own progress bar, CE_ProgressBar drawn through a QStyleOptionProgressBar,
        /// as QProgressBar looks in the view's style and palette. The text is in the view's
        /// font. Where no colour is set, it is the palette's QPalette::HighlightedText over the
        /// fill, which styles draw in QPalette::Highlight, and its QPalette::Text over the
        /// track, drawn in QPalette::Base, each where it reads on that colour (a contrast of
        /// 4.5:1 or more); where it does not, black or white, whichever reads better.
        Style,
        /// A track of a vertical gradient from \#C0CBDF to \#DCE9FA in a 1-pixel \#5E7293 frame,
        /// and over its leading part the bar, a horizontal gradient from \#658C4B to \#A4DB64 in
        /// a frame of the same colour, as wide as the value's share of the track to the nearest
        /// pixel. The text is in the view's font made bold; these colours do not follow the
        /// palette, and neither does the text's where no colour is set: black over both parts,
        /// which reads on either gradient.
        Gradient,
    };
    Q_ENUM(Look)

    /// Makes a delegate with the settings' first values: values from 0 to 100 in
    /// Qt::DisplayRole, written in Qt::EditRole, shown as the style's bar with "%p%".
    explicit ProgressDelegate(QObject* parent = nullptr);
    /// Ends a drag under way.
    ~ProgressDelegate() override;

    /// The value the bar starts at.
    int minimum() const;
    /// Makes @p minimum the value the bar starts at; when it lies above maximum(), maximum()
    /// becomes @p minimum too, as QProgressBar and QSpinBox have it, so that a range can be set
    /// bound by bound in either order.
    void setMinimum(int minimum);
    /// The value that fills the bar.
    int maximum() const;
    /// Makes @p maximum the value that fills the bar; when it lies below minimum(), minimum()
    /// becomes @p maximum too.
    void setMaximum(int maximum);
    /// Sets both bounds at once. A @p minimum above @p maximum is refused with a qWarning(), and
    /// the range stays as it was.
    void setRange(int minimum, int maximum);

    /// The bar's text, with "%p" standing for the value's percentage of the range, "%v" for the
    /// value and "%m" for the range's steps (maximum() - minimum()).
    QString format() const;
    /// Makes @p format the bar's text, as QProgressBar::setFormat() does: the numbers are written
    /// in the view's locale without group separators, the value clamped to the range, the
    /// percentage rounded towards zero, so that the text says 100% only on a full bar; a range of
    /// one value is 0%. An empty format draws no text.
    void setFormat(const QString& format);

    /// How the bar is drawn.
    Look look() const;
    /// Draws bars as @p look says from now on; a value that is not a Look enumerator is refused
    /// with a qWarning().
    void setLook(Look look);

    /// The text's colour over the fill as set; invalid when the look's own is used.
    QColor fillTextColor() const;
    /// Draws the part of the text that lies over the fill in @p color; an invalid colour
    /// (QColor()) restores the look's own.
    void setFillTextColor(const QColor& color);
    /// The text's colour over the track as set; invalid when the look's own is used.
    QColor trackTextColor() const;
    /// Draws the part of the text that lies over the track beyond the fill in @p color; an
    /// invalid colour (QColor()) restores the look's own.
    void setTrackTextColor(const QColor& color);

    /// The role the value is read from.
    int valueRole() const;
    /// Reads the value from @p role from now on; a negative role is refused with a qWarning().
    void setValueRole(int role);
    /// The role the drag and the editor write the value in.
    int editRole() const;
    /// Writes the value in @p role from now on; a negative role is refused with a qWarning().
    void setEditRole(int role);

    /// Paints the cell at @p index in @p option's rectangle: the bar, or, for a value that is not
    /// a number, what QStyledItemDelegate paints.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    /// Room for the track and the text at either bound in the look's font; QStyledItemDelegate's
    /// size for a value that is not a number.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// A frameless QSpinBox with the range [minimum(), maximum()] for a cell that shows a bar;
    /// QStyledItemDelegate's editor for any other.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    /// Gives the spin box the value as drawn (rounded and clamped); any other editor gets what
    /// QStyledItemDelegate gives it.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    /// Writes the spin box's value in editRole(), as a drag writes it; any other editor's value
    /// goes where QStyledItemDelegate sends it.
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    /// minimum() became @p minimum.
    void minimumChanged(int minimum);
    /// maximum() became @p maximum.
    void maximumChanged(int maximum);
    /// format() became @p format.
    void formatChanged(const QString& format);
    /// look() became @p look.
    void lookChanged(gridgauge::gridkit::ProgressDelegate::Look look);
    /// fillTextColor() became @p color.
    void fillTextColorChanged(const QColor& color);
    /// trackTextColor() became @p color.
    void trackTextColorChanged(const QColor& color);
    /// valueRole() became @p role.
    void valueRoleChanged(int role);
    /// editRole() became @p role.
    void editRoleChanged(int role);

protected:
    /// Starts a drag on a left press in an editable cell that shows a bar and sets the value from
    /// the pointer; the drag follows the pointer until the button is released. Other events go to
    /// QStyledItemDelegate::editorEvent().
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    std::unique_ptr<ProgressDelegatePrivate> d;
};

} // namespace gridgauge::gridkit
