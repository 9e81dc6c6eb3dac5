#include "scroll_bar.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>

namespace gridgauge::gridkit::detail {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

bool ScrollBar::sameAsKept(const QStyleOptionSlider& option, qreal ratio) const {
    const QStyleOptionSlider& k = keptOption_;
    return !kept_.isNull() && kept_.devicePixelRatio() == ratio && k.rect == option.rect &&
           k.state == option.state && k.direction == option.direction &&
           k.palette.cacheKey() == option.palette.cacheKey() &&
           k.orientation == option.orientation && k.minimum == option.minimum &&
           k.maximum == option.maximum && k.sliderPosition == option.sliderPosition &&
           k.sliderValue == option.sliderValue && k.singleStep == option.singleStep &&
           k.pageStep == option.pageStep && k.upsideDown == option.upsideDown &&
           k.subControls == option.subControls && k.activeSubControls == option.activeSubControls;
}

void ScrollBar::paintEvent(QPaintEvent* event) {
    QStyle* const s = style();
    if (underMouse() || isSliderDown() || QGuiApplication::mouseButtons() != Qt::NoButton ||
        s->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this)) {
        kept_ = QPixmap();
        QScrollBar::paintEvent(event);
        return;
    }
    // What QScrollBar::paintEvent passes the style when nothing is hovered or pressed.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    const qreal ratio = devicePixelRatio();
    if (!sameAsKept(option, ratio)) {
        kept_ = QPixmap(option.rect.size() * ratio);
        kept_.setDevicePixelRatio(ratio);
        kept_.fill(Qt::transparent);
        QPainter painter(&kept_);
        QStyleOptionSlider at = option;
        at.rect.moveTopLeft(QPoint(0, 0));
        s->drawComplexControl(QStyle::CC_ScrollBar, &at, &painter, this);
        keptOption_ = option;
    }
    QPainter(this).drawPixmap(option.rect.topLeft(), kept_);
}

} // namespace gridgauge::gridkit::detail
