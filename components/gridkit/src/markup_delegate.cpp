#include "gridgauge/gridkit/markup_delegate.h"

#include "delegate_drawings.h"
#include "gridgauge/markup/markup.h"
#include "plain_item.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace gridkit {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

// What a check indicator or an icon leaves of a cell, in the style's own reckoning.
constexpr QStyleOptionViewItem::ViewItemFeatures kBesideText =
    QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;

// The cell less the padding the report grid gives a markup caption, and less what the style puts
// beside the text.
QRect markupBox(const QStyleOptionViewItem& item) {
    QRect box = item.rect.adjusted(2, 1, -2, -1);
    if (item.features & kBesideText) {
        const QRect text =
            styleOf(item)->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        box.setLeft(std::max(box.left(), text.left()));
        box.setRight(std::min(box.right(), text.right()));
    }
    return box;
}

} // namespace

MarkupDelegate::MarkupDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , drawings_(std::make_unique<detail::DelegateDrawings>(this)) {}

MarkupDelegate::~MarkupDelegate() = default;

void MarkupDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle* style = styleOf(option);
    markup::Drawing* drawing = item.features.testFlag(QStyleOptionViewItem::HasDisplay)
                                   ? drawings_->find(option.widget, index, item.text)
                                   : nullptr;
    if (!drawing) {
        detail::paintItem(*painter, item);
        return;
    }
    const QRect box = markupBox(item);
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
    detail::DelegateDrawings::paint(*drawing, *painter, QRectF(box), item.font, item.direction);
}

QSize MarkupDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const markup::DocumentPtr document = item.features.testFlag(QStyleOptionViewItem::HasDisplay)
                                             ? detail::markupDocument(item.text)
                                             : nullptr;
    if (!document)
        return detail::itemSizeHint(item, index);
    const QSizeF wanted = markup::desiredSize(*document, item.font);
    QSize size(int(std::ceil(wanted.width())) + 4, int(std::ceil(wanted.height())) + 2);
    if (item.features & kBesideText) {
        item.text.clear();
        const QSize beside =
            styleOf(option)->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
        size = QSize(size.width() + beside.width(), std::max(size.height(), beside.height()));
    }
    return size;
}

} // namespace gridkit
