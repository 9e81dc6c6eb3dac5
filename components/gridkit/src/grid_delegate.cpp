#include "gridgauge/gridkit/grid_delegate.h"

#include "button_press.h"
#include "cell_content.h"
#include "cell_layout.h"
#include "cell_painters.h"
#include "delegate_drawings.h"
#include "link_input.h"

#include "gridgauge/gridkit/report_grid.h"
#include "gridgauge/gridkit/roles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QtMath>
#include <QToolTip>

#include <memory>

namespace gridgauge::gridkit {

using detail::CellContent;
using detail::CellLayout;
using detail::CellStyle;

class GridDelegatePrivate final : public detail::LinkHost {
public:
    explicit GridDelegatePrivate(GridDelegate* delegate)
        : q(delegate)
        , drawings(delegate)
        , links(delegate, *this, drawings) {}

    // A cell of buttons shows no text; other texts are markup while markup is enabled.
    QString linkCaption(const QModelIndex& index) const override {
        if (!markupEnabled)
            return {};
        const CellContent content = CellContent::read(index);
        return content.hasButtons() ? QString() : content.text;
    }
    void emitLinkActivated(const QModelIndex& index, const QString& target) override {
        emit q->linkActivated(index, target);
    }
    void emitLinkHovered(const QModelIndex& index, const QString& target) override {
        emit q->linkHovered(index, target);
    }

    GridDelegate* const q;
    bool markupEnabled = true;
    bool themed = true;
    gridgauge::markup::ImageResolver* resolver = nullptr;
    detail::ButtonPress press;
    // Each view's cells keep their drawings until the view goes.
    detail::DelegateDrawings drawings;
    detail::LinkInput links;

    CellStyle look(const QStyleOptionViewItem& option) const {
        CellStyle look;
        look.widget = option.widget;
        look.style = option.widget ? option.widget->style() : QApplication::style();
        look.palette = option.palette;
        look.group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                     : (option.state & QStyle::State_Active) ? QPalette::Active
                                                             : QPalette::Inactive;
        look.font = option.font;
        look.direction = option.direction;
        look.themed = themed;
        return look;
    }

    CellLayout layout(const QStyleOptionViewItem& option, const CellContent& content) const {
        return CellLayout{option.rect, option.direction,
                          detail::CheckBoxCell::indicatorSize(look(option)),
                          content.hasCheckBox() && !content.hasButtons()};
    }

    // The markup a cell's text reads as, when it is drawn as markup.
    gridgauge::markup::Drawing* drawing(const QStyleOptionViewItem& option,
                                        const QModelIndex& index, const CellContent& content,
                                        const QSize& box) {
        if (!markupEnabled || content.text.isEmpty())
            return nullptr;
        return drawings.find(option.widget, index, content.text, box);
    }

    bool pressed(QAbstractItemView* view, QMouseEvent& mouse, QAbstractItemModel& model,
                 const QStyleOptionViewItem& option, const QModelIndex& index,
                 const CellContent& content);
    void paintCaption(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index, const CellContent& content, const CellStyle& look,
                      const CellLayout& layout);
};

// A cell's text: its markup, or plain text in the colour plain text has in the cell.
void GridDelegatePrivate::paintCaption(QPainter& painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index, const CellContent& content,
                                       const CellStyle& look, const CellLayout& layout) {
    const QRect box = layout.text();
    if (content.text.isEmpty() || box.width() <= 0)
        return;
    const QRect markupBox = layout.markup();
    if (gridgauge::markup::Drawing* shown = drawing(option, index, content, markupBox.size())) {
        // What the markup leaves open takes the colour plain text has in the cell.
        const QColor text = content.foregroundOr(look.palette.color(look.group, QPalette::Text));
        detail::MarkupCell{*shown}.paint(painter, markupBox, content.fontOr(look.font),
                                         option.direction, drawings.host(option, text, resolver));
        drawings.setPainted(option.widget, index, option.rect);
        links.painted(option.widget, *shown);
        return;
    }
    const QColor color = (option.state & QStyle::State_Selected)
                             ? look.palette.color(look.group, QPalette::HighlightedText)
                             : content.foregroundOr(look.palette.color(look.group, QPalette::Text));
    painter.setFont(content.fontOr(look.font));
    detail::TextCell{content.text, color, content.textAlignment()}.paint(painter, box);
}

// A left press in a cell: on a link it follows it, on an enabled button it holds it down until
// the release, on the check box it toggles it. Whether the cell took the press.
bool GridDelegatePrivate::pressed(QAbstractItemView* view, QMouseEvent& mouse,
                                  QAbstractItemModel& model, const QStyleOptionViewItem& option,
                                  const QModelIndex& index, const CellContent& content) {
    if (mouse.button() != Qt::LeftButton)
        return false;
    const QPoint at(qFloor(mouse.position().x()), qFloor(mouse.position().y()));
    const CellLayout cell = layout(option, content);
    if (links.editorEvent(view, index, &mouse))
        return true;
    if (content.hasButtons()) {
        const int count = int(content.buttons.size());
        for (int i = 0; i < count; ++i) {
            if (content.buttonEnabled(option, i) && cell.button(count, i).contains(at)) {
                press.begin(view, index, i, cell.button(count, i),
                            [this](QAbstractItemView* on, const QModelIndex& where, int button) {
                                q->clickButton(on, where, button);
                            });
                return true;
            }
        }
        return true; // a cell of buttons has nothing else to press
    }
    if (cell.hasCheckBox && cell.checkBox().contains(at) && content.userCheckable(option))
        return content.toggle(model, index);
    return false;
}

GridDelegate::GridDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , d(std::make_unique<GridDelegatePrivate>(this)) {}

GridDelegate::~GridDelegate() = default;

bool GridDelegate::markupEnabled() const {
    return d->markupEnabled;
}

void GridDelegate::setMarkupEnabled(bool enabled) {
    if (d->markupEnabled == enabled)
        return;
    d->markupEnabled = enabled;
    d->drawings.clear();
    emit markupEnabledChanged(enabled);
    emit sizeHintChanged(QModelIndex());
}

bool GridDelegate::themedControls() const {
    return d->themed;
}

void GridDelegate::setThemedControls(bool themed) {
    if (d->themed == themed)
        return;
    d->themed = themed;
    emit themedControlsChanged(themed);
    emit sizeHintChanged(QModelIndex());
}

gridgauge::markup::ImageResolver* GridDelegate::imageResolver() const {
    return d->resolver;
}

void GridDelegate::setImageResolver(gridgauge::markup::ImageResolver* resolver) {
    if (resolver == d->resolver)
        return;
    d->resolver = resolver;
    // Pictures of another resolver may have other sizes.
    emit sizeHintChanged(QModelIndex());
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const CellContent content = CellContent::read(index);
    const CellStyle look = d->look(option);
    const CellLayout layout = d->layout(option, content);
    const bool selected = option.state & QStyle::State_Selected;
    const bool focusShown = (option.state & QStyle::State_HasFocus) &&
                            (option.state & QStyle::State_KeyboardFocusChange);
    painter->save();
    painter->setLayoutDirection(option.direction);
    if (!selected && content.background.style() != Qt::NoBrush)
        painter->fillRect(option.rect, content.background);
    int focusedButton = -1;
    if (content.hasButtons()) {
        // A cell with buttons is all buttons: they cover the text and any check box; the one
        // the keys press shows the focus.
        const int count = int(content.buttons.size());
        if (focusShown)
            focusedButton = content.firstEnabledButton(option);
        for (int i = 0; i < count; ++i) {
            detail::PushButtonCell{content.buttons[i], content.buttonEnabled(option, i),
                                   d->press.isDown(option.widget, index, i),
                                   qint16(content.alignment), i == focusedButton}
                .paint(*painter, layout.button(count, i), look);
        }
    } else {
        if (layout.hasCheckBox)
            detail::CheckBoxCell{content.checkState() == Qt::Checked}.paint(
                *painter, layout.checkBox(), look);
        d->paintCaption(*painter, option, index, content, look, layout);
    }
    if (focusShown && focusedButton < 0) {
        const QColor background =
            look.palette.color(look.group, selected ? QPalette::Highlight : QPalette::Base);
        detail::drawFocusFrame(
            *painter,
            QStyle::visualRect(option.direction, option.rect, option.rect.adjusted(0, 0, -1, -1)),
            background, look);
    }
    painter->restore();
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const CellContent content = CellContent::read(index);
    const CellStyle look = d->look(option);
    const QFont font = content.fontOr(option.font);
    const QFontMetricsF metrics(font);
    const int indicator =
        look.style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, option.widget);
    const int height = std::max({20, QFontMetrics(font).height() + 4, indicator + 4});
    if (content.hasButtons()) {
        // Buttons share the cell evenly, each 1 pixel in from its share all round.
        int widest = 0;
        for (const QString& caption : content.buttons)
            widest = std::max(widest, detail::TextCell::widthFor(metrics, caption));
        return QSize(int(content.buttons.size()) * (detail::PushButtonCell::widthFor(widest) + 2),
                     height);
    }
    CellLayout layout = d->layout(option, content);
    layout.cell.setHeight(height);
    if (content.text.isEmpty())
        return QSize(layout.hasCheckBox ? layout.checkBox().width() + 4 + 1 : 0, height);
    if (d->markupEnabled) {
        if (const gridgauge::markup::DocumentPtr document = detail::markupDocument(content.text)) {
            gridgauge::markup::HostStyle host;
            if (d->resolver)
                host.setImageResolver(d->resolver);
            return QSize(layout.widthFor(
                             qCeil(gridgauge::markup::desiredSize(*document, font, host).width())),
                         height);
        }
    }
    return QSize(layout.widthFor(detail::TextCell::widthFor(metrics, content.text)), height);
}

bool GridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const CellContent content = CellContent::read(index);
    QString tip = index.data(Qt::ToolTipRole).toString();
    QRect area = option.rect;
    const QFontMetrics metrics(content.fontOr(option.font));
    if (tip.isEmpty() && content.hasButtons()) {
        const CellLayout layout = d->layout(option, content);
        const int count = int(content.buttons.size());
        for (int i = 0; i < count; ++i) {
            const QRect button = layout.button(count, i);
            if (button.contains(event->pos()) &&
                !detail::TextCell::fits(metrics, content.buttons[i],
                                        detail::PushButtonCell::captionBox(button).width())) {
                tip = content.buttons[i];
                area = button;
            }
        }
    } else if (tip.isEmpty() && !content.text.isEmpty()) {
        // Markup draws itself in whatever box it is given, and trims itself if it says so: only
        // plain text is cut by the cell.
        const QRect box = d->layout(option, content).text();
        const bool markup = d->markupEnabled && detail::markupDocument(content.text);
        if (!markup && box.width() > 0 &&
            !detail::TextCell::fits(metrics, content.text, box.width()))
            tip = content.text;
    }
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), tip, view ? view->viewport() : nullptr, area);
    return true;
}

QRect GridDelegate::checkBoxRect(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const CellContent content = CellContent::read(index);
    return d->layout(option, content).checkBox();
}

QRect GridDelegate::textRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const CellContent content = CellContent::read(index);
    return content.hasButtons() ? QRect() : d->layout(option, content).text();
}

QRect GridDelegate::buttonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                               int button) const {
    const CellContent content = CellContent::read(index);
    return d->layout(option, content).button(int(content.buttons.size()), button);
}

QString GridDelegate::readableText(const QModelIndex& index) const {
    const CellContent content = CellContent::read(index);
    QString text = d->markupEnabled ? detail::readableText(content.text) : content.text;
    for (const QString& caption : content.buttons) {
        if (caption.isEmpty())
            continue;
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += caption;
    }
    return text;
}

bool GridDelegate::isButtonPressed(const QModelIndex& index, int button) const {
    return d->press.isDown(nullptr, index, button);
}

bool GridDelegate::clickButton(QAbstractItemView* view, const QModelIndex& index, int button) {
    const CellContent content = CellContent::read(index);
    QStyleOptionViewItem enabled;
    enabled.state = (view && !view->isEnabled()) ? QStyle::State_None : QStyle::State_Enabled;
    if (button < 0 || button >= int(content.buttons.size()) ||
        !content.buttonEnabled(enabled, button))
        return false;
    // A handler may delete the view, or this delegate with it: nothing of either is touched after
    // a signal that is not known to have left both.
    const QPointer<QAbstractItemView> alive(view);
    const QPersistentModelIndex cell(index);
    emit buttonClicked(index, button);
    if (auto* grid = qobject_cast<ReportGrid*>(alive.data()); grid && cell.isValid())
        emit grid->buttonClicked(cell, button);
    return true;
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                               const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !model || !index.isValid())
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    const CellContent content = CellContent::read(index);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return d->pressed(view, static_cast<QMouseEvent&>(*event), *model, option, index, content);
    case QEvent::KeyPress: {
        const int key = static_cast<const QKeyEvent&>(*event).key();
        if (key != Qt::Key_Space && key != Qt::Key_Select && key != Qt::Key_Return &&
            key != Qt::Key_Enter)
            return false;
        if (content.hasButtons()) {
            const int button = content.firstEnabledButton(option);
            return button >= 0 && clickButton(view, index, button);
        }
        // Return and Enter on a cell that shows links activate them; Space still ticks its box.
        if (key != Qt::Key_Space && key != Qt::Key_Select &&
            d->links.editorEvent(view, index, event))
            return true;
        if (content.hasCheckBox() && content.userCheckable(option))
            return content.toggle(*model, index);
        return false;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        // A press on a button follows the pointer itself (button_press.h); a release over a
        // check box changes nothing, as the press already toggled it.
        return d->press.active() ||
               (content.hasCheckBox() &&
                d->layout(option, content)
                    .checkBox()
                    .contains(static_cast<const QMouseEvent&>(*event).position().toPoint()));
    default:
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}

} // namespace gridgauge::gridkit
