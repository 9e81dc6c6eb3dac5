#include "gridgauge/controlkit/progress_bar.h"

#include "accessibility.h"
#include "palette.h"

#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"

#include <QAccessible>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionProgressBar>

#include <algorithm>
#include <cstdio>

namespace controlkit {

using host::RuntimeError;

namespace {

void applyColors(ProgressBar& bar) {
    detail::applyColors(bar, {{QPalette::WindowText, bar.foreColor()},
                              {QPalette::Text, bar.foreColor()},
                              {QPalette::Window, bar.backColor()},
                              {QPalette::Base, bar.backColor()},
                              {QPalette::Button, bar.backColor()},
                              {QPalette::Highlight, bar.barColor()}});
    bar.update();
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent)
    , foreColor_(host::colors::ButtonText)
    , backColor_(host::colors::ButtonFace)
    , barColor_(host::colors::Highlight) {
    setAttribute(Qt::WA_OpaquePaintEvent); // paints every pixel it covers
    // It shows and never reacts: the pointer reaches whatever lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    applyColors(*this);
    detail::followApplicationPalette(*this, [this] { applyColors(*this); });
    detail::installAccessibleFactory();
}

void ProgressBar::setValue(int value) {
    const int clamped = std::clamp(value, minimum_, maximum_);
    if (clamped == value_)
        return;
    value_ = clamped;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value_);
        QAccessible::updateAccessibility(&event);
    }
    emit valueChanged(value_);
}

void ProgressBar::setMinimum(int minimum) {
    if (minimum > maximum_)
        throw RuntimeError(host::InvalidPropertyValue);
    minimum_ = minimum;
    setValue(value_);
    update();
}

void ProgressBar::setMaximum(int maximum) {
    if (maximum < minimum_)
        throw RuntimeError(host::InvalidPropertyValue);
    maximum_ = maximum;
    setValue(value_);
    update();
}

void ProgressBar::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
    // Without a name of its own the bar is read by its text.
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void ProgressBar::setForeColor(uint color) {
    foreColor_ = host::colors::validated(color);
    applyColors(*this);
}

void ProgressBar::setBackColor(uint color) {
    backColor_ = host::colors::validated(color);
    applyColors(*this);
}

void ProgressBar::setBarColor(uint color) {
    barColor_ = host::colors::validated(color);
    applyColors(*this);
}

QSize ProgressBar::sizeHint() const {
    return {160, 20};
}

void ProgressBar::paintEvent(QPaintEvent*) {
    const QRect r = rect();
    if (r.isEmpty())
        return;
    // The style draws it as it draws every progress bar: frame, groove and chunk in the palette's
    // colours (the chunk in the bar colour), and framed, so that it shows on any background,
    // a selected row's highlight included. Right to left, it fills from the right.
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.minimum = minimum_;
    option.maximum = maximum_;
    option.progress = value_;
    option.text = text_;
    option.textVisible = !text_.isEmpty();
    option.textAlignment = Qt::AlignCenter;
    option.state |= QStyle::State_Horizontal;
    QPainter painter(this);
    // A bar that knows its range looks the same whenever its value, size, palette and state
    // come back, and a style's antialiased frame and gradients cost far more than a copy; so it
    // is drawn once into a pixmap that Qt's pixmap cache keeps, as styles keep their own parts.
    // A busy bar (no range) is the style's to animate: that one is drawn each time.
    if (minimum_ >= maximum_) {
        paintBar(painter, option);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    // Formatted in place: the key is made at every paint.
    char text[160];
    std::snprintf(text, sizeof text, "gridgauge-progressbar-%p-%llx-%dx%d@%g-%d-%d-%d-%x-%d",
                  static_cast<const void*>(style()),
                  static_cast<unsigned long long>(palette().cacheKey()), r.width(), r.height(),
                  ratio, minimum_, maximum_, value_, uint(option.state), int(option.direction));
    QString key = QString::fromLatin1(text);
    if (!text_.isEmpty())
        key += font().key() + QLatin1Char('-') + text_;
    QPixmap drawn;
    if (!QPixmapCache::find(key, &drawn)) {
        drawn = QPixmap(r.size() * ratio);
        drawn.setDevicePixelRatio(ratio);
        QPainter onPixmap(&drawn);
        paintBar(onPixmap, option);
        onPixmap.end();
        QPixmapCache::insert(key, drawn);
    }
    painter.drawPixmap(0, 0, drawn);
}

void ProgressBar::paintBar(QPainter& painter, const QStyleOptionProgressBar& option) const {
    // The style's frame may leave its corners unpainted: they show the bar's own background, not
    // whatever it lies over.
    painter.fillRect(rect(), palette().color(QPalette::Window));
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
}

} // namespace controlkit
