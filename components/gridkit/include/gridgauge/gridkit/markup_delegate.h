#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QStyledItemDelegate>

#include <memory>

namespace gridgauge::markup {
class ImageResolver;
}

namespace gridgauge::gridkit {

class MarkupDelegatePrivate;

/// @brief Draws a cell whose markup role holds markup as that markup, for any Qt item view.
///
/// A cell whose markupRole() text (Qt::DisplayRole unless set otherwise) the markup engine reads
/// (gridgauge::markup::parse() gives a document) is drawn as the style draws an item without text
/// (background, selection, check indicator, icon and focus frame), with the markup laid out on
/// top in the cell less 2 pixels left and right and 1 pixel top and bottom, as the report grid
/// lays out a markup caption. Every other cell is drawn exactly as QStyledItemDelegate draws it,
/// with its Qt::DisplayRole text.
///
/// A model that keeps its markup in a role of its own and plain text in Qt::DisplayRole sorts,
/// filters and searches on that text, behind a QSortFilterProxyModel or in a view's keyboard
/// search, and screen readers read it, while the delegate draws the markup:
/// @code
/// // A status cell: "Downloading" for sorting, filtering and reading; a badge to look at.
/// item->setData(QStringLiteral("Downloading"), Qt::DisplayRole);
/// item->setData(badgeMarkup, Qt::UserRole + 1);
/// auto* delegate = new gridgauge::gridkit::MarkupDelegate(view);
/// delegate->setMarkupRole(Qt::UserRole + 1);
/// @endcode
///
/// Text that the markup gives no Foreground is drawn as the style draws an item's text there: in
/// the palette's QPalette::Text (which the model's Qt::ForegroundRole replaces), or
/// QPalette::HighlightedText in a selected cell, of the disabled or inactive colour group where
/// the view is disabled or its window inactive; a Hyperlink without one in the palette's
/// QPalette::Link. A caption's own Foreground always wins. The pictures of Image elements come
/// from imageResolver(), by default only Qt resources and icons of the desktop's theme.
///
/// The Hyperlinks a cell shows can be used as links in any QAbstractItemView: the pointer over
/// one shows Qt::PointingHandCursor on the view's viewport and raises linkHovered(), a left click
/// on it raises linkActivated() and neither selects the cell nor opens its editor, and Return or
/// Enter on the current cell raises linkActivated() for its link, or, where it shows more than
/// one, opens a menu of them at the cell for the user to choose from. The delegate never opens a
/// link itself: connect linkActivated() to what should, such as QDesktopServices::openUrl().
/// Once the delegate has painted a cell with links in a view, it watches the view and its
/// viewport for the pointer and for Return and Enter, and turns the viewport's mouse tracking on
/// (QWidget::setMouseTracking()), without which the hover would be told only while a button is
/// held. A disabled cell's links do nothing.
///
/// Texts longer than maxMarkupLength() characters are never read as markup: a cell cannot show
/// that much, and the bound keeps the work of a hostile text within a paint.
///
/// Repainting an unchanged cell parses and lays out nothing: documents are shared by text with
/// the report grid and every other delegate in the process, and the delegate keeps each cell's
/// layout (a bounded number of them for each view) until the cell's text, size or font changes.
///
/// Screen readers read an item view's cell from the model, not from the delegate. Where the
/// markup is in Qt::DisplayRole, put a gridgauge::gridkit::MarkupTextModel between the model and
/// the view so that a markup cell reads as its text ("75%") instead of as its markup. A cell's
/// links are no accessible objects of their own in Qt's views, whose accessible cells a delegate
/// cannot extend; gridgauge::gridkit::ReportGrid gives each its own.
///
/// No call throws: a negative role given to setMarkupRole() is refused with a qWarning().
class GRIDGAUGE_GRIDKIT_EXPORT MarkupDelegate : public QStyledItemDelegate {
    Q_OBJECT
    /// The role the markup is read from; Qt::DisplayRole at first.
    Q_PROPERTY(int markupRole READ markupRole WRITE setMarkupRole NOTIFY markupRoleChanged)

public:
    /// The longest text, in UTF-16 code units, that is read as markup: 32,768.
    static qsizetype maxMarkupLength();

    /// Makes a delegate reading markup from Qt::DisplayRole; set it on a view with
    /// QAbstractItemView::setItemDelegate() or one of its per-column or per-row variants.
    explicit MarkupDelegate(QObject* parent = nullptr);
    /// Forgets every layout it keeps.
    ~MarkupDelegate() override;

    /// The role the markup is read from.
    int markupRole() const;
    /// Reads the markup from @p role from now on; a view shows the change at its next repaint of
    /// a cell. A negative role is refused with a qWarning().
    void setMarkupRole(int role);

    /// The resolver of the pictures that the markup's Image elements name; null (at first) is
    /// the built-in policy, gridgauge::markup::ImageResolver::resolveBuiltIn(). Not owned.
    gridgauge::markup::ImageResolver* imageResolver() const;
    /// Reads pictures through @p resolver from now on, or through the built-in policy for null.
    /// The resolver is not owned, and must outlive the delegate or be replaced first. Views
    /// using the delegate lay their cells out again, as pictures may have other sizes.
    void setImageResolver(gridgauge::markup::ImageResolver* resolver);

    /// Paints the cell at @p index in @p option's rectangle: markup over the style's empty item,
    /// or, for a cell whose markup role holds no markup, as QStyledItemDelegate does.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    /// The size the cell's markup asks for, its padding included; QStyledItemDelegate's size for a
    /// cell whose markup role holds no markup.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    /// markupRole() became @p role.
    void markupRoleChanged(int role);
    /// The user activated the link to @p target shown in the cell at @p index: clicked it, or
    /// pressed Return or Enter on the cell. Emitted directly, before the event that did it
    /// returns.
    void linkActivated(const QModelIndex& index, const QString& target);
    /// The pointer went onto the link to @p target in the cell at @p index, or, with an empty
    /// @p target, off the link it was on (the cell it left at @p index), as QLabel::linkHovered()
    /// tells it.
    void linkHovered(const QModelIndex& index, const QString& target);

protected:
    /// Takes a left press or double click on a link, and Return or Enter on a cell that shows
    /// links, as the class describes; other events go to QStyledItemDelegate::editorEvent().
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    std::unique_ptr<MarkupDelegatePrivate> d;
};

} // namespace gridgauge::gridkit
