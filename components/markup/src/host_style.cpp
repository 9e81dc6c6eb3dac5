// The public value types a host hands to the engine, each an implicitly shared d-pointer so that
// members can be added without changing what a program built against the library sees.
#include "gridgauge/markup/markup.h"

namespace markup {

class HostStylePrivate : public QSharedData {
public:
    QColor text;
    QColor link;
    ImageResolver* resolver = nullptr;
};

namespace {

// Every default style shares one private part: a paint without a style of its own allocates
// nothing.
const QSharedDataPointer<HostStylePrivate>& defaultStyle() {
    static const QSharedDataPointer<HostStylePrivate> style(new HostStylePrivate);
    return style;
}

} // namespace

HostStyle::HostStyle()
    : d(defaultStyle()) {}
HostStyle::~HostStyle() = default;
HostStyle::HostStyle(const HostStyle& other) = default;
HostStyle::HostStyle(HostStyle&& other) noexcept = default;
HostStyle& HostStyle::operator=(const HostStyle& other) = default;
HostStyle& HostStyle::operator=(HostStyle&& other) noexcept = default;

QColor HostStyle::textColor() const {
    return d->text;
}

void HostStyle::setTextColor(const QColor& color) {
    d->text = color;
}

QColor HostStyle::linkColor() const {
    return d->link;
}

void HostStyle::setLinkColor(const QColor& color) {
    d->link = color;
}

ImageResolver* HostStyle::imageResolver() const {
    return d->resolver;
}

void HostStyle::setImageResolver(ImageResolver* resolver) {
    d->resolver = resolver;
}

bool HostStyle::operator==(const HostStyle& other) const {
    return d == other.d || (d->text == other.d->text && d->link == other.d->link &&
                            d->resolver == other.d->resolver);
}

} // namespace markup
