#include "gridgauge/controlkit/label.h"

#include "palette.h"

#include "gridgauge/host/system_colors.h"

namespace controlkit {

namespace {

void applyColors(Label& label) {
    detail::applyColors(
        label, {{QPalette::WindowText, label.foreColor()}, {QPalette::Window, label.backColor()}});
}

} // namespace

Label::Label(QWidget* parent)
    : QLabel(parent)
    , foreColor_(host::colors::ButtonText)
    , backColor_(host::colors::ButtonFace) {
    setAutoFillBackground(true);
    // It shows and never reacts: the pointer reaches whatever lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText); // a caption is text, never rich text
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyColors(*this);
    detail::followApplicationPalette(*this, [this] { applyColors(*this); });
}

void Label::setTag(const QString& tag) {
    tag_ = tag;
    setAccessibleDescription(tag);
}

void Label::setForeColor(uint color) {
    foreColor_ = host::colors::validated(color);
    applyColors(*this);
    detail::followApplicationPalette(*this, [this] { applyColors(*this); });
}

void Label::setBackColor(uint color) {
    backColor_ = host::colors::validated(color);
    applyColors(*this);
    detail::followApplicationPalette(*this, [this] { applyColors(*this); });
}

} // namespace controlkit
