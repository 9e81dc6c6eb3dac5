#include "gridgauge/controlkit/progress_bar.h"

#include "accessibility.h"
#include "palette.h"

#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"

#include <QAccessible>
#include <qdrawutil.h>
#include <QPainter>

#include <algorithm>

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
    // Drawn here rather than by the style: the bar shows exactly its own colours (background, bar,
    // text), which a style is free to replace with its own, and a repaint costs a few fills instead
    // of a styled gradient each time something beneath it is redrawn.
    const QRect r = rect();
    if (r.isEmpty())
        return;
    QPainter painter(this);
    const QPalette& p = palette();
    painter.fillRect(r, p.color(QPalette::Window));
    qDrawShadePanel(&painter, r, p, /*sunken=*/true, 1);

    const QRect inner = r.adjusted(1, 1, -1, -1);
    const qint64 span = qint64(maximum_) - minimum_;
    const qint64 done = qint64(value_) - minimum_;
    const int filled = span > 0 ? int(qint64(inner.width()) * done / span) : 0;
    painter.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()),
                     p.color(QPalette::Highlight));
    if (!text_.isEmpty()) {
        painter.setPen(p.color(QPalette::WindowText));
        painter.drawText(inner, Qt::AlignCenter, text_);
    }
}

} // namespace controlkit
