#include "caption.h"

namespace gridkit::detail {

std::shared_ptr<markup::Drawing> DrawingCache::find(const QString& text) {
    if (const Entry* entry = entries_.object(text))
        return entry->drawing;
    std::shared_ptr<markup::Drawing> drawing;
    if (markup::DocumentPtr document = markup::parse(text))
        drawing = std::make_shared<markup::Drawing>(std::move(document));
    entries_.insert(text, new Entry{drawing});
    return drawing;
}

bool Caption::set(const QString& text) {
    if (text == text_)
        return false;
    text_ = text;
    kind_ = text_.isEmpty() ? Kind::Plain : Kind::Unknown;
    drawing_.reset();
    return true;
}

markup::Drawing* Caption::drawing(DrawingCache& cache) const {
    if (kind_ == Kind::Unknown) {
        drawing_ = cache.find(text_);
        kind_ = drawing_ ? Kind::Markup : Kind::Plain;
    }
    return drawing_.get();
}

QString Caption::readable(DrawingCache& cache) const {
    const markup::Drawing* markup = drawing(cache);
    return markup ? markup::textContent(*markup->document()) : text_;
}

} // namespace gridkit::detail
