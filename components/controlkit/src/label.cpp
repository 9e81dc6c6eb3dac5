#include "gridgauge/controlkit/label.h"

#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"

#include <QApplication>
#include <QEvent>

namespace controlkit {

Label::Label(QWidget* parent)
    : QLabel(parent)
    , foreColor_(host::colors::ButtonText)
    , backColor_(host::colors::ButtonFace) {
    setAutoFillBackground(true);
    // It shows and never reacts: the pointer reaches whatever lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText); // a caption is text, never rich text
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyColors();
}

void Label::setTag(const QString& tag) {
    tag_ = tag;
    setAccessibleDescription(tag);
}

void Label::setForeColor(uint color) {
    if (!host::colors::isValid(color))
        throw host::RuntimeError(host::InvalidPropertyValue);
    foreColor_ = color;
    applyColors();
}

void Label::setBackColor(uint color) {
    if (!host::colors::isValid(color))
        throw host::RuntimeError(host::InvalidPropertyValue);
    backColor_ = color;
    applyColors();
}

void Label::applyColors() {
    const QPalette base = QApplication::palette(this);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, host::colors::resolve(foreColor_, base));
    p.setColor(QPalette::Window, host::colors::resolve(backColor_, base));
    setPalette(p);
}

void Label::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyColors();
    QLabel::changeEvent(event);
}

} // namespace controlkit
