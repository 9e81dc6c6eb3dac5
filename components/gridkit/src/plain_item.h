#pragma once

// An item drawn as QStyledItemDelegate draws it, but for a text no cell could show: the style
// shapes the whole of a text before it elides it, so a megabyte in one cell would hold up every
// repaint of the view for seconds. Such a text is cut first to what the cell could show at one
// character a pixel, which leaves the pixels as they were for any text of visible characters.

#include <QSize>
#include <QStyleOptionViewItem>

class QModelIndex;
class QPainter;

namespace gridgauge::gridkit::detail {

// item is made (initStyleOption) for the cell it is to draw.
void paintItem(QPainter& painter, QStyleOptionViewItem item);
// As QStyledItemDelegate::sizeHint, with item made for index; a text is measured to its first
// 32 K characters, which are already wider than any screen.
QSize itemSizeHint(QStyleOptionViewItem item, const QModelIndex& index);

} // namespace gridgauge::gridkit::detail
