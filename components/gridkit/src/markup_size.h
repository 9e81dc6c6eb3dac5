#pragma once

#include <QFont>
#include <QSizeF>

namespace markup {
class Document;
}

namespace gridkit::detail {

// The size a document asks for when nothing limits it, in device-independent pixels.
QSizeF markupSize(const markup::Document& document, const QFont& font);

} // namespace gridkit::detail
