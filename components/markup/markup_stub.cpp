// Placeholder until the engine lands: every text is plain text.
#include "markup.h"

namespace markup {

class Document {};

DocumentPtr parse(QStringView) { return nullptr; }
QString textContent(const Document&) { return {}; }
void render(QPainter&, const Document&, const QRectF&, const QFont&) {}

struct DocumentCache::Impl {
    quint64 parses = 0;
};
DocumentCache::DocumentCache(int)
    : impl_(std::make_unique<Impl>())
{
}
DocumentCache::~DocumentCache() = default;
DocumentPtr DocumentCache::find(const QString&) { return nullptr; }
quint64 DocumentCache::parseCount() const { return impl_->parses; }
void DocumentCache::clear() {}

} // namespace markup
