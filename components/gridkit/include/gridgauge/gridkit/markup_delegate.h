#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QStyledItemDelegate>

#include <memory>

namespace gridgauge::gridkit {

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
/// Texts longer than maxMarkupLength() characters are never read as markup: a cell cannot show
/// that much, and the bound keeps the work of a hostile text within a paint.
///
/// Repainting an unchanged cell parses and lays out nothing: documents are shared by text with
/// the report grid and every other delegate in the process, and the delegate keeps each cell's
/// layout (a bounded number of them for each view) until the cell's text, size or font changes.
///
/// Screen readers read an item view's cell from the model, not from the delegate. Where the
/// markup is in Qt::DisplayRole, put a gridgauge::gridkit::MarkupTextModel between the model and
/// the view so that a markup cell reads as its text ("75%") instead of as its markup.
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

private:
    class Private;
    std::unique_ptr<Private> d_;
};

} // namespace gridgauge::gridkit
