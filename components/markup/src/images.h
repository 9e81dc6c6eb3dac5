#pragma once

// The pictures of Image elements: the resolver a paint uses, and the sizes it measures them at.

#include "gridgauge/markup/markup.h"

#include <QSizeF>

namespace markup {

// No caption names more pictures than this; a caption that names more shows the rest as if their
// sources were refused, so that a huge caption cannot make its host read without end.
constexpr int kMaxSources = 64;
// Nor is a picture read larger than this many device pixels a side: one drawn larger is scaled up
// by the painter.
constexpr int kMaxPictureSide = 2048;

// The host's resolver, or with none the built-in policy's, which keeps its pictures for the life
// of the process.
ImageResolver& resolverOr(ImageResolver* host);

// The size source's picture asks for, in device-independent pixels: nothing when it is refused.
QSizeF naturalSize(ImageResolver& resolver, const QString& source);

} // namespace markup
