#include "plain_item.h"

#include <QApplication>
#include <QModelIndex>
#include <QStyle>

#include <algorithm>

namespace gridgauge::gridkit::detail {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& item) {
    return item.widget ? item.widget->style() : QApplication::style();
}

// One character for each pixel of each line the cell has room for, and never fewer than a
// short caption has.
qsizetype shownLength(const QStyleOptionViewItem& item) {
    const int lineHeight = std::max(1, item.fontMetrics.height());
    const qsizetype lines = std::max(0, item.rect.height()) / lineHeight + 1;
    return std::max<qsizetype>(256, (std::max(0, item.rect.width()) + 1) * lines);
}

// Not between the two halves of a surrogate pair.
void cut(QString& text, qsizetype length) {
    if (text.size() <= length)
        return;
    text.truncate(text.at(length - 1).isHighSurrogate() ? length - 1 : length);
}

} // namespace

void paintItem(QPainter& painter, QStyleOptionViewItem item) {
    cut(item.text, shownLength(item));
    styleOf(item)->drawControl(QStyle::CE_ItemViewItem, &item, &painter, item.widget);
}

QSize itemSizeHint(QStyleOptionViewItem item, const QModelIndex& index) {
    if (const QVariant given = index.data(Qt::SizeHintRole); given.isValid())
        return given.toSize();
    cut(item.text, 32 * 1024);
    return styleOf(item)->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
}

} // namespace gridgauge::gridkit::detail
