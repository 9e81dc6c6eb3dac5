#pragma once

#include "document.h"

#include <QStringView>

#include <memory>

namespace markup {

// The document text describes, or null when it is not markup. Reads text once from start to end,
// keeps an explicit stack of open elements (at most kMaxDepth) and never reads past its end.
std::shared_ptr<Document> parseDocument(QStringView text);

} // namespace markup
