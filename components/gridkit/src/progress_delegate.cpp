#include "gridgauge/gridkit/progress_delegate.h"

#include "plain_item.h"
#include "progress_bar.h"
#include "progress_drag.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace gridkit {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

bool isPress(const QEvent& event) {
    return (event.type() == QEvent::MouseButtonPress ||
            event.type() == QEvent::MouseButtonDblClick) &&
           static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

} // namespace

ProgressDelegate::ProgressDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , drag_(std::make_unique<detail::ProgressDrag>()) {}

ProgressDelegate::~ProgressDelegate() = default;

void ProgressDelegate::setValueRole(int role) {
    valueRole_ = role;
}

int ProgressDelegate::valueRole() const {
    return valueRole_;
}

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const std::optional<double> value = detail::progressValue(index.data(valueRole_));
    if (!value) {
        detail::paintItem(*painter, item);
        return;
    }
    item.text.clear();
    styleOf(option)->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
    detail::ProgressBarCell{*value, item.direction}.paint(*painter, item.rect, item.font);
}

QSize ProgressDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QSize given = detail::itemSizeHint(item, index);
    if (!detail::progressValue(index.data(valueRole_)))
        return given;
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // The text with a little room on either side, inside the frame and the padding; the track
    // no lower than the layered bar's 16 pixels.
    const QSize wanted(metrics.horizontalAdvance(QStringLiteral("100%")) + 12,
                       std::max(16, metrics.height() + 2) + 2);
    return given.expandedTo(wanted);
}

bool ProgressDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !model || !isPress(*event))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const Qt::ItemFlags flags = index.flags();
    if (!flags.testFlag(Qt::ItemIsEnabled) || !flags.testFlag(Qt::ItemIsEditable) ||
        !detail::progressValue(index.data(valueRole_)))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const double x = static_cast<const QMouseEvent*>(event)->position().x();
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    if (view)
        drag_->begin(*view, *model, index, valueRole_);
    detail::ProgressDrag::write(*model, index, valueRole_, x, option.rect, option.direction);
    // A first press goes on to the view, which focuses and selects the cell; the press that
    // makes a double click is the drag's alone, so that it opens no editor.
    return event->type() == QEvent::MouseButtonDblClick;
}

} // namespace gridkit
