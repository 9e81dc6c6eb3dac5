#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QStyledItemDelegate>

#include <memory>

class QAbstractItemView;

namespace gridgauge::markup {
class ImageResolver;
}

namespace gridgauge::gridkit {

class GridDelegatePrivate;

/// @brief Draws a report grid's cell, and handles what the user does in it: its text or markup,
/// its check box, its push buttons, its focus frame, in either direction.
///
/// What a cell shows comes from the model:
/// - gridgauge::gridkit::ButtonsRole, a list of captions: the cell is all push buttons, sharing its
/// width
///   evenly, each 1 pixel in from its share all round, captions aligned by Qt::TextAlignmentRole
///   (centred when it gives no horizontal or vertical part). gridgauge::gridkit::ButtonsEnabledRole
///   says which can be pressed.
/// - Otherwise Qt::CheckStateRole, when it holds a state: the style's check indicator 2 pixels in
///   from the cell's reading side, vertically centred, the text after it.
/// - Qt::DisplayRole: with markupEnabled(), a text the markup engine reads is laid out in the
///   text's room less 1 pixel top and bottom; any other text is one line in the room left, 2
///   pixels in from either side, vertically centred, aligned to the reading side, elided with
///   "…". Text is drawn in the palette's Text, or HighlightedText on a selected cell.
///
/// Markup takes the same colours for what it leaves open: text without a Foreground is drawn as
/// plain text is in that cell (the palette's Text or the model's Qt::ForegroundRole,
/// HighlightedText on a selected cell, of the disabled or inactive colour group where the view
/// is disabled or its window inactive), and a Hyperlink without one in the palette's
/// QPalette::Link; a caption's own Foreground always wins. The pictures of Image elements come
/// from imageResolver(), by default only Qt resources and icons of the desktop's theme.
///
/// The view paints each cell's background (the palette's Base, Highlight where selected); this
/// draws what lies on it. The focus frame, on the current cell of a focused view once the
/// keyboard has moved or acted on it (QStyle::State_HasFocus with
/// QStyle::State_KeyboardFocusChange), is the style's, as a ring on the cell's edge that leaves
/// the cell's own pixels alone; on a cell of buttons the first enabled button shows it instead.
///
/// What the user does, as a report grid and Qt's own item views hand it over through
/// editorEvent(): a left press on the check indicator of an enabled, user-checkable cell, or
/// Space, Select, Return or Enter on the cell, toggles its state through
/// QAbstractItemModel::setData() with Qt::CheckStateRole; a left press on an enabled button shows
/// it pressed while the button is held on it, and the release on it clicks it; Space, Select,
/// Return or Enter on a cell of buttons clicks its first enabled one. A click raises
/// buttonClicked(). A tooltip shows Qt::ToolTipRole, or else the whole of a text or button
/// caption that shows cut off. An editable cell is edited as QStyledItemDelegate edits it.
///
/// The Hyperlinks a markup cell shows are links: the pointer over one shows
/// Qt::PointingHandCursor on the view's viewport and raises linkHovered(), a left click on it
/// raises linkActivated() and neither makes the cell current, selects it nor edits it, and Return
/// or Enter on a cell that shows links raises linkActivated() for its link, or opens a menu of
/// them at the cell when it shows more than one (Space still ticks its check box). The delegate
/// never opens a link itself. A report grid raises its own linkActivated() and linkHovered() too.
/// Once the delegate has painted a cell with links in a view it watches the view's viewport, and
/// turns its mouse tracking on (QWidget::setMouseTracking()) for the hover; in another item view
/// than a report grid it also watches the view for Return and Enter, which QAbstractItemView
/// hands no delegate. A disabled cell's links do nothing.
///
/// Markup drawings are kept per cell, as the grid keeps them: repainting an unchanged cell neither
/// parses nor lays out.
class GRIDGAUGE_GRIDKIT_EXPORT GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
    /// Whether display texts that the markup engine reads are drawn as markup. On at first.
    Q_PROPERTY(
        bool markupEnabled READ markupEnabled WRITE setMarkupEnabled NOTIFY markupEnabledChanged)
    /// Whether check boxes and buttons are drawn by the style (on at first) or flat.
    Q_PROPERTY(bool themedControls READ themedControls WRITE setThemedControls NOTIFY
                   themedControlsChanged)

public:
    /// Makes a delegate; a report grid makes one of its own, and any item view may be given one.
    explicit GridDelegate(QObject* parent = nullptr);
    /// Forgets the drawings it keeps and ends a button press under way.
    ~GridDelegate() override;

    /// See the markupEnabled property.
    bool markupEnabled() const;
    /// See the markupEnabled property; views using the delegate are repainted.
    void setMarkupEnabled(bool enabled);
    /// See the themedControls property.
    bool themedControls() const;
    /// See the themedControls property; views using the delegate are repainted.
    void setThemedControls(bool themed);

    /// The resolver of the pictures that markup's Image elements name; null (at first) is the
    /// built-in policy, gridgauge::markup::ImageResolver::resolveBuiltIn(). Not owned.
    gridgauge::markup::ImageResolver* imageResolver() const;
    /// Reads pictures through @p resolver from now on, or through the built-in policy for null.
    /// The resolver is not owned, and must outlive the delegate or be replaced first. Views
    /// using the delegate lay their cells out again, as pictures may have other sizes.
    void setImageResolver(gridgauge::markup::ImageResolver* resolver);

    /// Paints the cell at @p index in @p option's rectangle, as the class describes.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    /// The size that shows all of the cell whole: the text's or markup's width and the check
    /// box, or every button as wide as the widest caption needs; the style's row height at least.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    /// Shows Qt::ToolTipRole, or the whole of a text or button caption that shows cut off, for a
    /// tooltip event; false when there is nothing to show.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    ///@{
    /// Where a part of the cell at @p index lies in @p option's rectangle (as the view shows it,
    /// mirrored right to left): the check indicator, the room for its text, one of its buttons.
    /// Empty for a part the cell does not have.
    QRect checkBoxRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QRect textRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QRect buttonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                     int button) const;
    ///@}

    /// What the cell reads as, for assistive technology: a markup text's text content ("75%")
    /// with markupEnabled(), else the display text; a cell of buttons by their captions.
    QString readableText(const QModelIndex& index) const;
    /// Whether @p button of the cell at @p index is shown pressed, the pointer holding it down.
    bool isButtonPressed(const QModelIndex& index, int button) const;
    /// Clicks @p button of the cell at @p index of @p view as the user's click does, raising
    /// buttonClicked() (and the view's own signal when it is a gridgauge::gridkit::ReportGrid). A
    /// button that does not exist or cannot be pressed does not click, and false says so.
    bool clickButton(QAbstractItemView* view, const QModelIndex& index, int button);

signals:
    /// @p button (0 for the first) of the cell at @p index was clicked, or pressed from the
    /// keyboard. Emitted directly, before the event that did it returns.
    void buttonClicked(const QModelIndex& index, int button);
    /// The user activated the link to @p target shown in the cell at @p index: clicked it,
    /// pressed Return or Enter on the cell, or acted on it through assistive technology. Emitted
    /// directly, before the event that did it returns.
    void linkActivated(const QModelIndex& index, const QString& target);
    /// The pointer went onto the link to @p target in the cell at @p index, or, with an empty
    /// @p target, off the link it was on (the cell it left at @p index), as QLabel::linkHovered()
    /// tells it.
    void linkHovered(const QModelIndex& index, const QString& target);
    /// The markupEnabled property changed.
    void markupEnabledChanged(bool enabled);
    /// The themedControls property changed.
    void themedControlsChanged(bool themed);

protected:
    /// Toggles the check box, presses or clicks buttons and takes presses on links and Return or
    /// Enter on a cell with links, as the class describes; other events go to
    /// QStyledItemDelegate::editorEvent().
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    std::unique_ptr<GridDelegatePrivate> d;
};

} // namespace gridgauge::gridkit
