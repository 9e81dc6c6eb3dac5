#include "caption.h"

namespace gridkit::detail {

bool Caption::set(const QString& text) {
    if (text == text_)
        return false;
    text_ = text;
    kind_ = text_.isEmpty() ? Kind::Plain : Kind::Unknown;
    drawing_.reset();
    return true;
}

markup::Drawing* Caption::drawing() const {
    if (kind_ == Kind::Unknown) {
        markup::DocumentPtr document = markup::parse(text_);
        kind_ = document ? Kind::Markup : Kind::Plain;
        if (document)
            drawing_ = std::make_unique<markup::Drawing>(std::move(document));
    }
    return drawing_.get();
}

QString Caption::readable() const {
    const markup::Drawing* markup = drawing();
    return markup ? markup::textContent(*markup->document()) : text_;
}

} // namespace gridkit::detail
