#include "progress_bar.h"

#include "host/runtime_error.h"
#include "host/system_colors.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>

namespace controlkit {

using host::RuntimeError;

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent)
    , foreColor_(host::colors::ButtonText)
    , backColor_(host::colors::ButtonFace)
    , barColor_(host::colors::Highlight) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    applyColors();
}

void ProgressBar::setValue(int value) {
    const int clamped = std::clamp(value, minimum_, maximum_);
    if (clamped == value_)
        return;
    value_ = clamped;
    update();
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
    text_ = text;
    update();
}

void ProgressBar::setForeColor(uint color) {
    if (!host::colors::isValid(color))
        throw RuntimeError(host::InvalidPropertyValue);
    foreColor_ = color;
    applyColors();
}

void ProgressBar::setBackColor(uint color) {
    if (!host::colors::isValid(color))
        throw RuntimeError(host::InvalidPropertyValue);
    backColor_ = color;
    applyColors();
}

void ProgressBar::setBarColor(uint color) {
    if (!host::colors::isValid(color))
        throw RuntimeError(host::InvalidPropertyValue);
    barColor_ = color;
    applyColors();
}

void ProgressBar::applyColors() {
    const QPalette base = QApplication::palette(this);
    QPalette p = palette();
    const QColor fore = host::colors::resolve(foreColor_, base);
    const QColor back = host::colors::resolve(backColor_, base);
    p.setColor(QPalette::WindowText, fore);
    p.setColor(QPalette::Text, fore);
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Button, back);
    p.setColor(QPalette::Highlight, host::colors::resolve(barColor_, base));
    setPalette(p);
    update();
}

QSize ProgressBar::sizeHint() const {
    return {160, 20};
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.minimum = minimum_;
    option.maximum = maximum_;
    option.progress = value_;
    option.text = text_;
    option.textVisible = !text_.isEmpty();
    option.textAlignment = Qt::AlignCenter;
    option.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
}

void ProgressBar::changeEvent(QEvent* event) {
    // System colours follow the application's palette.
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyColors();
    QWidget::changeEvent(event);
}

} // namespace controlkit
