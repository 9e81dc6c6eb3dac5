#pragma once

#include "gridgauge/gridkit/gridkit_export.h"

#include <QStyledItemDelegate>

#include <memory>

namespace gridkit {

namespace detail {
class DelegateDrawings;
}

/// @brief Draws a cell whose display text is markup as that markup, for any Qt item view.
///
/// A cell whose Qt::DisplayRole text the markup engine reads (markup::parse() gives a document)
/// is drawn as the style draws an item without text (background, selection, check indicator,
/// icon and focus frame), with the markup laid out on top in the cell less 2 pixels left and right
/// and 1 pixel top and bottom, as the report grid lays out a markup caption. Every other cell is
/// drawn exactly as QStyledItemDelegate draws it.
///
/// Texts longer than MaxMarkupLength characters are never read as markup: a cell cannot show
/// that much, and the bound keeps the work of a hostile text within a paint.
///
/// Repainting an unchanged cell parses and lays out nothing: documents are shared by text with
/// the report grid and every other delegate in the process, and the delegate keeps each cell's
/// layout (a bounded number of them for each view) until the cell's text, size or font changes.
///
/// Screen readers read an item view's cell from the model, not from the delegate. Put a
/// gridkit::MarkupTextModel between the model and the view so that a markup cell reads as its
/// text ("75%") instead of as its markup.
class GRIDGAUGE_GRIDKIT_EXPORT MarkupDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    /// The longest display text, in UTF-16 code units, that is read as markup.
    static constexpr qsizetype MaxMarkupLength = 32 * 1024;

    /// Makes a delegate; set it on a view with QAbstractItemView::setItemDelegate() or one of its
    /// per-column or per-row variants.
    explicit MarkupDelegate(QObject* parent = nullptr);
    /// Forgets every layout it keeps.
    ~MarkupDelegate() override;

    /// Paints the cell at @p index in @p option's rectangle: markup over the style's empty item,
    /// or, for a text that is not markup, as QStyledItemDelegate does.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    /// The size the cell's markup asks for, its padding included; QStyledItemDelegate's size for a
    /// text that is not markup.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::unique_ptr<detail::DelegateDrawings> drawings_;
};

} // namespace gridkit
