#include "gridgauge/gridkit/markup_delegate.h"

#include "cell_drawings.h"
#include "delegate_drawings.h"
#include "gridgauge/markup/markup.h"
#include "link_input.h"
#include "plain_item.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace gridgauge::gridkit {

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

// What the cell's markup role holds as a text, null when it holds none.
QString markupText(const QStyleOptionViewItem& item, const QModelIndex& index, int role) {
    // The display text is the one initStyleOption() made, which costs no second look-up.
    if (role == Qt::DisplayRole)
        return item.features.testFlag(QStyleOptionViewItem::HasDisplay) ? item.text : QString();
    const QVariant held = index.data(role);
    return held.isValid() ? held.toString() : QString();
}

} // namespace

class MarkupDelegatePrivate final : public detail::LinkHost {
public:
    explicit MarkupDelegatePrivate(MarkupDelegate* delegate)
        : q(delegate)
        , drawings(delegate)
        , links(delegate, *this, drawings) {}

    QString linkCaption(const QModelIndex& index) const override {
        const QVariant held = index.data(markupRole);
        return held.isValid() ? held.toString() : QString();
    }
    void emitLinkActivated(const QModelIndex& index, const QString& target) override {
        emit q->linkActivated(index, target);
    }
    void emitLinkHovered(const QModelIndex& index, const QString& target) override {
        emit q->linkHovered(index, target);
    }

    MarkupDelegate* const q;
    detail::DelegateDrawings drawings;
    detail::LinkInput links;
    int markupRole = Qt::DisplayRole;
    gridgauge::markup::ImageResolver* resolver = nullptr;
};

qsizetype MarkupDelegate::maxMarkupLength() {
    return detail::kMaxMarkupLength;
}

MarkupDelegate::MarkupDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , d(std::make_unique<MarkupDelegatePrivate>(this)) {}

MarkupDelegate::~MarkupDelegate() = default;

int MarkupDelegate::markupRole() const {
    return d->markupRole;
}

void MarkupDelegate::setMarkupRole(int role) {
    if (role < 0) {
        qWarning("gridgauge::gridkit::MarkupDelegate::setMarkupRole: %d is no item data role; the "
                 "markup "
                 "role stays %d",
                 role, d->markupRole);
        return;
    }
    if (role == d->markupRole)
        return;
    d->markupRole = role;
    emit markupRoleChanged(role);
}

gridgauge::markup::ImageResolver* MarkupDelegate::imageResolver() const {
    return d->resolver;
}

void MarkupDelegate::setImageResolver(gridgauge::markup::ImageResolver* resolver) {
    if (resolver == d->resolver)
        return;
    d->resolver = resolver;
    // Pictures of another resolver may have other sizes.
    emit sizeHintChanged(QModelIndex());
}

void MarkupDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle* style = styleOf(option);
    const QString text = markupText(item, index, d->markupRole);
    const QRect box = markupBox(item);
    gridgauge::markup::Drawing* drawing =
        text.isNull() ? nullptr : d->drawings.find(option.widget, index, text, box.size());
    if (!drawing) {
        detail::paintItem(*painter, item);
        return;
    }
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
    // The text the markup leaves open is the colour the style gives an item's text there: the
    // model's Qt::ForegroundRole is in the palette's Text already (initStyleOption()).
    const QColor plain =
        item.palette.color(detail::DelegateDrawings::textGroup(item.state), QPalette::Text);
    detail::DelegateDrawings::paint(*drawing, *painter, QRectF(box), item.font, item.direction,
                                    d->drawings.host(item, plain, d->resolver));
    d->drawings.setPainted(option.widget, index, option.rect);
    d->links.painted(option.widget, *drawing);
}

QSize MarkupDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = markupText(item, index, d->markupRole);
    const gridgauge::markup::DocumentPtr document =
        text.isNull() ? nullptr : detail::markupDocument(text);
    if (!document)
        return detail::itemSizeHint(item, index);
    gridgauge::markup::HostStyle host;
    if (d->resolver)
        host.setImageResolver(d->resolver);
    const QSizeF wanted = gridgauge::markup::desiredSize(*document, item.font, host);
    QSize size(int(std::ceil(wanted.width())) + 4, int(std::ceil(wanted.height())) + 2);
    if (item.features & kBesideText) {
        item.text.clear();
        const QSize beside =
            styleOf(option)->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
        size = QSize(size.width() + beside.width(), std::max(size.height(), beside.height()));
    }
    return size;
}

bool MarkupDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    if (d->links.editorEvent(view, index, event))
        return true;
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

} // namespace gridgauge::gridkit
