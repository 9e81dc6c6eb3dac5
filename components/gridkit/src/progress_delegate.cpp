#include "gridgauge/gridkit/progress_delegate.h"

#include "plain_item.h"
#include "progress_bar.h"
#include "progress_drag.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QStyle>

#include <cmath>

namespace gridgauge::gridkit {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

bool isPress(const QEvent& event) {
    return (event.type() == QEvent::MouseButtonPress ||
            event.type() == QEvent::MouseButtonDblClick) &&
           static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

// The editor this delegate makes, told apart from the ones QStyledItemDelegate makes for cells
// that show no bar.
class ProgressEditor final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
};

bool refusedRole(const char* setter, int role) {
    if (role >= 0)
        return false;
    qWarning("gridgauge::gridkit::ProgressDelegate::%s: %d is no item data role; the role stays as "
             "it was",
             setter, role);
    return true;
}

} // namespace

class ProgressDelegatePrivate {
public:
    std::optional<double> valueAt(const QModelIndex& index) const {
        return detail::progressValue(index.data(target.valueRole));
    }

    // The text for value, and its colours, for the cell item is made for.
    detail::ProgressLabel label(const QStyleOptionViewItem& item, double value) const {
        detail::ProgressLabel made{detail::progressText(format, value, target.range, item.locale),
                                   labelFont(item), fillText, trackText};
        const QPalette& palette = item.palette;
        // The style fills its bar in Highlight and its track in Base; the palette's own pairs
        // for them, where they read, keep the desktop's colours.
        if (!made.overFill.isValid())
            made.overFill = look == ProgressDelegate::Look::Gradient
                                ? detail::gradient_bar::textColor()
                                : detail::readableOn(palette.color(QPalette::HighlightedText),
                                                     palette.color(QPalette::Highlight));
        if (!made.overTrack.isValid())
            made.overTrack = look == ProgressDelegate::Look::Gradient
                                 ? detail::gradient_bar::textColor()
                                 : detail::readableOn(palette.color(QPalette::Text),
                                                      palette.color(QPalette::Base));
        return made;
    }

    QFont labelFont(const QStyleOptionViewItem& item) const {
        QFont font = item.font;
        if (look == ProgressDelegate::Look::Gradient)
            font.setBold(true);
        return font;
    }

    detail::ProgressTarget target;
    QString format = QStringLiteral("%p%");
    ProgressDelegate::Look look = ProgressDelegate::Look::Style;
    QColor fillText;
    QColor trackText;
    detail::ProgressWriter writer;
    detail::ProgressDrag drag{writer};
};

ProgressDelegate::ProgressDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , d(std::make_unique<ProgressDelegatePrivate>()) {}

ProgressDelegate::~ProgressDelegate() = default;

int ProgressDelegate::minimum() const {
    return d->target.range.minimum;
}

void ProgressDelegate::setMinimum(int minimum) {
    setRange(minimum, std::max(minimum, d->target.range.maximum));
}

int ProgressDelegate::maximum() const {
    return d->target.range.maximum;
}

void ProgressDelegate::setMaximum(int maximum) {
    setRange(std::min(maximum, d->target.range.minimum), maximum);
}

void ProgressDelegate::setRange(int minimum, int maximum) {
    if (minimum > maximum) {
        qWarning("gridgauge::gridkit::ProgressDelegate::setRange: the minimum %d lies above the "
                 "maximum %d; "
                 "the range stays from %d to %d",
                 minimum, maximum, d->target.range.minimum, d->target.range.maximum);
        return;
    }
    detail::ProgressRange& range = d->target.range;
    const detail::ProgressRange was = range;
    range = {minimum, maximum};
    if (range.minimum != was.minimum)
        emit minimumChanged(range.minimum);
    if (range.maximum != was.maximum)
        emit maximumChanged(range.maximum);
}

QString ProgressDelegate::format() const {
    return d->format;
}

void ProgressDelegate::setFormat(const QString& format) {
    if (format == d->format)
        return;
    d->format = format;
    emit formatChanged(format);
}

ProgressDelegate::Look ProgressDelegate::look() const {
    return d->look;
}

void ProgressDelegate::setLook(Look look) {
    if (look != Look::Style && look != Look::Gradient) {
        qWarning("gridgauge::gridkit::ProgressDelegate::setLook: %d is no ProgressDelegate::Look; "
                 "the look "
                 "stays as it was",
                 int(look));
        return;
    }
    if (look == d->look)
        return;
    d->look = look;
    emit lookChanged(look);
}

QColor ProgressDelegate::fillTextColor() const {
    return d->fillText;
}

void ProgressDelegate::setFillTextColor(const QColor& color) {
    if (color == d->fillText)
        return;
    d->fillText = color;
    emit fillTextColorChanged(color);
}

QColor ProgressDelegate::trackTextColor() const {
    return d->trackText;
}

void ProgressDelegate::setTrackTextColor(const QColor& color) {
    if (color == d->trackText)
        return;
    d->trackText = color;
    emit trackTextColorChanged(color);
}

int ProgressDelegate::valueRole() const {
    return d->target.valueRole;
}

void ProgressDelegate::setValueRole(int role) {
    if (refusedRole("setValueRole", role) || role == d->target.valueRole)
        return;
    d->target.valueRole = role;
    emit valueRoleChanged(role);
}

int ProgressDelegate::editRole() const {
    return d->target.editRole;
}

void ProgressDelegate::setEditRole(int role) {
    if (refusedRole("setEditRole", role) || role == d->target.editRole)
        return;
    d->target.editRole = role;
    emit editRoleChanged(role);
}

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const std::optional<double> value = d->valueAt(index);
    if (!value) {
        detail::paintItem(*painter, item);
        return;
    }
    item.text.clear();
    styleOf(option)->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
    const double share = d->target.range.share(*value);
    const detail::ProgressLabel label = d->label(item, *value);
    if (d->look == Look::Gradient)
        detail::gradient_bar::paint(*painter, item.rect, share, item.direction, label);
    else
        detail::style_bar::paint(*painter, item, share, label);
}

QSize ProgressDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QSize given = detail::itemSizeHint(item, index);
    if (!d->valueAt(index))
        return given;
    const QFontMetrics metrics(d->labelFont(item));
    const detail::ProgressRange& range = d->target.range;
    const int text =
        std::max(metrics.horizontalAdvance(
                     detail::progressText(d->format, range.minimum, range, item.locale)),
                 metrics.horizontalAdvance(
                     detail::progressText(d->format, range.maximum, range, item.locale)));
    // The text with a little room on either side, inside the frame and the padding; the track
    // no lower than the layered bar's 16 pixels.
    const QSize wanted(text + 12, std::max(16, metrics.height() + 2) + 2);
    return given.expandedTo(wanted);
}

QWidget* ProgressDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    if (!d->valueAt(index))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* editor = new ProgressEditor(parent);
    editor->setFrame(false);
    editor->setRange(d->target.range.minimum, d->target.range.maximum);
    return editor;
}

void ProgressDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = dynamic_cast<ProgressEditor*>(editor);
    if (!box) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const std::optional<double> value = d->valueAt(index);
    box->setValue(value ? int(std::nearbyint(d->target.range.clamped(*value))) : box->minimum());
}

void ProgressDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* box = dynamic_cast<ProgressEditor*>(editor);
    if (!box) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (!model)
        return;
    box->interpretText();
    if (d->valueAt(index) != double(box->value()))
        d->writer.write(*model, index, d->target.editRole, box->value());
}

bool ProgressDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !model || !isPress(*event))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const Qt::ItemFlags flags = index.flags();
    if (!flags.testFlag(Qt::ItemIsEnabled) || !flags.testFlag(Qt::ItemIsEditable) ||
        !d->valueAt(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const double x = static_cast<const QMouseEvent*>(event)->position().x();
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    if (view)
        d->drag.begin(*view, *model, index, d->target);
    d->drag.write(*model, index, d->target, x, option.rect, option.direction);
    // A first press goes on to the view, which focuses and selects the cell; the press that
    // makes a double click is the drag's alone, so that it opens no editor.
    return event->type() == QEvent::MouseButtonDblClick;
}

} // namespace gridgauge::gridkit
